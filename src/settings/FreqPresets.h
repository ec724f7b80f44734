// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The six frequency lists a test can use; entry OwnFreqList is the user's own, kept in the
// settings, and the standard audiogram comes after it so that older settings files read the same. The texts
// are made at their first use, so the settings may read entry 4 during static initialisation whatever the
// order in which the program was linked.
class TFreqPresets
{
public:
    static constexpr int Count = 6;

    QString& operator[](int index);
};

inline constexpr int FreqPresetCount = TFreqPresets::Count;
inline constexpr int OwnFreqList = 4;
inline constexpr int StandardAudiogramList = 5;

extern TFreqPresets FreqPresets;
