#include "data/FileDate.h"

#include <QDateTime>

#include <functional>

namespace {

// Applies the change to every run of one letter outside quoted literals.
QString MapLetterRuns(const QString& format, QChar letter, const std::function<QString(qsizetype)>& change)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != letter) {
            result.append(c);
            ++i;
            continue;
        }
        qsizetype run = 0;
        while (i + run < format.size() && format.at(i + run) == letter)
            ++run;
        result.append(change(run));
        i += run;
    }
    return result;
}

bool Accept(const QDateTime& parsed, TDateTime& value)
{
    if (!parsed.isValid())
        return false;
    value = TDateTime::FromDateTime(parsed);
    return true;
}

bool AcceptDate(const QDate& parsed, TDateTime& value)
{
    return parsed.isValid() && Accept(QDateTime(parsed, QTime(0, 0)), value);
}

} // namespace

QString TFileDate::DateFormat(const QLocale& locale)
{
    return MapLetterRuns(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('y'), [](qsizetype run) {
        return run == 2 ? QStringLiteral("yyyy") : QString(run, QLatin1Char('y'));
    });
}

QString TFileDate::TimeFormat(const QLocale& locale)
{
    return MapLetterRuns(locale.timeFormat(QLocale::LongFormat), QLatin1Char('t'),
                         [](qsizetype) { return QString(); })
        .trimmed();
}

QString TFileDate::ToText(const TDateTime& value, const QLocale& locale)
{
    const QString date = locale.toString(value.Date(), DateFormat(locale));
    if (!value.HasTime())
        return date;
    return date + QLatin1Char(' ') + locale.toString(value.Time(), TimeFormat(locale));
}

bool TFileDate::FromText(const QString& text, const QLocale& locale, TDateTime& value)
{
    const QString trimmed = text.trimmed();
    const QString separator = QStringLiteral(" ");
    const QString standardDate = locale.dateFormat(QLocale::ShortFormat);
    const QString standardTime = locale.timeFormat(QLocale::LongFormat);
    for (const QString& format :
         {DateFormat(locale) + separator + TimeFormat(locale), standardDate + separator + standardTime}) {
        if (Accept(locale.toDateTime(trimmed, format), value))
            return true;
    }
    for (const QString& format : {DateFormat(locale), standardDate}) {
        if (AcceptDate(locale.toDate(trimmed, format), value))
            return true;
    }
    return Accept(QDateTime::fromString(trimmed, QStringLiteral("yyyy-MM-dd HH:mm:ss")), value) ||
           AcceptDate(QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd")), value);
}
