// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ChartLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

namespace {

// The main window's chart area as designed.
const QSize kDesignArea(667, 493);
const SChartPlaces kDesign{QRect(6, 4, 322, 17),     QRect(332, 4, 322, 17), QRect(6, 23, 322, 322),
                           QRect(332, 23, 322, 322), QRect(1, 1, 320, 320),  QRect(5, 349, 649, 17),
                           QRect(5, 368, 649, 120)};

} // namespace

// Found by argument lookup in the record's own (global) namespace.
static bool operator==(const SChartPlaces& a, const SChartPlaces& b)
{
    return a.LeftCaption == b.LeftCaption && a.RightCaption == b.RightCaption && a.LeftPanel == b.LeftPanel &&
           a.RightPanel == b.RightPanel && a.Image == b.Image && a.LegendCaption == b.LegendCaption &&
           a.LegendBox == b.LegendBox;
}

TEST(ChartLayout, DesignedSizeKeepsTheDesignAndLargerAreasGrowSquarePanels)
{
    struct SCase
    {
        QSize area;
        int panelSide;
        bool heightLimits;
    };
    const SCase cases[] = {
        {kDesignArea, 322, false},
        // Smaller, as on a screen that cannot hold the design: the panels shrink the same way.
        {QSize(600, 400), 229, true},
        {QSize(2 * 667, 2 * 493), 655, false},
        {QSize(1280, 960), 628, false},
        // Wider than the height allows: the panels grow with the height and stand centred.
        {QSize(1920, 700), 529, true},
        // Only taller: the legend box alone grows.
        {QSize(667, 900), 322, false},
    };
    const TChartLayout layout(kDesign, kDesignArea);
    EXPECT_EQ(layout.Place(kDesignArea), kDesign);
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.area.width() << " x " << c.area.height());
        const QSize& area = c.area;
        const SChartPlaces p = layout.Place(c.area);
        for (const QRect& panel : {p.LeftPanel, p.RightPanel})
            EXPECT_EQ(panel.size(), QSize(c.panelSide, c.panelSide));
        EXPECT_EQ(p.Image, QRect(1, 1, c.panelSide - 2, c.panelSide - 2));
        EXPECT_EQ(p.LeftPanel.top(), p.RightPanel.top());
        EXPECT_EQ(p.RightPanel.left() - p.LeftPanel.right(),
                  kDesign.RightPanel.left() - kDesign.LeftPanel.right());
        // The width the panels leave is split evenly between both sides.
        const int leftSpare = p.LeftPanel.left() - kDesign.LeftPanel.left();
        const int rightSpare =
            (area.width() - p.RightPanel.right()) - (kDesignArea.width() - kDesign.RightPanel.right());
        EXPECT_LE(std::abs(leftSpare - rightSpare), 1);
        EXPECT_EQ(leftSpare > 1, c.heightLimits);
        EXPECT_EQ(p.LeftCaption, QRect(p.LeftPanel.left(), 4, c.panelSide, 17));
        EXPECT_EQ(p.RightCaption, QRect(p.RightPanel.left(), 4, c.panelSide, 17));
        EXPECT_EQ(p.LegendCaption.top() - p.LeftPanel.bottom(),
                  kDesign.LegendCaption.top() - kDesign.LeftPanel.bottom());
        EXPECT_EQ(p.LegendBox.top(),
                  p.LegendCaption.bottom() + kDesign.LegendBox.top() - kDesign.LegendCaption.bottom());
        EXPECT_EQ(area.height() - p.LegendBox.bottom(), kDesignArea.height() - kDesign.LegendBox.bottom());
        EXPECT_EQ(area.width() - p.LegendBox.right(), kDesignArea.width() - kDesign.LegendBox.right());
        EXPECT_EQ(p.LegendBox.height() == kDesign.LegendBox.height(), c.heightLimits || area.height() == 493);
    }
}

TEST(ChartLayout, ChartScaleFollowsTheBitmapAgainstTheDesignedImage)
{
    const TChartLayout layout(kDesign, kDesignArea);
    for (const auto& [width, scale] : {std::pair{320, 1.0f}, {480, 1.5f}, {640, 2.0f}, {1306, 4.08125f}})
        EXPECT_FLOAT_EQ(layout.ChartScale(width), scale) << width;
}

TEST(ChartLayout, TheMinimumIsTheDesignUnlessTheScreenLeavesLessRoom)
{
    const TChartLayout layout(kDesign, kDesignArea);
    const std::pair<QSize, QSize> cases[] = {
        {QSize(1920, 1000), kDesignArea},
        {QSize(960, 462), QSize(667, 462)},
        {QSize(200, 100), QSize(334, 247)},
    };
    for (const auto& [room, minimum] : cases)
        EXPECT_EQ(layout.MinimumArea(room), minimum) << room.width() << " x " << room.height();
}
