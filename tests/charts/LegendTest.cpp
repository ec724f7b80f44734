// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartProbe.h"

#include "data/Data.h"
#include "lang/Lang.h"
#include "platform/IniFile.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

// Gives gLang legend texts of the test's own while a test lives.
class LegendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto texts = std::make_unique<TIniFile>();
        texts->SetText(
            QStringLiteral("[DefSection]\nStrGraphLine=Line\nStrGraphName=Name\nStrGraphSurname=Surname\n"
                           "StrGraphBirthday=Born\nStrGraphDate=Date\nStrGraphCal=Calibration\n"
                           "StrGraphRef=Reference\nStrGraphRemarks=Remarks\nStrGraphOn=applied\n"
                           "StrGraphLack=none\nStrGraphOff=not applied\n"));
        m_saved = std::exchange(gLang.IniLang, std::move(texts));
    }

    void TearDown() override { gLang.IniLang = std::move(m_saved); }

private:
    std::unique_ptr<TIniFile> m_saved;
};

QFontMetrics LegendMetrics(const QImage& legend, bool bold, float scale = 1.0f)
{
    QFont font = QGuiApplication::font();
    font.setPointSize(int(8 * scale));
    font.setBold(bold);
    return QFontMetrics(font, &legend);
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
        table.append({TCell{uint8_t(table.isEmpty() ? 2 : 0), text}});
    return table;
}

} // namespace

TEST_F(LegendTest, HeaderAloneSizesTheBitmap)
{
    QImage image(320, 320, QImage::Format_RGB32);
    TGraph withoutTarget(&image, 1.0f);
    withoutTarget.DrawLegend();
    EXPECT_EQ(withoutTarget.LegendHeight, 0);

    for (const auto& [scale, height] : {std::pair{1.0f, 16}, std::pair{2.0f, 32}, std::pair{6.0f, 96}}) {
        SLegendChart chart(scale);
        EXPECT_EQ(QSize(chart.graph.LegendWidth, chart.graph.LegendHeight), QSize(630, 50));
        chart.graph.DrawLegend();
        int width = 0;
        for (const TCell& cell : LegendHeaderRow())
            width +=
                LegendMetrics(chart.legend, true, scale).horizontalAdvance(cell.Text) + 2 * int(3 * scale);
        EXPECT_EQ(chart.graph.LegendHeight, height) << scale;
        EXPECT_EQ(chart.graph.LegendWidth, width + int(2 * scale)) << scale;
        EXPECT_EQ(chart.legend.size(), QSize(chart.graph.LegendWidth, height)) << scale;
    }
}

TEST_F(LegendTest, ColumnWidthGrowsOnlyPastTheInset)
{
    SLegendChart chart;
    const QFontMetrics normal = LegendMetrics(chart.legend, false);
    const QString base = QStringLiteral("WWWW");
    const QString slightlyWider = base + QLatin1Char('.');
    const QString muchWider = base + QStringLiteral("WWW");
    const int slack = normal.horizontalAdvance(slightlyWider) - normal.horizontalAdvance(base);
    ASSERT_TRUE(slack > 0 && slack <= 6);
    const std::pair<TArray, int> cases[] = {
        {OneColumn({QStringLiteral("Calibration"), QStringLiteral("-20dB")}),
         LegendMetrics(chart.legend, true).horizontalAdvance(QStringLiteral("Calibration")) + 6},
        {OneColumn({QStringLiteral("x"), base, slightlyWider}), normal.horizontalAdvance(base) + 6},
        {OneColumn({QStringLiteral("x"), base, muchWider}), normal.horizontalAdvance(muchWider) + 6},
        {OneColumn({QString(), QString()}), 0},
    };
    for (const auto& [table, column] : cases) {
        chart.graph.DrawTable(table, &chart.legend);
        EXPECT_EQ(chart.graph.LegendWidth, column + 2) << table.last().first().Text.toStdString();
        EXPECT_EQ(chart.graph.LegendHeight, int(table.size()) * 14 + 2);
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
    measurement.born_date = TDateTime::FromDate(QDate(1950, 3, 1));
    chart.graph.AddSeries(&measurement);
    const TArray table = chart.graph.BuildLegendTable();
    ASSERT_EQ(table.size(), 2);
    const QLocale locale = QLocale::system();
    const QStringList header = {"Line", "Name",        "Surname",   "Born",
                                "Date", "Calibration", "Reference", "Remarks"};
    const QStringList row = {"4444",
                             "Jan",
                             "0",
                             measurement.born_date.ToText(locale),
                             TDateTime().ToText(locale),
                             "-20dB",
                             "none",
                             "left ear blocked"};
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(table[0][column].Text, header[column]);
        EXPECT_EQ(table[0][column].Alignment, 2);
        EXPECT_EQ(table[1][column].Text, row[column]);
        EXPECT_EQ(table[1][column].Alignment, 0);
    }
}

// Names come from files anyone can write: none may read as another or push the columns away.
TEST_F(LegendTest, NoNamePosesAsAnotherOrCrowdsTheOthersOut)
{
    const QString longName(10000, QLatin1Char('x'));
    const struct
    {
        QString name;
        QString shown;
        QString tip;
    } rows[] = {
        {QStringLiteral("\u202Eikslawok naJ"), QStringLiteral("<U+202E>ikslawok naJ"), QString()},
        {QStringLiteral("Jan\u200B"), QStringLiteral("Jan<U+200B>"), QString()},
        {QStringLiteral("\u2067Jan\u2069 \uFEFF"), QStringLiteral("<U+2067>Jan<U+2069> <U+FEFF>"), QString()},
        {longName, QString(39, QLatin1Char('x')) + QChar(0x2026),
         QStringList(125, QString(80, QLatin1Char('x'))).join(QLatin1Char('\n'))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown.left(40).toStdString());
        SData measurement;
        measurement.name = measurement.surname = measurement.remarks = row.name;
        SLegendChart chart;
        chart.DrawRows(1, measurement);
        const TRaw cells = chart.graph.BuildLegendTable().value(1);
        ASSERT_EQ(cells.size(), 8);
        EXPECT_EQ(cells[1].Text, row.shown);
        EXPECT_EQ(cells[1].Tip, row.tip);
        EXPECT_EQ(cells[2].Text, row.shown);
        EXPECT_LT(chart.graph.LegendWidth, 1500);
        // The whole name is there when the mouse rests on its cut cell.
        const QPoint nameCell(LegendMetrics(chart.legend, false).horizontalAdvance(QStringLiteral("4444")) +
                                  20,
                              chart.graph.LegendHeight * 3 / 4);
        EXPECT_EQ(chart.graph.LegendTipAt(nameCell), row.tip);
    }
}

TEST_F(LegendTest, ReferenceStateTexts)
{
    struct SCase
    {
        float rightRef;
        bool referenceOn;
        const char* text;
    };
    for (const SCase& c : {SCase{0.0f, true, "none"}, SCase{0.0f, false, "none"},
                           SCase{0.5f, true, "applied"}, SCase{10.0f, false, "not applied"}}) {
        SData measurement;
        measurement.points = {{500.0f, 20.0f, 20.0f, 0.0f, 0.0f}, {1000.0f, 25.0f, 30.0f, 0.0f, c.rightRef}};
        measurement.referenceOn = c.referenceOn;
        EXPECT_EQ(ReferenceStateText(measurement), QLatin1String(c.text))
            << c.rightRef << " " << c.referenceOn;
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
}

// Only the first cell of a row is its sample: a remark reading like the placeholder stays text.
TEST_F(LegendTest, SampleShowsTheSeriesMarkerAndLine)
{
    SLegendChart chart;
    SData measurement;
    measurement.remarks = QStringLiteral("4444");
    chart.DrawRows(28, measurement);
    EXPECT_EQ(chart.legend.height(), 29 * 14 + 2);
    const QFontMetrics normal = LegendMetrics(chart.legend, false);
    const int sampleColumn = normal.horizontalAdvance(QStringLiteral("4444")) + 6;
    for (int index : {0, 26, 27}) {
        const QPoint start(1 + 3, 1 + (index + 1) * 14 + 7);
        const QPoint centre = start + QPoint(normal.horizontalAdvance(QStringLiteral("22")), 0);
        const QPoint end = start + QPoint(normal.horizontalAdvance(QStringLiteral("4444")) - 1, 0);
        for (const QPoint& point : {centre, centre + QPoint(0, -2), start + QPoint(1, 0), end})
            EXPECT_EQ(PixelAt(chart.legend, point), Palette(index))
                << index << ": " << point.x() << "," << point.y();
        EXPECT_NE(PixelAt(chart.legend, start + QPoint(1, -2)), Palette(index)) << index;
        EXPECT_EQ(CountColour(chart.legend, Palette(index), sampleColumn + 2, 0, chart.legend.width() - 1,
                              chart.legend.height() - 1),
                  0)
            << index;
    }
}

// A key missing from a language file would head a column with the lookup's stand-in text.
TEST(LegendLanguageTest, EveryLanguageHasTheLegendTexts)
{
    gLang.ChangeLangSym(QStringLiteral("en"));
    const QString unknown = gLang.GetString(QStringLiteral("NoSuchLegendKey"));
    ASSERT_FALSE(gLang.LangSymbols.isEmpty());
    for (const QString& symbol : QStringList(gLang.LangSymbols)) {
        gLang.ChangeLangSym(symbol);
        ASSERT_EQ(gLang.LangSymbol, symbol);
        QStringList texts;
        for (const TCell& cell : LegendHeaderRow())
            texts << cell.Text;
        SData measurement;
        texts << ReferenceStateText(measurement);
        measurement.points = {{1000.0f, 10.0f, 10.0f, 0.0f, 5.0f}};
        texts << ReferenceStateText(measurement);
        measurement.referenceOn = true;
        texts << ReferenceStateText(measurement);
        for (const QString& text : texts)
            EXPECT_NE(text, unknown) << symbol.toStdString();
        EXPECT_EQ(texts.removeDuplicates(), 0) << symbol.toStdString();
    }
}
