#pragma once

#include <QString>

// The program's start and end: the "-lang" option, the application object, the windows and
// the message loop.
class TStartUp
{
public:
    // The language symbol given with "-lang" in the joined command line, or nothing.
    static QString LangOption(const QString& commandLine);
    // Stores the option's symbol while no language has been chosen yet.
    static void ApplyLangOption(const QString& commandLine);
    static int Run(int argc, char** argv);
};
