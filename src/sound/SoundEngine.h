// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Data.h"
#include "platform/AlsaPlayback.h"
#include "platform/MessageBox.h"
#include "settings/TestSettings.h"
#include "sound/VolumeControl.h"
#include "sound/WaveOutVolControl.h"

#include <QMessageBox>
#include <QString>
#include <QVector>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

// Every sound of the program: each tone is built as a complete RIFF/WAVE image in memory and
// played in the background, at a master volume the engine sets. A test level L in dB is a
// digital attenuation of 80 - L below full scale.
//
// The engine also carries the bookkeeping of a hearing test. While it exists it holds the
// output volume (calibration level, one side silenced for a one-sided tone) and gives back
// what it found when it is destroyed.
class TSoundEngine
{
public:
    static constexpr int MaxFrequencies = ResultFrequencies;
    static constexpr int ResultCount = ResultValues;
    static constexpr double ToneDuration = 0.9;
    static constexpr double FullScale = 32767.0;
    static constexpr float TopLevel = 80.0f;
    // Seconds from a call that plays a tone to the tone sounding, always the same.
    static constexpr double ToneLead = std::chrono::duration<double>(TAlsaPlayback::Lead).count();

    // A test: the settings' frequencies (at most the first 100 fit the result block), levels,
    // earphone, modulation and calibration level, and the address of a new 200-float result
    // block, which the caller releases with delete[] after the engine.
    TSoundEngine(const STestSettings& settings, float** results);
    // Calibration: the output volume at the settings' calibration level; no frequencies, no
    // result block.
    explicit TSoundEngine(const STestSettings& settings);
    ~TSoundEngine();
    TSoundEngine(const TSoundEngine&) = delete;
    TSoundEngine& operator=(const TSoundEngine&) = delete;

    // Channel 0 left, 1 right, 2 or more both; volume on the mixer's scale 0..65535. False when
    // the tone cannot sound: playback refused, or a master volume the engine holds not set.
    bool GenerateAndPlay(double frequency, double attenuation, bool modulation, int32_t volume,
                         int32_t channel);
    bool SetOutputVolume(int32_t volume, int32_t channel);
    // A message box during which the master volume is lowered to a tenth; guardAnswerKeys keeps
    // a late answer to a tone from closing it unread.
    QMessageBox::StandardButton QuietMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                                QMessageBox::StandardButtons buttons, QMessageBox::Icon icon,
                                                bool guardAnswerKeys, const TButtonTexts& buttonTexts = {});

    void SetLevels(float lowest, float highest, float step);
    // True, without playing, when the next step leaves the level range.
    bool NextTone(bool hold);
    // The last tone played could not sound.
    bool ToneFailed() const { return m_soundLost; }
    enum THeard : int
    {
        SamePassGoesOn = 0,
        PassComplete = 1,
        TestComplete = 2
    };
    THeard RecordHeard();
    void StepBack();
    void CopyLeftToRight();
    int32_t CurrentChannel() const;
    int32_t LastFreqIndex() const;

    static size_t FrameCount(double duration, uint32_t rate);
    // Writes one tone burst into the sample frames (little-endian, 2 channels, 16 bits).
    static void Synthesize(uint8_t* samples, double frequency, double amplitude, double attenuation,
                           double duration, uint32_t rate, bool modulation, int32_t channel);

    // The image of the last tone, header first.
    const std::vector<uint8_t>& WaveImage() const { return m_waveImage; }

    int32_t CurrentVolume = 0;
    int32_t Ear = 0;
    int32_t FreqIndex = 0;
    float Attenuation = 0.0f;
    float Step = 0.0f;
    float AttAtMax = 0.0f;
    float AttAtMin = 0.0f;
    bool LevelReset = false;
    bool Modulation = false;
    int32_t SoundSourceType = 0;
    // The master volume of every test tone.
    int32_t CalibrationLevel = 0;
    float* Results = nullptr;
    QVector<float> Frequencies;
    CVolumeControl Mixer;
    CWaveOutVolControl WaveOut;
    int32_t SavedMixerVolume = 0;
    uint16_t SavedWaveLeft = 0;
    uint16_t SavedWaveRight = 0;

private:
    void TakeOverVolumes(const STestSettings& settings);
    void PrepareFirstTone();
    float StartAttenuation() const;
    // The result entry of the current pass and frequency, or null where there is none.
    float* CurrentResult() const;
    // Runs a change of the master line, on a mixer opened anew where the first try fails.
    bool OnMasterLine(const std::function<bool()>& set);
    // A failure of playback is logged; when it ended the stream, the sound counts as lost.
    void LogPlaybackFailure();

    std::vector<uint8_t> m_waveImage;
    // What was found at construction is given back only when it could be read.
    bool m_mixerVolumeSaved = false;
    SRawVolume m_savedMaster;
    bool m_waveVolumeSaved = false;
    // The sound went away: the mixer still speaks to the server that is gone, and is opened anew
    // before the next volume is set.
    bool m_soundLost = false;
    // Declared last so that the stream ends before the volumes it sounds at are given back.
    TAlsaPlayback m_playback;
};
