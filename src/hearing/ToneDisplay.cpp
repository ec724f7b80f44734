// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/ToneDisplay.h"

#include <QLocale>

#include <cmath>

QString FrequencyDisplay(float hertz)
{
    return QString::number(std::lround(hertz)) + QStringLiteral("Hz");
}

QString LevelDisplay(float decibels)
{
    double rounded = decibels;
    if (rounded != 0.0 && std::isfinite(rounded)) {
        const double scale = std::pow(10.0, 1 - std::floor(std::log10(std::abs(rounded))));
        rounded = std::round(rounded * scale) / scale;
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(rounded, 'f', 1) + QStringLiteral("dB");
}
