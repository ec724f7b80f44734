// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FreqPresets.h"

TFreqPresets FreqPresets;

QString& TFreqPresets::operator[](int index)
{
    static QString presets[Count] = {
        QStringLiteral("450,500,1000,1900,2000"),
        QStringLiteral("450,500,550,1000,1950,2000,2050"),
        QStringLiteral("450,475,500,525,1000,1950,1975,2000,2025"),
        QStringLiteral("450,475,500,525,975,1000,1050,1950,1975,2000,2025"),
        QStringLiteral("1000,2000,500"),
        QStringLiteral("250,500,1000,2000,3000,4000,6000,8000"),
    };
    return presets[index];
}
