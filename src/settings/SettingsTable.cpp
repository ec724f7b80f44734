// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsTable.h"

#include "settings/Options.h"

#include <limits>

namespace {

constexpr double kAnyFloat = std::numeric_limits<float>::max();
// A level step of zero or less would never reach the end of a test.
constexpr double kSmallestStep = std::numeric_limits<float>::denorm_min();

constexpr SSetting kSettings[] = {
    {"Frequency List", &TOptions::FreqListIndex, 0, 0, FreqPresetCount - 1},
    {"Minimum Level", &TOptions::MinLevel, 0.0, -kAnyFloat, kAnyFloat},
    {"Maximum Level", &TOptions::MaxLevel, 80.0, -kAnyFloat, kAnyFloat},
    {"Delta Level", &TOptions::DeltaLevel, 2.0, kSmallestStep, kAnyFloat},
    {"Calibrated", &TOptions::Calibrated, 0},
    {"Algorithm", &TOptions::Algorithm, AscendingLevels, AscendingLevels, ClinicalLevels},
    {"Sound Source Type", &TOptions::SoundSourceType, LeftEarphone, LeftEarphone, BothEarphones},
    {"Default Path", &TOptions::DefaultPath, 0, 0, 0, false, TTextDefault::DataFolder},
    {"Reference FileName", &TOptions::ReferenceFileName, 0, 0, 0, false, TTextDefault::Empty},
    {"Default Calibration Level", &TOptions::DefaultCalibrationLevel, 6553, 0, 65535, true},
    {"Default Calibration Desc", &TOptions::DefaultCalibrationDesc, 0, 0, 0, true},
    {"Frequency Other List", SOwnFreqList{}, 0, 0, 0, true},
    {"Modulation", &TOptions::Modulation, 1},
    {"Lang", &TOptions::Lang, 0, 0, 0, true},
};

} // namespace

std::span<const SSetting> SettingsTable()
{
    return kSettings;
}
