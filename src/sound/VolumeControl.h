// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/VolumeLaw.h"

#include <QString>

#include <cstdint>
#include <memory>

class TAlsaMixer;

struct SMixerCaps
{
    QString name;
    QString driver;
};

// A line's volume per channel in its element's own units, as read: given back as it is, it is
// exactly what the user had, which a value on the program's scale is not.
struct SRawVolume
{
    long left = 0;
    long right = 0;
};

// Volume and mute of two mixer lines: line 0 the master line, line 1 the wave line. A value v
// on the program's scale 0..65535 is the amplitude v / 65535 on every mixer, through the law of
// each line's element, and reads back as the same value. A line the mixer lacks makes its calls
// fail quietly.
class CVolumeControl
{
public:
    static constexpr int MasterLine = 0;
    static constexpr int WaveLine = 1;
    static constexpr int LineCount = 2;
    static constexpr uint32_t ScaleMaximum = TVolumeLaw::ScaleMaximum;

    CVolumeControl();
    virtual ~CVolumeControl();
    CVolumeControl(const CVolumeControl&) = delete;
    CVolumeControl& operator=(const CVolumeControl&) = delete;

    bool Open();
    bool Close();
    bool GetVolume(uint32_t& value, int line);
    bool SetVolume(uint32_t value, int line);
    bool SetVolumeLR(uint32_t left, uint32_t right, int line);
    bool GetRawVolume(SRawVolume& volume, int line);
    bool SetRawVolume(const SRawVolume& volume, int line);
    // The line's range on the program's scale; a missing line has the range 0..0.
    bool GetRange(uint32_t& maximum, uint32_t& minimum, int line) const;
    bool SetMute(bool mute, int line);

private:
    bool FindControls(int line);
    // Logs what failed in the mixer during a call.
    bool Reported(bool done);
    bool IsUsable(int line) const;
    bool SetLine(const SRawVolume& raw, bool leftSounds, bool rightSounds, int line);
    long ToMixer(uint32_t value, int line) const;
    uint32_t FromMixer(long value, int line) const;

    uint32_t m_numDevs = 0;
    std::unique_ptr<TAlsaMixer> m_hMixer;
    SMixerCaps m_mixerCaps;
    uint32_t m_minVolume[LineCount] = {};
    uint32_t m_maxVolume[LineCount] = {};
    uint32_t m_volumeControlId[LineCount] = {};
    uint32_t m_muteControlId[LineCount] = {};
    TVolumeLaw m_law[LineCount];
    // The element's lowest step still sounds: a channel set to 0 is switched off.
    bool m_silencedBySwitch[LineCount] = {};
};
