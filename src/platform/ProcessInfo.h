// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class TProcessInfo
{
public:
    // True also for a process of another user, which cannot be signalled but exists.
    static bool IsRunning(qint64 id);
};
