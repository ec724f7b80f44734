// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartProbe.h"

#include "data/Data.h"
#include "lang/Lang.h"
#include "platform/AppPaths.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

SData Measurement(const char* name, const QDate& born, const QDateTime& session, QVector<SDataPoint> rows)
{
    SData data;
    data.name = QLatin1String(name);
    data.surname = QStringLiteral("0");
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
    const QDate day(2026, 3, 2);
    std::vector<SData> measurements = {
        Measurement(
            "Anna", QDate(1984, 2, 11), QDateTime(day, QTime(9, 15)),
            {{125, 10, 15}, {250, 10, 10}, {500, 5, 10}, {1000, 10, 5}, {4000, 20, 25}, {8000, 25, 30}}),
        Measurement(
            "Jan", QDate(1951, 7, 30), QDateTime(day, QTime(10, 40)),
            {{125, 20, 25, 10, 10}, {500, 30, 35, 10, 10}, {2000, 55, 60, 10, 10}, {8000, 80, 85, 10, 10}}),
        Measurement("Ewa", QDate(2001, 12, 5), QDateTime(day.addDays(1), QTime(14, 5)),
                    {{250, 0, 5}, {1000, 45, 0}, {3000, 50, 10}, {6000, 60, 15}}),
    };
    measurements[1].remarks = QStringLiteral("noise-induced loss");

    QImage leftImage(320, 320, QImage::Format_RGB32);
    QImage rightImage(320, 320, QImage::Format_RGB32);
    QImage legendImage(630, 50, QImage::Format_RGB32);
    TGraph left(&leftImage, 1.0f);
    TGraph right(&rightImage, 1.0f);
    right.SetLegendTarget(&legendImage);
    left.BackgroundColour = right.BackgroundColour = SkyBlue;
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
    page.fill(SkyBlue);
    QPainter painter(&page);
    painter.drawImage(1, 1, leftImage);
    painter.drawImage(331, 1, rightImage);
    painter.drawImage(1, 331, legendImage);
    painter.end();
    ASSERT_TRUE(page.save(TAppPaths::ProgramFolder() + QStringLiteral("/AudiogramExample.png")));

    EXPECT_EQ(right.LegendHeight, 4 * 14 + 2);
    for (int index = 0; index < 3; ++index) {
        for (const QImage* image : {&leftImage, &rightImage, &legendImage})
            EXPECT_GT(CountColour(*image, Palette(index)), 20) << index;
    }
}
