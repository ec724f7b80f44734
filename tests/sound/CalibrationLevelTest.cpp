// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/CalibrationLevel.h"

#include <gtest/gtest.h>

TEST(CalibrationLevelTest, DbToVolume)
{
    const std::pair<float, int32_t> cases[] = {
        {0.0f, 65535}, {-20.0f, 6553}, {-40.0f, 655}, {-6.0f, 32845},
        {0.5f, 65535}, {30.0f, 65535}, {-80.0f, 6},   {-200.0f, 0},
    };
    for (const auto& [dB, volume] : cases)
        EXPECT_EQ(DbToVolume(dB), volume) << dB;
}

// The legend's whole decibels are the exact value truncated towards zero.
TEST(CalibrationLevelTest, VolumeToDbAndCalibrationLevelToDb)
{
    struct SCase
    {
        int32_t volume;
        float dB;
        int32_t wholeDb;
    };
    const SCase cases[] = {
        {0, -100.0f, -100},    {-5, -100.0f, -100}, {65535, 0.0f, 0},      {6553, -20.0007f, -20},
        {655, -40.0046f, -40}, {1, -96.3295f, -96}, {32767, -6.0206f, -6}, {65534, -0.0001f, 0},
    };
    for (const SCase& c : cases) {
        EXPECT_NEAR(VolumeToDb(c.volume), c.dB, 1e-3) << c.volume;
        EXPECT_EQ(CalibrationLevelToDb(c.volume), c.wholeDb) << c.volume;
    }
}

TEST(CalibrationLevelTest, AStoredLevelReadsBackAsItsBarPosition)
{
    for (int position = -30; position <= 80; position += 10)
        EXPECT_EQ(static_cast<int>(-VolumeToDb(DbToVolume(float(-position)))), position < 0 ? 0 : position)
            << position;
}
