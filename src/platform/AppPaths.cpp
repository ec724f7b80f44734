#include "platform/AppPaths.h"

#include <QFileInfo>

#include <climits>
#include <unistd.h>

QString TAppPaths::ProgramPath()
{
    static const QString path = [] {
        char buffer[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        return length > 0 ? QString::fromLocal8Bit(buffer, length) : QString();
    }();
    return path;
}

QString TAppPaths::ProgramFolder()
{
    return QFileInfo(ProgramPath()).absolutePath();
}
