// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/HearingSummary.h"

#include "data/Data.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace {

// The lower bound of each grade above normal hearing, in tenths of a decibel.
constexpr int kGradeFloors[] = {200, 350, 500, 650, 800, 950};

// Levels come from 32-bit floats, whose error near 100 dB is a few millionths; without this
// slack 99.7 dB would be rounded down to 99.6.
constexpr double kRoundingSlack = 1e-3;

const SDataPoint* FirstRowAt(const SData& measurement, float freq)
{
    const auto found = std::find_if(measurement.points.cbegin(), measurement.points.cend(),
                                    [freq](const SDataPoint& row) { return row.freq == freq; });
    return found == measurement.points.cend() ? nullptr : &*found;
}

SEarSummary EarOf(const SData& measurement, bool referenceOn, float highestLevel, bool leftEar)
{
    SEarSummary ear;
    double sum = 0.0;
    for (const float freq : THearingSummary::AverageFrequencies) {
        const SDataPoint* row = FirstRowAt(measurement, freq);
        if (row == nullptr)
            continue;
        const auto [left, right] = PlottedLevels(*row, referenceOn);
        sum += leftEar ? left : right;
        ear.mayBeHigher = ear.mayBeHigher || (leftEar ? row->left : row->right) > highestLevel;
        ear.usedFrequencies.append(freq);
    }
    if (ear.usedFrequencies.size() < THearingSummary::FewestFrequencies) {
        ear.mayBeHigher = false;
        return ear;
    }
    const double average = sum / double(ear.usedFrequencies.size());
    ear.averageTenths = int(std::floor(average * 10.0 + kRoundingSlack));
    ear.grade = THearingSummary::GradeOf(*ear.averageTenths);
    return ear;
}

} // namespace

bool SMeasurementSummary::Doubtful() const
{
    return confirmed && (leftReliability.manyFalseAlarms || leftReliability.retestDiffers ||
                         rightReliability.manyFalseAlarms || rightReliability.retestDiffers);
}

SMeasurementSummary THearingSummary::Of(const SData& measurement, bool referenceOn, float highestLevel)
{
    SMeasurementSummary summary;
    summary.left = EarOf(measurement, referenceOn, highestLevel, true);
    summary.right = EarOf(measurement, referenceOn, highestLevel, false);
    if (summary.left.averageTenths && summary.right.averageTenths) {
        const auto [better, worse] = std::minmax(*summary.left.averageTenths, *summary.right.averageTenths);
        summary.earsDiffer = worse - better >= EarDifferenceTenths;
        summary.personGrade = GradeOf(better);
        summary.unilateral =
            summary.personGrade == THearingGrade::Normal && worse >= UnilateralWorseEarTenths;
    }
    summary.confirmed = !measurement.procedure.isEmpty();
    if (summary.confirmed) {
        summary.leftReliability = ReliabilityOf(measurement.leftReliability);
        summary.rightReliability = ReliabilityOf(measurement.rightReliability);
    }
    return summary;
}

SEarReliabilitySummary THearingSummary::ReliabilityOf(const SEarReliability& ear)
{
    SEarReliabilitySummary reliability;
    if (ear.catchTrials > 0)
        reliability.falseAlarmPercent = int(std::lround(100.0 * ear.falseAlarms / ear.catchTrials));
    // Answers while nothing played, with no catch trial at all, are too many as well.
    reliability.manyFalseAlarms = int64_t(ear.falseAlarms) * CatchTrialsPerFalseAlarm > ear.catchTrials;
    reliability.retestDiffers = std::abs(ear.retestDifference) > RetestToleranceDb;
    return reliability;
}

THearingGrade THearingSummary::GradeOf(int averageTenths)
{
    const auto above = std::count_if(std::begin(kGradeFloors), std::end(kGradeFloors),
                                     [averageTenths](int floor) { return averageTenths >= floor; });
    return THearingGrade(above);
}

const char* THearingSummary::GradeKey(THearingGrade grade)
{
    static const char* const keys[] = {"StrGradeNormal",           "StrGradeMild",   "StrGradeModerate",
                                       "StrGradeModeratelySevere", "StrGradeSevere", "StrGradeProfound",
                                       "StrGradeComplete"};
    return keys[int(grade)];
}

const char* THearingSummary::PersonGradeKey(const SMeasurementSummary& summary)
{
    if (!summary.personGrade)
        return nullptr;
    return summary.unilateral ? "StrGradeUnilateral" : GradeKey(*summary.personGrade);
}
