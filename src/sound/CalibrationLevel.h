// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Conversions between decibels and the mixer master-volume scale 0..65535 on which the
// calibration level is kept; 65535 is 0 dB.
int32_t DbToVolume(float dB);
float VolumeToDb(int32_t level);
// Whole decibels, truncated towards zero; -100 for a level that is not set.
int32_t CalibrationLevelToDb(int32_t level);
