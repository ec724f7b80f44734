// SPDX-License-Identifier: GPL-3.0-or-later
// The wave image of a tone and the bookkeeping of a hearing test, played into ALSA's null
// device.
#include "NullAlsaDevice.h"
#include "SignalAnalysis.h"

#include "settings/Options.h"
#include "sound/SoundEngine.h"
#include "sound/WaveImage.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <set>

namespace {

constexpr size_t ImageSize = 158804;
constexpr size_t FrameTotal = 39690;
constexpr size_t FirstToneFrame = 793;
constexpr size_t FirstTailFrame = 26461;
constexpr double Rate = 44100;

class SoundEngineTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { UseNullAlsaDevice(); }

    void SetUp() override
    {
        const STestSettings settings{.frequencies = {1000.0f, 2000.0f, 4000.0f},
                                     .minLevel = 10.0f,
                                     .maxLevel = TSoundEngine::TopLevel,
                                     .signedDelta = 2.0f,
                                     .calibrationLevel = 6553};
        engine = std::make_unique<TSoundEngine>(settings, &results);
    }

    void TearDown() override
    {
        engine.reset();
        delete[] results;
    }

    std::vector<double> Channel(int channel) const
    {
        return ChannelOfImage(engine->WaveImage().data() + TWaveImage::HeaderSize, FrameTotal, channel);
    }

    double PlayedPeak() const { return std::max(Peak(Channel(0)), Peak(Channel(1))); }

    // The last image holds the tone of this level: its loudest sample within one step of the
    // samples, or 0.3 %, of the level's peak.
    void ExpectPlayedLevel(float level) const
    {
        const double expected =
            TSoundEngine::FullScale * std::pow(10.0, (level - TSoundEngine::TopLevel) / 20);
        EXPECT_NEAR(PlayedPeak(), expected, std::max(1.0, expected * 0.003)) << "level " << level;
    }

    float* results = nullptr;
    std::unique_ptr<TSoundEngine> engine;
};

TEST_F(SoundEngineTest, HeaderDescribesTheImage)
{
    engine->GenerateAndPlay(1000, 0, false, 6553, 0);
    const std::vector<uint8_t>& image = engine->WaveImage();
    ASSERT_EQ(image.size(), ImageSize);
    // The sizes that playback reads past; the rest of the header is read back in WaveImageTest.
    for (const auto& [offset, value] : {std::pair{4, 158796u}, {16, 16u}, {40, 158760u}})
        EXPECT_EQ(qFromLittleEndian<uint32_t>(image.data() + offset), value) << "offset " << offset;
}

TEST_F(SoundEngineTest, ToneSoundsOnlyBetweenLeadAndTailInTheChosenChannel)
{
    struct SCase
    {
        int32_t channel;
        bool left;
        bool right;
    };
    for (const SCase& c :
         {SCase{0, true, false}, SCase{1, false, true}, SCase{2, true, true}, SCase{3, true, true}}) {
        engine->GenerateAndPlay(1000, 0, false, 6553, c.channel);
        const std::vector<double> left = Channel(0);
        const std::vector<double> right = Channel(1);
        for (const auto& [samples, sounds] : {std::pair{&left, c.left}, {&right, c.right}}) {
            const SRegion tone = LoudRegion(*samples, 0);
            if (!sounds) {
                EXPECT_TRUE(tone.IsEmpty()) << "channel " << c.channel;
                continue;
            }
            // The Gaussian ramps start and end below one step of the samples.
            EXPECT_GE(tone.begin, FirstToneFrame) << "channel " << c.channel;
            EXPECT_LT(tone.begin, FirstToneFrame + 441) << "channel " << c.channel;
            EXPECT_LE(tone.end, FirstTailFrame) << "channel " << c.channel;
            EXPECT_GT(tone.end, FirstTailFrame - 441) << "channel " << c.channel;
        }
        if (c.left && c.right)
            EXPECT_EQ(left, right) << "channel " << c.channel;
    }
}

TEST_F(SoundEngineTest, PeakFollowsTheAttenuation)
{
    struct SCase
    {
        double attenuation;
        double minimumPeak;
        double maximumPeak;
        bool clipped;
    };
    // Levels above 80 dB would need more than 16 bits: they are clipped to full scale.
    const SCase cases[] = {{0, 32700, 32767, false},
                           {20, 3270, 3277, false},
                           {80, 3, 3, false},
                           {-6, 32767, 32767, true},
                           {-40, 32767, 32767, true}};
    for (const SCase& c : cases) {
        engine->GenerateAndPlay(1000, c.attenuation, false, 6553, 0);
        const std::vector<double> left = Channel(0);
        EXPECT_GE(Peak(left), c.minimumPeak) << "attenuation " << c.attenuation;
        EXPECT_LE(Peak(left), c.maximumPeak) << "attenuation " << c.attenuation;
        if (c.clipped)
            EXPECT_EQ(*std::min_element(left.begin(), left.end()), -TSoundEngine::FullScale);
        // Rounded to the nearest step, the quietest tone (peak 3.28) uses every integer from -3 to 3.
        if (c.attenuation == 80)
            EXPECT_EQ(std::set<double>(left.begin(), left.end()), (std::set<double>{-3, -2, -1, 0, 1, 2, 3}));
    }
}

TEST_F(SoundEngineTest, OnlyTheWarbleToneVariesItsPeriodFiveTimesASecond)
{
    for (bool modulation : {false, true}) {
        engine->GenerateAndPlay(1000, 0, modulation, 6553, 0);
        const std::vector<double> left = Channel(0);
        const std::vector<double> crossings = UpwardCrossings(left, LoudRegion(left, 0.5));
        ASSERT_GT(crossings.size(), 400u);
        // Each period's frequency beside the 5 Hz cosine the modulation should follow.
        double deviationSum = 0;
        double correlation = 0;
        double largestDeviation = 0;
        for (size_t k = 1; k < crossings.size(); ++k) {
            const double frequency = Rate / (crossings[k] - crossings[k - 1]);
            const double t = ((crossings[k] + crossings[k - 1]) / 2 - double(FirstToneFrame)) / Rate;
            const double deviation = frequency / 1000 - 1;
            largestDeviation = std::max(largestDeviation, std::abs(deviation));
            correlation += deviation * std::cos(2 * std::numbers::pi * 5 * t);
            deviationSum += std::abs(deviation);
        }
        if (modulation) {
            EXPECT_NEAR(largestDeviation, 0.05, 0.005);
            EXPECT_GT(correlation / deviationSum, 0.7);
        } else {
            EXPECT_LT(largestDeviation, 0.001);
        }
    }
}

// Level after each NextTone call, or no value where the call reports the range used up.
struct SLevelRun
{
    float lowest;
    float highest;
    float step;
    std::vector<float> levels;
    float levelWhenUsedUp;
};

TEST_F(SoundEngineTest, NextToneWalksTheLevelRange)
{
    auto range = [](float from, float to, float step) {
        std::vector<float> levels;
        for (float level = from; step > 0 ? level <= to : level >= to; level += step)
            levels.push_back(level);
        return levels;
    };
    const SLevelRun runs[] = {
        {0, 80, 2, range(0, 80, 2), 82}, {0, 80, -2, range(80, 0, -2), -2},
        {0, 5, 2, {0, 2, 4}, 6},         {10, 30, -5, {30, 25, 20, 15, 10}, 5},
        {40, 40, 3, {40}, 43},
    };
    for (const SLevelRun& run : runs) {
        engine->SetLevels(run.lowest, run.highest, run.step);
        for (float level : run.levels) {
            ASSERT_FALSE(engine->NextTone(false)) << "level " << level;
            EXPECT_FLOAT_EQ(TSoundEngine::TopLevel - engine->Attenuation, level);
            ExpectPlayedLevel(level);
        }
        const std::vector<uint8_t> lastImage = engine->WaveImage();
        EXPECT_TRUE(engine->NextTone(false)) << "step " << run.step;
        EXPECT_FLOAT_EQ(TSoundEngine::TopLevel - engine->Attenuation, run.levelWhenUsedUp);
        EXPECT_EQ(engine->WaveImage(), lastImage) << "nothing is played past the range";
    }
}

TEST_F(SoundEngineTest, HoldAndResetPlayWithoutMovingTheLevel)
{
    engine->SetLevels(0, 80, 2);
    EXPECT_FALSE(engine->NextTone(false));
    EXPECT_FALSE(engine->NextTone(false));
    EXPECT_FLOAT_EQ(engine->Attenuation, 78);
    EXPECT_FALSE(engine->NextTone(true));
    EXPECT_FLOAT_EQ(engine->Attenuation, 78);
    ExpectPlayedLevel(2);
    engine->SetLevels(70, 80, 2);
    while (!engine->NextTone(false)) {
    }
    // Held beyond the range, the tone still plays, one step above the highest level: clipped.
    EXPECT_FALSE(engine->NextTone(true));
    EXPECT_FLOAT_EQ(engine->Attenuation, -2);
    const std::vector<double> left = Channel(0);
    EXPECT_GT(std::count(left.begin(), left.end(), TSoundEngine::FullScale), 100);
}

TEST_F(SoundEngineTest, RecordHeardMovesThroughFrequenciesAndPasses)
{
    const float frequencies[] = {1000, 2000, 4000};
    engine->SetLevels(0, 80, 2);
    struct SStep
    {
        int tones;
        int answer;
        int ear;
        int freqIndex;
    };
    const SStep steps[] = {{3, 0, 0, 1}, {1, 0, 0, 2}, {5, 1, 1, 0},
                           {2, 0, 1, 1}, {1, 0, 1, 2}, {4, 2, 2, 0}};
    std::vector<std::pair<int, float>> expectedResults;
    for (const SStep& step : steps) {
        const int slot = engine->Ear * 100 + engine->FreqIndex;
        for (int tone = 0; tone < step.tones; ++tone)
            ASSERT_FALSE(engine->NextTone(false));
        const std::vector<double> left = Channel(0);
        EXPECT_NEAR(FrequencyOf(left, LoudRegion(left, 0.5), Rate), frequencies[engine->FreqIndex],
                    frequencies[engine->FreqIndex] * 0.01);
        expectedResults.emplace_back(slot, float(2 * (step.tones - 1)));
        EXPECT_EQ(engine->RecordHeard(), step.answer);
        EXPECT_EQ(engine->Ear, step.ear);
        EXPECT_EQ(engine->FreqIndex, step.freqIndex);
        // Each frequency starts again at the lowest level.
        EXPECT_FLOAT_EQ(engine->Attenuation, 80);
        EXPECT_TRUE(engine->LevelReset);
    }
    for (const auto& [slot, level] : expectedResults)
        EXPECT_FLOAT_EQ(results[slot], level) << "slot " << slot;
    EXPECT_FLOAT_EQ(results[3], 0);
    EXPECT_FLOAT_EQ(results[103], 0);
}

TEST_F(SoundEngineTest, StepBackClearsTheCurrentResultAndGoesBackOneFrequency)
{
    struct SCase
    {
        int32_t soundSourceType;
        int ear;
        int freqIndex;
        int expectedEar;
        int expectedFreqIndex;
    };
    const SCase cases[] = {
        {EarUnderTest, 0, 0, 0, 0}, {EarUnderTest, 0, 2, 0, 1},  {EarUnderTest, 1, 0, 0, 2},
        {EarUnderTest, 1, 1, 1, 0}, {LeftEarphone, 1, 0, 1, 0},  {RightEarphone, 1, 0, 1, 0},
        {LeftEarphone, 0, 0, 0, 0}, {RightEarphone, 1, 2, 1, 1},
    };
    for (const SCase& c : cases) {
        engine->SoundSourceType = c.soundSourceType;
        engine->SetLevels(0, 80, -2);
        engine->NextTone(false);
        engine->NextTone(false);
        engine->Ear = c.ear;
        engine->FreqIndex = c.freqIndex;
        const int slot = c.ear * 100 + c.freqIndex;
        results[slot] = 42;
        engine->StepBack();
        EXPECT_FLOAT_EQ(results[slot], 0) << "slot " << slot;
        EXPECT_EQ(engine->Ear, c.expectedEar) << "slot " << slot;
        EXPECT_EQ(engine->FreqIndex, c.expectedFreqIndex) << "slot " << slot;
        EXPECT_FLOAT_EQ(engine->Attenuation, 0) << "descending tests start at the highest level";
        EXPECT_TRUE(engine->LevelReset);
    }
}

TEST_F(SoundEngineTest, CopyLeftToRightCopiesOnlyTheTestedFrequencies)
{
    for (int i = 0; i < TSoundEngine::ResultCount; ++i)
        results[i] = float(i);
    engine->CopyLeftToRight();
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(results[100 + i], float(i));
    EXPECT_FLOAT_EQ(results[103], 103);
    EXPECT_FLOAT_EQ(results[2], 2);
}

TEST_F(SoundEngineTest, CurrentChannelFollowsTheSoundSource)
{
    struct SCase
    {
        int32_t soundSourceType;
        int32_t ear;
        int32_t channel;
    };
    const SCase cases[] = {{0, 1, 0}, {1, 0, 1}, {2, 0, 0}, {2, 1, 1}, {3, 0, 3}, {4, 1, 0}, {-1, 1, 0}};
    for (const SCase& c : cases) {
        engine->SoundSourceType = c.soundSourceType;
        engine->Ear = c.ear;
        EXPECT_EQ(engine->CurrentChannel(), c.channel) << c.soundSourceType << "/" << c.ear;
    }
}

TEST_F(SoundEngineTest, ConstructionStartsAtLevelTenWithEmptyResults)
{
    EXPECT_TRUE(engine->WaveImage().empty());
    EXPECT_FLOAT_EQ(engine->Attenuation, 70);
    EXPECT_TRUE(engine->LevelReset);
    EXPECT_EQ(std::count(results, results + TSoundEngine::ResultCount, 0.0f), TSoundEngine::ResultCount);
}

TEST(SoundEngineLimits, LongFrequencyListsAreCutToWhatTheResultBlockHolds)
{
    UseNullAlsaDevice();
    QVector<float> frequencies;
    for (int i = 0; i < 150; ++i)
        frequencies.append(float(100 + i));
    float* results = nullptr;
    {
        TSoundEngine engine(STestSettings{.frequencies = frequencies}, &results);
        EXPECT_EQ(engine.LastFreqIndex(), 99);
        engine.SetLevels(50, 50, 2);
        for (int i = 0; i < 100; ++i) {
            engine.NextTone(false);
            EXPECT_EQ(engine.RecordHeard(), i < 99 ? 0 : 1);
        }
        EXPECT_FLOAT_EQ(results[99], 50);
        EXPECT_FLOAT_EQ(results[100], 0);
    }
    delete[] results;
}

} // namespace
