// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/Options.h"
#include "settings/TestSettings.h"

#include <QStringList>

#include <cmath>

// The windows read the process's settings: this puts a test's settings there, the frequencies
// as the own list, and gives back the settings there were when it goes.
class TScopedTestSettings
{
public:
    explicit TScopedTestSettings(const STestSettings& settings)
        : m_saved(CurrentCalibrationSettings(gOptions)), m_delta(gOptions.DeltaLevel),
          m_listIndex(gOptions.FreqListIndex), m_ownList(FreqPresets[OwnFreqList])
    {
        QStringList frequencies;
        for (const float frequency : settings.frequencies)
            frequencies.append(QString::number(frequency));
        FreqPresets[OwnFreqList] = frequencies.join(QLatin1Char(','));
        gOptions.FreqListIndex = OwnFreqList;
        gOptions.DeltaLevel = std::abs(settings.signedDelta);
        Put(settings);
    }
    ~TScopedTestSettings()
    {
        Put(m_saved);
        gOptions.DeltaLevel = m_delta;
        gOptions.FreqListIndex = m_listIndex;
        FreqPresets[OwnFreqList] = m_ownList;
    }
    TScopedTestSettings(const TScopedTestSettings&) = delete;
    TScopedTestSettings& operator=(const TScopedTestSettings&) = delete;

private:
    static void Put(const STestSettings& settings)
    {
        gOptions.MinLevel = settings.minLevel;
        gOptions.MaxLevel = settings.maxLevel;
        gOptions.SoundSourceType = settings.soundSourceType;
        gOptions.Algorithm = settings.algorithm;
        gOptions.DefaultCalibrationLevel = settings.calibrationLevel;
        gOptions.DefaultCalibrationDesc = settings.calibrationDesc;
        gOptions.Modulation = settings.modulation;
    }

    const STestSettings m_saved;
    const float m_delta;
    const int32_t m_listIndex;
    const QString m_ownList;
};
