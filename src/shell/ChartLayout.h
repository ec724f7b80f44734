// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// The parts of the main window's chart area, in the area's coordinates; the image lies in
// its panel's coordinates and is the same in both panels.
struct SChartPlaces
{
    QRect LeftCaption;
    QRect RightCaption;
    QRect LeftPanel;
    QRect RightPanel;
    QRect Image;
    QRect LegendCaption;
    QRect LegendBox;
};

// Where the chart area puts its parts for a size of the area. At the designed size every part
// stays where it was designed. A larger area grows the two panels as squares side by side that
// share the width (centred when the height is what limits them), and the legend box takes the
// height that is left; a smaller one shrinks the panels the same way.
class TChartLayout
{
public:
    TChartLayout(const SChartPlaces& design, const QSize& designArea);

    SChartPlaces Place(const QSize& area) const;
    // The designed size is the area's minimum, unless the room a screen leaves is smaller.
    QSize MinimumArea(const QSize& room) const;

    // Fonts and pens grow with the chart bitmap's width against the designed image's, so the
    // designed chart on an ordinary screen is drawn at scale 1.
    float ChartScale(int deviceWidth) const;

private:
    SChartPlaces m_design;
    QSize m_designArea;
};
