// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DataFileReader.h"

#include "data/Data.h"
#include "lang/Lang.h"
#include "settings/Options.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

qsizetype LengthWithoutLineEnd(const char* line)
{
    qsizetype length = qsizetype(std::strlen(line));
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
        --length;
    return length;
}

// ISO 8601 dates ("2010-05-14 10:30:00", "2010-05-14T10:30") are read in every locale, so that
// files can be handed between users of different locales.
bool FromIsoText(const QString& text, TDateTime& date)
{
    // Date and time are read apart, so that a time in a daylight-saving gap still reads.
    static const QRegularExpression separator(QStringLiteral("[ T]"));
    const QStringList parts = text.trimmed().split(separator, Qt::SkipEmptyParts);
    const QDate day = QDate::fromString(parts.value(0), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid() || parts.size() > 2)
        return false;
    if (parts.size() == 1) {
        date = TDateTime::FromDate(day);
        return true;
    }
    QTime time = QTime::fromString(parts.at(1), QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(parts.at(1), QStringLiteral("HH:mm"));
    if (!time.isValid())
        return false;
    date = TDateTime::FromDate(day, time);
    return true;
}

TDateTime DateValue(const QString& value, const QString& path)
{
    TDateTime date;
    if (!TDateTime::FromText(value, QLocale(), date) && !FromIsoText(value, date)) {
        const QString message = gLang.GetString(QStringLiteral("MessDataDateError")) + QLatin1Char('"') +
                                value + QStringLiteral("\"\n") + path;
        throw std::runtime_error(message.toStdString());
    }
    return date;
}

// The whole text as one finite number written with ".", or none; read as it was written, so that
// every value reads back exactly.
std::optional<float> FloatValue(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    float value = 0.0f;
    const auto [end, error] = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    if (error != std::errc() || end != bytes.constData() + bytes.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QVector<float> FrequencyListValue(const QString& text)
{
    QVector<float> frequencies;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (const std::optional<float> freq = FloatValue(part))
            frequencies.append(*freq);
    }
    return frequencies;
}

// An ear's figure of a confirmed test; a count that is no count leaves the figure as it was.
void ApplyReliability(const QString& name, const QString& value, SEarReliability& ear)
{
    const std::pair<const char*, int32_t SEarReliability::*> counts[] = {
        {"presentations", &SEarReliability::presentations},
        {"catch_trials", &SEarReliability::catchTrials},
        {"false_alarms", &SEarReliability::falseAlarms},
        {"seconds", &SEarReliability::seconds}};
    for (const auto& [countName, field] : counts) {
        if (name != QLatin1String(countName))
            continue;
        bool ok = false;
        const int count = value.trimmed().toInt(&ok);
        if (ok && count >= 0)
            ear.*field = count;
        return;
    }
    if (name == QLatin1String("retest_difference")) {
        if (const std::optional<float> difference = FloatValue(value.trimmed())) {
            ear.retestDifference = *difference;
            ear.retestFlagged = std::abs(*difference) > RetestToleranceDb;
        }
    } else if (name == QLatin1String("no_response")) {
        ear.noResponse = FrequencyListValue(value);
    } else if (name == QLatin1String("unreliable")) {
        ear.unreliable = FrequencyListValue(value);
    }
}

} // namespace

TDataFileReader::TDataFileReader(std::FILE* file) : m_file(file)
{
}

TDataFileReader::~TDataFileReader()
{
    std::free(m_line);
}

bool TDataFileReader::NextLine()
{
    const ssize_t length = getline(&m_line, &m_capacity, m_file);
    if (length < 0)
        return false;
    m_bytesRead += length;
    // Everything below reads the line as a C string, which a NUL would end early; the writer
    // stores one as a blank.
    std::replace(m_line, m_line + length, '\0', ' ');
    return true;
}

bool TDataFileReader::Failed() const
{
    return std::ferror(m_file) != 0;
}

int TDataFileReader::ScanRow(const char* line, float (&numbers)[MaxRowNumbers])
{
    const char* position = line;
    const char* end = line + std::strlen(line);
    int count = 0;
    while (count < MaxRowNumbers) {
        while (position < end && IsBlank(*position))
            ++position;
        // The C runtime's scan takes a leading plus sign, which from_chars does not.
        if (position < end && *position == '+' && position + 1 < end && position[1] != '-')
            ++position;
        float value = 0.0f;
        const auto [next, error] = std::from_chars(position, end, value);
        // Not-a-number rows could not be sorted by frequency; infinite ones not drawn.
        if (error != std::errc() || !std::isfinite(value))
            break;
        numbers[count++] = value;
        position = next;
    }
    return count;
}

bool TDataFileReader::Possible(const float (&numbers)[MaxRowNumbers], int count)
{
    constexpr float minFrequency = 20.0f;
    constexpr float maxFrequency = 20000.0f;
    constexpr float minLevel = -50.0f;
    constexpr float maxLevel = 150.0f;
    if (count < 1 || numbers[0] < minFrequency || numbers[0] > maxFrequency)
        return false;
    return std::all_of(numbers + 1, numbers + count,
                       [](float level) { return level >= minLevel && level <= maxLevel; });
}

QString TDataFileReader::HeaderKey(const char* line)
{
    const char* start = line + 1;
    while (*start != '\0' && IsBlank(*start))
        ++start;
    qsizetype length = 0;
    while (length < MaxKeyLength && start[length] != '\0' && !IsBlank(start[length]))
        ++length;
    return QString::fromUtf8(start, length);
}

QString TDataFileReader::HeaderValue(const char* line, const QString& key)
{
    const qsizetype from = key.toUtf8().size() + 2;
    const qsizetype length = LengthWithoutLineEnd(line);
    return from < length ? QString::fromUtf8(line + from, length - from) : QString();
}

bool TDataFileReader::ApplyHeader(const char* line, SData& record, const QString& path)
{
    const QString key = HeaderKey(line);
    const QString value = HeaderValue(line, key);
    if (key == QLatin1String("name")) {
        record.name = value;
    } else if (key == QLatin1String("surname")) {
        record.surname = value;
    } else if (key == QLatin1String("remarks")) {
        record.remarks = value;
    } else if (key == QLatin1String("calibration_desc")) {
        record.calibration_desc = value;
    } else if (key == QLatin1String("born_date")) {
        record.born_date = DateValue(value, path);
    } else if (key == QLatin1String("session_date")) {
        record.session_date = DateValue(value, path);
    } else if (key == QLatin1String("calibration_level")) {
        bool ok = false;
        const int level = value.trimmed().toInt(&ok);
        record.calibration_level = ok ? level : gOptions.DefaultCalibrationLevel;
        return true;
    } else if (key == QLatin1String("procedure")) {
        record.procedure = value;
    } else if (key.startsWith(QLatin1String("left_"))) {
        ApplyReliability(key.mid(5), value, record.leftReliability);
    } else if (key.startsWith(QLatin1String("right_"))) {
        ApplyReliability(key.mid(6), value, record.rightReliability);
    }
    return false;
}
