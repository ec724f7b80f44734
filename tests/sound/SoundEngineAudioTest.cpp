// SPDX-License-Identifier: GPL-3.0-or-later
// Tones and volumes through the program's real ALSA path into the private PulseAudio server,
// checked in the recording of its null sink and in the sink's volume.
#include "LogLines.h"
#include "PulseMonitor.h"
#include "SignalAnalysis.h"

#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "settings/Options.h"
#include "sound/SoundEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace {

constexpr int32_t FullVolume = 65535;
constexpr int32_t CalibrationLevel = 6553;
const STestSettings Calibration{.calibrationLevel = CalibrationLevel};
const char* const ChildVariable = "KELVARION_NO_SERVER_CHILD";

struct STone
{
    bool found = false;
    double frequency = 0;
    double rmsDb = 0;
    // The fitted sine's amplitude against full scale.
    double amplitudeDb = 0;
    double otherChannelPeak = 0;
    double seconds = 0;
    size_t longestZeroRun = 0;
};

// A sine crosses zero between samples; only near the lowest levels, at a few steps of amplitude,
// do a few samples round to zero in a row. A sound server's lost cycle is some 60 frames or more.
constexpr size_t LostSamples = 24;

// The sink's volume in dB is 20 log10(v / 65535) for the program's value v, -inf for 0; pactl
// shows it to 0.01 dB.
void ExpectSinkDb(const SSinkVolume& volume, int32_t left, int32_t right, const std::string& what)
{
    for (const auto& [shown, value] : {std::pair{volume.left, left}, {volume.right, right}}) {
        if (value == 0)
            EXPECT_EQ(shown, -std::numeric_limits<double>::infinity()) << what;
        else
            EXPECT_NEAR(shown, Decibels(value / 65535.0), 0.01) << what << ", volume " << value;
    }
}

class SoundEngineAudioTest : public ::testing::Test
{
protected:
    // Only the private server counts, never one the caller's environment names.
    static void SetUpTestSuite() { qunsetenv("PULSE_SERVER"); }

    void SetUp() override
    {
        ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("65536")}));
        ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-mute"), TestSink, QStringLiteral("0")}));
    }

    // Plays one 1000 Hz tone and measures it in the channel it should sound in.
    STone Record(double attenuation, int32_t channel, int32_t soundingChannel, int32_t volume = FullVolume)
    {
        TSoundEngine engine(Calibration);
        TMonitorRecorder recorder;
        if (!recorder.Start())
            return {};
        engine.GenerateAndPlay(1000, attenuation, false, volume, channel);
        recorder.RecordFor(1.2);
        recorder.Stop();
        return Measure(recorder, soundingChannel);
    }

    static STone Measure(const TMonitorRecorder& recorder, int32_t soundingChannel)
    {
        const std::vector<double> sounding = recorder.Channel(soundingChannel);
        const std::vector<double> other = recorder.Channel(1 - soundingChannel);
        STone tone;
        const SRegion region = LoudRegion(sounding, 0.5);
        if (region.Length() < 1000)
            return tone;
        const SRegion middle = region.Middle(0.8);
        tone.found = true;
        tone.frequency = FrequencyOf(sounding, middle, MonitorRate);
        tone.rmsDb = Decibels(Rms(sounding, middle));
        tone.amplitudeDb = Decibels(SineAmplitude(sounding, middle, 1000, MonitorRate));
        tone.otherChannelPeak = Peak(other);
        tone.seconds = double(region.Length()) / MonitorRate;
        tone.longestZeroRun = LongestZeroRun(sounding, region);
        return tone;
    }
};

TEST_F(SoundEngineAudioTest, ToneSoundsAtItsFrequencyInTheChosenChannelOnly)
{
    for (int32_t channel : {0, 1}) {
        const STone tone = Record(0, channel, channel);
        ASSERT_TRUE(tone.found) << "channel " << channel;
        EXPECT_NEAR(tone.frequency, 1000, 1) << "channel " << channel;
        // A full-scale sine has an RMS 3 dB below full scale.
        EXPECT_NEAR(tone.rmsDb, Decibels(32767.0 / 32768 / std::sqrt(2)), 0.1) << "channel " << channel;
        EXPECT_EQ(tone.otherChannelPeak, 0) << "channel " << channel;
        // The part above half the peak lasts most of the 0.582 s tone.
        EXPECT_NEAR(tone.seconds, 0.57, 0.02) << "channel " << channel;
        EXPECT_LT(tone.longestZeroRun, LostSamples) << "channel " << channel;
    }
}

// Attenuation 80 is test level 0 dB, where normal hearing is measured; its peak of 3.28 steps
// leaves the most room for error. At 70 dB (a peak of 10.4 steps) rounding to whole steps itself
// leaves the 1000 Hz tone 0.057 dB low.
TEST_F(SoundEngineAudioTest, EveryLevelSoundsAtItsNominalLevel)
{
    const std::pair<int, double> ladder[] = {{0, 0.05},  {10, 0.05}, {20, 0.05}, {30, 0.05}, {40, 0.05},
                                             {50, 0.05}, {60, 0.05}, {70, 0.06}, {80, 0.5}};
    for (const auto& [attenuation, tolerance] : ladder) {
        const STone tone = Record(attenuation, 3, 0);
        ASSERT_TRUE(tone.found) << "attenuation " << attenuation;
        const double nominal = Decibels(TSoundEngine::FullScale / 32768) - attenuation;
        EXPECT_NEAR(tone.amplitudeDb, nominal, tolerance) << "attenuation " << attenuation;
        EXPECT_LT(tone.longestZeroRun, LostSamples) << "attenuation " << attenuation;
    }
}

// The master volume is an amplitude: a tenth of it is 20 dB, a hundredth 40 dB.
TEST_F(SoundEngineAudioTest, MasterVolumeIsAnAmplitude)
{
    const STone full = Record(0, 3, 0, FullVolume);
    const STone tenth = Record(0, 3, 0, 6553);
    const STone hundredth = Record(0, 3, 0, 655);
    ASSERT_TRUE(full.found && tenth.found && hundredth.found);
    EXPECT_NEAR(full.amplitudeDb - tenth.amplitudeDb, 20.00, 0.05);
    EXPECT_NEAR(full.amplitudeDb - hundredth.amplitudeDb, 40.0, 0.1);
}

TEST_F(SoundEngineAudioTest, OutputVolumeSilencesTheOtherSide)
{
    TSoundEngine engine(Calibration);
    for (int32_t channel : {0, 1, 2, 3}) {
        const int32_t left = channel == 1 ? 0 : CalibrationLevel;
        const int32_t right = channel == 0 ? 0 : CalibrationLevel;
        ASSERT_TRUE(engine.SetOutputVolume(CalibrationLevel, channel));
        ExpectSinkDb(ReadSinkVolume(), left, right, "channel " + std::to_string(channel));
        EXPECT_EQ(engine.CurrentVolume, CalibrationLevel);
        // Another program moves the volume; the same setting again must still take hold. The
        // news of the change reaches the engine's mixer a moment later, as it would between tones.
        ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("30000")}));
        QThread::msleep(300);
        ASSERT_TRUE(engine.SetOutputVolume(CalibrationLevel, channel));
        ExpectSinkDb(ReadSinkVolume(), left, right,
                     "channel " + std::to_string(channel) + " after another program");
    }
    ASSERT_TRUE(engine.SetOutputVolume(FullVolume, 3));
    ExpectSinkDb(ReadSinkVolume(), FullVolume, FullVolume, "full volume");
}

// Another program's volume comes back exactly as it was, per channel: a quarter in amplitude,
// -60 dB (which the program's scale would turn into 6569) and a balance.
TEST_F(SoundEngineAudioTest, EngineHoldsTheVolumeWhileItLivesAndRestoresIt)
{
    const std::pair<long, long> volumes[] = {{41285, 41285}, {6553, 6553}, {40000, 30000}};
    const int openFailures = LogLinesWith(QStringLiteral("Volume control open failed!"));
    for (const auto& [left, right] : volumes) {
        const std::string what = std::to_string(left) + "/" + std::to_string(right);
        ASSERT_TRUE(RunPactl(
            {QStringLiteral("set-sink-volume"), TestSink, QString::number(left), QString::number(right)}));
        ASSERT_TRUE(RunPactl({QStringLiteral("set-sink-mute"), TestSink, QStringLiteral("1")}));
        {
            TSoundEngine engine(Calibration);
            // The server's raw volume is cubic, the program's scale an amplitude.
            EXPECT_NEAR(engine.SavedMixerVolume, 65535 * std::pow(double(std::max(left, right)) / 65536, 3),
                        1)
                << what;
            ExpectSinkDb(ReadSinkVolume(), CalibrationLevel, CalibrationLevel, "calibration level");
            EXPECT_EQ(ReadSinkMute(), false);
            engine.GenerateAndPlay(1000, 40, false, 20000, 1);
            ExpectSinkDb(ReadSinkVolume(), 0, 20000, "tone on the right");
            EXPECT_EQ(engine.CurrentVolume, 20000);
        }
        const SSinkVolume restored = ReadSinkVolume();
        EXPECT_EQ(restored.rawLeft, left) << what;
        EXPECT_EQ(restored.rawRight, right) << what;
    }
    EXPECT_EQ(LogLinesWith(QStringLiteral("Volume control open failed!")), openFailures);
}

TEST_F(SoundEngineAudioTest, MessageBoxIsTwentyDecibelsQuieterThanTheTone)
{
    TSoundEngine engine(Calibration);
    ASSERT_TRUE(engine.SetOutputVolume(CalibrationLevel, 3));
    const SSinkVolume tone = ReadSinkVolume();
    SSinkVolume duringBox;
    TMessageBox::SetHandler([&duringBox](const SMessageRequest& request) {
        EXPECT_EQ(request.text, QStringLiteral("text"));
        EXPECT_EQ(request.caption, QStringLiteral("caption"));
        duringBox = ReadSinkVolume();
        return QMessageBox::No;
    });
    const QMessageBox::StandardButton answer =
        engine.QuietMessageBox(nullptr, QStringLiteral("text"), QStringLiteral("caption"),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Question, false);
    TMessageBox::SetHandler([](const SMessageRequest& request) {
        ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
        return QMessageBox::Ok;
    });
    EXPECT_EQ(answer, QMessageBox::No);
    EXPECT_NEAR(duringBox.left - tone.left, -20, 0.02);
    EXPECT_NEAR(duringBox.right - tone.right, -20, 0.02);
    ExpectSinkDb(ReadSinkVolume(), CalibrationLevel, CalibrationLevel, "after the box");
}

TEST_F(SoundEngineAudioTest, DestroyingTheEngineCutsTheToneShort)
{
    TMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    {
        TSoundEngine engine(Calibration);
        engine.GenerateAndPlay(1000, 0, false, FullVolume, 0);
        // A quarter of a second after the tone started sounding.
        recorder.RecordFor(std::chrono::duration<double>(TAlsaPlayback::Lead).count() + 0.25);
    }
    recorder.RecordFor(0.9);
    recorder.Stop();
    const STone tone = Measure(recorder, 0);
    ASSERT_TRUE(tone.found);
    EXPECT_LT(tone.seconds, 0.45);
}

// Runs a copy of this test program, with its own log, where no PulseAudio server can be
// reached, so that ALSA's "default" device has nothing behind it.
TEST(SoundEngineWithoutServer, LogsTheFailuresAndGoesOn)
{
    QTemporaryDir folder(TAppPaths::ProgramFolder() + QStringLiteral("/no-server-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.filePath(QStringLiteral("none")));
    environment.insert(QStringLiteral("PULSE_SERVER"),
                       QStringLiteral("unix:") + folder.filePath(QStringLiteral("none")));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(folder.path());
    child.start(program, {QStringLiteral("--gtest_filter=SoundEngineWithoutServer.ChildPlaysWithoutServer")});
    ASSERT_TRUE(child.waitForStarted(5000));
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished(1000);
        FAIL() << "the child did not end";
    }
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    const QString log = folder.filePath(QStringLiteral("Log.txt"));
    EXPECT_EQ(LogLinesWith(QStringLiteral("SoundEngine.cpp\tVolume control open failed!"), log), 1);
    // The mixer says which call failed.
    EXPECT_EQ(LogLinesWith(QStringLiteral("VolumeControl.cpp\tsnd_hctl_open failed, Error=(0x"), log), 1);
    // Two tones, two refusals; each of the three with the system's error text.
    EXPECT_EQ(LogLinesWith(QStringLiteral("SoundEngine.cpp\tError=(0x"), log), 2);
    EXPECT_EQ(LogLinesWith(QStringLiteral("Message: "), log), 3);
}

TEST(SoundEngineWithoutServer, ChildPlaysWithoutServer)
{
    if (qEnvironmentVariableIsEmpty(ChildVariable))
        GTEST_SKIP() << "runs only in the child that LogsTheFailuresAndGoesOn starts";
    float* results = nullptr;
    {
        TSoundEngine engine(STestSettings{.frequencies = {1000.0f},
                                          .minLevel = 10.0f,
                                          .maxLevel = TSoundEngine::TopLevel,
                                          .signedDelta = 2.0f,
                                          .calibrationLevel = CalibrationLevel},
                            &results);
        EXPECT_FALSE(engine.SetOutputVolume(CalibrationLevel, 0));
        EXPECT_FALSE(engine.NextTone(false));
        engine.GenerateAndPlay(2000, 10, true, CalibrationLevel, 3);
        EXPECT_EQ(engine.WaveImage().size(), 158804u);
        EXPECT_EQ(engine.RecordHeard(), 1);
    }
    EXPECT_FLOAT_EQ(results[0], 10);
    delete[] results;
}

} // namespace
