// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/DateTime.h"

#include <QString>
#include <QVector>

#include <cstdint>
#include <limits>
#include <utility>

// The result block a test fills: the left ear's thresholds at index i, the right ear's at
// ResultFrequencies + i. A test uses at most this many frequencies.
inline constexpr int ResultFrequencies = 100;
inline constexpr int ResultValues = 2 * ResultFrequencies;

// One frequency row of a measurement: thresholds and the reference values they were recorded
// against, in hertz and decibels. 0 is an ordinary level, not a missing value.
struct SDataPoint
{
    float freq = 0.0f;
    float left = 0.0f;
    float right = 0.0f;
    float leftRef = 0.0f;
    float rightRef = 0.0f;

    bool operator<(const SDataPoint& other) const { return freq < other.freq; }
};

// A retest at 1000 Hz that differs from the first threshold by more than this makes the ear's
// result doubtful.
inline constexpr float RetestToleranceDb = 5.0f;

// How far one ear's answers in a confirmed (clinical) test can be trusted. A measurement made
// with one answer per frequency has none.
struct SEarReliability
{
    int32_t presentations = 0;
    int32_t catchTrials = 0;
    int32_t falseAlarms = 0;
    // The 1000 Hz threshold measured again minus the first one, in dB; NaN when not measured.
    float retestDifference = std::numeric_limits<float>::quiet_NaN();
    // The retest differed by more than 5 dB, so the retest's threshold was recorded.
    bool retestFlagged = false;
    // Frequencies heard at no level up to the maximum, and those without a confirmed threshold.
    QVector<float> noResponse;
    QVector<float> unreliable;
    int32_t seconds = 0;
};

// One measurement, or the reference record. Copies are deep. A name or surname never given
// holds the text "0".
struct SData
{
    QString surname;
    QString name;
    QString fileName;
    QString remarks;
    int32_t calibration_level = 0;
    QString calibration_desc;
    TDateTime born_date;
    TDateTime session_date;
    bool modified = false;
    bool referenceOn = false;
    int32_t seriesIndex = -1;
    QVector<SDataPoint> points;
    // Empty for the one-answer directions, "clinical" for the confirmed ascending procedure.
    QString procedure;
    SEarReliability leftReliability;
    SEarReliability rightReliability;
};

// True when any of the record's own rows carries a reference value other than 0.
bool HasReferenceValues(const SData& data);

// A name or surname as a person reads it: empty when it was never given.
QString GivenName(const QString& text);

// The levels (left, right) the charts show for the row: as recorded, or relative to the
// reference values the row was recorded with.
std::pair<float, float> PlottedLevels(const SDataPoint& row, bool referenceOn);
