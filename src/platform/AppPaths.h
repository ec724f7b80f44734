// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Portable: everything beside the program, as in a build folder or a copy on a stick.
// Installed: settings, log and data in the user's own folders.
enum class TPathMode
{
    Portable,
    Installed
};

// What the folders are decided from: the running program and the user's environment.
struct SPathInputs
{
    QString programFolder;
    bool programFolderWritable = false;
    // "<programFolder>/../share/kelvarion" is a folder: the layout an installation makes.
    bool shareFolderExists = false;
    QString home;
    QString configHome;
    QString stateHome;
    // The user's documents folder; empty when there is none to name.
    QString documents;
    // The working folder the program was started in.
    QString startFolder;
};

struct SAppFolders
{
    TPathMode mode = TPathMode::Portable;
    // Holds kelvarion.ini; empty when there is none to name.
    QString settings;
    // Holds Log.txt and the help trace; empty when there is none to name.
    QString state;
    // The default data folder.
    QString data;
    // Holds lang.lng and the language files.
    QString res;
    // Holds the help files.
    QString help;
    // The working folder the program was started in, for the files named on its command line.
    QString start;
    // Why the settings (then kept in memory only) or the state folder cannot be used; empty
    // when it can.
    QString settingsProblem;
    QString stateProblem;
};

// Where the running program lies and where it keeps its files; usable before the Qt
// application object exists, during static initialisation.
class TAppPaths
{
public:
    static QString ProgramPath();
    // The program's folder, without a trailing slash.
    static QString ProgramFolder();

    static SAppFolders Decide(const SPathInputs& inputs);
    // Decided once, at first use, from the running program; in installed mode the settings
    // and state folders are created then.
    static const SAppFolders& Folders();

    // Creates the folder, and its parents unless told not to; false with the reason when it is
    // not a folder after.
    static bool MakeFolder(const QString& path, QString& reason, bool withParents = true);
};
