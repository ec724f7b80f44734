#include "data/Data.h"

#include <gtest/gtest.h>

namespace {

SData RecordWithReferences(std::initializer_list<std::pair<float, float>> references)
{
    SData data;
    float freq = 250.0f;
    for (const auto& [leftRef, rightRef] : references) {
        data.points.append({freq, 20.0f, 25.0f, leftRef, rightRef});
        freq *= 2;
    }
    return data;
}

} // namespace

TEST(DataTest, HasReferenceValuesLooksAtEveryRowOfTheRecord)
{
    struct SCase
    {
        const char* what;
        SData data;
        bool expected;
    };
    const SCase cases[] = {
        {"no rows", SData(), false},
        {"all zero", RecordWithReferences({{0.0f, 0.0f}, {0.0f, 0.0f}}), false},
        {"one right value of 0.5", RecordWithReferences({{0.0f, 0.0f}, {0.0f, 0.5f}}), true},
        {"one left value", RecordWithReferences({{-3.0f, 0.0f}}), true},
        {"the 10 dB of an empty reference", RecordWithReferences({{10.0f, 10.0f}}), true},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(HasReferenceValues(c.data), c.expected) << c.what;
}

TEST(DataTest, RowsCompareByFrequencyAlone)
{
    const SDataPoint low{500.0f, 90.0f, 90.0f, 9.0f, 9.0f};
    const SDataPoint high{1000.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    EXPECT_TRUE(low < high);
    EXPECT_FALSE(high < low);
    EXPECT_FALSE((low < SDataPoint{500.0f, 0.0f, 0.0f, 0.0f, 0.0f}));
}

TEST(DataTest, ACopyOwnsItsTextsAndRows)
{
    SData original;
    original.name = QStringLiteral("Jan");
    original.born_date = TDateTime::FromDate(QDate(1980, 3, 1));
    original.points.append({1000.0f, 25.0f, 30.0f, 10.0f, 12.0f});
    SData copy = original;
    original.name[0] = QLatin1Char('X');
    original.points[0].left = 99.0f;
    original.born_date = TDateTime();
    EXPECT_EQ(copy.name, QStringLiteral("Jan"));
    EXPECT_EQ(copy.points[0].left, 25.0f);
    EXPECT_EQ(copy.born_date.Date(), QDate(1980, 3, 1));
}

TEST(DateTimeTest, WholeDaysCountFromTheEndOf1899)
{
    struct SCase
    {
        double value;
        QDate date;
        QTime time;
        bool set;
    };
    const SCase cases[] = {
        {0.0, QDate(1899, 12, 30), QTime(0, 0), false},
        {0.75, QDate(1899, 12, 30), QTime(18, 0), false},
        {1.0, QDate(1899, 12, 31), QTime(0, 0), true},
        {2.25, QDate(1900, 1, 1), QTime(6, 0), true},
        {36526.5, QDate(2000, 1, 1), QTime(12, 0), true},
        // Before the epoch the fraction still counts from the start of the day.
        {-1.25, QDate(1899, 12, 29), QTime(6, 0), true},
        // A fraction that rounds up to a whole day is the next midnight.
        {40000.9999999999, QDate(2009, 7, 7), QTime(0, 0), true},
    };
    for (const SCase& c : cases) {
        const TDateTime value(c.value);
        EXPECT_EQ(value.Date(), c.date) << c.value;
        EXPECT_EQ(value.Time(), c.time) << c.value;
        EXPECT_EQ(value.IsSet(), c.set) << c.value;
    }
}

TEST(DateTimeTest, QtDatesAndTimesComeBackUnchanged)
{
    const QDateTime moments[] = {
        QDateTime(QDate(2010, 5, 14), QTime(10, 30)),
        QDateTime(QDate(1980, 3, 1), QTime(0, 0)),
        QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999)),
        QDateTime(QDate(1850, 6, 1), QTime(7, 15, 30)),
    };
    for (const QDateTime& moment : moments) {
        const TDateTime value = TDateTime::FromDateTime(moment);
        EXPECT_EQ(value.ToDateTime(), moment) << moment.toString(Qt::ISODateWithMs).toStdString();
        EXPECT_TRUE(value.IsSet());
    }
    EXPECT_EQ(TDateTime::FromDate(QDate(2010, 5, 14)).Value(), 40312.0);
    EXPECT_FALSE(TDateTime::FromDate(QDate()).IsSet());
    EXPECT_FALSE(TDateTime::FromDateTime(QDateTime()).IsSet());
}

TEST(DateTimeTest, TextLeavesOutAMidnightTime)
{
    const QLocale locale(QLocale::English, QLocale::UnitedKingdom);
    const TDateTime midnight = TDateTime::FromDate(QDate(2010, 5, 14));
    const TDateTime morning = TDateTime::FromDateTime(QDateTime(QDate(2010, 5, 14), QTime(10, 30, 5)));
    EXPECT_EQ(midnight.ToText(locale), locale.toString(QDate(2010, 5, 14), QLocale::ShortFormat));
    EXPECT_EQ(morning.ToText(locale), locale.toString(QDate(2010, 5, 14), QLocale::ShortFormat) +
                                          QLatin1Char(' ') + morning.TimeText(locale));
    EXPECT_TRUE(morning.TimeText(locale).contains(QStringLiteral("10:30:05")));
}

TEST(DateTimeTest, TextReadsBackAsWrittenInEveryLocale)
{
    const QLocale locales[] = {QLocale::c(),
                               QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::English, QLocale::UnitedKingdom),
                               QLocale(QLocale::Polish),
                               QLocale(QLocale::German),
                               QLocale(QLocale::Japanese)};
    const TDateTime values[] = {
        TDateTime::FromDate(QDate(1950, 3, 1)),
        TDateTime::FromDate(QDate(2010, 5, 14)),
        TDateTime::FromDateTime(QDateTime(QDate(2010, 5, 14), QTime(10, 30, 5))),
        TDateTime::FromDateTime(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))),
    };
    for (const QLocale& locale : locales) {
        EXPECT_FALSE(TDateTime::LongTimeFormat(locale).contains(QLatin1Char('t')))
            << locale.name().toStdString();
        for (const TDateTime& value : values) {
            const QString text = value.ToText(locale);
            TDateTime read;
            ASSERT_TRUE(TDateTime::FromText(text, locale, read)) << text.toStdString();
            EXPECT_EQ(read, value) << text.toStdString();
        }
        TDateTime untouched(5.0);
        EXPECT_FALSE(TDateTime::FromText(QStringLiteral("yesterday"), locale, untouched));
        EXPECT_EQ(untouched.Value(), 5.0);
    }
}
