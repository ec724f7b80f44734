// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/VolumeControl.h"

#include "log/Log.h"
#include "platform/AlsaMixer.h"

#include <algorithm>

namespace {

// The names of the ALSA mixer controls ("Master Playback Volume", ...) of the master line and the
// wave line.
constexpr const char* LineElements[CVolumeControl::LineCount] = {"Master", "PCM"};

// The mixer keeps what failed in it; the log says so here.
void LogFailure(TAlsaMixer& mixer)
{
    const QString failure = mixer.TakeFailure();
    if (!failure.isEmpty())
        LOG_AT(failure);
}

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
    std::fill(std::begin(m_law), std::end(m_law), TVolumeLaw());
    std::fill(std::begin(m_silencedBySwitch), std::end(m_silencedBySwitch), false);
    if (m_numDevs == 0)
        return false;
    auto mixer = std::make_unique<TAlsaMixer>();
    const bool opened = mixer->Open();
    LogFailure(*mixer);
    if (!opened)
        return false;
    m_hMixer = std::move(mixer);
    const bool found = m_hMixer->ReadCard(m_mixerCaps.name, m_mixerCaps.driver) && FindControls(MasterLine);
    // Many mixers (PulseAudio's among them) have no wave line; its calls then fail quietly.
    if (found)
        FindControls(WaveLine);
    return Reported(found);
}

bool CVolumeControl::Reported(bool done)
{
    LogFailure(*m_hMixer);
    return done;
}

bool CVolumeControl::FindControls(int line)
{
    const uint32_t element = m_hMixer->FindLine(LineElements[line]);
    long minimum = 0;
    long maximum = 0;
    if (!m_hMixer->GetRange(element, minimum, maximum) || minimum < 0 || maximum <= minimum)
        return false;
    m_minVolume[line] = uint32_t(minimum);
    m_maxVolume[line] = uint32_t(maximum);
    m_volumeControlId[line] = element;
    if (m_hMixer->HasSwitch(element))
        m_muteControlId[line] = element;
    long lowestDb = 0;
    long highestDb = 0;
    const bool hasDb = m_hMixer->GetDbRange(element, lowestDb, highestDb) && highestDb > lowestDb;
    m_law[line] = TVolumeLaw(TVolumeLaw::Of(hasDb, m_mixerCaps.driver), minimum, maximum);
    m_silencedBySwitch[line] = hasDb && lowestDb > TAlsaMixer::MuteCentiDb && m_muteControlId[line] != 0;
    if (m_law[line].Kind() == TVolumeLaw::Linear)
        LOG_AT(QStringLiteral("Volume law of %1 on %2 (driver %3) unknown, set as linear")
                   .arg(QLatin1StringView(LineElements[line]), m_mixerCaps.name, m_mixerCaps.driver));
    return true;
}

bool CVolumeControl::Close()
{
    if (!m_hMixer)
        return true;
    if (!Reported(m_hMixer->Close()))
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
    if (m_law[line].Kind() != TVolumeLaw::Decibel)
        return m_law[line].ToRaw(value);
    long raw = long(m_minVolume[line]);
    m_hMixer->FromDb(m_volumeControlId[line], TVolumeLaw::ToCentiDb(value, TAlsaMixer::MuteCentiDb), raw);
    return raw;
}

uint32_t CVolumeControl::FromMixer(long value, int line) const
{
    if (m_law[line].Kind() != TVolumeLaw::Decibel)
        return m_law[line].FromRaw(value);
    long centiDb = TAlsaMixer::MuteCentiDb;
    m_hMixer->ToDb(m_volumeControlId[line], value, centiDb);
    return TVolumeLaw::FromCentiDb(centiDb, TAlsaMixer::MuteCentiDb);
}

bool CVolumeControl::GetVolume(uint32_t& value, int line)
{
    if (!IsUsable(line))
        return false;
    long mixerValue = 0;
    const bool read = m_hMixer->GetVolume(m_volumeControlId[line], mixerValue);
    if (read)
        value = FromMixer(mixerValue, line);
    return Reported(read);
}

bool CVolumeControl::SetVolume(uint32_t value, int line)
{
    return SetVolumeLR(value, value, line);
}

bool CVolumeControl::SetVolumeLR(uint32_t left, uint32_t right, int line)
{
    return IsUsable(line) && SetLine({ToMixer(left, line), ToMixer(right, line)}, left > 0, right > 0, line);
}

bool CVolumeControl::GetRawVolume(SRawVolume& volume, int line)
{
    return IsUsable(line) &&
           Reported(m_hMixer->GetVolumeLR(m_volumeControlId[line], volume.left, volume.right));
}

bool CVolumeControl::SetRawVolume(const SRawVolume& volume, int line)
{
    if (!IsUsable(line))
        return false;
    const long lowest = long(m_minVolume[line]);
    return SetLine(volume, volume.left > lowest, volume.right > lowest, line);
}

// Where the element's lowest step still sounds, a side is silenced by its switch, which a side
// that sounds again must turn back on.
bool CVolumeControl::SetLine(const SRawVolume& raw, bool leftSounds, bool rightSounds, int line)
{
    const uint32_t element = m_volumeControlId[line];
    return Reported(m_hMixer->SetVolumeLR(element, raw.left, raw.right) &&
                    (!m_silencedBySwitch[line] || m_hMixer->SetSwitchLR(element, leftSounds, rightSounds)));
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
    if (Reported(m_hMixer->SetSwitchLR(m_muteControlId[line], !mute, !mute)))
        return true;
    LOG_AT(QStringLiteral("MixerSetControlDetails() failed,id=%1").arg(line));
    return false;
}
