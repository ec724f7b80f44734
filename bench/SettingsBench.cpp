// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a pasted frequency list of many items: the time should grow with the list's length.
#include "settings/Options.h"

#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

void BM_ParseFreqList(benchmark::State& state)
{
    const QString text = QStringList(state.range(0), QStringLiteral("1000")).join(QLatin1Char(','));
    QVector<float> list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(gOptions.ParseFreqList(text, list));
        benchmark::DoNotOptimize(list.data());
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_ParseFreqList)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
