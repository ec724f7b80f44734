#pragma once

#include <QString>

#include <cstdint>
#include <vector>

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

// The simple mixer of ALSA's "default" device. Elements are addressed by the identifiers that
// FindElement hands out; 0 names no element, and every call on it fails. Volumes are in the
// element's own units.
class TAlsaMixer
{
public:
    TAlsaMixer() = default;
    ~TAlsaMixer();
    TAlsaMixer(const TAlsaMixer&) = delete;
    TAlsaMixer& operator=(const TAlsaMixer&) = delete;

    // Number of mixer (control) devices ALSA knows of.
    static unsigned DeviceCount();

    bool Open();
    bool IsOpen() const { return m_mixer != nullptr; }
    bool Close();
    bool ReadCardName(QString& name) const;

    uint32_t FindElement(const char* name);
    bool HasVolume(uint32_t id) const;
    bool HasSwitch(uint32_t id) const;
    bool GetRange(uint32_t id, long& minimum, long& maximum) const;
    // The loudest channel's value.
    bool GetVolume(uint32_t id, long& value);
    bool SetVolume(uint32_t id, long value);
    bool SetVolumeLR(uint32_t id, long left, long right);
    bool SetSwitch(uint32_t id, bool on);

private:
    snd_mixer_elem_t* Element(uint32_t id) const;
    void TakeInChanges();

    snd_mixer_t* m_mixer = nullptr;
    std::vector<snd_mixer_elem_t*> m_elements;
};
