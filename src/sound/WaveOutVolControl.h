// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>

class TAlsaPlayback;

struct SWaveOutCaps
{
    char szPname[32] = {};
    uint16_t wChannels = 0;
    uint32_t dwSupport = 0;
};

// The output device's own volume, both channels in one. Systems of Windows Vista's generation
// and later (and Linux, which the log classifies as such) have none: reading gives 0 and 0,
// changing does nothing, and both succeed. Otherwise every call opens the device, acts and
// closes it again.
class CWaveOutVolControl
{
public:
    static constexpr uint32_t WAVECAPS_VOLUME = 4;

    CWaveOutVolControl();
    virtual ~CWaveOutVolControl();
    CWaveOutVolControl(const CWaveOutVolControl&) = delete;
    CWaveOutVolControl& operator=(const CWaveOutVolControl&) = delete;

    bool Open();
    bool Close();
    bool GetVolume(uint16_t& left, uint16_t& right);
    bool SetVolume(uint16_t left, uint16_t right);

private:
    uint32_t m_numDevs = 0;
    std::unique_ptr<TAlsaPlayback> m_hWaveOut;
    SWaveOutCaps m_mxCaps;
};
