// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppPaths.h"

#include <QFile>
#include <QString>

// How many lines of a log hold the text; by default the log of this test program.
inline int LogLinesWith(const QString& text, const QString& logPath = TAppPaths::ProgramFolder() + "/Log.txt")
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')).filter(text).size());
}
