// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVector>

#include <array>
#include <optional>

struct SData;
struct SEarReliability;

// The grades of the WHO classification of hearing loss (2021), from an ear's pure-tone average.
enum class THearingGrade
{
    Normal,
    Mild,
    Moderate,
    ModeratelySevere,
    Severe,
    Profound,
    Complete
};

struct SEarSummary
{
    // The frequencies of the average that the measurement holds, ascending.
    QVector<float> usedFrequencies;
    // The pure-tone average in tenths of a decibel, rounded down, so that the value shown and
    // its grade always agree; none when too few frequencies were measured.
    std::optional<int> averageTenths;
    THearingGrade grade = THearingGrade::Normal;
    // A threshold in the average was recorded without an answer, past the highest level.
    bool mayBeHigher = false;
};

// Whether one ear's answers in a confirmed test can be trusted.
struct SEarReliabilitySummary
{
    // False alarms per catch trial in whole percent, rounded; none without catch trials.
    std::optional<int> falseAlarmPercent;
    // More than one catch trial in five was answered.
    bool manyFalseAlarms = false;
    // The retest at 1000 Hz differs from the first threshold by more than the tolerance.
    bool retestDiffers = false;
};

struct SMeasurementSummary
{
    SEarSummary left;
    SEarSummary right;
    bool earsDiffer = false;
    // The person's grade is the better ear's; none unless both ears have an average.
    std::optional<THearingGrade> personGrade;
    // Normal hearing in the better ear and at least a moderate loss in the worse one.
    bool unilateral = false;
    // Each answer was confirmed; a one-answer measurement has no reliability figures.
    bool confirmed = false;
    SEarReliabilitySummary leftReliability;
    SEarReliabilitySummary rightReliability;

    bool Doubtful() const;
};

// What a measurement means in plain numbers: each ear's pure-tone average over the speech
// frequencies, its grade and the person's, whether the ears differ enough to see a doctor, and
// whether the answers can be trusted.
class THearingSummary
{
public:
    static constexpr std::array<float, 4> AverageFrequencies = {500.0f, 1000.0f, 2000.0f, 4000.0f};
    static constexpr int FewestFrequencies = 3;
    static constexpr int EarDifferenceTenths = 150;
    static constexpr int UnilateralWorseEarTenths = 350;
    // One answered catch trial in this many is still trusted.
    static constexpr int CatchTrialsPerFalseAlarm = 5;

    // The levels are those the charts plot. A test without an answer records one step past
    // highestLevel, so a threshold above it is only a lower bound.
    static SMeasurementSummary Of(const SData& measurement, bool referenceOn, float highestLevel);
    static THearingGrade GradeOf(int averageTenths);
    static const char* GradeKey(THearingGrade grade);
    // The unilateral row, or the better ear's grade; none without a person's grade.
    static const char* PersonGradeKey(const SMeasurementSummary& summary);
    static SEarReliabilitySummary ReliabilityOf(const SEarReliability& ear);
};
