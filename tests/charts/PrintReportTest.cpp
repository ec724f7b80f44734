// SPDX-License-Identifier: GPL-3.0-or-later
// The printed page, printed to a real PDF file and read back with poppler: each chart and the
// legend must be on the page pixel for pixel where the page geometry puts them.
#include "PrintedPage.h"

#include "charts/PrintReport.h"
#include "data/DataEngineFixture.h"
#include "data/DateTime.h"
#include "lang/Lang.h"
#include "support/MessageRecorder.h"

#include <QLocale>
#include <QWidget>

namespace {

struct SGeometryRow
{
    int pageWidth, pageHeight;
    int marginX, marginY, gap, chartSize, halfWidth, printScale, rightX;
};

const SGeometryRow kGeometry[] = {
    {4800, 6800, 240, 340, 120, 2100, 2400, 6, 2460},
    // Halves and quotients truncate: 240.05, 2100.5, 2400.5.
    {4801, 6801, 240, 340, 120, 2100, 2400, 6, 2460},
    // A4 at 1200 dpi.
    {9921, 14031, 496, 701, 248, 4340, 4960, 13, 5084},
    {1000, 1400, 50, 70, 25, 437, 500, 1, 512},
    // Charts smaller than the screen's still draw at scale 1.
    {600, 800, 30, 40, 15, 262, 300, 1, 307},
    {0, 0, 0, 0, 0, 0, 0, 1, 0},
};

TEST(PrintReportTest, PageGeometryFollowsThePrintableArea)
{
    for (const SGeometryRow& row : kGeometry) {
        SCOPED_TRACE(testing::Message() << row.pageWidth << " x " << row.pageHeight);
        const SPageGeometry g = SPageGeometry::ForPage(row.pageWidth, row.pageHeight);
        EXPECT_EQ(
            (std::array{g.MarginX, g.MarginY, g.Gap, g.ChartSize, g.HalfWidth, g.PrintScale, g.RightX()}),
            (std::array{row.marginX, row.marginY, row.gap, row.chartSize, row.halfWidth, row.printScale,
                        row.rightX}));
    }
}

struct SPageCase
{
    const char* name;
    bool examples;
    // A measurement whose remark makes the legend wider than the page.
    bool wideLegend;
};

const SPageCase kPages[] = {
    {"the four examples", true, false},
    {"no measurement", false, false},
    {"a legend wider than the page", false, true},
};

class PrintReportPageTest : public ::testing::TestWithParam<SPageCase>
{
protected:
    void SetUp() override
    {
        gLang.ChangeLangSym(QStringLiteral("en"));
        owner.setObjectName(QStringLiteral("MainForm"));
        owner.setWindowTitle(QStringLiteral("Kelvarion – hearing test 1.04.01 2025-01-31"));
    }

    TDataFolder folder;
    QWidget owner;
    SDataStore screen;
};

TEST_P(PrintReportPageTest, ChartsLegendAndTextsStandWhereTheGeometrySays)
{
    const SPageCase& page = GetParam();
    if (page.examples)
        LoadExamples(screen.engine);
    if (page.wideLegend) {
        SData* record = screen.engine.NewData();
        record->name = QStringLiteral("Ewa");
        record->remarks = QString(300, QLatin1Char('W'));
        screen.engine.RebuildGraphs();
    }
    const QImage screenLeft = screen.left.copy();

    const QString pdf = folder.Path(QStringLiteral("report.pdf"));
    QPrinter printer;
    SetUpPdfPrinter(printer, pdf);
    const QDateTime printedAt(QDate(2025, 2, 3), QTime(14, 5, 6));
    const SPageLayout layout = TPrintReport(&owner).Print(printer, screen.engine, printedAt);
    const SPageGeometry& g = layout.geometry;
    ASSERT_EQ(QSize(g.PageWidth, g.PageHeight), QSize(4800, 6800));
    const SPrintedPage printed(pdf);
    EXPECT_EQ(printed.pages, 1);
    EXPECT_EQ(screen.left, screenLeft);

    // What the page must show: the source drawn at the print scale on white.
    QImage left(g.ChartSize, g.ChartSize, QImage::Format_RGB32);
    QImage right(g.ChartSize, g.ChartSize, QImage::Format_RGB32);
    QImage legend(2 * g.ChartSize + g.MarginX, g.ChartSize, QImage::Format_RGB32);
    {
        const TDataEngine expected(&left, &right, &screen.engine, float(g.PrintScale), Qt::white, &legend);
    }
    const int chartTop = g.MarginY + layout.LineHeight;
    const int legendTop = chartTop + 2 * g.Gap + g.ChartSize;
    QImage white(g.PageWidth, g.PageHeight, QImage::Format_RGB32);
    white.fill(Qt::white);
    const struct
    {
        const char* part;
        QPoint at;
        const QImage& image;
    } parts[] = {
        {"left chart", {g.MarginX, chartTop}, left},
        {"right chart", {g.RightX(), chartTop}, right},
        {"legend", {g.HalfWidth - legend.width() / 2, legendTop + 2 * layout.LineHeight}, legend},
        {"gap between the charts", {g.MarginX + g.ChartSize, chartTop}, white.copy(0, 0, g.Gap, g.ChartSize)},
        {"margin right of the charts", {g.PageWidth - g.MarginX, 0}, white.copy(0, 0, g.MarginX, legendTop)},
    };
    // The page is a picture drawn by poppler, whose scaling may move an edge by a pixel; the
    // pictures stored in the file must be the charts themselves, without loss.
    const QList<QImage> stored = printed.Images();
    ASSERT_EQ(stored.size(), 3);
    const QRect drawn = QRect(0, 0, g.PageWidth, legendTop + 2 * layout.LineHeight + legend.height()) &
                        QRect(0, 0, g.PageWidth, g.PageHeight);
    const QImage shownPage = printed.Page(drawn);
    for (qsizetype i = 0; i < qsizetype(std::size(parts)); ++i) {
        const auto& part = parts[i];
        SCOPED_TRACE(part.part);
        const QRect placed(part.at, part.image.size());
        const QRect visible = placed & QRect(0, 0, g.PageWidth, g.PageHeight);
        ASSERT_FALSE(visible.isEmpty());
        const QImage shown =
            part.image.copy(visible.translated(-part.at)).convertToFormat(QImage::Format_RGB32);
        if (i < stored.size())
            EXPECT_TRUE(stored[i] == shown);
        const QRect expected = InkBox(shown);
        const QRect rendered = InkBox(shownPage.copy(visible));
        ASSERT_EQ(rendered.isEmpty(), expected.isEmpty());
        if (expected.isEmpty())
            continue;
        for (const auto& [got, want] : {std::pair{rendered.left(), expected.left()},
                                        {rendered.top(), expected.top()},
                                        {rendered.right(), expected.right()},
                                        {rendered.bottom(), expected.bottom()}})
            EXPECT_NEAR(got, want, 2);
    }
    if (page.wideLegend)
        EXPECT_LT(g.HalfWidth - legend.width() / 2, 0);

    const int footerTop = g.PageHeight - g.MarginY;
    const QString printedText =
        QStringLiteral("Printed: ") + TDateTime::FromDateTime(printedAt).ToText(QLocale::system());
    enum EAnchor
    {
        LeftEdge,
        Centre,
        RightEdge
    };
    const struct
    {
        QString text;
        EAnchor anchor;
        int x;
        int top;
    } texts[] = {
        {QStringLiteral("Left ear"), Centre, g.MarginX + g.ChartSize / 2, g.MarginY},
        {QStringLiteral("Right ear"), Centre, g.RightX() + g.ChartSize / 2, g.MarginY},
        {QStringLiteral("Legend"), Centre, g.HalfWidth, legendTop},
        {owner.windowTitle(), LeftEdge, g.MarginX, footerTop},
        {printedText, RightEdge, g.PageWidth - g.MarginX, footerTop},
    };
    const double tolerance = layout.LineHeight / 4.0;
    for (const auto& text : texts) {
        SCOPED_TRACE(text.text.toStdString());
        const QRectF box = printed.PhraseBox(text.text);
        ASSERT_FALSE(box.isEmpty());
        const double x = text.anchor == LeftEdge ? box.left()
                         : text.anchor == Centre ? box.center().x()
                                                 : box.right();
        EXPECT_NEAR(x, text.x, tolerance);
        EXPECT_NEAR(box.top(), text.top, tolerance);
    }
}

TEST_F(PrintReportPageTest, EachDoubtfulTestHasALineUnderTheLegend)
{
    struct SCase
    {
        const char* name;
        const char* procedure;
        int32_t falseAlarms;
        float retest;
        QString line;
    };
    // Each line up to its first "ff" or "fi", which the file stores as one letter.
    const SCase cases[] = {
        {"Retest", "clinical", 0, -10, QStringLiteral("Retest, %1: Left ear: the second test at 1000 Hz")},
        {"Guesses", "clinical", 3, 0,
         QStringLiteral("Guesses, %1: Left ear: more than one silent interval in")},
        {"Trusted", "clinical", 2, 5, QString()},
        {"Unconfirmed", "", 9, 20, QString()},
    };
    const TDateTime tested = TDateTime::FromDate(QDate(2010, 5, 14));
    for (const SCase& c : cases) {
        SData* record = screen.engine.NewData();
        record->name = QString::fromLatin1(c.name);
        record->session_date = tested;
        record->procedure = QString::fromLatin1(c.procedure);
        record->leftReliability.catchTrials = 10;
        record->leftReliability.falseAlarms = c.falseAlarms;
        record->leftReliability.retestDifference = c.retest;
    }
    screen.engine.RebuildGraphs();
    const QString pdf = folder.Path(QStringLiteral("report.pdf"));
    QPrinter printer;
    SetUpPdfPrinter(printer, pdf);
    const SPageLayout layout =
        TPrintReport(&owner).Print(printer, screen.engine, QDateTime::currentDateTime());
    const SPageGeometry& g = layout.geometry;
    QImage left(g.ChartSize, g.ChartSize, QImage::Format_RGB32);
    QImage right(g.ChartSize, g.ChartSize, QImage::Format_RGB32);
    QImage legend(2 * g.ChartSize + g.MarginX, g.ChartSize, QImage::Format_RGB32);
    {
        const TDataEngine expected(&left, &right, &screen.engine, float(g.PrintScale), Qt::white, &legend);
    }
    const int legendBottom = g.MarginY + 3 * layout.LineHeight + 2 * g.Gap + g.ChartSize + legend.height();
    const SPrintedPage printed(pdf);
    double below = legendBottom;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(printed.PhraseBox(QString::fromLatin1(c.name) + QLatin1Char(',')).isEmpty(),
                  c.line.isEmpty());
        if (c.line.isEmpty())
            continue;
        const QRectF box = printed.PhraseBox(c.line.arg(tested.DateText(QLocale::system())));
        ASSERT_FALSE(box.isEmpty());
        EXPECT_NEAR(box.left(), g.MarginX, layout.LineHeight / 4.0);
        EXPECT_GT(box.top(), below);
        below = box.bottom();
    }
}

// Printing to /dev/null must leave /dev/null a device; a pipe shows it without touching it.
TEST(PrintReportTest, APdfPrintedIntoAPipeGoesThroughIt)
{
    gLang.ChangeLangSym(QStringLiteral("en"));
    const TDataFolder folder;
    const QString pipe = folder.Path(QStringLiteral("pipe"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("mkfifo"), {pipe}), 0);
    QProcess reader;
    // The reader opens the pipe itself: opening it here would wait for the writer.
    reader.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cat \"$0\" > \"$1\""), pipe,
                                        folder.Path(QStringLiteral("read.pdf"))});
    ASSERT_TRUE(reader.waitForStarted());
    QWidget owner;
    owner.setObjectName(QStringLiteral("MainForm"));
    QPrinter printer;
    SetUpPdfPrinter(printer, pipe);
    const SDataStore screen;
    TPrintReport(&owner).Print(printer, screen.engine, QDateTime::currentDateTime());
    ASSERT_TRUE(reader.waitForFinished());
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_EQ(SPrintedPage(folder.Path(QStringLiteral("read.pdf"))).pages, 1);
}

INSTANTIATE_TEST_SUITE_P(Pages, PrintReportPageTest, ::testing::ValuesIn(kPages), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.name);
    return name.replace(QLatin1Char(' '), QLatin1Char('_')).toStdString();
});

} // namespace
