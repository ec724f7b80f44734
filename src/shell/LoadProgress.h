// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressDialog>
#include <QStringList>
#include <QVector>

class QWidget;

// The sign of life while the Open command reads files: a busy cursor for as long as this
// lives, and a progress dialog that moves by the bytes read. It shows at once for many files
// or many bytes, otherwise as soon as reading takes longer than half a second. A cancel is
// honoured between files and within one.
class TLoadProgress
{
public:
    TLoadProgress(QWidget* owner, const QString& text, const QStringList& files);
    ~TLoadProgress();
    TLoadProgress(const TLoadProgress&) = delete;
    TLoadProgress& operator=(const TLoadProgress&) = delete;

    // Before each file: false once the user has cancelled, and the file is then not read.
    bool NextFile(const QString& path);
    // While a file is read, the bytes of it read so far: false once the user has cancelled.
    bool FileRead(qint64 bytes);

    // From this many files, or this many bytes, on the dialog shows as soon as reading starts.
    static constexpr int ManyFiles = 20;
    static constexpr qint64 ManyBytes = 1024 * 1024;
    static constexpr int PatienceMs = 500;
    // How long the dialog may take to come on screen.
    static constexpr int AppearMs = 200;

private:
    void Appear();

    QProgressDialog m_dialog;
    QString m_text;
    QVector<qint64> m_sizes;
    // The dialog's steps are bytes, or as many bytes as keep the whole within its range.
    qint64 m_bytesPerStep = 1;
    qint64 m_bytesBefore = 0;
    int m_filesStarted = 0;
    bool m_shown = false;
};
