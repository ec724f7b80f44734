// SPDX-License-Identifier: GPL-3.0-or-later
// A whole hearing test and a calibration through the real windows and their real timers, played
// into the private PulseAudio server and checked in the recording of its null sink.
#include "sound/PulseMonitor.h"
#include "sound/SignalAnalysis.h"

#include "data/DataEngine.h"
#include "data/DataEngineFixture.h"
#include "hearing/CalibrationForm.h"
#include "hearing/TestForm.h"
#include "hearing/TestProcedure.h"
#include "lang/Lang.h"
#include "settings/Options.h"
#include "settings/TestSettings.h"
#include "shell/WindowSet.h"
#include "sound/SoundEngine.h"
#include "support/MessageRecorder.h"
#include "support/ScopedTestSettings.h"
#include "widgets/LabeledEdit.h"
#include "widgets/RadioGroup.h"
#include "widgets/UpDown.h"

#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

struct SHeardTone
{
    int channel = -1;
    double frequency = 0;
    double rmsDb = 0;
    double otherChannelPeak = 0;
    double startSeconds = 0;
};

// Every tone of a recording in order: a run of sound with no more than 50 ms of silence inside,
// at least 0.3 s long.
std::vector<SHeardTone> TonesIn(const TMonitorRecorder& recorder)
{
    const std::vector<double> channels[] = {recorder.Channel(0), recorder.Channel(1)};
    const auto gap = size_t(0.05 * MonitorRate);
    std::vector<SRegion> regions;
    for (size_t i = 0; i < channels[0].size(); ++i) {
        if (channels[0][i] == 0 && channels[1][i] == 0)
            continue;
        if (regions.empty() || i > regions.back().end + gap)
            regions.push_back({i, i + 1});
        regions.back().end = i + 1;
    }
    std::vector<SHeardTone> tones;
    for (const SRegion& region : regions) {
        if (region.Length() < size_t(0.3 * MonitorRate))
            continue;
        const SRegion middle = region.Middle(0.8);
        SHeardTone tone;
        tone.startSeconds = double(region.begin) / MonitorRate;
        tone.channel = Rms(channels[0], middle) > Rms(channels[1], middle) ? 0 : 1;
        const std::vector<double>& sounding = channels[tone.channel];
        tone.frequency = FrequencyOf(sounding, middle, MonitorRate);
        tone.rmsDb = Decibels(Rms(sounding, middle));
        const std::vector<double>& other = channels[1 - tone.channel];
        tone.otherChannelPeak =
            Peak(std::vector<double>(other.begin() + long(region.begin), other.begin() + long(region.end)));
        tones.push_back(tone);
    }
    return tones;
}

// A sine at this test level, full master volume: its RMS in the float recording.
double ExpectedRmsDb(double level)
{
    return Decibels(TSoundEngine::FullScale * std::pow(10.0, (level - TSoundEngine::TopLevel) / 20) / 32768 /
                    std::sqrt(2.0));
}

class TestWindowsAudioTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { qunsetenv("PULSE_SERVER"); }

    void SetUp() override
    {
        gLang.ChangeLangSym(QStringLiteral("en"));
        ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("65536")}));
        ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-mute"), TestSink, QStringLiteral("0")}));
    }

    TDataFolder folder;
    // Full master volume, without warble.
    const STestSettings calibrated{.calibrationLevel = 65535, .calibrationDesc = QStringLiteral("test sink")};
    const TScopedTestSettings settings{calibrated};
};

TEST_F(TestWindowsAudioTest, ATestAnsweredAtChosenThresholdsRecordsExactlyThoseThresholds)
{
    STestSettings test = calibrated;
    test.frequencies = {1000.0f, 2000.0f};
    test.minLevel = 40.0f;
    test.maxLevel = 80.0f;
    test.signedDelta = 10.0f;
    test.soundSourceType = EarUnderTest;
    const TScopedTestSettings testSettings(test);
    // Per ear and frequency the level at which the person answers; 0: never, so that the
    // frequency ends one step past the highest level.
    const float thresholds[2][2] = {{60, 50}, {40, 0}};

    const TWindowSet windows;
    TTestForm* form = windows.Test();
    form->show();
    form->findChild<TLabeledEdit*>(QStringLiteral("NameLEdit"))->SetText(QStringLiteral("Ola"));
    // The person listens to each tone as it starts and answers at the threshold.
    QObject::connect(form->findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout, form,
                     [form, &thresholds] {
                         const TTestProcedure& test = form->Procedure();
                         if (test.State() != TTestProcedure::TState::Running || test.Engine->LevelReset)
                             return;
                         if (test.Level() == thresholds[test.Engine->Ear][test.Engine->FreqIndex])
                             form->NextFreqClick();
                     });
    TMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("ButtonStart")), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([form] { return !form->isVisible(); }, 30000));
    recorder.RecordFor(0.5);
    recorder.Stop();

    ASSERT_EQ(DataEngine->DataCount(), 1);
    const SData* record = DataEngine->datas[0].get();
    ASSERT_EQ(DataEngine->PointCount(record), 2);
    EXPECT_EQ(DataEngine->PointAt(record, 0), (SDataPoint{1000, 60, 40, 10, 10}));
    EXPECT_EQ(DataEngine->PointAt(record, 1), (SDataPoint{2000, 50, 90, 10, 10}));

    struct SExpected
    {
        int channel;
        double frequency;
        double level;
    };
    const SExpected expected[] = {
        {0, 1000, 40}, {0, 1000, 50}, {0, 1000, 60}, {0, 2000, 40}, {0, 2000, 50}, {1, 1000, 40},
        {1, 2000, 40}, {1, 2000, 50}, {1, 2000, 60}, {1, 2000, 70}, {1, 2000, 80},
    };
    const std::vector<SHeardTone> tones = TonesIn(recorder);
    ASSERT_EQ(tones.size(), std::size(expected));
    for (size_t i = 0; i < tones.size(); ++i) {
        EXPECT_EQ(tones[i].channel, expected[i].channel) << "tone " << i;
        EXPECT_NEAR(tones[i].frequency, expected[i].frequency, expected[i].frequency * 0.002) << "tone " << i;
        EXPECT_NEAR(tones[i].rmsDb, ExpectedRmsDb(expected[i].level), 0.2) << "tone " << i;
        EXPECT_EQ(tones[i].otherChannelPeak, 0) << "tone " << i;
    }
}

TEST_F(TestWindowsAudioTest, AClinicalTestStepsDownTenAndUpFiveAtIrregularOnsetsToTheChosenThresholds)
{
    STestSettings test = calibrated;
    test.frequencies = {2000.0f, 4000.0f};
    test.minLevel = 30.0f;
    test.maxLevel = 80.0f;
    test.soundSourceType = BothEarphones;
    test.algorithm = ClinicalLevels;
    const TScopedTestSettings testSettings(test);
    const auto threshold = [](float frequency) { return frequency == 2000 ? 40.0f : 45.0f; };

    const TWindowSet windows;
    TTestForm* form = windows.Test();
    form->show();
    form->findChild<TLabeledEdit*>(QStringLiteral("NameLEdit"))->SetText(QStringLiteral("Ola"));
    // The person answers a reaction time after each onset at or above the threshold; one that
    // was silent makes that answer a false alarm.
    QObject::connect(form->findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout, form,
                     [form, threshold] {
                         const TTestProcedure& test = form->Procedure();
                         if (test.State() == TTestProcedure::TState::Running &&
                             test.Level() >= threshold(test.Frequency()))
                             QTimer::singleShot(400, form, [form] { form->NextFreqClick(); });
                     });
    TMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("ButtonStart")), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([form] { return !form->isVisible(); }, 150000));
    recorder.RecordFor(0.5);
    recorder.Stop();

    ASSERT_EQ(DataEngine->DataCount(), 1);
    const SData* record = DataEngine->datas[0].get();
    ASSERT_EQ(DataEngine->PointCount(record), 2);
    EXPECT_EQ(DataEngine->PointAt(record, 0), (SDataPoint{2000, 40, 40, 10, 10}));
    EXPECT_EQ(DataEngine->PointAt(record, 1), (SDataPoint{4000, 45, 45, 10, 10}));
    EXPECT_EQ(record->procedure, QStringLiteral("clinical"));

    // Familiarisation at 2000 Hz, then each search: down 10 after an answer, up 5 after a miss.
    const double levels[] = {40, 30, 40, 40, 30, 35, 40, 30, 35, 40, 60, 50, 40, 45, 35, 40, 45};
    const std::vector<SHeardTone> tones = TonesIn(recorder);
    ASSERT_EQ(tones.size(), std::size(levels));
    EXPECT_EQ(record->leftReliability.presentations, int32_t(tones.size()));
    EXPECT_LE(record->leftReliability.falseAlarms, record->leftReliability.catchTrials);
    std::vector<double> gaps;
    for (size_t i = 0; i < tones.size(); ++i) {
        EXPECT_NEAR(tones[i].frequency, i < 10 ? 2000 : 4000, 8) << "tone " << i;
        EXPECT_NEAR(tones[i].rmsDb, ExpectedRmsDb(levels[i]), 0.2) << "tone " << i;
        if (i > 0)
            gaps.push_back(tones[i].startSeconds - tones[i - 1].startSeconds);
    }
    // Two to four seconds apart, or a multiple across silent catch trials, and never in a rhythm.
    const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
    EXPECT_GE(*shortest, 1.95);
    EXPECT_LE(*longest, 4.05 * (record->leftReliability.catchTrials + 1));
    EXPECT_GT(*longest - *shortest, 0.1);
}

// Stops or starts the private server this run plays on, the way the test run does.
bool SoundServer(const char* action)
{
    const QString script = QStringLiteral(KELVARION_SOURCE_DIR "/scripts/%1-test-server.sh")
                               .arg(qEnvironmentVariable("KELVARION_TEST_SERVER"));
    QProcess process;
    process.start(QStringLiteral("bash"), {script, QLatin1String(action),
                                           qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/..")});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

TEST_F(TestWindowsAudioTest, SoundThatGoesAwayHoldsTheTestUntilItIsBackAtTheCalibratedVolume)
{
    const STestSettings test{.frequencies = {1000.0f, 2000.0f},
                             .maxLevel = 80.0f,
                             .signedDelta = 10.0f,
                             .soundSourceType = BothEarphones,
                             .calibrationLevel = 6553};
    ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("50%")}));
    const SSinkVolume found = ReadSinkVolume();

    TTestProcedure procedure;
    procedure.Open(test);
    ASSERT_EQ(procedure.Start(true), TTestProcedure::TNext::Nothing);
    ASSERT_EQ(procedure.Tick(), TTestProcedure::TNext::ShowPosition);
    ASSERT_TRUE(SoundServer("stop"));
    // The tone under way when the server went may still count as played; the next one cannot.
    TTestProcedure::TNext next = procedure.Tick();
    if (next == TTestProcedure::TNext::ShowPosition)
        next = procedure.Tick();
    EXPECT_EQ(next, TTestProcedure::TNext::TellSoundLost);
    EXPECT_EQ(procedure.State(), TTestProcedure::TState::SoundLost);
    EXPECT_FALSE(procedure.TimerOn());
    const float level = procedure.Level();

    ASSERT_TRUE(SoundServer("start"));
    ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("65536")}));
    EXPECT_EQ(procedure.Start(true), TTestProcedure::TNext::Nothing);
    EXPECT_EQ(procedure.Tick(), TTestProcedure::TNext::ShowPosition);
    EXPECT_EQ(procedure.Level(), level) << "the tone that could not sound comes again";
    EXPECT_EQ(procedure.FrequencyNumber(), 1);
    const SSinkVolume tone = ReadSinkVolume();
    EXPECT_NEAR(tone.left, -20, 0.1);
    EXPECT_NEAR(tone.right, -20, 0.1);
    procedure.Close();
    const SSinkVolume restored = ReadSinkVolume();
    EXPECT_NEAR(restored.left, found.left, 0.1);
    EXPECT_NEAR(restored.right, found.right, 0.1);
}

TEST_F(TestWindowsAudioTest, CalibrationSoundsTheChosenToneAndCancelGivesTheVolumeBack)
{
    // Another program's volume of a quarter in amplitude.
    ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("0.25")}));
    const SSinkVolume found = ReadSinkVolume();
    const TWindowSet windows;
    TCalibrationForm* form = windows.Calibration();
    TMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    form->show();
    // Muted at first: the ticks play nothing. The window's timer runs in the event loop, which
    // also collects the recording.
    QTest::qWait(1500);
    EXPECT_TRUE(TonesIn(recorder).empty());

    for (int click = 0; click < 2; ++click)
        QTest::mouseClick(form->findChild<TUpDown*>(QStringLiteral("iFreqUpDown"))->UpButton(),
                          Qt::LeftButton);
    form->findChild<TRadioGroup*>(QStringLiteral("iChanelRadioGroup"))->SetItemIndex(1);
    form->findChild<QSlider*>(QStringLiteral("iVolumeBar"))->setValue(-30);
    QTest::qWait(2200);
    // Full master volume on the chosen side only.
    const SSinkVolume sounding = ReadSinkVolume();
    EXPECT_EQ(sounding.left, -std::numeric_limits<double>::infinity());
    EXPECT_NEAR(sounding.right, 0, 0.01);
    recorder.Stop();
    const std::vector<SHeardTone> tones = TonesIn(recorder);
    ASSERT_FALSE(tones.empty());
    EXPECT_EQ(tones[0].channel, 1);
    EXPECT_NEAR(tones[0].frequency, 2000, 4);
    // The top of the bar: full master volume and a tone 30 dB above test level 10.
    EXPECT_NEAR(tones[0].rmsDb, ExpectedRmsDb(40), 0.2);
    EXPECT_EQ(tones[0].otherChannelPeak, 0);

    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("AnalujButton")), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    const SSinkVolume restored = ReadSinkVolume();
    EXPECT_EQ(restored.left, found.left);
    EXPECT_EQ(restored.right, found.right);
    EXPECT_EQ(gOptions.DefaultCalibrationLevel, 65535);
}

} // namespace
