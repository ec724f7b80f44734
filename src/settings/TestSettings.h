// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

class TOptions;

// What a hearing test or a calibration takes from the settings when it is made. The windows
// hand over the process's settings; tests build the value they need.
struct STestSettings
{
    QVector<float> frequencies;
    float minLevel = 0.0f;
    float maxLevel = 0.0f;
    // The step with the sign of the level direction.
    float signedDelta = 0.0f;
    int32_t soundSourceType = 0;
    int8_t algorithm = 0;
    int32_t calibrationLevel = 0;
    QString calibrationDesc;
    bool modulation = false;
};

// The settings as they stand; a frequency list that cannot be read shows its messages and gives
// what was read.
STestSettings CurrentTestSettings(const TOptions& options);
// The same without the frequency list, which a calibration does not read.
STestSettings CurrentCalibrationSettings(const TOptions& options);
