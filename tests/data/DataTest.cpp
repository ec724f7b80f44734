// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Data.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(DataTest, HasReferenceValuesLooksAtEveryRowOfTheRecord)
{
    struct SCase
    {
        QVector<SDataPoint> rows;
        bool expected;
    };
    const SCase cases[] = {
        {{}, false},
        {{{250, 20, 25, 0, 0}, {500, 20, 25, 0, 0}}, false},
        {{{250, 20, 25, 0, 0}, {500, 20, 25, 0, 0.5f}}, true},
        {{{250, 20, 25, -3, 0}}, true},
    };
    for (const SCase& c : cases) {
        SData data;
        data.points = c.rows;
        EXPECT_EQ(HasReferenceValues(data), c.expected) << c.rows.size();
    }
}

TEST(DateTimeTest, WholeDaysCountFromTheEndOf1899)
{
    struct SCase
    {
        double value;
        QDateTime moment;
        bool set;
    };
    const SCase cases[] = {
        {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0)), false},
        {0.75, QDateTime(QDate(1899, 12, 30), QTime(18, 0)), false},
        {1.0, QDateTime(QDate(1899, 12, 31), QTime(0, 0)), true},
        {40312.4375, QDateTime(QDate(2010, 5, 14), QTime(10, 30)), true},
        // Before the epoch the fraction still counts from the start of the day.
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0)), true},
        // A fraction that rounds up to a whole day is the next midnight.
        {40000.9999999999, QDateTime(QDate(2009, 7, 7), QTime(0, 0)), true},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(TDateTime(c.value).ToDateTime(), c.moment) << c.value;
        EXPECT_EQ(TDateTime(c.value).IsSet(), c.set) << c.value;
    }
    const QDateTime last(QDate(2026, 12, 31), QTime(23, 59, 59, 999));
    EXPECT_EQ(TDateTime::FromDateTime(last).ToDateTime(), last);
    EXPECT_FALSE(TDateTime::FromDate(QDate()).IsSet());
}

// Morning and afternoon, one-digit and two-digit days and months, in every locale that writes
// its digits as 0 to 9; Qt's own parser cannot read some of the others' dates back.
TEST(DateTimeTest, TextReadsBackAsWrittenInEveryLocale)
{
    const TDateTime values[] = {TDateTime::FromDate(QDate(1950, 3, 1)),
                                TDateTime::FromDateTime(QDateTime(QDate(2010, 5, 14), QTime(10, 30, 5))),
                                TDateTime::FromDateTime(QDateTime(QDate(1999, 11, 7), QTime(21, 7, 8))),
                                TDateTime::FromDateTime(QDateTime(QDate(2024, 12, 31), QTime(0, 0, 1))),
                                TDateTime::FromDateTime(QDateTime(QDate(1984, 9, 12), QTime(12, 59, 59)))};
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        if (locale.zeroDigit() != QLatin1String("0"))
            continue;
        for (const TDateTime& value : values) {
            const QString text = value.ToText(locale);
            EXPECT_EQ(text == value.DateText(locale), !value.HasTime()) << text.toStdString();
            TDateTime read;
            EXPECT_TRUE(TDateTime::FromText(text, locale, read))
                << locale.name().toStdString() << " " << text.toStdString();
            EXPECT_EQ(read, value) << locale.name().toStdString() << " " << text.toStdString();
        }
        TDateTime untouched(5.0);
        EXPECT_FALSE(TDateTime::FromText(QStringLiteral("yesterday"), locale, untouched));
        EXPECT_EQ(untouched.Value(), 5.0);
    }
}

// A time of day has no zone; nothing of the zone's brackets or separator is left behind.
TEST(DateTimeTest, LongTimeFormatLeavesNoTraceOfTheZone)
{
    static const QRegularExpression trace(QStringLiteral("t|\\(\\)|\\[\\]|,$"));
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        const QString format = TDateTime::LongTimeFormat(locale);
        EXPECT_FALSE(QString(format).remove(QRegularExpression(QStringLiteral("'[^']*'"))).contains(trace))
            << locale.name().toStdString() << " " << format.toStdString();
    }
}

// A wall-clock time reads back even where the reader's time zone skips that hour.
TEST(DateTimeTest, TimeInADaylightSavingGapReadsBack)
{
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Warsaw");
    const QLocale polish(QLocale::Polish);
    const QString text = QStringLiteral("31.03.2024 02:30:00");
    TDateTime read;
    EXPECT_TRUE(TDateTime::FromText(text, polish, read));
    EXPECT_EQ(read.Date(), QDate(2024, 3, 31));
    EXPECT_EQ(read.Time(), QTime(2, 30));
    EXPECT_EQ(read.ToText(polish), text);
    if (savedZone.isEmpty())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedZone);
}
