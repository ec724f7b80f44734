// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressDialog>

class QString;
class QWidget;

// The sign of life while the Open command reads files: a busy cursor for as long as this
// lives, and a progress dialog that shows at once for many files and otherwise as soon as
// reading takes longer than half a second. A cancel is honoured between files.
class TLoadProgress
{
public:
    TLoadProgress(QWidget* owner, const QString& text, int fileCount);
    ~TLoadProgress();
    TLoadProgress(const TLoadProgress&) = delete;
    TLoadProgress& operator=(const TLoadProgress&) = delete;

    // Before each file: false once the user has cancelled, and the file is then not read.
    bool NextFile(const QString& path);

    // From this many files on the dialog shows before the first file is read.
    static constexpr int ManyFiles = 20;
    static constexpr int PatienceMs = 500;
    // How long the dialog may take to come on screen.
    static constexpr int AppearMs = 200;

private:
    void Appear();

    QProgressDialog m_dialog;
    QString m_text;
    int m_filesRead = 0;
    bool m_shown = false;
};
