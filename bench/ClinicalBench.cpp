// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated length of a whole clinical test: the standard audiogram, both ears, a
// normal-hearing listener who presses at random in one interval in twenty. The counters give
// the presentations and minutes of one test; a complete test should take at most 12 minutes.
#include "hearing/SimulatedListener.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ClinicalTestDuration(benchmark::State& state)
{
    STestSettings settings;
    settings.frequencies = {250, 500, 1000, 2000, 3000, 4000, 6000, 8000};
    settings.minLevel = 0.0f;
    settings.maxLevel = 80.0f;
    const SListener listener{[](float, int, int) { return 10.0f; }, 0.05};
    double presentations = 0.0;
    double minutes = 0.0;
    uint32_t seed = 0;
    for (auto _ : state) {
        const SListenerRun run = RunListener(settings, listener, ++seed);
        presentations += run.presentations;
        minutes += run.seconds / 60.0;
    }
    state.counters["presentations"] = benchmark::Counter(presentations, benchmark::Counter::kAvgIterations);
    state.counters["minutes"] = benchmark::Counter(minutes, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClinicalTestDuration)->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace
