// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The last error of a system call and its description.
class TSystemError
{
public:
    static int LastCode();
    // False when the system has no text for the code.
    static bool Describe(int code, QString& text);
    // Why the file could not be written, or created in its folder: a code, or 0 when the system
    // would allow it.
    static int WriteAccessError(const QString& path);
};
