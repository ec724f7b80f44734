// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class TOptions;

// What the options dialog accepts from the user, kept apart from the window so that the rules
// can be tried without one.
class TOptionsInput
{
public:
    // A level is a number written with the user's decimal separator, inside the range the
    // settings keep for that level (a step above 0). Group separators are refused, so that
    // "2,5" under an English locale is not taken for 25.
    static bool ReadLevel(const QString& text, float TOptions::*setting, float& level);
    // The 32-bit level widened to double, in the shortest form with up to 15 significant
    // digits: 0.1 shows as "0.100000001490116", 80 as "80".
    static QString LevelText(float level);

    static bool IsFolder(const QString& path);
    // Creates the last folder of the path only: a missing parent is not made.
    static bool CreateFolder(const QString& path);
    // A relative folder is taken from the current directory, so that the setting keeps
    // naming the same folder whatever directory the program starts in next time.
    static QString AbsoluteFolder(const QString& path);
};
