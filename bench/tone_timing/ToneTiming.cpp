// SPDX-License-Identifier: GPL-3.0-or-later
// How evenly the tones of a hearing test sound: the engine plays 20 rising tones from a
// 1000 ms timer into a private sound server (started by bench/tone_timing.sh), while the
// monitor of its sink is recorded. Each tone's onset is found in the recording, and the spacing
// of the onsets is reported, and so are tones that lost samples. By default the tones come as
// the test window plays them, all on one side; with "alternating" 80 tones change sides every
// tone, as the calibration window can.
#include "PulseMonitor.h"
#include "SignalAnalysis.h"

#include "settings/Options.h"
#include "settings/TestSettings.h"
#include "sound/SoundEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr int IntervalMs = 1000;
// Levels 42, 44, ... 80: twenty tones, then the range is used up.
constexpr float LowestLevel = 42;
constexpr float HighestLevel = 80;
constexpr float LevelStep = 2;
constexpr size_t AlternatingToneCount = 80;
// Silence longer than this separates two tones.
constexpr size_t GapFrames = size_t(MonitorRate / 10);
// Exact zeros in a row, above half the tone's peak, that only lost samples explain.
constexpr size_t LostFrames = 24;

struct SStatistics
{
    double mean = 0;
    double std = 0;
    double maxDeviation = 0;
};

// Mean and sample standard deviation of the intervals, and the largest distance of one
// interval from the nominal 1000 ms.
SStatistics Describe(const std::vector<double>& times)
{
    SStatistics statistics;
    const size_t count = times.size() - 1;
    for (size_t i = 1; i < times.size(); ++i)
        statistics.mean += (times[i] - times[i - 1]) / double(count);
    for (size_t i = 1; i < times.size(); ++i) {
        const double interval = times[i] - times[i - 1];
        statistics.std += (interval - statistics.mean) * (interval - statistics.mean) / double(count - 1);
        statistics.maxDeviation = std::max(statistics.maxDeviation, std::abs(interval - IntervalMs));
    }
    statistics.std = std::sqrt(statistics.std);
    return statistics;
}

struct STones
{
    std::vector<double> onsets;
    size_t interrupted = 0;
};

// The onset of each tone in milliseconds: where it first reaches half of its own peak, which
// with the Gaussian ramp lies 8.3 ms after the tone starts, at every level alike.
STones FindTones(const std::vector<double>& samples)
{
    STones tones;
    size_t i = 0;
    while (i < samples.size()) {
        while (i < samples.size() && samples[i] == 0)
            ++i;
        if (i == samples.size())
            break;
        const size_t begin = i;
        size_t silent = 0;
        double peak = 0;
        for (; i < samples.size() && silent < GapFrames; ++i) {
            silent = samples[i] == 0 ? silent + 1 : 0;
            peak = std::max(peak, std::abs(samples[i]));
        }
        size_t onset = begin;
        while (std::abs(samples[onset]) < peak / 2)
            ++onset;
        size_t end = i;
        while (std::abs(samples[end - 1]) < peak / 2)
            --end;
        tones.onsets.push_back(double(onset) * 1000 / MonitorRate);
        if (LongestZeroRun(samples, {onset, end}) >= LostFrames)
            ++tones.interrupted;
    }
    return tones;
}

// The calibration window's way: a tone on the chosen side, the side changed every tone.
bool PlayOnChangingSides(TSoundEngine& engine, size_t tone)
{
    if (tone > AlternatingToneCount)
        return false;
    engine.GenerateAndPlay(1000, TSoundEngine::TopLevel - LowestLevel, false,
                           gOptions.DefaultCalibrationLevel, int32_t(tone % 2));
    return true;
}

void Print(const char* what, const std::vector<double>& times)
{
    if (times.size() < 3) {
        std::printf("%s: too few (%zu) to measure\n", what, times.size());
        return;
    }
    const SStatistics s = Describe(times);
    std::printf("%s: interval mean %.2f ms, std %.2f ms, max deviation %.2f ms over %zu tones\n", what,
                s.mean, s.std, s.maxDeviation, times.size());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const bool alternating = argc > 1 && std::strcmp(argv[1], "alternating") == 0;
    TMonitorRecorder recorder;
    if (!recorder.Start()) {
        std::fprintf(stderr, "parec does not record the monitor of %s\n", qPrintable(TestSink));
        return 1;
    }
    float* results = nullptr;
    STestSettings settings = CurrentCalibrationSettings(gOptions);
    settings.frequencies = {1000.0f};
    auto engine = std::make_unique<TSoundEngine>(settings, &results);
    engine->SetLevels(LowestLevel, HighestLevel, LevelStep);

    std::vector<double> ticks;
    // How long the engine took to start each tone.
    std::vector<double> calls;
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(IntervalMs);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ticks.push_back(double(clock.nsecsElapsed()) / 1e6);
        const bool played =
            alternating ? PlayOnChangingSides(*engine, ticks.size()) : !engine->NextTone(false);
        calls.push_back(double(clock.nsecsElapsed()) / 1e6 - ticks.back());
        if (played)
            return;
        calls.pop_back();
        ticks.pop_back();
        timer.stop();
        QCoreApplication::quit();
    });
    timer.start();
    application.exec();
    recorder.RecordFor(1.0);
    recorder.Stop();
    engine.reset();
    delete[] results;

    // Either side's tone counts where it sounds.
    std::vector<double> loudest = recorder.Channel(0);
    const std::vector<double> right = recorder.Channel(1);
    for (size_t i = 0; i < loudest.size(); ++i)
        loudest[i] = std::max(std::abs(loudest[i]), std::abs(right[i]));
    const STones tones = FindTones(loudest);
    std::printf("%s:\n", alternating ? "sides alternating" : "one side");
    Print("timer ticks", ticks);
    Print("tone onsets", tones.onsets);
    std::printf("tones that lost samples: %zu of %zu\n", tones.interrupted, tones.onsets.size());
    if (!calls.empty())
        std::printf("engine calls: mean %.2f ms, max %.2f ms\n",
                    std::accumulate(calls.begin(), calls.end(), 0.0) / double(calls.size()),
                    *std::max_element(calls.begin(), calls.end()));
    return tones.onsets.size() == ticks.size() && tones.interrupted == 0 ? 0 : 1;
}
