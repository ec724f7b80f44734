// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The trace of every help call, "HHDebug.txt", for whoever supports an installation. It is
// kept only when asked for: by a file "debug.debug" in the state folder or a parameter "-debug"
// or "/debug" in any letter case.
class THelpTrace
{
public:
    // Removes the trace of an earlier run and, when asked for, starts a new one with a header.
    // The trace lies in folder, or in tempFolder when folder cannot be written.
    static void Start(const QString& folder, const QStringList& arguments, const QString& tempFolder);
    static void Stop();

    // Where the trace of this run lies, kept or not.
    static QString Path();
    // Writes nothing unless a trace was started.
    static void Write(const QString& line);
};
