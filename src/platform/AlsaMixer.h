// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AlsaFailure.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <vector>

typedef struct _snd_hctl snd_hctl_t;
typedef struct _snd_hctl_elem snd_hctl_elem_t;

// The mixer controls of ALSA's "default" control device. A line is the pair of controls
// "<name> Playback Volume" and "<name> Playback Switch", addressed by the identifier FindLine
// hands out; 0 names no line, and every call on it fails. Volumes are in the element's own
// units. The values are kept as last read or written and read again only after the device has
// reported a change, and a change is written once for all channels, because every read or write
// is a round trip to a sound server. The first failing ALSA call is kept with its name until the
// caller takes it for its log.
class TAlsaMixer
{
public:
    // The level of a step that is silence, in hundredths of a decibel.
    static constexpr long MuteCentiDb = -9999999;

    TAlsaMixer() = default;
    ~TAlsaMixer();
    TAlsaMixer(const TAlsaMixer&) = delete;
    TAlsaMixer& operator=(const TAlsaMixer&) = delete;

    // Number of mixer (control) devices ALSA knows of.
    static unsigned DeviceCount();

    bool Open();
    bool Close();
    // The card's name and the name of the driver behind it.
    bool ReadCard(QString& name, QString& driver) const;

    uint32_t FindLine(const char* name);
    bool HasSwitch(uint32_t id) const;
    bool GetRange(uint32_t id, long& minimum, long& maximum) const;
    // The levels of the lowest and the highest step in hundredths of a decibel; false where the
    // element does not tell them.
    bool GetDbRange(uint32_t id, long& minimum, long& maximum) const;
    // The step nearest to a level, and the level of a step, in hundredths of a decibel.
    bool FromDb(uint32_t id, long centiDb, long& value) const;
    bool ToDb(uint32_t id, long value, long& centiDb) const;
    // The loudest channel's value.
    bool GetVolume(uint32_t id, long& value);
    // The first two channels' values as read; a mono element gives its one value to both.
    bool GetVolumeLR(uint32_t id, long& left, long& right);
    // Further channels follow the louder side; a mono element takes the louder side.
    bool SetVolumeLR(uint32_t id, long left, long right);
    // The same for the switch, which is on where the line sounds.
    bool SetSwitchLR(uint32_t id, bool left, bool right);

    // The kept failure as a log text, or empty.
    QString TakeFailure() { return m_failure.Take(); }

private:
    struct SControl
    {
        snd_hctl_elem_t* element = nullptr;
        bool boolean = false;
        std::vector<long> values;
        // Changed by the device since it was last read.
        bool stale = true;
    };
    struct SLine
    {
        SControl volume;
        SControl onSwitch;
        long minimum = 0;
        long maximum = 0;
        // The element's dB description, or empty; ALSA reads it through a pointer to non-const.
        mutable std::vector<unsigned> dbInfo;
    };

    static int ElementEvent(snd_hctl_elem_t* element, unsigned mask);
    bool Check(const char* call, long result) const { return m_failure.Keep(call, result); }
    const SLine* Line(uint32_t id) const;
    SLine* Line(uint32_t id);
    // The line if it tells its dB.
    const SLine* DbLine(uint32_t id) const;
    bool Attach(SControl& control, const QString& name, bool boolean);
    void ReadDbInfo(SLine& line);
    bool Fresh(SControl& control);
    // The volume element's values, read again if the device changed them; null on failure.
    const std::vector<long>* Volumes(uint32_t id);
    bool Write(SControl& control, long left, long right);
    void TakeInChanges();

    snd_hctl_t* m_hctl = nullptr;
    // A deque, so that the addresses handed to ALSA's element callbacks stay valid.
    std::deque<SLine> m_lines;
    // Kept by the reading calls too.
    mutable TAlsaFailure m_failure;
};
