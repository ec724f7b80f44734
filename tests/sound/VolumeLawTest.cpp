// SPDX-License-Identifier: GPL-3.0-or-later
// The laws that make the program's volume an amplitude on every kind of mixer element.
#include "sound/VolumeLaw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr long Silence = -9999999;

TEST(VolumeLawTest, EveryValueReadsBackAsItself)
{
    struct SCase
    {
        const char* name;
        std::function<long(uint32_t)> toMixer;
        std::function<uint32_t(long)> fromMixer;
        // Hundredths of a decibel allow 0.005 dB either way, 38 at the top of the scale.
        double relativeTolerance;
    };
    const TVolumeLaw pulse(TVolumeLaw::Cubic, 0, 65536);
    const TVolumeLaw linear(TVolumeLaw::Linear, 0, 65535);
    const TVolumeLaw offset(TVolumeLaw::Linear, 1000, 70000);
    const SCase cases[] = {
        {"cubic, sound server", [&](uint32_t v) { return pulse.ToRaw(v); },
         [&](long r) { return pulse.FromRaw(r); }, 0},
        {"linear", [&](uint32_t v) { return linear.ToRaw(v); }, [&](long r) { return linear.FromRaw(r); }, 0},
        {"linear, offset range", [&](uint32_t v) { return offset.ToRaw(v); },
         [&](long r) { return offset.FromRaw(r); }, 0},
        {"decibels", [](uint32_t v) { return TVolumeLaw::ToCentiDb(v, Silence); },
         [](long db) { return TVolumeLaw::FromCentiDb(db, Silence); }, std::pow(10.0, 0.005 / 20) - 1},
    };
    for (const SCase& c : cases) {
        int failures = 0;
        for (uint32_t value = 0; value <= TVolumeLaw::ScaleMaximum && failures < 5; ++value) {
            const uint32_t back = c.fromMixer(c.toMixer(value));
            const double tolerance = 1 + value * c.relativeTolerance;
            if (std::abs(double(back) - double(value)) > tolerance) {
                ADD_FAILURE() << c.name << ": " << value << " reads back as " << back;
                ++failures;
            }
        }
    }
}

TEST(VolumeLawTest, DriverAndDecibelRangeChooseTheLaw)
{
    struct SCase
    {
        bool hasDbRange;
        const char* driver;
        TVolumeLaw::EKind kind;
    };
    const SCase cases[] = {
        {true, "HDA-Intel", TVolumeLaw::Decibel},      {true, "PulseAudio plug", TVolumeLaw::Decibel},
        {false, "PulseAudio plug", TVolumeLaw::Cubic}, {false, "PW plugin", TVolumeLaw::Cubic},
        {false, "USB-Audio", TVolumeLaw::Linear},      {false, "", TVolumeLaw::Linear},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(TVolumeLaw::Of(c.hasDbRange, QString::fromLatin1(c.driver)), c.kind) << c.driver;
}

} // namespace
