// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ReliabilityNotes.h"

#include "data/Data.h"
#include "data/HearingSummary.h"
#include "lang/Lang.h"

#include <QLocale>

#include <cmath>

namespace {

QString Text(const char* key)
{
    return gLang.GetString(QLatin1String(key));
}

void AddWarnings(const SEarReliabilitySummary& summary, const SEarReliability& ear, const char* earKey,
                 QStringList& warnings)
{
    if (summary.manyFalseAlarms)
        warnings.append(Text("StrReliabilityFalseAlarms").arg(Text(earKey)));
    if (summary.retestDiffers)
        warnings.append(Text("StrReliabilityRetest")
                            .arg(Text(earKey), QLocale::system().toString(std::abs(ear.retestDifference))));
}

} // namespace

QStringList TReliabilityNotes::Warnings(const SData& measurement, const SMeasurementSummary& summary)
{
    QStringList warnings;
    if (!summary.confirmed)
        return warnings;
    AddWarnings(summary.leftReliability, measurement.leftReliability, "StrReliabilityLeftEar", warnings);
    AddWarnings(summary.rightReliability, measurement.rightReliability, "StrReliabilityRightEar", warnings);
    return warnings;
}

QString TReliabilityNotes::Line(const SData& measurement, const SMeasurementSummary& summary)
{
    if (!summary.Doubtful())
        return QString();
    const QStringList warnings = Warnings(measurement, summary);
    const QString person =
        (GivenName(measurement.surname) + QLatin1Char(' ') + GivenName(measurement.name)).trimmed();
    return Text("StrReliabilityLine")
        .arg(person, measurement.session_date.DateText(QLocale::system()), warnings.join(QLatin1Char(' ')));
}
