#include "ChartProbe.h"

#include "charts/Graph.h"
#include "charts/Palette.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>

#include <cmath>

namespace {

const QColor SkyBlue(166, 202, 240);
const QColor Grey(128, 128, 128);
const QColor Black(0, 0, 0);

bool IsInk(const QImage& image, int x, int y)
{
    return PixelAt(image, x, y) != SkyBlue;
}

int CountInk(const QImage& image, int left, int top, int right, int bottom)
{
    const int all = (right - left + 1) * (bottom - top + 1);
    return all - CountColour(image, SkyBlue, left, top, right, bottom);
}

} // namespace

TEST(GraphTest, PixelSizesFollowTheScale)
{
    struct SCase
    {
        float scale;
        int fontSize, frame, majorWidth, gap, markerSize, lineWidth;
    };
    const SCase cases[] = {
        {1.0f, 8, 2, 1, 5, 6, 1},
        {2.5f, 20, 5, 2, 12, 15, 2},
        {6.0f, 48, 12, 6, 30, 36, 6},
    };
    for (const SCase& c : cases) {
        QImage image(400, 300, QImage::Format_RGB32);
        TGraph graph(&image, c.scale);
        graph.AddSeries(nullptr);
        EXPECT_EQ(graph.Width, 400);
        EXPECT_EQ(graph.Height, 300);
        EXPECT_EQ(graph.LabelFontSize, c.fontSize) << c.scale;
        EXPECT_EQ(graph.FrameThickness, c.frame) << c.scale;
        EXPECT_EQ(graph.MajorGridWidth, c.majorWidth) << c.scale;
        EXPECT_EQ(graph.MinorGridWidth, 0) << c.scale;
        EXPECT_EQ(graph.LabelGap, c.gap) << c.scale;
        EXPECT_EQ(graph.Series[0].MarkerSize, c.markerSize) << c.scale;
        EXPECT_EQ(graph.Series[0].LineWidth, c.lineWidth) << c.scale;
    }
}

TEST(GraphTest, NiceStep)
{
    struct SCase
    {
        double from, to;
        int divisions;
        bool logarithmic;
        double step;
    };
    const SCase cases[] = {
        {100, 10000, 6, true, std::log10(2.0)},
        {120, -10, 13, false, -10},
        {0, 100, 10, false, 10},
        {0, 30, 10, false, 5},
        {0, 130, 10, false, 25},
        {0, 75, 10, false, 7.5},
        {0, 50, 10, false, 5},
        {0, 80, 10, false, 10},
        {0, -45, 10, false, -5},
        {0, 2000, 10, false, 250},
        {10, 100000, 4, true, 1},
        {1, 1000, 1, true, 3},
    };
    for (const SCase& c : cases)
        EXPECT_NEAR(TGraph::NiceStep(c.from, c.to, c.divisions, c.logarithmic), c.step, 1e-12)
            << c.from << " .. " << c.to << " / " << c.divisions;
}

TEST(GraphTest, AxisTransformLimitsTheLogarithm)
{
    EXPECT_DOUBLE_EQ(TGraph::ToAxis(1000, true), 3.0);
    EXPECT_DOUBLE_EQ(TGraph::ToAxis(0, true), -307.0);
    EXPECT_DOUBLE_EQ(TGraph::ToAxis(-5, true), -307.0);
    EXPECT_DOUBLE_EQ(TGraph::ToAxis(-5, false), -5.0);
    EXPECT_DOUBLE_EQ(TGraph::FromAxis(2, true), 100.0);
    EXPECT_DOUBLE_EQ(TGraph::FromAxis(400, true), 1e307);
    EXPECT_DOUBLE_EQ(TGraph::FromAxis(-400, true), 1e-307);
    EXPECT_DOUBLE_EQ(TGraph::FromAxis(-400, false), -400.0);
}

TEST(GraphTest, ToPixelOnAScreenChart)
{
    SScreenChart chart;
    struct SCase
    {
        double frequency, level;
        QPoint pixel;
        bool inside;
    };
    const SCase cases[] = {
        {125, 0, {42, 32}, true},         {1000, 0, {170, 32}, true},
        {8000, 0, {297, 32}, true},       {100, 120, {29, 294}, true},
        {10000, -10, {310, 10}, true},    {100, -10, {29, 10}, true},
        {10000, 120, {310, 294}, true},   {10500, 50, {313, 141}, false},
        {99, 50, {28, 141}, false},       {1000, -10.5, {170, 9}, false},
        {1000, 120.5, {170, 295}, false}, {1000, 130, {170, 316}, false},
        {0, 50, {0, 0}, false},           {-250, 50, {0, 0}, false},
        {1000, 1e9, {170, 32767}, false}, {1000, -1e9, {170, -32768}, false},
        {1e300, 50, {32767, 141}, false}, {std::nan(""), 50, {0, 0}, false},
    };
    for (const SCase& c : cases) {
        QPoint pixel;
        EXPECT_EQ(chart.graph.ToPixel(c.frequency, c.level, pixel), c.inside)
            << c.frequency << " Hz " << c.level;
        EXPECT_EQ(pixel, c.pixel) << c.frequency << " Hz " << c.level;
    }
}

TEST(GraphTest, RangeCheckSeparatesEqualEnds)
{
    SScreenChart chart;
    chart.graph.XFrom = 1000;
    chart.graph.XTo = 1000;
    chart.graph.YFrom = -1;
    chart.graph.YTo = 0;
    chart.graph.YLog = true;
    chart.graph.Draw();
    EXPECT_DOUBLE_EQ(chart.graph.XFrom, 999.9);
    EXPECT_DOUBLE_EQ(chart.graph.XTo, 1000.1);
    EXPECT_DOUBLE_EQ(chart.graph.YFrom, 1e-307);
    EXPECT_DOUBLE_EQ(chart.graph.YTo, 1e-306);
}

TEST(GraphTest, MajorGridLinesLieOnTheLabelledValues)
{
    SScreenChart chart;
    for (int x : {42, 170, 297}) {
        EXPECT_EQ(PixelAt(chart.image, x, 37), Grey) << x;
        EXPECT_EQ(PixelAt(chart.image, x - 1, 37), SkyBlue) << x;
        EXPECT_EQ(PixelAt(chart.image, x + 1, 37), SkyBlue) << x;
    }
    EXPECT_EQ(PixelAt(chart.image, 100, 32), Grey);
    EXPECT_EQ(PixelAt(chart.image, 100, 31), SkyBlue);
    EXPECT_EQ(PixelAt(chart.image, 100, 33), SkyBlue);
    // Level lines inside the frame run solid across the plot.
    for (int level = 0; level <= 110; level += 10) {
        const int y = PixelOf(chart.graph, 1000, level).y();
        EXPECT_EQ(CountColour(chart.image, Grey, 31, y, 308, y), 278) << level;
    }
}

TEST(GraphTest, MinorGridLinesAreDottedAndStayInside)
{
    SScreenChart chart;
    for (double frequency : {187.5, 375.0, 750.0, 1500.0, 3000.0, 6000.0}) {
        const int x = PixelOf(chart.graph, frequency, 50).x();
        const int grey = CountColour(chart.image, Grey, x, 60, x, 290);
        EXPECT_GT(grey, 40) << frequency;
        EXPECT_LT(grey, 160) << frequency;
    }
    for (double level = 115; level >= -5; level -= 10) {
        const int y = PixelOf(chart.graph, 1000, level).y();
        const int grey = CountColour(chart.image, Grey, 43, y, 169, y);
        EXPECT_GT(grey, 25) << level;
        EXPECT_LT(grey, 100) << level;
    }
    // No line after the last labelled one on either axis.
    EXPECT_EQ(CountColour(chart.image, Grey, 312, 11, 319, 293), 0);
    EXPECT_EQ(CountColour(chart.image, Grey, 30, 0, 309, 8), 0);
    // No minor line before the first labelled frequency.
    EXPECT_EQ(CountColour(chart.image, Grey, 31, 35, 41, 40), 0);
}

TEST(GraphTest, LabelsSitBelowAndLeftOfThePlot)
{
    SScreenChart chart;
    QFont font = QGuiApplication::font();
    font.setPointSize(8);
    const QFontMetrics metrics(font, &chart.image);
    const int gap = 5;
    // "1000" centred under its line, starting LabelGap below the rectangle.
    const int width = metrics.horizontalAdvance(QStringLiteral("1000"));
    const int left = 170 - width / 2;
    const int top = 294 + gap;
    EXPECT_GT(CountInk(chart.image, left, top, left + width - 1, top + metrics.height() - 1), 20);
    EXPECT_EQ(CountInk(chart.image, left - 6, top, left - 2, top + metrics.height() - 1), 0);
    EXPECT_EQ(CountInk(chart.image, 100, 296, 110, 298), 0);
    // "0" right-aligned LabelGap left of the rectangle, centred on its line.
    const int zeroWidth = metrics.horizontalAdvance(QStringLiteral("0"));
    const int zeroTop = 32 - metrics.height() / 2;
    EXPECT_GT(CountInk(chart.image, 24 - zeroWidth, zeroTop, 23, zeroTop + metrics.height() - 1), 5);
    EXPECT_EQ(CountInk(chart.image, 24, zeroTop, 27, zeroTop + metrics.height() - 1), 0);
    // "-10" against the top of the frame, "120" against its bottom.
    EXPECT_GT(CountInk(chart.image, 0, 10 - metrics.height() / 2, 23, 10 + metrics.height() / 2), 5);
    EXPECT_GT(CountInk(chart.image, 0, 294 - metrics.height() / 2, 23, 294 + metrics.height() / 2), 5);
}

TEST(GraphTest, FrameIsTwoPixelsOnAndOutsideThePlotRectangle)
{
    SScreenChart chart;
    struct SCase
    {
        int x, y;
        bool black;
    };
    const SCase cases[] = {
        {27, 146, false},  {28, 146, true},  {29, 146, true},   {30, 146, false}, {309, 146, false},
        {310, 146, true},  {311, 146, true}, {312, 146, false}, {100, 8, false},  {100, 9, true},
        {100, 10, true},   {100, 11, false}, {100, 293, false}, {100, 294, true}, {100, 295, true},
        {100, 296, false}, {28, 9, true},    {311, 295, true},  {311, 9, true},   {28, 295, true},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(PixelAt(chart.image, c.x, c.y) == Black, c.black) << c.x << "," << c.y;
}

TEST(GraphTest, EmptyChartHasNoSeriesColour)
{
    SScreenChart chart;
    const int all = chart.image.width() * chart.image.height();
    const int plain =
        CountColour(chart.image, SkyBlue) + CountColour(chart.image, Grey) + CountColour(chart.image, Black);
    // Anything else is the anti-aliased edge of a label, outside the frame.
    EXPECT_EQ(CountInk(chart.image, 30, 11, 309, 293) - CountColour(chart.image, Grey, 30, 11, 309, 293), 0);
    EXPECT_GT(plain, all * 9 / 10);
}

TEST(GraphTest, FilledDiamondAtAPlottedPoint)
{
    SScreenChart chart;
    chart.Plot({{1000, 45}});
    const QColor coral = Palette(0);
    const QPoint p = PixelOf(chart.graph, 1000, 45);
    for (const QPoint& offset : {QPoint(0, 0), QPoint(-3, 0), QPoint(3, 0), QPoint(0, -3), QPoint(0, 3),
                                 QPoint(1, 1), QPoint(-1, -1)})
        EXPECT_EQ(PixelAt(chart.image, p + offset), coral) << offset.x() << "," << offset.y();
    for (const QPoint& offset : {QPoint(-3, -3), QPoint(3, 3), QPoint(3, -3), QPoint(-3, 3), QPoint(-4, 0),
                                 QPoint(4, 0), QPoint(0, -4), QPoint(0, 4)})
        EXPECT_NE(PixelAt(chart.image, p + offset), coral) << offset.x() << "," << offset.y();
}

TEST(GraphTest, PointsOutsideThePlotGetNoMarker)
{
    for (const auto& [frequency, level] :
         {std::pair{1000.0, 130.0}, std::pair{1000.0, -11.0}, std::pair{12000.0, 50.0}, std::pair{0.0, 50.0},
          std::pair{90.0, 50.0}}) {
        SScreenChart chart;
        chart.Plot({{frequency, level}});
        EXPECT_EQ(CountColour(chart.image, Palette(0)), 0) << frequency << " Hz " << level;
    }
}

TEST(GraphTest, PointsOnTheEdgeGetAMarker)
{
    SScreenChart chart;
    chart.Plot({{10000, 50}});
    chart.Plot({{1000, 120}});
    const QPoint right = PixelOf(chart.graph, 10000, 50);
    EXPECT_EQ(PixelAt(chart.image, right + QPoint(-2, 0)), Palette(0));
    const QPoint bottom = PixelOf(chart.graph, 1000, 120);
    EXPECT_EQ(PixelAt(chart.image, bottom + QPoint(0, -2)), Palette(1));
}

TEST(GraphTest, LineIsClippedAtTheEdgeOfThePlot)
{
    SScreenChart chart;
    chart.Plot({{1000, 60}, {1000, 130}});
    const QColor coral = Palette(0);
    const int top = PixelOf(chart.graph, 1000, 60).y();
    EXPECT_EQ(CountColour(chart.image, coral, 170, top + 4, 170, 293), 293 - top - 3);
    EXPECT_EQ(CountColour(chart.image, coral, 0, 294, 319, 319), 0);
}

TEST(GraphTest, LineTowardsAZeroFrequencyRunsToTheTopLeft)
{
    SScreenChart chart;
    chart.Plot({{1000, 50}, {0, 50}});
    EXPECT_GT(CountColour(chart.image, Palette(0), 30, 11, 60, 40), 0);
    EXPECT_EQ(CountColour(chart.image, Palette(0), 0, 0, 28, 319), 0);
}

TEST(GraphTest, PointsAtMostTwoPixelsApartAreNotJoined)
{
    SScreenChart chart;
    const QPoint a = PixelOf(chart.graph, 500, 40);
    const QPoint b = PixelOf(chart.graph, 500, 40.9);
    const QPoint c = PixelOf(chart.graph, 2000, 40.9);
    ASSERT_EQ(b - a, QPoint(0, 2));
    ASSERT_EQ(c.y(), b.y());
    chart.Plot({{500, 40}, {500, 40.9}, {2000, 40.9}});
    // The line runs from a to c: a quarter of the way along it lies above b's row.
    const int x = a.x() + (c.x() - a.x()) / 4;
    EXPECT_EQ(PixelAt(chart.image, x, b.y()), SkyBlue);
    EXPECT_EQ(CountColour(chart.image, Palette(0), x, a.y(), x, a.y() + 1), 1);
}

TEST(GraphTest, LaterSeriesLieOnTop)
{
    SScreenChart chart;
    for (int i = 0; i < 3; ++i)
        chart.Plot({{1000, 50}});
    EXPECT_EQ(PixelAt(chart.image, PixelOf(chart.graph, 1000, 50)), Palette(2));
}

TEST(GraphTest, PaletteThenPureRed)
{
    const std::pair<int, QColor> cases[] = {
        {0, QColor(255, 127, 80)},   {1, QColor(34, 139, 34)},   {9, QColor(0, 0, 0)},
        {10, QColor(245, 245, 245)}, {18, QColor(173, 255, 47)}, {26, QColor(72, 61, 139)},
        {27, QColor(255, 0, 0)},     {500, QColor(255, 0, 0)},
    };
    for (const auto& [index, colour] : cases)
        EXPECT_EQ(Palette(index), colour) << index;

    SScreenChart chart;
    for (int i = 0; i < 28; ++i)
        chart.graph.AddSeries(nullptr);
    chart.graph.AddSeriesPoint(27, 1000, 50);
    chart.graph.Draw();
    EXPECT_EQ(chart.graph.Series[27].LineColour, QColor(255, 0, 0));
    EXPECT_EQ(PixelAt(chart.image, PixelOf(chart.graph, 1000, 50)), QColor(255, 0, 0));
}

TEST(GraphTest, MarkerShapesAtDoubleScale)
{
    struct SCase
    {
        uint8_t style;
        bool centre, topLeft, bottomLeft, middleLeft, topMiddle, bottomMiddle;
    };
    const SCase cases[] = {
        {0, false, false, false, true, true, true}, {1, false, true, true, true, true, true},
        {2, true, true, true, false, false, false}, {3, false, true, false, false, true, true},
        {4, true, false, false, true, true, true},  {5, true, true, true, true, true, true},
        {6, true, true, true, false, false, false}, {7, true, true, false, false, true, true},
        {12, true, false, false, true, true, true}, {9, false, true, true, true, true, true},
    };
    for (const SCase& c : cases) {
        SScreenChart chart(640, 2.0f);
        const int index = chart.graph.AddSeries(nullptr);
        chart.graph.SetMarkerStyle(index, c.style);
        chart.graph.AddSeriesPoint(index, 1000, 50);
        chart.graph.Draw();
        const QPoint p = PixelOf(chart.graph, 1000, 50);
        const int half = chart.graph.Series[0].MarkerSize / 2;
        ASSERT_EQ(half, 6);
        const auto marked = [&](int dx, int dy) {
            return PixelAt(chart.image, p + QPoint(dx, dy)) == Palette(0);
        };
        EXPECT_EQ(marked(0, 0), c.centre) << int(c.style);
        EXPECT_EQ(marked(-half, -half), c.topLeft) << int(c.style);
        EXPECT_EQ(marked(-half, half), c.bottomLeft) << int(c.style);
        EXPECT_EQ(marked(-half, 0), c.middleLeft) << int(c.style);
        EXPECT_EQ(marked(0, -half), c.topMiddle) << int(c.style);
        EXPECT_EQ(marked(0, half), c.bottomMiddle) << int(c.style);
    }
}

TEST(GraphTest, ClearSeriesRemovesEverySeries)
{
    SScreenChart chart;
    EXPECT_EQ(chart.graph.AddSeries(nullptr), 0);
    EXPECT_EQ(chart.graph.AddSeries(nullptr), 1);
    chart.graph.AddSeriesPoint(0, 1000, 50);
    chart.graph.AddSeriesPoint(7, 1000, 50);
    chart.graph.SetMarkerStyle(-1, 2);
    chart.graph.ClearSeries();
    EXPECT_EQ(chart.graph.SeriesCount, 0);
    EXPECT_TRUE(chart.graph.Series.empty());
    chart.graph.Draw();
    EXPECT_EQ(CountColour(chart.image, Palette(0)), 0);
    EXPECT_EQ(chart.graph.AddSeries(nullptr), 0);
}
