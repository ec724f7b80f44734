// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// A point in time as whole days since 1899-12-30 plus the time of day as a fraction of a
// day, the way measurement records keep their dates. A whole-day count of 0 means "not set".
class TDateTime
{
public:
    TDateTime() = default;
    explicit TDateTime(double value) : m_value(value) {}
    static TDateTime FromDate(const QDate& date);
    static TDateTime FromDate(const QDate& date, const QTime& time);
    static TDateTime FromDateTime(const QDateTime& dateTime);

    double Value() const { return m_value; }
    // Whole days since 1899-12-30, truncated towards zero.
    long long WholeDays() const;
    // Milliseconds since midnight, 0 to 86399999.
    int TimeOfDayMs() const;
    bool IsSet() const { return WholeDays() != 0; }
    bool HasTime() const { return TimeOfDayMs() != 0; }

    QDate Date() const;
    QTime Time() const;
    QDateTime ToDateTime() const;

    // Short date, then a blank and the long time unless the value is exactly midnight.
    QString ToText(const QLocale& locale) const;
    QString DateText(const QLocale& locale) const;
    QString TimeText(const QLocale& locale) const;
    // Reads what ToText wrote, and what a user of the locale types: a date alone or a date and
    // a time, in the short or long date format, with or without seconds, a two-digit year
    // in 1930..2029.
    static bool FromText(const QString& text, const QLocale& locale, TDateTime& result);

    // The locale's short date with the year in full, so that a birth year is never ambiguous
    // and a date reads back as written.
    static QString ShortDateFormat(const QLocale& locale);
    // The locale's long time without a time-zone name, which a time of day does not have.
    static QString LongTimeFormat(const QLocale& locale);

    bool operator==(const TDateTime& other) const = default;

private:
    // The formats FromText tries, in order.
    struct SReadFormats
    {
        QStringList dates;
        QStringList times;
    };

    // ToText in formats the caller has already asked the locale for.
    QString ToText(const QLocale& locale, const QString& dateFormat, const QString& timeFormat) const;
    static std::optional<TDateTime> AsWritten(const QString& text, const QLocale& locale);
    static SReadFormats ReadFormats(const QLocale& locale);
    static QDate ReadDate(const QString& text, const QLocale& locale, const QStringList& formats);
    static QTime ReadTime(const QString& text, const QLocale& locale, const QStringList& formats);
    static QString WithoutZone(const QString& timeFormat);

    double m_value = 0.0;
};
