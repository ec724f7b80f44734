#pragma once

#include <QString>

// Where the running program lies; usable before the Qt application object exists.
class TAppPaths
{
public:
    static QString ProgramPath();
    // The program's folder, without a trailing slash.
    static QString ProgramFolder();
};
