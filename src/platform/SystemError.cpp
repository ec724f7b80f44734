#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

int TSystemError::LastCode()
{
    return errno;
}

bool TSystemError::Describe(int code, QString& text)
{
    char buffer[256] = {};
    // The GNU strerror_r either fills the buffer or returns a static text.
    const char* message = strerror_r(code, buffer, sizeof buffer);
    if (message == nullptr || std::strncmp(message, "Unknown error", 13) == 0)
        return false;
    text = QString::fromLocal8Bit(message);
    return true;
}
