// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>

struct SData;
struct SDataPoint;
struct SEarReliability;

// Builds the text of a measurement or reference file and puts it in place. Numbers are
// written with "." whatever the locale; dates in the user's locale.
class TDataFileWriter
{
public:
    enum class Result
    {
        Written,
        OpenFailed,
        WriteFailed
    };

    explicit TDataFileWriter(const QLocale& locale = QLocale());

    // The lines before the rows; a calibration level of 0 is written as the default level.
    void WriteHeader(const SData& record, int32_t defaultCalibrationLevel);
    void WriteRow(const SDataPoint& row);

    // Writes the text to a temporary file beside the target, which then replaces the target:
    // a failed or interrupted save leaves the file that was there as it was.
    Result Commit(const QString& path) const;

    static constexpr qsizetype MaxExtensionLength = 4;

    // The file name with its extension replaced by this one (given with its dot): the text
    // after the last "." of the name part when it is at most four letters or digits; any
    // other name gets the extension appended.
    static QString PathFor(const QString& fileName, const QString& extension);

private:
    void WriteReliability(const QByteArray& ear, const SEarReliability& reliability);
    void WriteText(const char* key, const QString& value);
    void WriteLine(const QByteArray& line);

    QLocale m_locale;
    QByteArray m_text;
};
