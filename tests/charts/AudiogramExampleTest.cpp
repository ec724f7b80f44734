#include "ChartProbe.h"

#include "charts/Graph.h"
#include "charts/Palette.h"
#include "data/Data.h"
#include "lang/Lang.h"
#include "platform/AppPaths.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

SData Measurement(const QString& name, const QString& surname, const QDate& born, const QDateTime& session,
                  const std::initializer_list<SDataPoint>& rows)
{
    SData data;
    data.name = name;
    data.surname = surname;
    data.born_date = TDateTime::FromDate(born);
    data.session_date = TDateTime::FromDateTime(session);
    data.calibration_level = 6553;
    data.points = rows;
    return data;
}

} // namespace

// Draws three measurements the way the main window shows them and keeps the picture beside
// the test program for a person to look at.
TEST(AudiogramExampleTest, ThreeMeasurementsOnBothChartsWithTheirLegend)
{
    gLang.ChangeLangSym(QStringLiteral("en"));
    std::vector<SData> measurements = {
        Measurement(QStringLiteral("Anna"), QStringLiteral("Nowak"), QDate(1984, 2, 11),
                    QDateTime(QDate(2026, 3, 2), QTime(9, 15)),
                    {{125, 10, 15, 0, 0},
                     {250, 10, 10, 0, 0},
                     {500, 5, 10, 0, 0},
                     {1000, 10, 5, 0, 0},
                     {2000, 15, 10, 0, 0},
                     {4000, 20, 25, 0, 0},
                     {8000, 25, 30, 0, 0}}),
        Measurement(QStringLiteral("Jan"), QStringLiteral("0"), QDate(1951, 7, 30),
                    QDateTime(QDate(2026, 3, 2), QTime(10, 40)),
                    {{125, 20, 25, 10, 10},
                     {250, 25, 25, 10, 10},
                     {500, 30, 35, 10, 10},
                     {1000, 40, 40, 10, 10},
                     {2000, 55, 60, 10, 10},
                     {4000, 70, 75, 10, 10},
                     {8000, 80, 85, 10, 10}}),
        Measurement(QStringLiteral("Ewa"), QStringLiteral("Kowalska"), QDate(2001, 12, 5),
                    QDateTime(QDate(2026, 3, 3), QTime(14, 5)),
                    {{250, 0, 5, 0, 0}, {1000, 45, 0, 0, 0}, {3000, 50, 10, 0, 0}, {6000, 60, 15, 0, 0}}),
    };
    measurements[1].remarks = QStringLiteral("noise-induced loss");

    QImage leftImage(320, 320, QImage::Format_RGB32);
    QImage rightImage(320, 320, QImage::Format_RGB32);
    QImage legendImage(630, 50, QImage::Format_RGB32);
    TGraph left(&leftImage, 1.0f);
    TGraph right(&rightImage, 1.0f);
    right.SetLegendTarget(&legendImage);
    for (TGraph* graph : {&left, &right})
        graph->BackgroundColour = QColor(166, 202, 240);
    for (const SData& measurement : measurements) {
        const int index = left.AddSeries(&measurement);
        ASSERT_EQ(right.AddSeries(&measurement), index);
        for (const SDataPoint& row : measurement.points) {
            left.AddSeriesPoint(index, row.freq, row.left);
            right.AddSeriesPoint(index, row.freq, row.right);
        }
    }
    left.Draw();
    right.Draw();
    right.DrawLegend();

    QImage page(652, 332 + right.LegendHeight, QImage::Format_RGB32);
    page.fill(QColor(166, 202, 240));
    QPainter painter(&page);
    painter.drawImage(1, 1, leftImage);
    painter.drawImage(331, 1, rightImage);
    painter.drawImage(1, 331, legendImage);
    painter.end();
    const QString path = TAppPaths::ProgramFolder() + QStringLiteral("/AudiogramExample.png");
    ASSERT_TRUE(page.save(path));

    EXPECT_EQ(right.LegendHeight, 4 * 14 + 2);
    for (int index = 0; index < 3; ++index) {
        for (const QImage* image : {&leftImage, &rightImage, &legendImage})
            EXPECT_GT(CountColour(*image, Palette(index)), 20) << index;
    }
    EXPECT_EQ(QImage(path).size(), page.size());
}
