#include "log/Tools.h"

#include "platform/Clock.h"

#include <QLocale>
#include <QStringList>

#include <charconv>
#include <cmath>

QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString VersionText()
{
    return QString::asprintf(" %d.%02d.%02d ", KELVARION_VERSION_MAJOR, KELVARION_VERSION_MINOR,
                             KELVARION_VERSION_PATCH);
}

QString BuildDateText(const char* format, const char* buildDate)
{
    static const QStringList months = {QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                                       QStringLiteral("Apr"), QStringLiteral("May"), QStringLiteral("Jun"),
                                       QStringLiteral("Jul"), QStringLiteral("Aug"), QStringLiteral("Sep"),
                                       QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
    const QString date = QString::fromLatin1(buildDate);
    const int month = months.indexOf(date.left(3)) + 1;
    const int day = date.mid(4, 2).trimmed().toInt();
    const int year = date.mid(7).trimmed().toInt();
    return QString::asprintf(format != nullptr ? format : "%d-%02d-%02d", year, month, day);
}

QString ProposedFileName(const QString& name)
{
    QString usable;
    for (const QChar c : name) {
        if (c != QLatin1Char('/') && c.category() != QChar::Other_Control)
            usable.append(c);
    }
    // A leading "-" reads as an option to other programs, a leading "." hides the file.
    qsizetype start = 0;
    while (start < usable.size() && QStringView(u"-.").contains(usable.at(start)))
        ++start;
    return usable.mid(start) + QLatin1Char(' ') + TClock::Now().toString(QStringLiteral("yyyyMMdd_hhmm"));
}

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
