// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/WrittenDate.h"

#include <QStringList>

namespace {

// Asked of the locale once for a run of dates in one locale, the way a table of files is read.
const QStringList& MonthNames(const QLocale& locale, QLocale::FormatType type)
{
    thread_local struct
    {
        QLocale locale;
        QLocale::FormatType type = QLocale::LongFormat;
        QStringList names;
    } memo;
    if (memo.names.isEmpty() || memo.type != type || memo.locale != locale) {
        memo.names.clear();
        for (int month = 1; month <= 12; ++month)
            memo.names.append(locale.monthName(month, type));
        memo.locale = locale;
        memo.type = type;
    }
    return memo.names;
}

} // namespace

bool TWrittenDate::Read(const QString& format)
{
    m_at = 0;
    m_year = m_month = m_day = m_hour = m_minute = m_second = -1;
    m_pm.reset();
    for (qsizetype i = 0; i < format.size();) {
        const QChar letter = format.at(i);
        if (letter == QLatin1Char('\'')) {
            // Quoted text is written as it stands; two quotes are one.
            const qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0)
                return false;
            if (end == i + 1 && !Literal(letter))
                return false;
            for (qsizetype k = i + 1; k < end; ++k) {
                if (!Literal(format.at(k)))
                    return false;
            }
            i = end + 1;
            continue;
        }
        if (!letter.isLetter()) {
            if (!Literal(letter))
                return false;
            ++i;
            continue;
        }
        qsizetype run = i + 1;
        while (run < format.size() && format.at(run) == letter)
            ++run;
        // "AP" and "ap" are one field, as "A" and "a" are.
        if ((letter == QLatin1Char('A') || letter == QLatin1Char('a')) && run == i + 1 &&
            run < format.size() &&
            format.at(run) == (letter == QLatin1Char('A') ? QLatin1Char('P') : QLatin1Char('p')))
            ++run;
        if (!ReadField(letter, int(run - i)))
            return false;
        i = run;
    }
    return m_at == m_text.size();
}

bool TWrittenDate::ReadField(QChar letter, int count)
{
    std::optional<int> value;
    switch (letter.unicode()) {
    case 'd':
        value = count <= 2 ? Number(count, 2) : std::nullopt;
        m_day = value.value_or(-1);
        break;
    case 'M':
        if (count <= 2)
            value = Number(count, 2);
        else if (count <= 4)
            value = MonthName(count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        m_month = value.value_or(-1);
        break;
    case 'y':
        value = count == 4 ? Number(4, 4) : std::nullopt;
        m_year = value.value_or(-1);
        break;
    case 'H':
    case 'h':
        value = count <= 2 ? Number(count, 2) : std::nullopt;
        m_hour = value.value_or(-1);
        break;
    case 'm':
        value = count <= 2 ? Number(count, 2) : std::nullopt;
        m_minute = value.value_or(-1);
        break;
    case 's':
        value = count <= 2 ? Number(count, 2) : std::nullopt;
        m_second = value.value_or(-1);
        break;
    case 'A':
    case 'a':
        for (const bool pm : {false, true}) {
            const QString name = pm ? m_locale.pmText() : m_locale.amText();
            if (!name.isEmpty() && QStringView(m_text).mid(m_at).startsWith(name, Qt::CaseInsensitive)) {
                m_at += name.size();
                m_pm = pm;
                return true;
            }
        }
        return false;
    default:
        return false;
    }
    return value.has_value();
}

std::optional<int> TWrittenDate::Number(int minDigits, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (digits < maxDigits && m_at < m_text.size() && m_text.at(m_at) >= QLatin1Char('0') &&
           m_text.at(m_at) <= QLatin1Char('9')) {
        value = value * 10 + (m_text.at(m_at).unicode() - '0');
        ++m_at;
        ++digits;
    }
    if (digits < minDigits)
        return std::nullopt;
    return value;
}

std::optional<int> TWrittenDate::MonthName(QLocale::FormatType type)
{
    int found = -1;
    qsizetype length = 0;
    const QStringList& names = MonthNames(m_locale, type);
    for (int month = 1; month <= 12; ++month) {
        const QString& name = names.at(month - 1);
        if (name.size() > length && QStringView(m_text).mid(m_at).startsWith(name)) {
            found = month;
            length = name.size();
        }
    }
    if (found < 0)
        return std::nullopt;
    m_at += length;
    return found;
}

bool TWrittenDate::Literal(QChar character)
{
    if (m_at >= m_text.size() || m_text.at(m_at) != character)
        return false;
    ++m_at;
    return true;
}

QDate TWrittenDate::Date() const
{
    return QDate(m_year, m_month, m_day);
}

QTime TWrittenDate::Time() const
{
    int hour = m_hour;
    if (m_pm.has_value()) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (*m_pm ? 12 : 0);
    }
    return QTime(hour, m_minute, m_second < 0 ? 0 : m_second);
}
