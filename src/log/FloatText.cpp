#include "log/FloatText.h"

#include <QLocale>

#include <charconv>

QString FloatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}
