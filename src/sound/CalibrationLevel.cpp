// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/CalibrationLevel.h"

#include <cmath>

namespace {

constexpr int32_t FullVolume = 65535;
constexpr int32_t SilentDb = -100;

} // namespace

int32_t DbToVolume(float dB)
{
    const float volume = static_cast<float>(FullVolume) * std::pow(10.0f, 0.05f * dB);
    if (!(volume <= static_cast<float>(FullVolume)))
        return FullVolume;
    return static_cast<int32_t>(volume);
}

// A negative level has no logarithm; it is as silent as 0.
float VolumeToDb(int32_t level)
{
    if (level <= 0)
        return static_cast<float>(SilentDb);
    return 20.0f * std::log10(static_cast<float>(level) / static_cast<float>(FullVolume));
}

int32_t CalibrationLevelToDb(int32_t level)
{
    if (level < 1)
        return SilentDb;
    return static_cast<int32_t>(std::trunc(20.0 * std::log10(static_cast<double>(level) / FullVolume)));
}
