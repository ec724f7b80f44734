#pragma once

#include <QString>

#include <cstdint>
#include <cstdio>

// winVersion from this value on: Windows Vista or later, or a system the log does not
// recognise (Linux among them).
inline constexpr int8_t VistaOrLater = 9;

// The diagnostic log "Log.txt" beside the program: one time-stamped line per event, flushed
// at once, rewritten on every start.
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

    bool IsOpen() const { return file != nullptr; }

    int8_t winVersion = 11;

private:
    FILE* file = nullptr;
};

extern TLog gLog;

#define LOG_AT(text) gLog.WriteAt((text), __LINE__, __FILE__)
#define LOG_LAST_ERROR() gLog.WriteLastError(__LINE__, __FILE__)
