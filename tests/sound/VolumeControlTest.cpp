// SPDX-License-Identifier: GPL-3.0-or-later
// The volume controls where there is no mixer, and the device volume that newer systems lack.
#include "LogLines.h"
#include "NullAlsaDevice.h"

#include "log/Log.h"
#include "sound/SoundEngine.h"
#include "sound/VolumeControl.h"
#include "sound/WaveOutVolControl.h"

#include <gtest/gtest.h>

namespace {

class VolumeControlTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { UseNullAlsaDevice(); }
    void TearDown() override { gLog.winVersion = 11; }
};

TEST_F(VolumeControlTest, EveryCallFailsAfterAFailedOpen)
{
    CVolumeControl mixer;
    ASSERT_FALSE(mixer.Open());
    const int muteFailures = LogLinesWith(QStringLiteral("MixerSetControlDetails() failed"));
    for (int line : {CVolumeControl::MasterLine, CVolumeControl::WaveLine}) {
        uint32_t value = 1234;
        EXPECT_FALSE(mixer.GetVolume(value, line));
        EXPECT_EQ(value, 1234u);
        EXPECT_FALSE(mixer.SetVolume(100, line));
        EXPECT_FALSE(mixer.SetVolumeLR(100, 0, line));
        EXPECT_FALSE(mixer.SetMute(false, line));
        uint32_t maximum = 1;
        uint32_t minimum = 1;
        EXPECT_TRUE(mixer.GetRange(maximum, minimum, line));
        EXPECT_EQ(maximum, 0u);
        EXPECT_EQ(minimum, 0u);
    }
    // Nothing was refused by a mixer, so nothing is logged.
    EXPECT_EQ(LogLinesWith(QStringLiteral("MixerSetControlDetails() failed")), muteFailures);
    EXPECT_TRUE(mixer.Close());
}

// The calibration engine, which has no frequencies and no result block either.
TEST_F(VolumeControlTest, EngineWithoutMixerLogsAndGoesOn)
{
    const int openFailures = LogLinesWith(QStringLiteral("SoundEngine.cpp\tVolume control open failed!"));
    const int readFailures = LogLinesWith(QStringLiteral("SoundEngine.cpp\tGetCurrentVolume Error"));
    TSoundEngine engine(STestSettings{.calibrationLevel = 6553});
    EXPECT_EQ(LogLinesWith(QStringLiteral("SoundEngine.cpp\tVolume control open failed!")), openFailures + 1);
    EXPECT_EQ(LogLinesWith(QStringLiteral("SoundEngine.cpp\tGetCurrentVolume Error")), readFailures + 1);
    EXPECT_FALSE(engine.SetOutputVolume(6553, 0));
    EXPECT_EQ(engine.Results, nullptr);
    EXPECT_EQ(engine.LastFreqIndex(), -1);
    EXPECT_TRUE(engine.NextTone(false));
    EXPECT_TRUE(engine.WaveImage().empty());
    EXPECT_EQ(engine.RecordHeard(), 1);
    engine.StepBack();
    engine.CopyLeftToRight();
    engine.GenerateAndPlay(1000, 20, true, 6553, 1);
    EXPECT_EQ(engine.WaveImage().size(), 158804u);
    // Each tone reads the volume back, and cannot.
    EXPECT_EQ(LogLinesWith(QStringLiteral("SoundEngine.cpp\tGetCurrentVolume Error")), readFailures + 2);
}

TEST_F(VolumeControlTest, NewerSystemsHaveNoDeviceVolume)
{
    const int logged = LogLinesWith(QStringLiteral("WaveOutVolControl.cpp"));
    CWaveOutVolControl waveOut;
    uint16_t left = 7;
    uint16_t right = 7;
    EXPECT_TRUE(waveOut.GetVolume(left, right));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 0);
    EXPECT_TRUE(waveOut.SetVolume(100, 200));
    EXPECT_EQ(LogLinesWith(QStringLiteral("WaveOutVolControl.cpp")), logged);
}

TEST_F(VolumeControlTest, OlderSystemsFindTheDeviceWithoutVolumeControl)
{
    gLog.winVersion = 6;
    const QString readText = QStringLiteral(
        "waveOutGetVolume failed,Volume control not supported m_mxCaps.dwSupport=0 WAVECAPS_VOLUME=4");
    const QString changeText = QStringLiteral("waveOutSetVolume failed, device don't support volume change");
    const int reads = LogLinesWith(readText);
    const int changes = LogLinesWith(changeText);
    CWaveOutVolControl waveOut;
    uint16_t left = 0;
    uint16_t right = 0;
    EXPECT_FALSE(waveOut.GetVolume(left, right));
    EXPECT_FALSE(waveOut.SetVolume(100, 200));
    EXPECT_FALSE(waveOut.SetVolume(100, 200));
    EXPECT_EQ(LogLinesWith(readText), reads + 1);
    // The second failure is the same message, counted rather than written again.
    EXPECT_EQ(LogLinesWith(changeText), changes + 1);
    EXPECT_TRUE(waveOut.Open());
    EXPECT_TRUE(waveOut.Close());
    EXPECT_TRUE(waveOut.Close());
}

} // namespace
