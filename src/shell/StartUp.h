// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct SAppFolders;
class TSingleInstance;

// The program's start and end: the "-lang" option, the files to open, the application object,
// the windows and the message loop.
class TStartUp
{
public:
    // The language symbol given with "-lang" in the joined command line, or nothing.
    static QString LangOption(const QString& commandLine);
    // Stores the option's symbol while no language has been chosen yet.
    static void ApplyLangOption(const QString& commandLine);
    // Selects the stored language; a symbol known in other letter case is stored as the
    // language list spells it, which is also how its help file is named.
    static void ChooseLanguage();
    // The files named among the arguments, made absolute from startFolder: every argument but
    // the options ("-lang" with its symbol, "/debug", anything that starts with "-").
    static QStringList FileArguments(const QStringList& arguments, const QString& startFolder);
    // What the user is told when a folder cannot be used; empty when every folder can.
    static QString FolderProblemText(const SAppFolders& folders);
    static int Run(int argc, char** argv);

private:
    static void SetWindowIcon();
    // A later start: the files go to the running program, and this run ends.
    static int HandOver(const TSingleInstance& instance, const QStringList& files);
};
