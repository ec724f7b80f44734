// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppPaths.h"

#include <QFile>
#include <QString>
#include <QStringList>

// Reads what the program's log received after the probe was made.
class TLogProbe
{
public:
    TLogProbe() : m_start(QFile(Path()).size()) {}

    static QString Path() { return TAppPaths::ProgramFolder() + QStringLiteral("/Log.txt"); }

    QStringList NewLines() const
    {
        QFile file(Path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        file.seek(m_start);
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool Contains(const QString& text) const
    {
        for (const QString& line : NewLines()) {
            if (line.contains(text))
                return true;
        }
        return false;
    }

private:
    qint64 m_start;
};
