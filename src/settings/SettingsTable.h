// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <variant>

class QString;
class TOptions;

// Where a setting lives: a member of TOptions, or the user's own frequency list.
struct SOwnFreqList
{
};
using TSettingPlace = std::variant<int32_t TOptions::*, int8_t TOptions::*, bool TOptions::*,
                                   float TOptions::*, QString TOptions::*, SOwnFreqList>;

// What "Set defaults" does to a text setting; numbers and switches take their default.
enum class TTextDefault : uint8_t
{
    Kept,
    Empty,
    DataFolder
};

// One setting of "kelvarion.ini". Numbers read outside [min, max] take the default; a text
// setting missing from the file keeps the value it has.
struct SSetting
{
    const char* key;
    TSettingPlace place;
    double defaultValue = 0;
    double min = 0;
    double max = 0;
    // Set defaults leaves this setting as it is.
    bool keptByDefaults = false;
    TTextDefault textDefault = TTextDefault::Kept;
};

// Every setting, in the order the file is written.
std::span<const SSetting> SettingsTable();
