// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class TOptions;
class TSoundEngine;
struct STestSettings;

// The rules of the calibration window: the volume bar's scale, the tone each tick plays and
// whether the window may close, storing the level found. The bar runs from -30 (top) to 80
// (bottom) in steps of 10; its position p stands for a volume of -p dB.
class TCalibrationProcedure
{
public:
    static constexpr int BarStep = 10;
    // Channel 0 left, 1 right, 3 both.
    static constexpr int BothChannels = 3;

    enum class TClosing
    {
        Allow,
        AskForDescription,
        AskToStore
    };

    TCalibrationProcedure();
    ~TCalibrationProcedure();
    TCalibrationProcedure(const TCalibrationProcedure&) = delete;
    TCalibrationProcedure& operator=(const TCalibrationProcedure&) = delete;

    // The engine takes over the output volume at the settings' calibration level until Close().
    void Open(const STestSettings& settings, int frequency);
    void Close();
    bool IsOpen() const { return Engine != nullptr; }

    // Where the bar stands for the stored level, before snapping.
    int StoredPosition() const;
    // Snaps to the bar's steps towards zero (25 gives 20, -15 gives -10).
    static int Snap(int position);
    // The bar now stands at this (snapped) position.
    void BarMoved(int position);
    void SetFrequency(int frequency);
    // Plays one tone unless muted; channel 0 left, 1 right.
    void Tick(bool muted, int position, int channel);
    // The tone's own attenuation: test level 10 at and below position 0, louder above it.
    static int ToneAttenuation(int position);
    void ApplyVolumeDb(int channel, float dB);

    // Closing with OK (not cancelled) at this bar position and with this description.
    TClosing MayClose(bool cancelled, int position, const QString& description) const;
    // Writes the bar's level and the description into these settings.
    void StoreIn(TOptions& options, int position, const QString& description) const;

    std::unique_ptr<TSoundEngine> Engine;
    float VolumeDb = 0.0f;
    float Frequency = 0.0f;

private:
    int32_t m_storedLevel = 0;
    QString m_storedDesc;
    bool m_modulation = false;
};
