#include "ChartProbe.h"
#include "LegendTexts.h"

#include "charts/Graph.h"
#include "charts/Palette.h"
#include "data/Data.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>

namespace {

const QColor SkyBlue(166, 202, 240);

QFont LegendFont(int pointSize, bool bold)
{
    QFont font = QGuiApplication::font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

// A right-ear chart with its legend bitmap, as the data store sets them up.
struct SLegendChart
{
    explicit SLegendChart(float scale = 1.0f)
        : chart(QImage(320, 320, QImage::Format_RGB32)), legend(630, 50, QImage::Format_RGB32),
          graph(&chart, scale)
    {
        graph.BackgroundColour = SkyBlue;
        graph.SetLegendTarget(&legend);
    }

    // Gives the chart `count` series of the measurement and draws the legend.
    void DrawRows(int count, const SData& measurement)
    {
        for (int i = 0; i < count; ++i)
            graph.AddSeries(&measurement);
        graph.DrawLegend();
    }

    QImage chart;
    QImage legend;
    TGraph graph;
};

TArray OneColumn(std::initializer_list<QString> texts)
{
    TArray table;
    for (const QString& text : texts)
        table.append({TCell{table.isEmpty() ? uint8_t(2) : uint8_t(0), text}});
    return table;
}

} // namespace

using LegendTest = TLegendTexts;

TEST_F(LegendTest, SetLegendTargetReadsTheBitmapSize)
{
    SLegendChart chart;
    EXPECT_EQ(chart.graph.LegendTarget, &chart.legend);
    EXPECT_EQ(chart.graph.LegendWidth, 630);
    EXPECT_EQ(chart.graph.LegendHeight, 50);
}

TEST_F(LegendTest, WithoutATargetNothingIsDrawn)
{
    QImage image(320, 320, QImage::Format_RGB32);
    TGraph graph(&image, 1.0f);
    graph.DrawLegend();
    EXPECT_EQ(graph.LegendWidth, 0);
    EXPECT_EQ(graph.LegendHeight, 0);
}

TEST_F(LegendTest, HeaderAloneSizesTheBitmap)
{
    const std::pair<float, int> cases[] = {{1.0f, 16}, {2.0f, 32}, {6.0f, 96}};
    for (const auto& [scale, height] : cases) {
        SLegendChart chart(scale);
        chart.graph.DrawLegend();
        const int inset = int(3 * scale);
        const QFontMetrics bold(LegendFont(int(8 * scale), true), &chart.legend);
        int width = 0;
        for (const TCell& cell : LegendHeaderRow())
            width += bold.horizontalAdvance(cell.Text) + 2 * inset;
        EXPECT_EQ(chart.graph.LegendHeight, height) << scale;
        EXPECT_EQ(chart.graph.LegendWidth, width + int(2 * scale)) << scale;
        EXPECT_EQ(chart.legend.size(), QSize(chart.graph.LegendWidth, height)) << scale;
        EXPECT_EQ(PixelAt(chart.legend, chart.legend.width() - 1, 0), SkyBlue);
    }
}

TEST_F(LegendTest, OneRowPerSeries)
{
    SLegendChart chart;
    const SData measurement;
    chart.DrawRows(3, measurement);
    EXPECT_EQ(chart.graph.LegendHeight, 4 * 14 + 2);
    EXPECT_EQ(chart.legend.height(), 4 * 14 + 2);
}

TEST_F(LegendTest, ColumnWidthGrowsOnlyPastTheInset)
{
    SLegendChart chart;
    const QFontMetrics normal(LegendFont(8, false), &chart.legend);
    const QFontMetrics bold(LegendFont(8, true), &chart.legend);
    const QString base = QStringLiteral("WWWW");
    const QString slightlyWider = base + QLatin1Char('.');
    const QString muchWider = base + QStringLiteral("WWW");
    const int slack = normal.horizontalAdvance(slightlyWider) - normal.horizontalAdvance(base);
    ASSERT_GT(slack, 0);
    ASSERT_LE(slack, 6);

    struct SCase
    {
        const char* what;
        TArray table;
        int column;
    };
    const SCase cases[] = {
        {"header wider than the data", OneColumn({QStringLiteral("Calibration"), QStringLiteral("-20dB")}),
         bold.horizontalAdvance(QStringLiteral("Calibration")) + 6},
        {"data wider than the header", OneColumn({QStringLiteral("x"), base}),
         normal.horizontalAdvance(base) + 6},
        {"later text wider by less than the insets", OneColumn({QStringLiteral("x"), base, slightlyWider}),
         normal.horizontalAdvance(base) + 6},
        {"later text wider by more", OneColumn({QStringLiteral("x"), base, muchWider}),
         normal.horizontalAdvance(muchWider) + 6},
        {"empty texts", OneColumn({QString(), QString()}), 0},
    };
    for (const SCase& c : cases) {
        chart.graph.DrawTable(c.table, &chart.legend);
        EXPECT_EQ(chart.graph.LegendWidth, c.column + 2) << c.what;
        EXPECT_EQ(chart.graph.LegendHeight, int(c.table.size()) * 14 + 2) << c.what;
    }
}

TEST_F(LegendTest, RowsHoldTheRecordsTexts)
{
    SLegendChart chart;
    SData measurement;
    measurement.name = QStringLiteral("Jan");
    measurement.surname = QStringLiteral("0");
    measurement.remarks = QStringLiteral("left ear blocked");
    measurement.calibration_level = 6553;
    chart.graph.AddSeries(&measurement);
    const TArray table = chart.graph.BuildLegendTable();
    ASSERT_EQ(table.size(), 2);
    const QStringList header = {"Line", "Name",        "Surname",   "Born",
                                "Date", "Calibration", "Reference", "Remarks"};
    ASSERT_EQ(table[0].size(), 8);
    ASSERT_EQ(table[1].size(), 8);
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(table[0][column].Text, header[column]);
        EXPECT_EQ(table[0][column].Alignment, 2);
        EXPECT_EQ(table[1][column].Alignment, 0);
    }
    EXPECT_EQ(table[1][0].Text, QStringLiteral("4444"));
    EXPECT_EQ(table[1][1].Text, QStringLiteral("Jan"));
    EXPECT_EQ(table[1][2].Text, QStringLiteral("0"));
    EXPECT_EQ(table[1][5].Text, QStringLiteral("-20dB"));
    EXPECT_EQ(table[1][6].Text, QStringLiteral("none"));
    EXPECT_EQ(table[1][7].Text, QStringLiteral("left ear blocked"));
}

TEST_F(LegendTest, ReferenceStateComesFromTheRecordsOwnRows)
{
    struct SCase
    {
        float leftRef, rightRef;
        bool referenceOn;
        const char* text;
    };
    const SCase cases[] = {
        {0.0f, 0.0f, true, "none"},           {0.0f, 0.0f, false, "none"},
        {10.0f, 10.0f, true, "applied"},      {0.0f, 0.5f, true, "applied"},
        {10.0f, 10.0f, false, "not applied"}, {-2.0f, 0.0f, false, "not applied"},
    };
    for (const SCase& c : cases) {
        SData measurement;
        measurement.points = {{500.0f, 20.0f, 20.0f, 0.0f, 0.0f},
                              {1000.0f, 25.0f, 30.0f, c.leftRef, c.rightRef}};
        measurement.referenceOn = c.referenceOn;
        EXPECT_EQ(ReferenceStateText(measurement), QLatin1String(c.text)) << c.leftRef << " " << c.rightRef;
    }
}

TEST_F(LegendTest, CalibrationInWholeDecibels)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "-100dB"}, {-7, "-100dB"}, {65535, "0dB"}, {6553, "-20dB"}, {655, "-40dB"}, {32767, "-6dB"},
    };
    for (const auto& [level, text] : cases) {
        SData measurement;
        measurement.calibration_level = level;
        EXPECT_EQ(CalibrationText(measurement), QLatin1String(text)) << level;
    }
}

TEST_F(LegendTest, DatesInTheLocalesFormats)
{
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    struct SCase
    {
        double born, session;
        const char* bornText;
        const char* sessionText;
    };
    const SCase cases[] = {
        {0.0, 0.0, "00:00:00", "30/12/1899"},
        {0.75, 40312.4375, "18:00:00", "14/05/2010 10:30:00"},
        {29281.0, 40312.0, "01/03/1980", "14/05/2010"},
        {29281.5, 40312.999988426, "01/03/1980 12:00:00", "14/05/2010 23:59:59"},
    };
    for (const SCase& c : cases) {
        SData measurement;
        measurement.born_date = TDateTime(c.born);
        measurement.session_date = TDateTime(c.session);
        EXPECT_EQ(BirthDateText(measurement, british), QLatin1String(c.bornText)) << c.born;
        EXPECT_EQ(SessionDateText(measurement, british), QLatin1String(c.sessionText)) << c.session;
    }
    SData measurement;
    measurement.born_date = TDateTime::FromDate(QDate(1950, 3, 1));
    EXPECT_EQ(BirthDateText(measurement, QLocale(QLocale::English, QLocale::UnitedStates)), "3/1/1950");
}

TEST_F(LegendTest, SampleShowsTheSeriesMarkerAndLine)
{
    SLegendChart chart;
    const SData measurement;
    chart.DrawRows(28, measurement);
    const QFontMetrics normal(LegendFont(8, false), &chart.legend);
    for (int index : {0, 26, 27}) {
        const QPoint start(1 + 3, 1 + (index + 1) * 14 + 7);
        const QPoint centre = start + QPoint(normal.horizontalAdvance(QStringLiteral("22")), 0);
        const QColor colour = Palette(index);
        EXPECT_EQ(PixelAt(chart.legend, centre), colour) << index;
        EXPECT_EQ(PixelAt(chart.legend, centre + QPoint(0, -2)), colour) << index;
        EXPECT_EQ(PixelAt(chart.legend, start + QPoint(1, 0)), colour) << index;
        EXPECT_EQ(
            PixelAt(chart.legend, start + QPoint(normal.horizontalAdvance(QStringLiteral("4444")) - 1, 0)),
            colour)
            << index;
        EXPECT_NE(PixelAt(chart.legend, start + QPoint(1, -2)), colour) << index;
    }
    EXPECT_EQ(Palette(27), QColor(255, 0, 0));
}

TEST_F(LegendTest, CellBordersAreGreyAndShared)
{
    SLegendChart chart;
    chart.graph.DrawTable(OneColumn({QStringLiteral("Name"), QStringLiteral("Jan")}), &chart.legend);
    const QColor grey(128, 128, 128);
    const int right = chart.graph.LegendWidth - 1;
    EXPECT_EQ(PixelAt(chart.legend, 1, 1), grey);
    EXPECT_EQ(PixelAt(chart.legend, 1, 15), grey);
    EXPECT_EQ(PixelAt(chart.legend, right, 20), grey);
    EXPECT_EQ(PixelAt(chart.legend, 1, 29), grey);
    EXPECT_EQ(PixelAt(chart.legend, 0, 20), SkyBlue);
    EXPECT_EQ(PixelAt(chart.legend, 2, 20), SkyBlue);
}

TEST_F(LegendTest, ARemarkReadingLikeThePlaceholderStaysText)
{
    SLegendChart chart;
    SData measurement;
    measurement.remarks = QStringLiteral("4444");
    chart.DrawRows(1, measurement);
    const QColor coral = Palette(0);
    const QFontMetrics normal(LegendFont(8, false), &chart.legend);
    const int sampleColumn = normal.horizontalAdvance(QStringLiteral("4444")) + 6;
    EXPECT_GT(CountColour(chart.legend, coral, 1, 15, sampleColumn, 28), 10);
    EXPECT_EQ(CountColour(chart.legend, coral, sampleColumn + 2, 0, chart.legend.width() - 1, 29), 0);
}
