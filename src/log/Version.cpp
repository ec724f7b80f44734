// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/Version.h"

#include <QStringList>

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
