// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The desktop's volume control, started as a process of its own and not waited for.
class TVolumeTool
{
public:
    // True when the tool was started; otherwise the failure says why, for the log.
    static bool Start(QString& failure);

    // Tests choose a harmless program, or one that does not exist.
    static void SetProgram(const QString& program);
};
