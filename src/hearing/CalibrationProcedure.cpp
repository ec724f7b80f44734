// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/CalibrationProcedure.h"

#include "settings/Options.h"
#include "settings/TestSettings.h"
#include "sound/CalibrationLevel.h"
#include "sound/SoundEngine.h"

#include <algorithm>
#include <cmath>

namespace {

// Attenuation of the tone at and below bar position 0: test level 10.
constexpr int BaseAttenuation = 70;

int LevelAt(int position)
{
    return DbToVolume(float(-position));
}

} // namespace

TCalibrationProcedure::TCalibrationProcedure() = default;

TCalibrationProcedure::~TCalibrationProcedure()
{
    Close();
}

void TCalibrationProcedure::Open(const STestSettings& settings, int frequency)
{
    Close();
    Engine = std::make_unique<TSoundEngine>(settings);
    Frequency = float(frequency);
    m_storedLevel = settings.calibrationLevel;
    m_storedDesc = settings.calibrationDesc;
    m_modulation = settings.modulation;
    VolumeDb = VolumeToDb(m_storedLevel);
}

void TCalibrationProcedure::Close()
{
    Engine.reset();
}

int TCalibrationProcedure::StoredPosition() const
{
    return int(std::trunc(-VolumeDb));
}

int TCalibrationProcedure::Snap(int position)
{
    return position / BarStep * BarStep;
}

void TCalibrationProcedure::BarMoved(int position)
{
    VolumeDb = float(-position);
    ApplyVolumeDb(BothChannels, VolumeDb);
}

void TCalibrationProcedure::SetFrequency(int frequency)
{
    Frequency = float(frequency);
}

void TCalibrationProcedure::Tick(bool muted, int position, int channel)
{
    if (muted || !IsOpen())
        return;
    Engine->GenerateAndPlay(Frequency, ToneAttenuation(position), m_modulation, DbToVolume(VolumeDb),
                            channel);
}

int TCalibrationProcedure::ToneAttenuation(int position)
{
    return BaseAttenuation - std::max(0, -position);
}

void TCalibrationProcedure::ApplyVolumeDb(int channel, float dB)
{
    if (IsOpen())
        Engine->SetOutputVolume(DbToVolume(dB), channel);
}

TCalibrationProcedure::TClosing TCalibrationProcedure::MayClose(bool cancelled, int position,
                                                                const QString& description) const
{
    if (cancelled)
        return TClosing::Allow;
    if (LevelAt(position) == m_storedLevel && description == m_storedDesc)
        return TClosing::Allow;
    return description.isEmpty() ? TClosing::AskForDescription : TClosing::AskToStore;
}

void TCalibrationProcedure::StoreIn(TOptions& options, int position, const QString& description) const
{
    options.DefaultCalibrationLevel = LevelAt(position);
    options.DefaultCalibrationDesc = description;
}
