// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartProbe.h"
#include "charts/Marker.h"
#include "charts/ShapedTextCache.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

const QColor Grey(128, 128, 128);
const QColor Black(0, 0, 0);

int CountInk(const QImage& image, int left, int top, int right, int bottom)
{
    return (right - left + 1) * (bottom - top + 1) - CountColour(image, SkyBlue, left, top, right, bottom);
}

} // namespace

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
        {0, 30, 10, false, 5},
        {0, 130, 10, false, 25},
        {0, 75, 10, false, 7.5},
        {0, 80, 10, false, 10},
        {0, -45, 10, false, -5},
        {10, 100000, 4, true, 1},
        {1, 1000, 1, true, 3},
    };
    for (const SCase& c : cases)
        EXPECT_NEAR(TGraph::NiceStep(c.from, c.to, c.divisions, c.logarithmic), c.step, 1e-12)
            << c.from << ".." << c.to;
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
        {125, 0, {42, 32}, true},           {1000, 0, {170, 32}, true},
        {8000, 0, {297, 32}, true},         {100, 120, {29, 294}, true},
        {10000, -10, {310, 10}, true},      {10500, 50, {313, 141}, false},
        {99, 50, {28, 141}, false},         {1000, -10.5, {170, 9}, false},
        {1000, 120.5, {170, 295}, false},   {0, 50, {0, 0}, false},
        {-250, 50, {0, 0}, false},          {1000, 1e9, {170, 32767}, false},
        {1000, -1e9, {170, -32768}, false}, {std::nan(""), 50, {0, 0}, false},
    };
    for (const SCase& c : cases) {
        QPoint pixel;
        EXPECT_EQ(chart.graph.ToPixel(c.frequency, c.level, pixel), c.inside)
            << c.frequency << " Hz " << c.level;
        EXPECT_EQ(pixel, c.pixel) << c.frequency << " Hz " << c.level;
    }
}

TEST(GraphTest, GridLines)
{
    SScreenChart chart;
    for (int x : {42, 170, 297}) {
        EXPECT_EQ(CountColour(chart.image, Grey, x, 33, x, 41), 9) << x;
        EXPECT_EQ(CountColour(chart.image, Grey, x - 1, 33, x - 1, 41) +
                      CountColour(chart.image, Grey, x + 1, 33, x + 1, 41),
                  0)
            << x;
    }
    for (int level = 0; level <= 110; level += 10) {
        const int y = chart.PixelOf(1000, level).y();
        EXPECT_EQ(CountColour(chart.image, Grey, 31, y, 308, y), 278) << level;
    }
    EXPECT_EQ(chart.PixelOf(1000, 0).y(), 32);
    EXPECT_EQ(CountColour(chart.image, Grey, 100, 31, 100, 33), 1);
    // Minor lines are dotted: grey and background alternate along them.
    for (double frequency : {187.5, 375.0, 750.0, 1500.0, 3000.0, 6000.0}) {
        const int x = chart.PixelOf(frequency, 50).x();
        const int grey = CountColour(chart.image, Grey, x, 60, x, 290);
        EXPECT_TRUE(grey > 40 && grey < 160) << frequency;
    }
    for (double level = 115; level >= -5; level -= 10) {
        const int y = chart.PixelOf(1000, level).y();
        const int grey = CountColour(chart.image, Grey, 43, y, 169, y);
        EXPECT_TRUE(grey > 25 && grey < 100) << level;
    }
    // None at 12000 Hz or -15 dB, none before 125 Hz.
    EXPECT_EQ(CountColour(chart.image, Grey, 312, 11, 319, 293), 0);
    EXPECT_EQ(CountColour(chart.image, Grey, 30, 0, 309, 8), 0);
    EXPECT_EQ(CountColour(chart.image, Grey, 31, 35, 41, 40), 0);
}

TEST(GraphTest, LabelsSitBelowAndLeftOfThePlot)
{
    SScreenChart chart;
    QFont font = QGuiApplication::font();
    font.setPointSize(8);
    const QFontMetrics metrics(font, &chart.image);
    const int height = metrics.height();
    // "1000" centred under its line, LabelGap (5) below the rectangle.
    const int width = metrics.horizontalAdvance(QStringLiteral("1000"));
    const int left = 170 - width / 2;
    EXPECT_GT(CountInk(chart.image, left, 299, left + width - 1, 298 + height), 20);
    EXPECT_EQ(CountInk(chart.image, left - 6, 299, left - 2, 298 + height), 0);
    EXPECT_EQ(CountInk(chart.image, 100, 296, 110, 298), 0);
    // "0" right-aligned LabelGap left of the rectangle, centred on its line.
    const int top = 32 - height / 2;
    EXPECT_GT(
        CountInk(chart.image, 24 - metrics.horizontalAdvance(QStringLiteral("0")), top, 23, top + height - 1),
        5);
    EXPECT_EQ(CountInk(chart.image, 24, top, 27, top + height - 1), 0);
}

TEST(GraphTest, FrameIsTwoPixelsOnAndOutsideThePlotRectangle)
{
    SScreenChart chart;
    const std::pair<QPoint, bool> cases[] = {
        {{27, 146}, false},  {{28, 146}, true},  {{29, 146}, true},   {{30, 146}, false}, {{309, 146}, false},
        {{310, 146}, true},  {{311, 146}, true}, {{312, 146}, false}, {{100, 8}, false},  {{100, 9}, true},
        {{100, 10}, true},   {{100, 11}, false}, {{100, 293}, false}, {{100, 294}, true}, {{100, 295}, true},
        {{100, 296}, false}, {{28, 9}, true},    {{311, 295}, true},
    };
    for (const auto& [point, black] : cases)
        EXPECT_EQ(PixelAt(chart.image, point) == Black, black) << point.x() << "," << point.y();
}

TEST(GraphTest, FilledDiamondAtAPlottedPoint)
{
    SScreenChart chart;
    chart.Plot({{1000, 45}});
    const QPoint p = chart.PixelOf(1000, 45);
    for (const QPoint& offset :
         {QPoint(0, 0), QPoint(-3, 0), QPoint(3, 0), QPoint(0, -3), QPoint(0, 3), QPoint(1, 1)})
        EXPECT_EQ(PixelAt(chart.image, p + offset), Palette(0)) << offset.x() << "," << offset.y();
    for (const QPoint& offset : {QPoint(-3, -3), QPoint(3, 3), QPoint(3, -3), QPoint(-4, 0), QPoint(0, 4)})
        EXPECT_NE(PixelAt(chart.image, p + offset), Palette(0)) << offset.x() << "," << offset.y();
}

TEST(GraphTest, MarkersOnlyInsideThePlotEdgesIncluded)
{
    for (const auto& [frequency, level] : {std::pair{1000.0, 130.0}, std::pair{1000.0, -11.0},
                                           std::pair{12000.0, 50.0}, std::pair{0.0, 50.0}}) {
        SScreenChart chart;
        chart.Plot({{frequency, level}});
        EXPECT_EQ(CountColour(chart.image, Palette(0)), 0) << frequency << " Hz " << level;
    }
    SScreenChart chart;
    chart.Plot({{10000, 50}});
    chart.Plot({{1000, 120}});
    EXPECT_EQ(PixelAt(chart.image, chart.PixelOf(10000, 50) + QPoint(-2, 0)), Palette(0));
    EXPECT_EQ(PixelAt(chart.image, chart.PixelOf(1000, 120) + QPoint(0, -2)), Palette(1));
}

TEST(GraphTest, LinesAreClippedAtTheEdgeOfThePlot)
{
    SScreenChart chart;
    chart.Plot({{1000, 60}, {1000, 130}});
    const int top = chart.PixelOf(1000, 60).y();
    EXPECT_EQ(CountColour(chart.image, Palette(0), 170, top + 4, 170, 293), 293 - top - 3);
    EXPECT_EQ(CountColour(chart.image, Palette(0), 0, 294, 319, 319), 0);
    // Towards a frequency of 0, that is the pixel (0, 0), as far as the rectangle reaches.
    chart.graph.ClearSeries();
    chart.Plot({{1000, 50}, {0, 50}});
    EXPECT_GT(CountColour(chart.image, Palette(0), 30, 11, 60, 40), 0);
    EXPECT_EQ(CountColour(chart.image, Palette(0), 0, 0, 28, 319), 0);
}

// Rows far outside the axes are cut at the plot's edge along their true direction, and the
// other rows are drawn as if they were not there.
TEST(GraphTest, FarOffRowsLeaveTheOthersDrawn)
{
    SScreenChart chart;
    chart.Plot({{250, 1e30}, {1000, 20}, {2000, 30}, {99999, 40}, {4000, -1e30}});
    for (const auto& [frequency, level] : {std::pair{1000.0, 20.0}, std::pair{2000.0, 30.0}})
        EXPECT_EQ(PixelAt(chart.image, chart.PixelOf(frequency, level)), Palette(0)) << frequency;
    const QPoint a = chart.PixelOf(1000, 20);
    const QPoint b = chart.PixelOf(2000, 30);
    EXPECT_EQ(CountColour(chart.image, Palette(0), (a.x() + b.x()) / 2, std::min(a.y(), b.y()),
                          (a.x() + b.x()) / 2, std::max(a.y(), b.y())),
              1);
    // Towards 1e30 dB the line leaves the 1000 Hz point for the edge, not towards 250 Hz.
    const QPoint middle250 = chart.PixelOf(250, 50);
    EXPECT_EQ(CountColour(chart.image, Palette(0), middle250.x() - 3, middle250.y() - 20, middle250.x() + 3,
                          middle250.y() + 20),
              0);
    EXPECT_GT(CountColour(chart.image, Palette(0), a.x() - 1, chart.PixelOf(1000, 100).y(), a.x() + 1,
                          chart.PixelOf(1000, 100).y()),
              0);
}

TEST(GraphTest, PointsAtMostTwoPixelsApartAreNotJoined)
{
    SScreenChart chart;
    const QPoint a = chart.PixelOf(500, 40);
    const QPoint b = chart.PixelOf(500, 40.9);
    const QPoint c = chart.PixelOf(2000, 40.9);
    ASSERT_EQ(b - a, QPoint(0, 2));
    chart.Plot({{500, 40}, {500, 40.9}, {2000, 40.9}});
    // The line runs from a to c: a quarter of the way along it lies above b's row.
    const int x = a.x() + (c.x() - a.x()) / 4;
    EXPECT_EQ(PixelAt(chart.image, QPoint(x, b.y())), SkyBlue);
    EXPECT_EQ(CountColour(chart.image, Palette(0), x, a.y(), x, a.y() + 1), 1);
}

TEST(GraphTest, ColoursByIndexLaterSeriesOnTop)
{
    const std::pair<int, QColor> cases[] = {
        {0, QColor(255, 127, 80)}, {9, QColor(0, 0, 0)},    {18, QColor(173, 255, 47)},
        {26, QColor(72, 61, 139)}, {27, QColor(255, 0, 0)}, {500, QColor(255, 0, 0)},
    };
    for (const auto& [index, colour] : cases)
        EXPECT_EQ(Palette(index), colour) << index;
    SScreenChart chart;
    for (int i = 0; i < 28; ++i)
        chart.Plot({{1000, 50}});
    EXPECT_EQ(PixelAt(chart.image, chart.PixelOf(1000, 50)), QColor(255, 0, 0));
    chart.graph.ClearSeries();
    EXPECT_EQ(chart.graph.SeriesCount, 0);
    chart.graph.AddSeriesPoint(3, 1000, 50);
    EXPECT_EQ(chart.Plot({{1000, 50}}), 0);
    EXPECT_EQ(PixelAt(chart.image, chart.PixelOf(1000, 50)), Palette(0));
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
        {12, true, false, false, true, true, true},
    };
    for (const SCase& c : cases) {
        SScreenChart chart(640, 2.0f);
        chart.graph.SetMarkerStyle(chart.Plot({}), c.style);
        chart.graph.AddSeriesPoint(0, 1000, 50);
        chart.graph.Draw();
        ASSERT_EQ(chart.graph.Series[0].MarkerSize, 12);
        const QPoint p = chart.PixelOf(1000, 50);
        const auto marked = [&](int dx, int dy) {
            return PixelAt(chart.image, p + QPoint(dx, dy)) == Palette(0);
        };
        EXPECT_EQ(marked(0, 0), c.centre) << int(c.style);
        EXPECT_EQ(marked(-6, -6), c.topLeft) << int(c.style);
        EXPECT_EQ(marked(-6, 6), c.bottomLeft) << int(c.style);
        EXPECT_EQ(marked(-6, 0), c.middleLeft) << int(c.style);
        EXPECT_EQ(marked(0, -6), c.topMiddle) << int(c.style);
        EXPECT_EQ(marked(0, 6), c.bottomMiddle) << int(c.style);
    }
}

// A stamp is only used where it stands for the marker exactly: every shape, filled or not, at
// the sizes and pens of the charts' scales, a painter moved by whole pixels, a marker cut by the
// clip or the image's edge.
TEST(GraphTest, AStampedMarkerIsTheDrawnMarker)
{
    const QColor colour(200, 30, 90);
    for (const float scale : {1.0f, 1.5f, 1.9f, 2.0f, 3.0f, 6.25f}) {
        const int size = int(6 * scale);
        const QPen pen(colour, int(scale), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        for (uint8_t style = 0; style < 8; ++style) {
            const TMarkerStamp stamp(size, style, pen, colour);
            for (const QPoint& centre :
                 {QPoint(40, 40), QPoint(3, 40), QPoint(40, 5), QPoint(71, 72), QPoint(2, 77)}) {
                QImage drawn(80, 80, QImage::Format_RGB32);
                drawn.fill(SkyBlue);
                QImage stamped = drawn;
                QPainter drawing(&drawn);
                QPainter stamping(&stamped);
                for (QPainter* painter : {&drawing, &stamping}) {
                    painter->translate(3, -2);
                    painter->setClipRect(QRect(2, 4, 70, 70));
                    painter->setPen(pen);
                }
                const QPoint half(size / 2, size / 2);
                DrawMarker(drawing, QRect(centre - half, centre + half), style, colour);
                ASSERT_TRUE(TMarkerStamp::Fits(stamping, colour, size, pen.width()));
                stamp.Draw(stamping, centre);
                drawing.end();
                stamping.end();
                EXPECT_EQ(drawn, stamped)
                    << scale << " " << int(style) << " " << centre.x() << "," << centre.y();
            }
        }
    }
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_TRUE(TMarkerStamp::Fits(painter, colour, 37, 1));
    EXPECT_FALSE(TMarkerStamp::Fits(painter, QColor(200, 30, 90, 128), 6, 1));
    painter.setClipRect(QRect(1, 1, 8, 8));
    EXPECT_FALSE(TMarkerStamp::Fits(painter, colour, 12, 1));
    painter.setRenderHint(QPainter::Antialiasing);
    EXPECT_FALSE(TMarkerStamp::Fits(painter, colour, 6, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(0.5, 0);
    EXPECT_FALSE(TMarkerStamp::Fits(painter, colour, 6, 1));
}

// Texts are measured without laying them out, yet a table's column must be as wide as the line
// drawn in it: a tab, right-to-left script, a line separator (only the line before it is
// drawn), marks and control characters (a file's text may hold any) measure alike either way,
// in any order of measuring and drawing.
TEST(GraphTest, AMeasuredTextIsAsWideAsItsDrawnLine)
{
    QImage image(40, 40, QImage::Format_RGB32);
    const QString texts[] = {QStringLiteral("Wiśniewska"),
                             QStringLiteral("a\tb"),
                             QStringLiteral("שלום abc"),
                             QStringLiteral("first\u2028second"),
                             QStringLiteral("e\u0301\u200b\u00ad!"),
                             QStringLiteral("C\u009cur"),
                             QStringLiteral("\u05e9\r\u0300"),
                             QString()};
    for (const bool bold : {false, true}) {
        QFont font = QGuiApplication::font();
        font.setPointSize(bold ? 16 : 8);
        font.setBold(bold);
        for (const QString& text : texts) {
            QTextLayout layout(text, font, &image);
            QTextOption option;
            option.setTextDirection(Qt::LeftToRight);
            option.setWrapMode(QTextOption::NoWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            const QTextLine line = layout.createLine();
            layout.endLayout();
            const int drawn = line.isValid() ? qRound(line.horizontalAdvance()) : 0;
            TShapedTextCache measuredFirst;
            measuredFirst.SetFont(font, &image);
            EXPECT_EQ(measuredFirst.Width(text), drawn) << text.toStdString();
            TShapedTextCache drawnFirst;
            drawnFirst.SetFont(font, &image);
            QPainter painter(&image);
            drawnFirst.Draw(painter, 0, 20, text);
            EXPECT_EQ(drawnFirst.Width(text), drawn) << text.toStdString();
        }
    }
}
