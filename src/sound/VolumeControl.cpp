#include "sound/VolumeControl.h"

#include "log/Log.h"
#include "platform/AlsaMixer.h"

#include <algorithm>
#include <cmath>

namespace {

// The ALSA simple-mixer elements that stand for the master line and the wave line.
constexpr const char* LineElements[CVolumeControl::LineCount] = {"Master", "PCM"};

} // namespace

CVolumeControl::CVolumeControl() = default;

CVolumeControl::~CVolumeControl()
{
    Close();
}

bool CVolumeControl::Open()
{
    Close();
    m_numDevs = TAlsaMixer::DeviceCount();
    m_mixerCaps = {};
    std::fill(std::begin(m_minVolume), std::end(m_minVolume), 0);
    std::fill(std::begin(m_maxVolume), std::end(m_maxVolume), 0);
    std::fill(std::begin(m_volumeControlId), std::end(m_volumeControlId), 0);
    std::fill(std::begin(m_muteControlId), std::end(m_muteControlId), 0);
    if (m_numDevs == 0)
        return false;
    auto mixer = std::make_unique<TAlsaMixer>();
    if (!mixer->Open())
        return false;
    m_hMixer = std::move(mixer);
    if (!m_hMixer->ReadCardName(m_mixerCaps.name) || !FindControls(MasterLine))
        return false;
    // Many mixers (PulseAudio's among them) have no wave line; its calls then fail quietly.
    FindControls(WaveLine);
    return true;
}

bool CVolumeControl::FindControls(int line)
{
    const uint32_t element = m_hMixer->FindElement(LineElements[line]);
    long minimum = 0;
    long maximum = 0;
    if (!m_hMixer->GetRange(element, minimum, maximum) || minimum < 0 || maximum <= minimum)
        return false;
    m_minVolume[line] = uint32_t(minimum);
    m_maxVolume[line] = uint32_t(maximum);
    m_volumeControlId[line] = element;
    if (m_hMixer->HasSwitch(element))
        m_muteControlId[line] = element;
    return true;
}

bool CVolumeControl::Close()
{
    if (!m_hMixer)
        return true;
    if (!m_hMixer->Close())
        return false;
    m_hMixer.reset();
    return true;
}

bool CVolumeControl::IsUsable(int line) const
{
    return m_hMixer && line >= 0 && line < LineCount && m_volumeControlId[line] != 0;
}

long CVolumeControl::ToMixer(uint32_t value, int line) const
{
    const double span = double(m_maxVolume[line]) - m_minVolume[line];
    return long(m_minVolume[line]) + std::lround(std::min(value, ScaleMaximum) * span / ScaleMaximum);
}

uint32_t CVolumeControl::FromMixer(long value, int line) const
{
    const double span = double(m_maxVolume[line]) - m_minVolume[line];
    if (span <= 0)
        return 0;
    const long clamped = std::clamp(value, long(m_minVolume[line]), long(m_maxVolume[line]));
    return uint32_t(std::lround((clamped - double(m_minVolume[line])) * ScaleMaximum / span));
}

bool CVolumeControl::GetVolume(uint32_t& value, int line)
{
    long mixerValue = 0;
    if (!IsUsable(line) || !m_hMixer->GetVolume(m_volumeControlId[line], mixerValue))
        return false;
    value = FromMixer(mixerValue, line);
    return true;
}

bool CVolumeControl::SetVolume(uint32_t value, int line)
{
    return IsUsable(line) && m_hMixer->SetVolume(m_volumeControlId[line], ToMixer(value, line));
}

bool CVolumeControl::SetVolumeLR(uint32_t left, uint32_t right, int line)
{
    return IsUsable(line) &&
           m_hMixer->SetVolumeLR(m_volumeControlId[line], ToMixer(left, line), ToMixer(right, line));
}

bool CVolumeControl::GetRange(uint32_t& maximum, uint32_t& minimum, int line) const
{
    const bool present = line >= 0 && line < LineCount && m_maxVolume[line] > m_minVolume[line];
    maximum = present ? ScaleMaximum : 0;
    minimum = 0;
    return true;
}

bool CVolumeControl::SetMute(bool mute, int line)
{
    if (!IsUsable(line) || m_muteControlId[line] == 0)
        return false;
    // The mixer's switch is "on" when the line sounds.
    if (m_hMixer->SetSwitch(m_muteControlId[line], !mute))
        return true;
    LOG_AT(QStringLiteral("MixerSetControlDetails() failed,id=%1").arg(line));
    return false;
}
