// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessInfo.h"

#include <cerrno>
#include <csignal>

bool TProcessInfo::IsRunning(qint64 id)
{
    return kill(pid_t(id), 0) == 0 || errno == EPERM;
}
