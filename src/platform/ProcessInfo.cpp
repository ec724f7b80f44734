#include "platform/ProcessInfo.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

qint64 TProcessInfo::OwnId()
{
    return qint64(getpid());
}

bool TProcessInfo::IsRunning(qint64 id)
{
    return kill(pid_t(id), 0) == 0 || errno == EPERM;
}
