// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/Data.h"
#include "settings/TestSettings.h"

#include <QVector>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <random>

// The confirmed ascending method of clinical audiometry: which tone comes at each onset, after
// how long the next one comes, and what an answer means. A frequency's threshold is the lowest
// level answered on two ascents; tones come at irregular intervals, some intervals stay silent,
// and 1000 Hz is measured twice. Time and chance come from outside, so that a simulated listener
// on a fake clock can go through a whole test.
class TClinicalProcedure
{
public:
    // Seconds on any steady clock.
    using TClock = std::function<double()>;

    enum class TOnset
    {
        Tone,
        // A catch trial: nothing sounds, and an answer is a false alarm.
        Silence,
        PassComplete,
        TestComplete
    };
    enum class TAnswer
    {
        Counted,
        // A second press for the same tone.
        Ignored,
        FalseAlarm,
        // The first tone heard in the test: the person says in which ear.
        AskWhichEar
    };
    enum class TEarHeard
    {
        Left,
        Right,
        Both
    };
    enum class TEarCheck
    {
        Correct,
        // The headphones are on the wrong way round: the familiarisation starts again.
        Wrong,
        // Mono headphones or a tone too loud; the test goes on.
        BothEars
    };

    static constexpr int ShortestIntervalMs = 2000;
    static constexpr int LongestIntervalMs = 4000;
    static constexpr float NoResponseMargin = 5.0f;

    TClinicalProcedure(const STestSettings& settings, TClock clock, uint32_t seed);

    // Called at each onset: settles the presentation before and says what sounds now.
    TOnset Onset();
    // From the last onset to the next one.
    int IntervalMs() const { return m_intervalMs; }
    TAnswer Answer();
    TEarCheck EarAnswered(TEarHeard heard);
    // The current frequency's search starts again.
    void Repeat();
    // The presentation under way counts neither as heard nor as missed.
    void Discard();

    // 0 for the first pass, 1 for the second, 2 when both are done.
    int Ear() const { return m_ear; }
    // Into the settings' frequency list.
    int FrequencyIndex() const;
    float Level() const { return m_search.level; }
    // Counted from 1 through the test order, which holds 1000 Hz twice.
    int StepNumber() const { return m_step + 1; }
    int StepCount() const { return int(m_order.size()); }
    // Thresholds in the layout of the test window's result block.
    const std::array<float, ResultValues>& Results() const { return m_results; }
    const SEarReliability& Reliability(int ear) const { return m_reliability.at(ear); }

private:
    enum class TPhase
    {
        FamiliariseDown,
        FamiliariseUp,
        Descend,
        Ascend
    };
    enum class TOutcome
    {
        Confirmed,
        Unreliable,
        NoResponse
    };
    struct SSearch
    {
        TPhase phase = TPhase::FamiliariseDown;
        float level = 0.0f;
        float start = 0.0f;
        int ascents = 0;
        // Answers on ascents, by level.
        std::map<float, int> answered;
        bool restarted = false;
        bool firstTone = true;
    };
    struct SMeasured
    {
        float level = 0.0f;
        TOutcome outcome = TOutcome::Confirmed;
    };

    void BuildOrder();
    int DrawInterval();
    bool CatchTrial();
    void Settle();
    void Familiarise();
    void StartSearch(float start);
    void AnsweredOnAscent();
    void RaiseOrGiveUp();
    void Finish(float threshold, TOutcome outcome);
    void Record(SMeasured measured);
    bool Familiarising() const;

    STestSettings m_settings;
    TClock m_clock;
    std::mt19937 m_random;
    QVector<int> m_order;
    int m_retestStep = -1;
    int m_ear = 0;
    int m_step = 0;
    SSearch m_search;
    SMeasured m_firstAt1000;
    int m_intervalMs = 0;
    // The presentation since the last onset.
    bool m_open = false;
    bool m_silent = false;
    bool m_answered = false;
    bool m_void = false;
    double m_onsetTime = 0.0;
    bool m_earCheckDue = false;
    bool m_passEnded = false;
    std::array<double, 2> m_earStart{-1.0, -1.0};
    std::array<float, ResultValues> m_results{};
    std::array<SEarReliability, 2> m_reliability;
};
