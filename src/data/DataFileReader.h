// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

struct SData;

// Reads a measurement or reference file line by line, each line whole whatever its length: a
// long remark (two bytes a letter in Polish) must read back whole, and the rest of a cut line
// must not be taken for a header or a row.
class TDataFileReader
{
public:
    static constexpr int MaxKeyLength = 51;
    static constexpr int MaxRowNumbers = 5;

    explicit TDataFileReader(std::FILE* file);
    ~TDataFileReader();
    TDataFileReader(const TDataFileReader&) = delete;
    TDataFileReader& operator=(const TDataFileReader&) = delete;

    // False at the end of the file or after a read error.
    bool NextLine();
    const char* Line() const { return m_line; }
    bool Failed() const;
    // The bytes of the lines read so far.
    qint64 BytesRead() const { return m_bytesRead; }

    // The numbers at the start of a row line, as many as stand there (at most five); scanning
    // stops at the first text that is not a finite number written with ".".
    static int ScanRow(const char* line, float (&numbers)[MaxRowNumbers]);
    // Whether a row of this many numbers holds what a test can give: a frequency within
    // 20..20000 Hz and levels within -50..150 dB.
    static bool Possible(const float (&numbers)[MaxRowNumbers], int count);
    // Stores a header line's value in the record; true when it was the calibration level.
    // A date the user's locale cannot read throws std::runtime_error with the message to show.
    static bool ApplyHeader(const char* line, SData& record, const QString& path);

private:
    static QString HeaderKey(const char* line);
    // The text after "@", the key and one separator, without the line end.
    static QString HeaderValue(const char* line, const QString& key);

    std::FILE* m_file;
    char* m_line = nullptr;
    size_t m_capacity = 0;
    qint64 m_bytesRead = 0;
};
