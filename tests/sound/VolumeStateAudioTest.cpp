// SPDX-License-Identifier: GPL-3.0-or-later
// The user's volume given back at the next start after a run that was killed while it held the
// output, on the private PulseAudio server.
#include "LogLines.h"
#include "PulseMonitor.h"

#include "settings/Options.h"
#include "sound/SoundEngine.h"
#include "sound/VolumeState.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const char* const HolderVariable = "KELVARION_VOLUME_HOLDER_CHILD";

TEST(VolumeStateAudioTest, AStartAfterAKilledRunGivesTheVolumeBack)
{
    qunsetenv("PULSE_SERVER");
    // A balance, which must come back as it was on each side.
    ASSERT_TRUE(RunPactl(
        {QStringLiteral("set-sink-volume"), TestSink, QStringLiteral("40000"), QStringLiteral("30000")}));
    const SSinkVolume before = ReadSinkVolume();
    ASSERT_FALSE(std::isnan(before.left));
    const int givenBackLines = LogLinesWith(QStringLiteral("left by an earlier run was given back"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(HolderVariable), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=VolumeStateAudioTest.ChildHoldsTheVolume")});
    ASSERT_TRUE(child.waitForStarted(5000));
    QByteArray said;
    while (!said.contains("holding") && child.waitForReadyRead(10000))
        said += child.readAllStandardOutput();
    ASSERT_TRUE(said.contains("holding")) << said.toStdString();
    ASSERT_TRUE(QFile::exists(TVolumeState::FilePath()));
    EXPECT_LT(ReadSinkVolume().left, before.left - 5);

    // While the run that holds the volume lives, a second start leaves it alone.
    EXPECT_FALSE(TVolumeState::RestoreLeftOver());
    EXPECT_TRUE(QFile::exists(TVolumeState::FilePath()));

    child.kill();
    ASSERT_TRUE(child.waitForFinished(5000));
    EXPECT_LT(ReadSinkVolume().left, before.left - 5);

    EXPECT_TRUE(TVolumeState::RestoreLeftOver());
    // The server tells the volume a moment after it was set.
    QThread::msleep(200);
    EXPECT_EQ(ReadSinkVolume().rawLeft, 40000);
    EXPECT_EQ(ReadSinkVolume().rawRight, 30000);
    EXPECT_FALSE(QFile::exists(TVolumeState::FilePath()));
    // The child's start kept this run's log, still written to, as the log of the run before.
    EXPECT_EQ(LogLinesWith(QStringLiteral("left by an earlier run was given back"),
                           TAppPaths::ProgramFolder() + QStringLiteral("/Log.old.txt")),
              givenBackLines + 1);
    EXPECT_FALSE(TVolumeState::RestoreLeftOver());
}

TEST(VolumeStateAudioTest, ChildHoldsTheVolume)
{
    if (qEnvironmentVariableIsEmpty(HolderVariable))
        GTEST_SKIP() << "runs only in the child that AStartAfterAKilledRunGivesTheVolumeBack starts";
    TSoundEngine engine(STestSettings{.calibrationLevel = 6553});
    std::fputs("holding\n", stdout);
    std::fflush(stdout);
    QThread::sleep(60);
}

} // namespace
