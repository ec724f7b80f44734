// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <QFileInfo>

int TSystemError::LastCode()
{
    return errno;
}

bool TSystemError::Describe(int code, QString& text)
{
    // Codes without a name have only glibc's "Unknown error" text, in the user's language.
    if (strerrorname_np(code) == nullptr)
        return false;
    char buffer[256] = {};
    // The GNU strerror_r either fills the buffer or returns a static text.
    const char* message = strerror_r(code, buffer, sizeof buffer);
    text = QString::fromLocal8Bit(message);
    return true;
}

int TSystemError::WriteAccessError(const QString& path)
{
    const QFileInfo file(path);
    const QByteArray target = (file.exists() ? file.absoluteFilePath() : file.absolutePath()).toLocal8Bit();
    return access(target.constData(), W_OK) == 0 ? 0 : errno;
}
