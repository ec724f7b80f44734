#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class TAlsaMixer;

struct SMixerCaps
{
    QString name;
};

// Volume and mute of two mixer lines: line 0 the master line, line 1 the wave line. Values are
// on the program's scale 0..65535, mapped linearly onto each line's own range. A line the
// mixer lacks makes its calls fail quietly.
class CVolumeControl
{
public:
    static constexpr int MasterLine = 0;
    static constexpr int WaveLine = 1;
    static constexpr int LineCount = 2;
    static constexpr uint32_t ScaleMaximum = 65535;

    CVolumeControl();
    virtual ~CVolumeControl();
    CVolumeControl(const CVolumeControl&) = delete;
    CVolumeControl& operator=(const CVolumeControl&) = delete;

    bool Open();
    bool Close();
    bool GetVolume(uint32_t& value, int line);
    bool SetVolume(uint32_t value, int line);
    bool SetVolumeLR(uint32_t left, uint32_t right, int line);
    // The line's range on the program's scale; a missing line has the range 0..0.
    bool GetRange(uint32_t& maximum, uint32_t& minimum, int line) const;
    bool SetMute(bool mute, int line);

private:
    bool FindControls(int line);
    bool IsUsable(int line) const;
    long ToMixer(uint32_t value, int line) const;
    uint32_t FromMixer(long value, int line) const;

    uint32_t m_numDevs = 0;
    std::unique_ptr<TAlsaMixer> m_hMixer;
    SMixerCaps m_mixerCaps;
    uint32_t m_minVolume[LineCount] = {};
    uint32_t m_maxVolume[LineCount] = {};
    uint32_t m_volumeControlId[LineCount] = {};
    uint32_t m_muteControlId[LineCount] = {};
};
