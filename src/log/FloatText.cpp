// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/FloatText.h"

#include <QLocale>

#include <charconv>
#include <cmath>

QString FloatText(float value)
{
    // 100000 reads better than the shorter "1e+05".
    if (std::abs(value) < 1e15f && value == std::trunc(value))
        return QString::number(qint64(value));
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}
