// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

class QLocale;
struct SData;

// A cell holding this text is drawn as the series' line sample; the text's width is also the
// width of the sample.
inline constexpr char LinePlaceholder[] = "4444";
// Distance from the start of the line sample to the centre of its marker.
inline constexpr char MarkerOffsetText[] = "22";

enum TAlignment : uint8_t
{
    AlignLeft = 0,
    AlignRight = 1,
    AlignCentre = 2
};

struct TCell
{
    uint8_t Alignment = AlignLeft;
    QString Text;
    // The whole text of a cell that shows it cut; empty otherwise.
    QString Tip{};
};

using TRaw = QVector<TCell>;
// Row 0 is the header, row i belongs to series i - 1.
using TArray = QVector<TRaw>;

TRaw LegendHeaderRow();
TRaw LegendDataRow(const SData& measurement, const QLocale& locale);

// A birth date without a whole day shows as a time of day.
QString BirthDateText(const SData& measurement, const QLocale& locale);
QString SessionDateText(const SData& measurement, const QLocale& locale);
QString CalibrationText(const SData& measurement);
QString ReferenceStateText(const SData& measurement);
