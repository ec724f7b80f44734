// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/VolumeTool.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

QString& CurrentProgram()
{
    static QString program = QStringLiteral("pavucontrol");
    return program;
}

} // namespace

bool TVolumeTool::Start(QString& failure)
{
    const QString path = QStandardPaths::findExecutable(CurrentProgram());
    if (path.isEmpty()) {
        failure =
            QStringLiteral("[VolumeTool] no volume control found (") + CurrentProgram() + QLatin1Char(')');
        return false;
    }
    if (!QProcess::startDetached(path, {})) {
        failure = QStringLiteral("[VolumeTool] could not start ") + path;
        return false;
    }
    return true;
}

void TVolumeTool::SetProgram(const QString& program)
{
    CurrentProgram() = program;
}
