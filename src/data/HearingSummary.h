// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVector>

#include <array>
#include <optional>

struct SData;

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

struct SMeasurementSummary
{
    SEarSummary left;
    SEarSummary right;
    bool earsDiffer = false;
};

// What a measurement means in plain numbers: each ear's pure-tone average over the speech
// frequencies, its grade, and whether the ears differ enough to see a doctor.
class THearingSummary
{
public:
    static constexpr std::array<float, 4> AverageFrequencies = {500.0f, 1000.0f, 2000.0f, 4000.0f};
    static constexpr int FewestFrequencies = 3;
    static constexpr int EarDifferenceTenths = 150;

    // The levels are those the charts plot. A test without an answer records one step past
    // highestLevel, so a threshold above it is only a lower bound.
    static SMeasurementSummary Of(const SData& measurement, bool referenceOn, float highestLevel);
    static THearingGrade GradeOf(int averageTenths);
    static const char* GradeKey(THearingGrade grade);
};
