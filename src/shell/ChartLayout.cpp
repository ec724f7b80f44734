// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ChartLayout.h"

#include <algorithm>

TChartLayout::TChartLayout(const SChartPlaces& design, const QSize& designArea)
    : m_design(design), m_designArea(designArea)
{
}

SChartPlaces TChartLayout::Place(const QSize& area) const
{
    // Negative below the designed size, which only a screen smaller than the design allows.
    const int extraWidth = area.width() - m_designArea.width();
    const int extraHeight = area.height() - m_designArea.height();
    const int grow = std::min(extraWidth / 2, extraHeight);
    const int shift = (extraWidth - 2 * grow) / 2;
    const SChartPlaces& d = m_design;
    const auto square = [grow](const QRect& designed, int dx) {
        return QRect(designed.x() + dx, designed.y(), designed.width() + grow, designed.height() + grow);
    };
    const auto caption = [grow](const QRect& designed, int dx) {
        return QRect(designed.x() + dx, designed.y(), designed.width() + grow, designed.height());
    };
    SChartPlaces places;
    places.LeftCaption = caption(d.LeftCaption, shift);
    places.RightCaption = caption(d.RightCaption, shift + grow);
    places.LeftPanel = square(d.LeftPanel, shift);
    places.RightPanel = square(d.RightPanel, shift + grow);
    places.Image = square(d.Image, 0);
    places.LegendCaption = QRect(d.LegendCaption.x(), d.LegendCaption.y() + grow,
                                 d.LegendCaption.width() + extraWidth, d.LegendCaption.height());
    places.LegendBox = QRect(d.LegendBox.x(), d.LegendBox.y() + grow, d.LegendBox.width() + extraWidth,
                             d.LegendBox.height() + extraHeight - grow);
    return places;
}

QSize TChartLayout::MinimumArea(const QSize& room) const
{
    return m_designArea.boundedTo(room).expandedTo(m_designArea / 2);
}

float TChartLayout::ChartScale(int deviceWidth) const
{
    return float(deviceWidth) / float(m_design.Image.width());
}
