// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TestSettings.h"

#include "settings/Options.h"

STestSettings CurrentTestSettings(const TOptions& options)
{
    STestSettings settings = CurrentCalibrationSettings(options);
    options.GetFreqList(settings.frequencies);
    return settings;
}

STestSettings CurrentCalibrationSettings(const TOptions& options)
{
    STestSettings settings;
    settings.minLevel = options.MinLevel;
    settings.maxLevel = options.MaxLevel;
    settings.signedDelta = options.GetSignedDelta();
    settings.soundSourceType = options.SoundSourceType;
    settings.algorithm = options.Algorithm;
    settings.calibrationLevel = options.DefaultCalibrationLevel;
    settings.calibrationDesc = options.DefaultCalibrationDesc;
    settings.modulation = options.Modulation;
    return settings;
}
