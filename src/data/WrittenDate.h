// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

// Reads a text in one date or time format of a locale, the way the program writes its dates:
// numbers, month names and AM/PM between fixed characters. A format with anything else (a
// weekday, a zone, a fraction of a second, a two-digit year) reads nothing, and so does a text
// that does not fit the format exactly; Qt's lenient parser is then the one to ask.
class TWrittenDate
{
public:
    TWrittenDate(const QString& text, const QLocale& locale) : m_text(text), m_locale(locale) {}

    // Reads the whole text in the format; the date or time is invalid where the format has none.
    bool Read(const QString& format);
    QDate Date() const;
    QTime Time() const;

private:
    bool ReadField(QChar letter, int count);
    std::optional<int> Number(int minDigits, int maxDigits);
    std::optional<int> MonthName(QLocale::FormatType type);
    bool Literal(QChar character);

    const QString& m_text;
    const QLocale& m_locale;
    qsizetype m_at = 0;
    int m_year = -1;
    int m_month = -1;
    int m_day = -1;
    int m_hour = -1;
    int m_minute = -1;
    int m_second = -1;
    std::optional<bool> m_pm;
};
