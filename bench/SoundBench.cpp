// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesis of one 0.9 s tone image, beside a loop that only writes the same samples: the
// memory floor that no synthesis can go below.
#include "sound/SoundEngine.h"
#include "sound/WaveImage.h"

#include <QtEndian>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<uint8_t> SampleArea()
{
    return std::vector<uint8_t>(TSoundEngine::FrameCount(TSoundEngine::ToneDuration, TWaveImage::SampleRate) *
                                    TWaveImage::Channels * sizeof(int16_t),
                                0);
}

void BM_SynthesizeTone(benchmark::State& state)
{
    const bool modulation = state.range(0) != 0;
    std::vector<uint8_t> samples = SampleArea();
    for (auto _ : state) {
        TSoundEngine::Synthesize(samples.data(), 1000, TSoundEngine::FullScale, 20,
                                 TSoundEngine::ToneDuration, TWaveImage::SampleRate, modulation, 3);
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(modulation ? "warble" : "pure");
}
BENCHMARK(BM_SynthesizeTone)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FillToneFrames(benchmark::State& state)
{
    std::vector<uint8_t> samples = SampleArea();
    const size_t frames = samples.size() / 4;
    int16_t value = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < frames; ++i) {
            qToLittleEndian<int16_t>(value, samples.data() + i * 4);
            qToLittleEndian<int16_t>(value, samples.data() + i * 4 + 2);
            ++value;
        }
        benchmark::DoNotOptimize(samples.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillToneFrames)->Unit(benchmark::kMicrosecond);

} // namespace
