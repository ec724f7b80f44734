// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/LegendTable.h"

#include "charts/ShownText.h"

#include "data/Data.h"
#include "lang/Lang.h"
#include "sound/CalibrationLevel.h"

#include <QLocale>

TRaw LegendHeaderRow()
{
    static const char* const keys[] = {"StrGraphLine", "StrGraphName", "StrGraphSurname", "StrGraphBirthday",
                                       "StrGraphDate", "StrGraphCal",  "StrGraphRef",     "StrGraphRemarks"};
    TRaw row;
    for (const char* key : keys)
        row.append({AlignCentre, gLang.GetString(QLatin1String(key))});
    return row;
}

namespace {

// A text from the file: no name may read as another, nor push the other columns away.
TCell FileTextCell(const QString& text, qsizetype limit)
{
    return {AlignLeft, TShownText::Cut(text, limit), TShownText::Tip(text, limit)};
}

} // namespace

TRaw LegendDataRow(const SData& measurement, const QLocale& locale)
{
    return {{AlignLeft, QLatin1String(LinePlaceholder)},
            FileTextCell(measurement.name, TShownText::NameLimit),
            FileTextCell(measurement.surname, TShownText::NameLimit),
            {AlignLeft, BirthDateText(measurement, locale)},
            {AlignLeft, SessionDateText(measurement, locale)},
            {AlignLeft, CalibrationText(measurement)},
            {AlignLeft, ReferenceStateText(measurement)},
            FileTextCell(measurement.remarks, TShownText::RemarksLimit)};
}

QString BirthDateText(const SData& measurement, const QLocale& locale)
{
    if (measurement.born_date.Value() < 1)
        return measurement.born_date.TimeText(locale);
    return measurement.born_date.ToText(locale);
}

QString SessionDateText(const SData& measurement, const QLocale& locale)
{
    return measurement.session_date.ToText(locale);
}

QString CalibrationText(const SData& measurement)
{
    return QString::number(CalibrationLevelToDb(measurement.calibration_level)) + QStringLiteral("dB");
}

QString ReferenceStateText(const SData& measurement)
{
    if (!HasReferenceValues(measurement))
        return gLang.GetString(QStringLiteral("StrGraphLack"));
    return gLang.GetString(measurement.referenceOn ? QStringLiteral("StrGraphOn")
                                                   : QStringLiteral("StrGraphOff"));
}
