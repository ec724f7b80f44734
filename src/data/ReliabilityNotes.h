// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

struct SData;
struct SMeasurementSummary;

// The plain-language warnings about a confirmed test whose answers cannot be trusted, in the
// words the summary and the printed page share.
class TReliabilityNotes
{
public:
    // One sentence per doubtful figure, each naming its ear.
    static QStringList Warnings(const SData& measurement, const SMeasurementSummary& summary);
    // The person, the test date and every warning on one line; empty when nothing is doubtful.
    static QString Line(const SData& measurement, const SMeasurementSummary& summary);
};
