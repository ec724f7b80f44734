#include "data/DateTime.h"

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

// Applies the edit to the parts of a Qt date-time format outside single quotes.
QString EditUnquoted(const QString& format, const QRegularExpression& pattern, const QString& replacement)
{
    QStringList parts = format.split(QLatin1Char('\''));
    for (qsizetype i = 0; i < parts.size(); i += 2)
        parts[i].replace(pattern, replacement);
    return parts.join(QLatin1Char('\'')).trimmed();
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
    if (!HasTime())
        return DateText(locale);
    return DateText(locale) + QLatin1Char(' ') + TimeText(locale);
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
    const QString dateFormat = ShortDateFormat(locale);
    // Date and time are read apart, never as a moment of the reader's time zone, whose
    // daylight-saving gap would refuse a wall-clock time such as 02:30 on the day clocks go forward.
    for (qsizetype blank = trimmed.indexOf(QLatin1Char(' ')); blank >= 0;
         blank = trimmed.indexOf(QLatin1Char(' '), blank + 1)) {
        const QDate date = locale.toDate(trimmed.left(blank), dateFormat);
        const QTime time = locale.toTime(trimmed.mid(blank + 1), LongTimeFormat(locale));
        if (date.isValid() && time.isValid()) {
            result = FromDate(date, time);
            return true;
        }
    }
    const QDate date = locale.toDate(trimmed, dateFormat);
    if (!date.isValid())
        return false;
    result = FromDate(date);
    return true;
}

QString TDateTime::ShortDateFormat(const QLocale& locale)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    return EditUnquoted(locale.dateFormat(QLocale::ShortFormat), twoDigitYear, QStringLiteral("yyyy"));
}

QString TDateTime::LongTimeFormat(const QLocale& locale)
{
    // The zone goes with the brackets or comma that set it apart, or "(t)" would leave "()".
    static const QRegularExpression timeZone(QStringLiteral(",?\\s*[(\\[]?t+[)\\]]?"));
    return EditUnquoted(locale.timeFormat(QLocale::LongFormat), timeZone, QString());
}
