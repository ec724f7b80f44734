// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataFileWriter.h"

#include "data/Data.h"
#include "log/Log.h"
#include "platform/SystemError.h"

#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr QLatin1String kNotGiven("0");

QByteArray Fixed(float value, int precision)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, double(value), std::chars_format::fixed, precision);
    return QByteArray(buffer, result.ptr - buffer);
}

// As short as reads back to the same value: 8000, 1000.5.
QByteArray Shortest(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, result.ptr - buffer);
}

QByteArray FrequencyList(const QVector<float>& frequencies)
{
    QByteArrayList texts;
    for (const float freq : frequencies)
        texts.append(Shortest(freq));
    return texts.join(' ');
}

// A line break inside a value would start a line of its own when read back, and a NUL would
// end it: control characters but the tab are written as blanks.
QByteArray OneLine(QString value)
{
    for (QChar& c : value) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return value.toUtf8();
}

} // namespace

TDataFileWriter::TDataFileWriter(const QLocale& locale) : m_locale(locale)
{
}

void TDataFileWriter::WriteLine(const QByteArray& line)
{
    m_text.append(line);
    m_text.append('\n');
}

void TDataFileWriter::WriteText(const char* key, const QString& value)
{
    if (value == kNotGiven)
        return;
    WriteLine(QByteArray("@") + key + ' ' + OneLine(value));
}

void TDataFileWriter::WriteReliability(const QByteArray& ear, const SEarReliability& reliability)
{
    const QByteArray key = '@' + ear + '_';
    WriteLine(key + "presentations " + QByteArray::number(reliability.presentations));
    WriteLine(key + "catch_trials " + QByteArray::number(reliability.catchTrials));
    WriteLine(key + "false_alarms " + QByteArray::number(reliability.falseAlarms));
    if (!std::isnan(reliability.retestDifference))
        WriteLine(key + "retest_difference " + Shortest(reliability.retestDifference));
    if (!reliability.noResponse.isEmpty())
        WriteLine(key + "no_response " + FrequencyList(reliability.noResponse));
    if (!reliability.unreliable.isEmpty())
        WriteLine(key + "unreliable " + FrequencyList(reliability.unreliable));
    WriteLine(key + "seconds " + QByteArray::number(reliability.seconds));
}

void TDataFileWriter::WriteHeader(const SData& record, int32_t defaultCalibrationLevel)
{
    WriteLine("# Kelvarion measurement file, made by the Kelvarion hearing test program");
    WriteText("name", record.name);
    WriteText("surname", record.surname);
    if (record.born_date.IsSet())
        WriteText("born_date", record.born_date.ToText(m_locale));
    if (record.session_date.IsSet())
        WriteText("session_date", record.session_date.ToText(m_locale));
    WriteText("remarks", record.remarks);
    WriteText("calibration_desc", record.calibration_desc);
    const int32_t level = record.calibration_level != 0 ? record.calibration_level : defaultCalibrationLevel;
    WriteLine("@calibration_level " + QByteArray::number(level));
    // A one-answer measurement has no figures, and its file stays as older versions wrote it.
    if (!record.procedure.isEmpty()) {
        WriteLine("@procedure " + OneLine(record.procedure));
        WriteReliability("left", record.leftReliability);
        WriteReliability("right", record.rightReliability);
    }
    WriteLine("#");
    WriteLine("#freq left righ left right references");
}

void TDataFileWriter::WriteRow(const SDataPoint& row)
{
    WriteLine(Fixed(row.freq, 0) + ' ' + Fixed(row.left, 1) + ' ' + Fixed(row.right, 1) + "  " +
              Fixed(row.leftRef, 1) + ' ' + Fixed(row.rightRef, 1));
}

TDataFileWriter::Result TDataFileWriter::Commit(const QString& path) const
{
    QSaveFile file(path);
    // Unbuffered, a write reports how much really reached the file: Qt takes a short write
    // (a full disk, a size limit) for success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // Qt's text for a refused file does not say why (a read-only disk, no permission).
        QString cause = file.errorString();
        if (const int code = TSystemError::WriteAccessError(path); code != 0)
            cause = qt_error_string(code);
        LOG_AT(QStringLiteral("[SaveData] cannot open ") + path + QStringLiteral(": ") + cause);
        return Result::OpenFailed;
    }
    qint64 written = file.write(m_text);
    // A short write does not say why; writing the rest makes the system say it (ENOSPC, EFBIG).
    if (written >= 0 && written < m_text.size()) {
        const qint64 more = file.write(m_text.constData() + written, m_text.size() - written);
        written += std::max<qint64>(more, 0);
    }
    if (written != m_text.size()) {
        LOG_AT(QStringLiteral("[SaveData] cannot write %1: %2 (%3 of %4 bytes written)")
                   .arg(path, file.errorString())
                   .arg(std::max<qint64>(written, 0))
                   .arg(m_text.size()));
        file.cancelWriting();
        return Result::WriteFailed;
    }
    if (!file.commit()) {
        LOG_AT(QStringLiteral("[SaveData] cannot write ") + path + QStringLiteral(": ") + file.errorString());
        return Result::WriteFailed;
    }
    return Result::Written;
}

QString TDataFileWriter::PathFor(const QString& fileName, const QString& extension)
{
    const qsizetype nameStart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart)
        return fileName + extension;
    // Only a real extension goes: "J.Kowalski 20100514_1030" keeps its name whole.
    const QString after = fileName.mid(dot + 1);
    const bool extensionLike =
        after.size() <= MaxExtensionLength &&
        std::all_of(after.cbegin(), after.cend(), [](QChar c) { return c.isLetterOrNumber(); });
    return (extensionLike ? fileName.left(dot) : fileName) + extension;
}
