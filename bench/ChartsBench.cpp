// SPDX-License-Identifier: GPL-3.0-or-later
// Redrawing both audiograms and the legend, against the floor of only filling the same
// bitmaps with the background colour.
#include "charts/Graph.h"
#include "data/Data.h"
#include "lang/Lang.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>
#include <vector>

namespace {

const QColor SkyBlue(166, 202, 240);

// The main window's charts and legend holding `count` measurements of 11 frequencies each.
struct SChartSet
{
    explicit SChartSet(int count)
        : leftImage(320, 320, QImage::Format_RGB32), rightImage(320, 320, QImage::Format_RGB32),
          legendImage(630, 50, QImage::Format_RGB32), left(std::make_unique<TGraph>(&leftImage, 1.0f)),
          right(std::make_unique<TGraph>(&rightImage, 1.0f))
    {
        static const float frequencies[] = {125, 250, 500, 750, 1000, 1500, 2000, 3000, 4000, 6000, 8000};
        // The legend's texts come from the language file, as in the program.
        gLang.ChangeLangSym(QStringLiteral("en"));
        right->SetLegendTarget(&legendImage);
        left->BackgroundColour = SkyBlue;
        right->BackgroundColour = SkyBlue;
        measurements.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            SData& data = measurements[size_t(i)];
            data.name = QStringLiteral("Patient %1").arg(i);
            data.surname = QStringLiteral("Surname");
            data.born_date = TDateTime(25000.0 + i);
            data.session_date = TDateTime(46000.5 + i);
            data.calibration_level = 6553;
            for (int f = 0; f < 11; ++f) {
                const float level = float((i * 7 + f * 13) % 90);
                data.points.append({frequencies[f], level, level + 5, 0, 0});
            }
            const int index = left->AddSeries(&data);
            right->AddSeries(&data);
            for (const SDataPoint& row : data.points) {
                left->AddSeriesPoint(index, row.freq, row.left);
                right->AddSeriesPoint(index, row.freq, row.right);
            }
        }
    }

    QImage leftImage;
    QImage rightImage;
    QImage legendImage;
    std::vector<SData> measurements;
    std::unique_ptr<TGraph> left;
    std::unique_ptr<TGraph> right;
};

void BM_RedrawChartsAndLegend(benchmark::State& state)
{
    SChartSet set(int(state.range(0)));
    for (auto _ : state) {
        set.left->Draw();
        set.right->Draw();
        set.right->DrawLegend();
        benchmark::DoNotOptimize(set.legendImage.constBits());
    }
}

void BM_RedrawChartsOnly(benchmark::State& state)
{
    SChartSet set(int(state.range(0)));
    for (auto _ : state) {
        set.left->Draw();
        set.right->Draw();
        benchmark::DoNotOptimize(set.rightImage.constBits());
    }
}

void BM_RedrawLegendOnly(benchmark::State& state)
{
    SChartSet set(int(state.range(0)));
    for (auto _ : state) {
        set.right->DrawLegend();
        benchmark::DoNotOptimize(set.legendImage.constBits());
    }
}

void BM_BuildLegendTable(benchmark::State& state)
{
    SChartSet set(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(set.right->BuildLegendTable());
}

// The floor: the same three bitmaps, the legend at the size its table needs, only filled.
void BM_BackgroundFillFloor(benchmark::State& state)
{
    SChartSet set(int(state.range(0)));
    set.right->DrawLegend();
    for (auto _ : state) {
        set.leftImage.fill(SkyBlue);
        set.rightImage.fill(SkyBlue);
        set.legendImage.fill(SkyBlue);
        benchmark::DoNotOptimize(set.legendImage.constBits());
    }
}

} // namespace

BENCHMARK(BM_RedrawChartsAndLegend)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawChartsOnly)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawLegendOnly)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildLegendTable)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackgroundFillFloor)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
