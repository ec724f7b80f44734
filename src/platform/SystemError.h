#pragma once

#include <QString>

// The last error of a system call and its description.
class TSystemError
{
public:
    static int LastCode();
    // False when the system has no text for the code.
    static bool Describe(int code, QString& text);
};
