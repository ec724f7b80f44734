// SPDX-License-Identifier: GPL-3.0-or-later
#include "hearing/ClinicalProcedure.h"

#include "settings/Options.h"
#include "sound/SoundEngine.h"

#include <algorithm>
#include <cmath>

using TOnset = TClinicalProcedure::TOnset;
using TAnswer = TClinicalProcedure::TAnswer;
using TEarCheck = TClinicalProcedure::TEarCheck;

namespace {

constexpr float RetestFrequency = 1000.0f;
constexpr float FamiliarisationLevel = 40.0f;
constexpr float FamiliarisationDown = 20.0f;
constexpr float FamiliarisationUp = 10.0f;
constexpr float SearchDown = 10.0f;
constexpr float SearchUp = 5.0f;
constexpr float RestartRaise = 10.0f;
constexpr float NextStartAbove = 20.0f;
constexpr int AnswersNeeded = 2;
constexpr int AscentsAllowed = 5;
// A press sooner than this after the tone starts cannot be a reaction to it.
constexpr double AnswerDelay = 0.15;
// The tone ends 0.6 s after it starts; a reaction may come up to 1.5 s later.
constexpr double AnswerWindowEnd = 0.6 + 1.5;
constexpr int CatchTrialOdds = 8;

} // namespace

TClinicalProcedure::TClinicalProcedure(const STestSettings& settings, TClock clock, uint32_t seed)
    : m_settings(settings), m_clock(std::move(clock)), m_random(seed),
      m_earCheckDue(settings.soundSourceType != BothEarphones)
{
    BuildOrder();
    m_intervalMs = DrawInterval();
    Familiarise();
}

// 1000 Hz first, the higher frequencies rising, 1000 Hz again, then the lower ones falling.
void TClinicalProcedure::BuildOrder()
{
    QVector<int> unique;
    for (int i = 0; i < m_settings.frequencies.size(); ++i) {
        if (m_settings.frequencies.indexOf(m_settings.frequencies.at(i)) == i)
            unique.append(i);
    }
    const int at1000 = m_settings.frequencies.indexOf(RetestFrequency);
    if (at1000 < 0) {
        m_order = unique;
        return;
    }
    const auto frequency = [this](int index) { return m_settings.frequencies.at(index); };
    QVector<int> higher;
    QVector<int> lower;
    for (int index : unique) {
        if (frequency(index) > RetestFrequency)
            higher.append(index);
        else if (frequency(index) < RetestFrequency)
            lower.append(index);
    }
    std::sort(higher.begin(), higher.end(), [&](int a, int b) { return frequency(a) < frequency(b); });
    std::sort(lower.begin(), lower.end(), [&](int a, int b) { return frequency(a) > frequency(b); });
    m_order = QVector<int>{at1000} + higher + QVector<int>{at1000} + lower;
    m_retestStep = int(higher.size()) + 1;
}

int TClinicalProcedure::FrequencyIndex() const
{
    return m_order.isEmpty() ? -1 : m_order.at(std::min(m_step, int(m_order.size()) - 1));
}

// Never the same interval twice in a row, so that no rhythm forms.
int TClinicalProcedure::DrawInterval()
{
    std::uniform_int_distribution<int> interval(ShortestIntervalMs, LongestIntervalMs);
    int drawn = interval(m_random);
    while (drawn == m_intervalMs)
        drawn = interval(m_random);
    return drawn;
}

bool TClinicalProcedure::CatchTrial()
{
    if (Familiarising() || m_search.firstTone)
        return false;
    return std::uniform_int_distribution<int>(1, CatchTrialOdds)(m_random) == 1;
}

bool TClinicalProcedure::Familiarising() const
{
    return m_search.phase == TPhase::FamiliariseDown || m_search.phase == TPhase::FamiliariseUp;
}

TOnset TClinicalProcedure::Onset()
{
    if (m_ear >= 2)
        return TOnset::TestComplete;
    const double now = m_clock();
    m_intervalMs = DrawInterval();
    if (m_open)
        Settle();
    if (m_passEnded) {
        m_passEnded = false;
        m_reliability.at(m_ear - 1).seconds = int32_t(std::lround(now - m_earStart.at(m_ear - 1)));
        return m_ear >= 2 ? TOnset::TestComplete : TOnset::PassComplete;
    }
    if (m_order.isEmpty())
        return TOnset::TestComplete;
    if (m_earStart.at(m_ear) < 0)
        m_earStart.at(m_ear) = now;
    m_open = true;
    // Answers are timed from when the tone sounds, not from when it was asked for.
    m_onsetTime = now + TSoundEngine::ToneLead;
    m_answered = false;
    m_void = false;
    m_silent = CatchTrial();
    SEarReliability& reliability = m_reliability.at(m_ear);
    if (m_silent) {
        ++reliability.catchTrials;
        return TOnset::Silence;
    }
    ++reliability.presentations;
    m_search.firstTone = false;
    return TOnset::Tone;
}

TAnswer TClinicalProcedure::Answer()
{
    if (!m_open || m_void || m_ear >= 2)
        return TAnswer::Ignored;
    const double since = m_clock() - m_onsetTime;
    if (m_silent || since < AnswerDelay || since > AnswerWindowEnd) {
        ++m_reliability.at(m_ear).falseAlarms;
        return TAnswer::FalseAlarm;
    }
    if (m_answered)
        return TAnswer::Ignored;
    m_answered = true;
    if (m_earCheckDue && Familiarising()) {
        m_earCheckDue = false;
        return TAnswer::AskWhichEar;
    }
    return TAnswer::Counted;
}

// Every tone of the first pass sounds at the left ear, whichever earphone plays it.
TEarCheck TClinicalProcedure::EarAnswered(TEarHeard heard)
{
    switch (heard) {
    case TEarHeard::Left:
        return TEarCheck::Correct;
    case TEarHeard::Both:
        return TEarCheck::BothEars;
    case TEarHeard::Right:
        break;
    }
    m_earCheckDue = true;
    Discard();
    Familiarise();
    return TEarCheck::Wrong;
}

void TClinicalProcedure::Repeat()
{
    Discard();
    if (Familiarising())
        Familiarise();
    else
        StartSearch(m_search.start);
}

void TClinicalProcedure::Discard()
{
    m_void = m_open;
}

void TClinicalProcedure::Familiarise()
{
    m_search = SSearch{};
    m_search.level = std::clamp(FamiliarisationLevel, m_settings.minLevel, m_settings.maxLevel);
}

void TClinicalProcedure::StartSearch(float start)
{
    m_search = SSearch{};
    m_search.phase = TPhase::Descend;
    m_search.start = start;
    m_search.level = start;
}

// Moves the level for the presentation that ends at this onset.
void TClinicalProcedure::Settle()
{
    m_open = false;
    if (m_void || m_silent)
        return;
    const float lowest = m_settings.minLevel;
    const float highest = m_settings.maxLevel;
    SSearch& search = m_search;
    switch (search.phase) {
    case TPhase::FamiliariseDown:
        if (!m_answered) {
            search.phase = TPhase::FamiliariseUp;
            search.level = std::min(search.level + FamiliarisationUp, highest);
        } else if (search.level <= lowest) {
            StartSearch(search.level);
        } else {
            search.level = std::max(search.level - FamiliarisationDown, lowest);
        }
        break;
    case TPhase::FamiliariseUp:
        if (m_answered || search.level >= highest)
            StartSearch(search.level);
        else
            search.level = std::min(search.level + FamiliarisationUp, highest);
        break;
    case TPhase::Descend:
        if (!m_answered) {
            search.phase = TPhase::Ascend;
            RaiseOrGiveUp();
        } else if (search.level <= lowest) {
            // Nothing lower can be played: an answer at the floor stands for an ascent.
            AnsweredOnAscent();
        } else {
            search.level = std::max(search.level - SearchDown, lowest);
        }
        break;
    case TPhase::Ascend:
        if (m_answered)
            AnsweredOnAscent();
        else
            RaiseOrGiveUp();
        break;
    }
}

void TClinicalProcedure::AnsweredOnAscent()
{
    SSearch& search = m_search;
    ++search.ascents;
    if (++search.answered[search.level] >= AnswersNeeded) {
        Finish(search.level, TOutcome::Confirmed);
        return;
    }
    if (search.ascents >= AscentsAllowed) {
        if (search.restarted) {
            Finish(search.answered.begin()->first, TOutcome::Unreliable);
            return;
        }
        StartSearch(std::min(search.start + RestartRaise, m_settings.maxLevel));
        m_search.restarted = true;
        return;
    }
    search.phase = TPhase::Descend;
    search.level = std::max(search.level - SearchDown, m_settings.minLevel);
}

void TClinicalProcedure::RaiseOrGiveUp()
{
    if (m_search.level >= m_settings.maxLevel)
        Finish(m_settings.maxLevel + NoResponseMargin, TOutcome::NoResponse);
    else
        m_search.level = std::min(m_search.level + SearchUp, m_settings.maxLevel);
}

void TClinicalProcedure::Finish(float threshold, TOutcome outcome)
{
    const SMeasured measured{threshold, outcome};
    if (m_step == 0 && m_retestStep > 0) {
        m_firstAt1000 = measured;
    } else if (m_step == m_retestStep) {
        SEarReliability& reliability = m_reliability.at(m_ear);
        reliability.retestDifference = threshold - m_firstAt1000.level;
        reliability.retestFlagged = std::abs(reliability.retestDifference) > RetestToleranceDb;
        Record(reliability.retestFlagged || threshold < m_firstAt1000.level ? measured : m_firstAt1000);
    } else {
        Record(measured);
    }
    if (++m_step < m_order.size()) {
        StartSearch(std::min(threshold + NextStartAbove, m_settings.maxLevel));
        return;
    }
    m_step = 0;
    ++m_ear;
    m_passEnded = true;
    Familiarise();
}

void TClinicalProcedure::Record(SMeasured measured)
{
    const float frequency = m_settings.frequencies.at(FrequencyIndex());
    for (int i = 0; i < m_settings.frequencies.size() && i < ResultFrequencies; ++i) {
        if (m_settings.frequencies.at(i) == frequency)
            m_results.at(m_ear * ResultFrequencies + i) = measured.level;
    }
    SEarReliability& reliability = m_reliability.at(m_ear);
    if (measured.outcome == TOutcome::NoResponse)
        reliability.noResponse.append(frequency);
    else if (measured.outcome == TOutcome::Unreliable)
        reliability.unreliable.append(frequency);
}
