// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/SoundEngine.h"

#include "log/Log.h"
#include "platform/MessageBox.h"
#include "platform/VectorState.h"
#include "settings/Options.h"
#include "sound/VolumeState.h"
#include "sound/WaveImage.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int32_t BothChannels = 3;
constexpr int32_t SecondPassOffset = TSoundEngine::MaxFrequencies;
constexpr int32_t PassCount = 2;
constexpr uint16_t WaveMaximum = 65535;
constexpr double RampSeconds = 0.01;
constexpr double WarbleHertz = 5.0;
constexpr double WarbleDeviation = 0.05;

uint32_t MixerValue(int32_t volume)
{
    return uint32_t(std::clamp<int32_t>(volume, 0, int32_t(CVolumeControl::ScaleMaximum)));
}

} // namespace

TSoundEngine::TSoundEngine(const STestSettings& settings, float** results)
    : Results(new float[ResultCount]()), Frequencies(settings.frequencies.mid(0, MaxFrequencies))
{
    *results = Results;
    TakeOverVolumes(settings);
    PrepareFirstTone();
}

TSoundEngine::TSoundEngine(const STestSettings& settings)
{
    TakeOverVolumes(settings);
    PrepareFirstTone();
}

void TSoundEngine::PrepareFirstTone()
{
    // The first connection to the sound server takes longer than the set-up between tones; made
    // now, it does not delay the first tone. A refusal is logged when a tone is played.
    m_playback.Prepare(TWaveImage::Format);
    // The sound server answers the first volume change with news of it, which the mixer reads
    // once; read now, that round trip is off the first tone's way too.
    uint32_t current = 0;
    if (Mixer.GetVolume(current, CVolumeControl::MasterLine))
        CurrentVolume = int32_t(current);
}

void TSoundEngine::TakeOverVolumes(const STestSettings& settings)
{
    Modulation = settings.modulation;
    SoundSourceType = settings.soundSourceType;
    CalibrationLevel = settings.calibrationLevel;
    if (!Mixer.Open())
        LOG_AT(QStringLiteral("Volume control open failed!"));
    uint32_t masterMaximum = 0;
    uint32_t masterMinimum = 0;
    Mixer.GetRange(masterMaximum, masterMinimum, CVolumeControl::MasterLine);
    uint32_t saved = 0;
    m_mixerVolumeSaved = Mixer.GetVolume(saved, CVolumeControl::MasterLine) &&
                         Mixer.GetRawVolume(m_savedMaster, CVolumeControl::MasterLine);
    if (!m_mixerVolumeSaved)
        LOG_AT(QStringLiteral("GetCurrentVolume Error"));
    SavedMixerVolume = int32_t(saved);
    CurrentVolume = SavedMixerVolume;
    if (m_mixerVolumeSaved)
        TVolumeState::Hold(m_savedMaster);
    SetOutputVolume(CalibrationLevel, BothChannels);
    m_waveVolumeSaved = WaveOut.GetVolume(SavedWaveLeft, SavedWaveRight);
    if (!m_waveVolumeSaved)
        LOG_AT(QStringLiteral("GetCurrentVolume Error"));
    WaveOut.SetVolume(WaveMaximum, WaveMaximum);
    SetLevels(settings.minLevel, settings.maxLevel, settings.signedDelta);
    Ear = 0;
    FreqIndex = 0;
    Mixer.SetMute(false, CVolumeControl::MasterLine);
    Mixer.SetMute(false, CVolumeControl::WaveLine);
    Mixer.SetVolume(masterMaximum, CVolumeControl::WaveLine);
}

TSoundEngine::~TSoundEngine()
{
    m_playback.Close();
    LogPlaybackFailure();
    if (m_mixerVolumeSaved)
        TVolumeState::Release(
            OnMasterLine([this] { return Mixer.SetRawVolume(m_savedMaster, CVolumeControl::MasterLine); }));
    if (m_waveVolumeSaved)
        WaveOut.SetVolume(SavedWaveLeft, SavedWaveRight);
    m_waveImage = {};
    WaveOut.Close();
    Mixer.Close();
}

size_t TSoundEngine::FrameCount(double duration, uint32_t rate)
{
    return size_t(rate * duration);
}

bool TSoundEngine::GenerateAndPlay(double frequency, double attenuation, bool modulation, int32_t volume,
                                   int32_t channel)
{
    // The tone sounds a fixed time after this, however long the mixer takes to answer.
    const TAlsaPlayback::TTime asked = std::chrono::steady_clock::now();
    LogPlaybackFailure();
    m_waveImage = {};
    const size_t size =
        FrameCount(ToneDuration, TWaveImage::SampleRate) * TWaveImage::FrameBytes + TWaveImage::HeaderSize;
    m_waveImage.assign(size, 0);
    TWaveImage::WriteWaveHeader(m_waveImage.data(), uint32_t(size), TWaveImage::SampleRate,
                                TWaveImage::BitsPerSample);
    Synthesize(m_waveImage.data() + TWaveImage::HeaderSize, frequency, FullScale, attenuation, ToneDuration,
               TWaveImage::SampleRate, modulation, channel);
    // Without a mixer at the start there is no volume to hold; with one, no tone sounds at a
    // volume other than the calibrated one.
    const bool volumeSet = SetOutputVolume(volume, channel) || !m_mixerVolumeSaved;
    uint32_t current = 0;
    if (Mixer.GetVolume(current, CVolumeControl::MasterLine))
        CurrentVolume = int32_t(current);
    else
        LOG_AT(QStringLiteral("GetCurrentVolume Error"));
    if (!volumeSet) {
        LOG_AT(QStringLiteral("SetOutputVolume Error"));
        m_soundLost = true;
        return false;
    }
    // An image that does not read back leaves a format that playback refuses.
    SWaveData data;
    TWaveImage::ParseWaveImage(m_waveImage.data(), m_waveImage.size(), data);
    if (!m_playback.Play(data, asked)) {
        LOG_LAST_ERROR();
        m_soundLost = true;
        return false;
    }
    m_soundLost = false;
    return true;
}

void TSoundEngine::LogPlaybackFailure()
{
    const QString failure = m_playback.TakeFailure();
    if (failure.isEmpty())
        return;
    LOG_AT(failure);
    if (!m_playback.Running())
        m_soundLost = true;
}

void TSoundEngine::Synthesize(uint8_t* samples, double frequency, double amplitude, double attenuation,
                              double duration, uint32_t rate, bool modulation, int32_t channel)
{
    TVectorState::Clear();
    const double r = rate;
    const size_t frames = FrameCount(duration, rate);
    const double peak = amplitude * std::pow(10.0, -0.05 * attenuation);
    const double leadTime = 0.02 * duration;
    const size_t lead = size_t(r * leadTime);
    const double tailTime = duration / 3;
    // Formed in double, 44100 * 0.3 rounds up to 13230; the exact product is 13229.999...
    const auto tail = size_t(static_cast<long double>(r) * tailTime);
    const double toneTime = duration - leadTime - tailTime;
    const double sigma2 = RampSeconds * RampSeconds;
    const double omega = 2 * std::numbers::pi * frequency;
    const double warbleOmega = 2 * std::numbers::pi * WarbleHertz;
    const double beta = WarbleDeviation * frequency / WarbleHertz;
    const bool left = channel != 1;
    const bool right = channel != 0;
    for (size_t i = lead; i + tail < frames; ++i) {
        const double t = double(i - lead) / r;
        const double envelope =
            (1 - std::exp(-t * t / sigma2)) - std::exp(-(t - toneTime) * (t - toneTime) / sigma2);
        const double phase = modulation ? omega * t + beta * std::sin(warbleOmega * t) : omega * t;
        // Levels above 80 dB ask for more than 16 bits: such peaks are clipped.
        const double s = std::clamp(peak * envelope * std::sin(phase), -FullScale, FullScale);
        // To the nearest step: truncation toward zero made the quiet tones quieter than their level.
        const auto value = static_cast<int16_t>(std::lround(s));
        uint8_t* frame = samples + i * TWaveImage::FrameBytes;
        if (left)
            qToLittleEndian<int16_t>(value, frame);
        if (right)
            qToLittleEndian<int16_t>(value, frame + sizeof(int16_t));
    }
}

bool TSoundEngine::OnMasterLine(const std::function<bool()>& set)
{
    // A sound server that went away and came back is reached only through a mixer opened anew.
    if (!m_soundLost && set())
        return true;
    return m_mixerVolumeSaved && Mixer.Open() && set();
}

bool TSoundEngine::SetOutputVolume(int32_t volume, int32_t channel)
{
    const uint32_t value = MixerValue(volume);
    const bool done = OnMasterLine([this, value, channel] {
        return Mixer.SetVolumeLR(channel == 1 ? 0 : value, channel == 0 ? 0 : value,
                                 CVolumeControl::MasterLine);
    });
    if (done)
        CurrentVolume = volume;
    return done;
}

QMessageBox::StandardButton TSoundEngine::QuietMessageBox(QWidget* owner, const QString& text,
                                                          const QString& caption,
                                                          QMessageBox::StandardButtons buttons,
                                                          QMessageBox::Icon icon, bool guardAnswerKeys,
                                                          const TButtonTexts& buttonTexts)
{
    Mixer.SetVolume(MixerValue(CurrentVolume / 10), CVolumeControl::MasterLine);
    const QMessageBox::StandardButton answer =
        TMessageBox::Show({owner, text, caption, buttons, icon, guardAnswerKeys, buttonTexts});
    // Tones played meanwhile may have changed the volume: the latest one counts.
    Mixer.SetVolume(MixerValue(CurrentVolume), CVolumeControl::MasterLine);
    return answer;
}

void TSoundEngine::SetLevels(float lowest, float highest, float step)
{
    Step = step;
    AttAtMax = TopLevel - highest;
    AttAtMin = TopLevel - lowest;
    Attenuation = StartAttenuation();
    LevelReset = true;
}

float TSoundEngine::StartAttenuation() const
{
    // Ascending tests start at the lowest level, descending ones at the highest.
    return Step > 0 ? AttAtMin : AttAtMax;
}

bool TSoundEngine::NextTone(bool hold)
{
    if (!hold && !LevelReset) {
        Attenuation -= Step;
        const bool beyondRange = Step > 0 ? Attenuation < AttAtMax : Attenuation > AttAtMin;
        if (beyondRange)
            return true;
    }
    // Without a frequency there is nothing to play: the range counts as used up.
    if (FreqIndex < 0 || FreqIndex >= Frequencies.size())
        return true;
    LevelReset = false;
    GenerateAndPlay(Frequencies[FreqIndex], Attenuation, Modulation, CalibrationLevel, CurrentChannel());
    return false;
}

float* TSoundEngine::CurrentResult() const
{
    if (Results == nullptr || Ear < 0 || Ear >= PassCount || FreqIndex < 0 || FreqIndex >= MaxFrequencies)
        return nullptr;
    return Results + Ear * SecondPassOffset + FreqIndex;
}

TSoundEngine::THeard TSoundEngine::RecordHeard()
{
    if (float* result = CurrentResult())
        *result = TopLevel - Attenuation;
    Attenuation = StartAttenuation();
    LevelReset = true;
    ++FreqIndex;
    if (FreqIndex <= LastFreqIndex())
        return SamePassGoesOn;
    FreqIndex = 0;
    ++Ear;
    return Ear >= PassCount ? TestComplete : PassComplete;
}

void TSoundEngine::StepBack()
{
    Attenuation = StartAttenuation();
    LevelReset = true;
    if (float* result = CurrentResult())
        *result = 0;
    // A fixed earphone sits on the other ear after the turn between the passes, so the first
    // frequency of a pass is repeated where it is; only the tested ear's earphone goes back.
    if (FreqIndex == 0 && (Ear == 0 || SoundSourceType != EarUnderTest))
        return;
    --FreqIndex;
    if (FreqIndex >= 0)
        return;
    FreqIndex = LastFreqIndex();
    --Ear;
}

void TSoundEngine::CopyLeftToRight()
{
    if (Results == nullptr)
        return;
    std::copy_n(Results, Frequencies.size(), Results + SecondPassOffset);
}

int32_t TSoundEngine::CurrentChannel() const
{
    switch (SoundSourceType) {
    case LeftEarphone:
    case RightEarphone:
    case BothEarphones:
        return SoundSourceType;
    case EarUnderTest:
        return Ear;
    default:
        return 0;
    }
}

int32_t TSoundEngine::LastFreqIndex() const
{
    return int32_t(Frequencies.size()) - 1;
}
