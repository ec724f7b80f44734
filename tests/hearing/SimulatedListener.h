// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hearing/ClinicalProcedure.h"
#include "sound/SoundEngine.h"

#include <array>
#include <functional>
#include <random>
#include <vector>

// A person going through a clinical test on a fake clock: hears every tone at or above the
// threshold of its frequency and ear (step counts through the test order, from 1), answers after
// a reaction time, and otherwise presses at a random moment of an interval with the false-alarm
// probability.
struct SListener
{
    std::function<float(float frequency, int ear, int step)> threshold;
    double falseAlarmChance = 0.0;
    double reactionSeconds = 0.4;
    // The answer to the ear question.
    TClinicalProcedure::TEarHeard earHeard = TClinicalProcedure::TEarHeard::Left;
};

struct SListenerRun
{
    std::array<float, ResultValues> results{};
    std::array<SEarReliability, 2> reliability;
    std::vector<int> intervalsMs;
    // The frequency of each tone, in the order played.
    std::vector<float> tones;
    // Presses that were not reactions to a heard tone and fell where no tone could be answered.
    std::array<int, 2> strayPresses{};
    bool catchTrialFirst = false;
    int presentations = 0;
    double seconds = 0.0;
};

inline SListenerRun RunListener(const STestSettings& settings, const SListener& listener, uint32_t seed)
{
    using TOnset = TClinicalProcedure::TOnset;
    double now = 0.0;
    TClinicalProcedure procedure(
        settings, [&now] { return now; }, seed);
    std::mt19937 chance(seed + 1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    SListenerRun run;
    const auto press = [&] {
        if (procedure.Answer() == TClinicalProcedure::TAnswer::AskWhichEar)
            procedure.EarAnswered(listener.earHeard);
    };
    int lastStep = 0;
    for (TOnset onset = procedure.Onset(); onset != TOnset::TestComplete; onset = procedure.Onset()) {
        const double start = now;
        const double interval = procedure.IntervalMs() / 1000.0;
        now = start + interval;
        if (onset == TOnset::PassComplete)
            continue;
        run.intervalsMs.push_back(procedure.IntervalMs());
        ++run.presentations;
        const int ear = procedure.Ear();
        const float frequency = settings.frequencies.at(procedure.FrequencyIndex());
        if (procedure.StepNumber() != lastStep && onset == TOnset::Silence)
            run.catchTrialFirst = true;
        lastStep = procedure.StepNumber();
        if (onset == TOnset::Tone)
            run.tones.push_back(frequency);
        if (onset == TOnset::Tone &&
            procedure.Level() >= listener.threshold(frequency, ear, procedure.StepNumber())) {
            now = start + TSoundEngine::ToneLead + listener.reactionSeconds;
            press();
        } else if (unit(chance) < listener.falseAlarmChance) {
            const double after = unit(chance) * interval;
            now = start + after;
            press();
            const double heard = after - TSoundEngine::ToneLead;
            run.strayPresses.at(ear) += onset == TOnset::Silence || heard < 0.15 || heard > 2.1;
        }
        now = start + interval;
    }
    run.results = procedure.Results();
    run.reliability = {procedure.Reliability(0), procedure.Reliability(1)};
    run.seconds = now;
    return run;
}
