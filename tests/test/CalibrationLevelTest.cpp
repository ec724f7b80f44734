#include "test/CalibrationLevel.h"

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

TEST(CalibrationLevelTest, VolumeToDb)
{
    const std::pair<int32_t, float> cases[] = {
        {0, -100.0f}, {-5, -100.0f}, {65535, 0.0f}, {6553, -20.0007f}, {655, -40.0046f}, {1, -96.3295f},
    };
    for (const auto& [volume, dB] : cases)
        EXPECT_NEAR(VolumeToDb(volume), dB, 1e-3) << volume;
}

TEST(CalibrationLevelTest, CalibrationLevelToDbTruncatesTowardsZero)
{
    const std::pair<int32_t, int32_t> cases[] = {
        {0, -100}, {-1, -100}, {65535, 0}, {6553, -20}, {655, -40}, {1, -96}, {32767, -6}, {65534, 0},
    };
    for (const auto& [volume, dB] : cases)
        EXPECT_EQ(CalibrationLevelToDb(volume), dB) << volume;
}

TEST(CalibrationLevelTest, AStoredLevelReadsBackAsItsBarPosition)
{
    for (int position = -30; position <= 80; position += 10)
        EXPECT_EQ(static_cast<int>(-VolumeToDb(DbToVolume(float(-position)))), position < 0 ? 0 : position)
            << position;
}
