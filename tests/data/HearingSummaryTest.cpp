// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/HearingSummary.h"
#include "data/Data.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

constexpr float kHighestLevel = 80.0f;

// The four frequencies of the average at one level, with a 3000 Hz row far off that must not count.
QVector<SDataPoint> AtAll(float level, float reference = 0.0f)
{
    QVector<SDataPoint> rows;
    for (const float freq : {500.0f, 1000.0f, 2000.0f, 3000.0f, 4000.0f}) {
        const float at = freq == 3000.0f ? 110.0f : level;
        rows.append({freq, at, at, reference, reference});
    }
    return rows;
}

SData Measurement(const QVector<SDataPoint>& rows)
{
    SData data;
    data.points = rows;
    return data;
}

} // namespace

TEST(HearingSummaryTest, AverageAndGradeOfAnEar)
{
    using G = THearingGrade;
    struct SCase
    {
        const char* what;
        QVector<SDataPoint> rows;
        bool referenceOn;
        std::optional<int> tenths;
        G grade;
        QVector<float> used;
        bool mayBeHigher;
    };
    const QVector<float> all = {500, 1000, 2000, 4000};
    const SCase cases[] = {
        {"-10", AtAll(-10), false, -100, G::Normal, all, false},
        {"19.9", AtAll(19.9f), false, 199, G::Normal, all, false},
        {"20", AtAll(20), false, 200, G::Mild, all, false},
        {"34.9", AtAll(34.9f), false, 349, G::Mild, all, false},
        {"35", AtAll(35), false, 350, G::Moderate, all, false},
        {"49.9", AtAll(49.9f), false, 499, G::Moderate, all, false},
        {"50", AtAll(50), false, 500, G::ModeratelySevere, all, false},
        {"64.9", AtAll(64.9f), false, 649, G::ModeratelySevere, all, false},
        {"65", AtAll(65), false, 650, G::Severe, all, false},
        {"79.9", AtAll(79.9f), false, 799, G::Severe, all, false},
        {"80, the highest level, was heard", AtAll(80), false, 800, G::Profound, all, false},
        {"one step past the highest level", AtAll(82), false, 820, G::Profound, all, true},
        {"94.9", AtAll(94.9f), false, 949, G::Profound, all, true},
        {"95", AtAll(95), false, 950, G::Complete, all, true},
        {"99.7 stays 99.7", AtAll(99.7f), false, 997, G::Complete, all, true},
        {"120", AtAll(120), false, 1200, G::Complete, all, true},
        {"mean rounded down",
         {{500, 10, 10, 0, 0}, {1000, 20, 20, 0, 0}, {2000, 30, 30, 0, 0}, {4000, 41, 41, 0, 0}},
         false,
         252,
         G::Mild,
         all,
         false},
        {"reference on", AtAll(40, 10), true, 300, G::Mild, all, false},
        {"reference off", AtAll(40, 10), false, 400, G::Moderate, all, false},
        {"no answer counts at its recorded value", AtAll(82, 10), true, 720, G::Severe, all, true},
        {"4000 Hz missing",
         {{500, 10, 10, 0, 0}, {1000, 10, 10, 0, 0}, {2000, 11, 11, 0, 0}},
         false,
         103,
         G::Normal,
         {500, 1000, 2000},
         false},
        {"two of four",
         {{500, 30, 30, 0, 0}, {4000, 90, 90, 0, 0}},
         false,
         std::nullopt,
         G::Normal,
         {500, 4000},
         false},
        {"a frequency near one is not it",
         {{500, 30, 30, 0, 0}, {1000.5f, 30, 30, 0, 0}, {4000, 90, 90, 0, 0}},
         false,
         std::nullopt,
         G::Normal,
         {500, 4000},
         false},
        {"no rows", {}, false, std::nullopt, G::Normal, {}, false},
        {"the first of duplicate rows counts",
         {{500, 20, 20, 0, 0}, {1000, 20, 20, 0, 0}, {1000, 90, 90, 0, 0}, {2000, 20, 20, 0, 0}},
         false,
         200,
         G::Mild,
         {500, 1000, 2000},
         false},
    };
    for (const SCase& c : cases) {
        const SMeasurementSummary summary =
            THearingSummary::Of(Measurement(c.rows), c.referenceOn, kHighestLevel);
        for (const SEarSummary* ear : {&summary.left, &summary.right}) {
            EXPECT_EQ(ear->averageTenths, c.tenths) << c.what;
            if (c.tenths)
                EXPECT_EQ(ear->grade, c.grade) << c.what;
            EXPECT_EQ(ear->usedFrequencies, c.used) << c.what;
            EXPECT_EQ(ear->mayBeHigher, c.mayBeHigher) << c.what;
        }
    }
}

TEST(HearingSummaryTest, EarsDifferFrom15DecibelsOn)
{
    struct SCase
    {
        QVector<SDataPoint> rows;
        std::optional<int> left;
        std::optional<int> right;
        bool differ;
    };
    const auto ears = [](float left, float right) {
        QVector<SDataPoint> rows;
        for (const float freq : {500.0f, 1000.0f, 2000.0f, 4000.0f})
            rows.append({freq, left, right, 0, 0});
        return rows;
    };
    const SCase cases[] = {
        {ears(34.9f, 20), 349, 200, false},
        {ears(35, 20), 350, 200, true},
        {ears(20, 34.9f), 200, 349, false},
        {ears(20, 35), 200, 350, true},
        {ears(40.3f, 25.3f), 403, 253, true},
        {{{500, 60, 10, 0, 0}, {1000, 60, 10, 0, 0}}, std::nullopt, std::nullopt, false},
    };
    for (const SCase& c : cases) {
        const SMeasurementSummary summary = THearingSummary::Of(Measurement(c.rows), false, kHighestLevel);
        EXPECT_EQ(summary.left.averageTenths, c.left);
        EXPECT_EQ(summary.right.averageTenths, c.right);
        EXPECT_EQ(summary.earsDiffer, c.differ) << c.rows.first().left << " " << c.rows.first().right;
    }
}

TEST(HearingSummaryTest, ThePersonsGradeIsTheBetterEarsWithTheUnilateralRow)
{
    using G = THearingGrade;
    struct SCase
    {
        float left;
        float right;
        std::optional<G> grade;
        bool unilateral;
        const char* key;
    };
    const SCase cases[] = {
        {10, 34.9f, G::Normal, false, "StrGradeNormal"},  {19.9f, 35, G::Normal, true, "StrGradeUnilateral"},
        {90, 0, G::Normal, true, "StrGradeUnilateral"},   {20, 35, G::Mild, false, "StrGradeMild"},
        {50, 40, G::Moderate, false, "StrGradeModerate"}, {100, 95, G::Complete, false, "StrGradeComplete"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " and " << c.right << " dB");
        QVector<SDataPoint> rows;
        for (const float freq : THearingSummary::AverageFrequencies)
            rows.append({freq, c.left, c.right, 0, 0});
        const SMeasurementSummary summary = THearingSummary::Of(Measurement(rows), false, 120);
        EXPECT_EQ(summary.personGrade, c.grade);
        EXPECT_EQ(summary.unilateral, c.unilateral);
        EXPECT_STREQ(THearingSummary::PersonGradeKey(summary), c.key);
    }
    // Without the other ear's average there is no better ear.
    const SMeasurementSummary oneEar =
        THearingSummary::Of(Measurement({{500, 10, 10, 0, 0}, {1000, 10, 10, 0, 0}}), false, 120);
    EXPECT_EQ(oneEar.personGrade, std::nullopt);
    EXPECT_EQ(THearingSummary::PersonGradeKey(oneEar), nullptr);
}

TEST(HearingSummaryTest, TooManyFalseAlarmsOrADifferentRetestMakeAConfirmedTestDoubtful)
{
    constexpr float notMeasured = std::numeric_limits<float>::quiet_NaN();
    struct SCase
    {
        const char* what;
        const char* procedure;
        int32_t catchTrials;
        int32_t falseAlarms;
        float retest;
        std::optional<int> percent;
        bool many;
        bool retestDiffers;
    };
    const SCase cases[] = {
        {"one in five", "clinical", 10, 2, 0, 20, false, false},
        {"more than one in five", "clinical", 11, 3, 0, 27, true, false},
        {"answers with no catch trial", "clinical", 0, 1, notMeasured, std::nullopt, true, false},
        {"nothing answered, no catch trial", "clinical", 0, 0, notMeasured, std::nullopt, false, false},
        {"a retest 5 dB lower", "clinical", 10, 0, -5, 0, false, false},
        {"a retest 10 dB lower", "clinical", 10, 0, -10, 0, false, true},
        {"a retest 10 dB higher", "clinical", 10, 0, 10, 0, false, true},
        {"one answer per frequency", "", 10, 9, 20, std::nullopt, false, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        SData measurement;
        measurement.procedure = QString::fromLatin1(c.procedure);
        measurement.rightReliability.catchTrials = c.catchTrials;
        measurement.rightReliability.falseAlarms = c.falseAlarms;
        measurement.rightReliability.retestDifference = c.retest;
        const SMeasurementSummary summary = THearingSummary::Of(measurement, false, 120);
        EXPECT_EQ(summary.confirmed, *c.procedure != '\0');
        EXPECT_EQ(summary.rightReliability.falseAlarmPercent, c.percent);
        EXPECT_EQ(summary.rightReliability.manyFalseAlarms, c.many);
        EXPECT_EQ(summary.rightReliability.retestDiffers, c.retestDiffers);
        EXPECT_EQ(summary.Doubtful(), c.many || c.retestDiffers);
        EXPECT_FALSE(summary.leftReliability.manyFalseAlarms || summary.leftReliability.retestDiffers);
    }
}
