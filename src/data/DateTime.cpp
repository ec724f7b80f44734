// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DateTime.h"

#include "data/WrittenDate.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace {

constexpr long long MsPerDay = 86400000;

qint64 EpochJulianDay()
{
    return QDate(1899, 12, 30).toJulianDay();
}

struct SParts
{
    long long days;
    int ms;
};

// Before the epoch the fraction still counts forwards from the start of the day, so -1.25 is
// 29 December 1899 at 06:00.
SParts Split(double value)
{
    const double whole = std::trunc(value);
    long long days = static_cast<long long>(whole);
    long long ms = std::llround(std::fabs(value - whole) * MsPerDay);
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        days += value < 0 ? -1 : 1;
    }
    return {days, static_cast<int>(ms)};
}

double Join(long long days, int ms)
{
    const double fraction = static_cast<double>(ms) / MsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

// The last format edited and its edit, kept by each caller: the regular expressions cost more
// than the date the format is for, and a table shows hundreds of dates in one locale.
struct SEditMemo
{
    QString format;
    QString edited;
};

// Applies the edit to the parts of a Qt date-time format outside single quotes.
QString EditUnquoted(SEditMemo& memo, const QString& format, const QRegularExpression& pattern,
                     const QString& replacement)
{
    if (format == memo.format)
        return memo.edited;
    QStringList parts = format.split(QLatin1Char('\''));
    for (qsizetype i = 0; i < parts.size(); i += 2)
        parts[i].replace(pattern, replacement);
    memo = {format, parts.join(QLatin1Char('\'')).trimmed()};
    return memo.edited;
}

} // namespace

TDateTime TDateTime::FromDate(const QDate& date)
{
    return FromDate(date, QTime(0, 0));
}

TDateTime TDateTime::FromDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return TDateTime();
    return FromDate(dateTime.date(), dateTime.time());
}

TDateTime TDateTime::FromDate(const QDate& date, const QTime& time)
{
    if (!date.isValid() || !time.isValid())
        return TDateTime();
    return TDateTime(Join(date.toJulianDay() - EpochJulianDay(), time.msecsSinceStartOfDay()));
}

long long TDateTime::WholeDays() const
{
    return Split(m_value).days;
}

int TDateTime::TimeOfDayMs() const
{
    return Split(m_value).ms;
}

QDate TDateTime::Date() const
{
    return QDate::fromJulianDay(EpochJulianDay() + WholeDays());
}

QTime TDateTime::Time() const
{
    return QTime::fromMSecsSinceStartOfDay(TimeOfDayMs());
}

QDateTime TDateTime::ToDateTime() const
{
    return QDateTime(Date(), Time());
}

QString TDateTime::ToText(const QLocale& locale) const
{
    return ToText(locale, ShortDateFormat(locale), LongTimeFormat(locale));
}

QString TDateTime::ToText(const QLocale& locale, const QString& dateFormat, const QString& timeFormat) const
{
    const QString date = locale.toString(Date(), dateFormat);
    if (!HasTime())
        return date;
    return date + QLatin1Char(' ') + locale.toString(Time(), timeFormat);
}

QString TDateTime::DateText(const QLocale& locale) const
{
    return locale.toString(Date(), ShortDateFormat(locale));
}

QString TDateTime::TimeText(const QLocale& locale) const
{
    return locale.toString(Time(), LongTimeFormat(locale));
}

bool TDateTime::FromText(const QString& text, const QLocale& locale, TDateTime& result)
{
    const QString trimmed = text.trimmed();
    if (const std::optional<TDateTime> written = AsWritten(trimmed, locale)) {
        result = *written;
        return true;
    }
    // Asking the locale for its formats and editing them costs as much as parsing, so it is
    // done once for all the ways of splitting the text.
    const SReadFormats formats = ReadFormats(locale);
    // Date and time are read apart, never as a moment of the reader's time zone, whose
    // daylight-saving gap would refuse a wall-clock time such as 02:30 on the day clocks go forward.
    for (qsizetype blank = trimmed.indexOf(QLatin1Char(' ')); blank >= 0;
         blank = trimmed.indexOf(QLatin1Char(' '), blank + 1)) {
        // The time first: refusing a text as a time costs far less than refusing it as a
        // date, whose month names the parser looks up in the locale.
        const QTime time = ReadTime(trimmed.mid(blank + 1), locale, formats.times);
        if (!time.isValid())
            continue;
        const QDate date = ReadDate(trimmed.left(blank), locale, formats.dates);
        if (date.isValid()) {
            result = FromDate(date, time);
            return true;
        }
    }
    const QDate date = ReadDate(trimmed, locale, formats.dates);
    if (!date.isValid())
        return false;
    result = FromDate(date);
    return true;
}

// A text exactly as ToText writes it in this locale is read as written, without trying every
// way of splitting it, which costs most of the reading of a measurement file.
std::optional<TDateTime> TDateTime::AsWritten(const QString& text, const QLocale& locale)
{
    const QString dateFormat = ShortDateFormat(locale);
    const QString timeFormat = LongTimeFormat(locale);
    TWrittenDate reader(text, locale);
    TDateTime value;
    if (reader.Read(dateFormat + QLatin1Char(' ') + timeFormat))
        value = FromDate(reader.Date(), reader.Time());
    else if (reader.Read(dateFormat))
        value = FromDate(reader.Date());
    // Only a text ToText gives back is taken: any other is left to the lenient reading.
    if (!value.IsSet() || value.ToText(locale, dateFormat, timeFormat) != text)
        return std::nullopt;
    return value;
}

TDateTime::SReadFormats TDateTime::ReadFormats(const QLocale& locale)
{
    const QString shortFormat = ShortDateFormat(locale);
    QString twoDigitYear = shortFormat;
    twoDigitYear.replace(QLatin1String("yyyy"), QLatin1String("yy"));
    // What is typed by hand: a two-digit year, the seconds or the AM/PM left out.
    SReadFormats formats{{shortFormat, twoDigitYear, locale.dateFormat(QLocale::LongFormat)},
                         {LongTimeFormat(locale), WithoutZone(locale.timeFormat(QLocale::ShortFormat)),
                          QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")}};
    // A format the locale gives twice (the C locale's short and long time) refuses a text twice.
    formats.dates.removeDuplicates();
    formats.times.removeDuplicates();
    return formats;
}

QDate TDateTime::ReadDate(const QString& text, const QLocale& locale, const QStringList& formats)
{
    for (const QString& format : formats) {
        const QDate date = locale.toDate(text, format);
        // A two-digit year lies in 1930..2029, the years of the people tested and of the tests.
        if (date.isValid())
            return date.year() < 1930 && !format.contains(QLatin1String("yyyy")) ? date.addYears(100) : date;
    }
    return {};
}

QTime TDateTime::ReadTime(const QString& text, const QLocale& locale, const QStringList& formats)
{
    for (const QString& format : formats) {
        const QTime time = locale.toTime(text, format);
        if (time.isValid())
            return time;
    }
    return {};
}

QString TDateTime::ShortDateFormat(const QLocale& locale)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    thread_local SEditMemo memo;
    return EditUnquoted(memo, locale.dateFormat(QLocale::ShortFormat), twoDigitYear, QStringLiteral("yyyy"));
}

QString TDateTime::LongTimeFormat(const QLocale& locale)
{
    return WithoutZone(locale.timeFormat(QLocale::LongFormat));
}

QString TDateTime::WithoutZone(const QString& timeFormat)
{
    // The zone goes with the brackets or comma that set it apart, or "(t)" would leave "()".
    static const QRegularExpression timeZone(QStringLiteral(",?\\s*[(\\[]?t+[)\\]]?"));
    thread_local SEditMemo memo;
    return EditUnquoted(memo, timeFormat, timeZone, QString());
}
