// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/FileNames.h"

#include "platform/Clock.h"

QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
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
