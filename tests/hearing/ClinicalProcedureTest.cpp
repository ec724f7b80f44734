// SPDX-License-Identifier: GPL-3.0-or-later
// The clinical procedure gone through by simulated listeners on a fake clock.
#include "hearing/SimulatedListener.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using TEarHeard = TClinicalProcedure::TEarHeard;
using TEarCheck = TClinicalProcedure::TEarCheck;

const QVector<float> StandardAudiogram{250, 500, 1000, 2000, 3000, 4000, 6000, 8000};

STestSettings Settings(const QVector<float>& frequencies = StandardAudiogram)
{
    STestSettings settings;
    settings.frequencies = frequencies;
    settings.minLevel = -10.0f;
    settings.maxLevel = 80.0f;
    settings.soundSourceType = 0;
    settings.algorithm = 2;
    return settings;
}

// The first 5 dB step at or above the listener's threshold.
float Expected(float threshold)
{
    return std::ceil(threshold / 5.0f) * 5.0f;
}

struct SProfile
{
    const char* name;
    std::function<float(float frequency, int ear, int step)> threshold;
};

const SProfile Profiles[] = {
    {"normal", [](float, int, int) { return 7.5f; }},
    {"sloping, right ear worse", [](float f, int ear, int) { return 3.0f + f / 250.0f + 10.0f * ear; }},
    {"flat loss", [](float, int, int) { return 42.0f; }},
    {"near the floor", [](float, int, int) { return -8.0f; }},
    {"on the steps", [](float f, int ear, int) { return f < 1500 ? 20.0f : 35.0f + 5.0f * ear; }},
};

TEST(ClinicalProcedureTest, AListenerWithoutFalseAlarmsGetsTheFirstStepAtOrAboveThreshold)
{
    for (const SProfile& profile : Profiles) {
        for (uint32_t seed : {1u, 2u, 3u, 4u}) {
            SCOPED_TRACE(testing::Message() << profile.name << ", seed " << seed);
            const SListenerRun run = RunListener(Settings(), {profile.threshold}, seed);
            for (int ear : {0, 1}) {
                for (int i = 0; i < StandardAudiogram.size(); ++i) {
                    const float frequency = StandardAudiogram.at(i);
                    EXPECT_EQ(run.results.at(ear * ResultFrequencies + i),
                              Expected(profile.threshold(frequency, ear, 1)))
                        << frequency << " Hz, ear " << ear;
                }
                const SEarReliability& reliability = run.reliability.at(ear);
                EXPECT_EQ(reliability.falseAlarms, 0);
                EXPECT_EQ(reliability.retestDifference, 0.0f);
                EXPECT_FALSE(reliability.retestFlagged);
                EXPECT_TRUE(reliability.noResponse.isEmpty() && reliability.unreliable.isEmpty());
                EXPECT_GT(reliability.seconds, 0);
            }
            EXPECT_FALSE(run.catchTrialFirst);
        }
    }
}

TEST(ClinicalProcedureTest, FalseAlarmsMoveAThresholdAtMostOneStepAndAreCounted)
{
    int falseAlarms = 0;
    int catchTrials = 0;
    int presentations = 0;
    for (const SProfile& profile : Profiles) {
        for (uint32_t seed : {11u, 12u, 13u}) {
            SCOPED_TRACE(testing::Message() << profile.name << ", seed " << seed);
            const SListenerRun run = RunListener(Settings(), {profile.threshold, 0.10}, seed);
            for (int ear : {0, 1}) {
                for (int i = 0; i < StandardAudiogram.size(); ++i) {
                    const float expected = Expected(profile.threshold(StandardAudiogram.at(i), ear, 1));
                    EXPECT_LE(std::abs(run.results.at(ear * ResultFrequencies + i) - expected), 5.0f);
                }
                const SEarReliability& reliability = run.reliability.at(ear);
                EXPECT_EQ(reliability.falseAlarms, run.strayPresses.at(ear)) << "ear " << ear;
                falseAlarms += reliability.falseAlarms;
                catchTrials += reliability.catchTrials;
                presentations += reliability.presentations + reliability.catchTrials;
            }
        }
    }
    EXPECT_GT(falseAlarms, 0);
    // About one presentation in eight is silent.
    EXPECT_NEAR(double(catchTrials) / presentations, 1.0 / 8.0, 0.04);
}

TEST(ClinicalProcedureTest, ARetestFurtherThanFiveDecibelsAwayIsRecordedAndFlagged)
{
    const int at1000 = int(StandardAudiogram.indexOf(1000.0f));
    // The retest of 1000 Hz is the seventh step of the standard audiogram.
    for (float shift : {0.0f, 5.0f, -5.0f, 10.0f, -10.0f, 20.0f}) {
        SCOPED_TRACE(testing::Message() << "shift " << shift);
        const auto threshold = [shift](float, int, int step) { return step == 7 ? 20.0f + shift : 20.0f; };
        const SListenerRun run = RunListener(Settings(), {threshold}, 5);
        const bool flagged = std::abs(shift) > 5.0f;
        for (int ear : {0, 1}) {
            EXPECT_EQ(run.reliability.at(ear).retestDifference, shift);
            EXPECT_EQ(run.reliability.at(ear).retestFlagged, flagged);
            EXPECT_EQ(run.results.at(ear * ResultFrequencies + at1000),
                      flagged ? 20.0f + shift : std::min(20.0f, 20.0f + shift));
        }
    }
}

TEST(ClinicalProcedureTest, NoResponseAtTheHighestLevelRecordsFiveAbove)
{
    for (float deaf : {4000.0f, 1000.0f, 250.0f}) {
        SCOPED_TRACE(testing::Message() << deaf << " Hz unheard");
        const auto threshold = [deaf](float f, int, int) { return f == deaf ? 200.0f : 30.0f; };
        const SListenerRun run = RunListener(Settings(), {threshold}, 7);
        for (int ear : {0, 1}) {
            for (int i = 0; i < StandardAudiogram.size(); ++i) {
                const float frequency = StandardAudiogram.at(i);
                EXPECT_EQ(run.results.at(ear * ResultFrequencies + i), frequency == deaf ? 85.0f : 30.0f);
            }
            EXPECT_EQ(run.reliability.at(ear).noResponse, QVector<float>{deaf});
        }
    }
}

TEST(ClinicalProcedureTest, FiveAscentsWithoutARepeatStartTenHigherOnceThenRecordTheLowestAnswer)
{
    // Hears from 20 dB up, but never twice at one level: no ascent confirms another.
    STestSettings settings = Settings({2000});
    settings.maxLevel = 120.0f;
    double now = 0.0;
    TClinicalProcedure procedure(
        settings, [&now] { return now; }, 9);
    std::set<float> answered;
    for (auto onset = procedure.Onset(); procedure.Ear() == 0; onset = procedure.Onset()) {
        const float level = procedure.Level();
        if (onset == TClinicalProcedure::TOnset::Tone && level >= 20.0f && answered.insert(level).second) {
            now += 0.5;
            if (procedure.Answer() == TClinicalProcedure::TAnswer::AskWhichEar)
                procedure.EarAnswered(TEarHeard::Left);
        }
        now += procedure.IntervalMs() / 1000.0;
    }
    // The search starts at 30; after five ascents (35 to 60) again from 40, ascents answered at
    // 65, 70, 75, 80 and 85.
    EXPECT_EQ(procedure.Results().at(0), 65.0f);
    EXPECT_EQ(procedure.Reliability(0).unreliable, QVector<float>{2000});
    EXPECT_TRUE(procedure.Reliability(0).noResponse.isEmpty());
}

TEST(ClinicalProcedureTest, IntervalsAreIrregularWithinTwoToFourSeconds)
{
    for (uint32_t seed : {1u, 99u, 2024u}) {
        const SListenerRun run = RunListener(Settings(), {Profiles[0].threshold}, seed);
        ASSERT_GE(run.intervalsMs.size(), 20u);
        for (size_t i = 0; i < run.intervalsMs.size(); ++i) {
            EXPECT_GE(run.intervalsMs[i], 2000);
            EXPECT_LE(run.intervalsMs[i], 4000);
            if (i > 0)
                EXPECT_NE(run.intervalsMs[i], run.intervalsMs[i - 1])
                    << "seed " << seed << ", interval " << i;
        }
        EXPECT_GT(std::set<int>(run.intervalsMs.begin(), run.intervalsMs.begin() + 20).size(), 15u);
    }
}

TEST(ClinicalProcedureTest, FrequenciesComeInTheClinicalOrder)
{
    const struct
    {
        QVector<float> list;
        std::vector<float> order;
    } rows[] = {
        {StandardAudiogram, {1000, 2000, 3000, 4000, 6000, 8000, 1000, 500, 250}},
        {{500, 4000, 2000}, {500, 4000, 2000}},
        {{2000, 1000, 500, 1000}, {1000, 2000, 1000, 500}},
    };
    for (const auto& row : rows) {
        const SListenerRun run = RunListener(Settings(row.list), {Profiles[0].threshold}, 3);
        std::vector<float> order;
        for (float tone : run.tones) {
            if (order.size() < row.order.size() && (order.empty() || order.back() != tone))
                order.push_back(tone);
        }
        EXPECT_EQ(order, row.order);
    }
}

TEST(ClinicalProcedureTest, TheEarCheckRestartsTheFamiliarisationOnlyForTheWrongEar)
{
    const struct
    {
        TEarHeard heard;
        TEarCheck check;
        bool askedAgain;
    } rows[] = {
        {TEarHeard::Left, TEarCheck::Correct, false},
        {TEarHeard::Right, TEarCheck::Wrong, true},
        {TEarHeard::Both, TEarCheck::BothEars, false},
    };
    for (const auto& row : rows) {
        double now = 0.0;
        TClinicalProcedure procedure(
            Settings(), [&now] { return now; }, 1);
        ASSERT_EQ(procedure.Onset(), TClinicalProcedure::TOnset::Tone);
        EXPECT_EQ(procedure.Level(), 40.0f);
        now = 0.5;
        ASSERT_EQ(procedure.Answer(), TClinicalProcedure::TAnswer::AskWhichEar);
        EXPECT_EQ(procedure.EarAnswered(row.heard), row.check);
        now = 3.0;
        procedure.Onset();
        EXPECT_EQ(procedure.Level(), row.askedAgain ? 40.0f : 20.0f);
        now = 3.5;
        EXPECT_EQ(procedure.Answer(), row.askedAgain ? TClinicalProcedure::TAnswer::AskWhichEar
                                                     : TClinicalProcedure::TAnswer::Counted);
    }
}

} // namespace
