// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct SAppFolders;

#include <cstdint>
#include <cstdio>

// winVersion from this value on: Windows Vista or later, or a system the log does not
// recognise (Linux among them).
inline constexpr int8_t VistaOrLater = 9;

// The diagnostic log "Log.txt" in the state folder (beside a portable program): one time-stamped line per
// event, flushed at once, rewritten on every start; the log of the run before is kept as "Log.old.txt". A
// message repeated is written once with a count, and the file stops at MaxSize, so a lookup that fails at
// every redraw cannot fill the disk.
class TLog
{
public:
    TLog();
    explicit TLog(const QString& path);
    ~TLog();
    TLog(const TLog&) = delete;
    TLog& operator=(const TLog&) = delete;

    void Write(const QString& text);
    void WriteAt(const QString& text, int line, const char* sourceFile);
    // Logs the last system error (errno) with its description.
    void WriteLastError(int line, const char* sourceFile);
    // Low-importance diagnostics go here and are not written.
    void Debug(const QString& text, int line, const char* sourceFile);
    QString DescribeWindows();
    // Which mode and which folders are in use.
    void WriteFolders(const SAppFolders& folders);

    bool IsOpen() const { return file != nullptr; }

    int8_t winVersion = 11;

    static constexpr qint64 MaxSize = 10 * 1024 * 1024;

private:
    void WriteLine(const QString& text);
    void WriteRepeats();

    FILE* file = nullptr;
    QString m_lastText;
    qint64 m_repeats = 0;
    qint64 m_size = 0;
    bool m_full = false;
};

extern TLog gLog;

#define LOG_AT(text) gLog.WriteAt((text), __LINE__, __FILE__)
#define LOG_LAST_ERROR() gLog.WriteLastError(__LINE__, __FILE__)
