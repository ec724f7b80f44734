// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

// A later start hands its files, or none, to the running program and does not hold the folder.
TEST(SingleInstance, ALaterStartHandsItsFilesToTheRunningOne)
{
    QTemporaryDir settings;
    TSingleInstance running(settings.path());
    ASSERT_TRUE(running.IsFirst());
    QSignalSpy handed(&running, &TSingleInstance::filesHandedOver);
    const QStringList lists[] = {{QStringLiteral("/data/jan kowalski.aud"), QStringLiteral("/data/ref.aur")},
                                 {}};
    for (const QStringList& files : lists) {
        EXPECT_TRUE(TSingleInstance::HeldElsewhere(settings.path()));
        const TSingleInstance later(settings.path());
        EXPECT_FALSE(later.IsFirst());
        ASSERT_TRUE(later.HandOver(files, 5000));
        ASSERT_TRUE(handed.wait(5000));
        EXPECT_EQ(handed.takeFirst().at(0).toStringList(), files);
    }
    QTemporaryDir otherSettings;
    EXPECT_FALSE(TSingleInstance::HeldElsewhere(otherSettings.path()));
    EXPECT_TRUE(TSingleInstance(otherSettings.path()).IsFirst());
}

TEST(SingleInstance, TheLockOfAKilledRunIsTakenOver)
{
    QTemporaryDir settings;
    const pid_t killed = fork();
    if (killed == 0) {
        // Ends without giving the lock back, as a killed run does.
        QLockFile lock(settings.filePath(QStringLiteral("kelvarion.lock")));
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFileInfo::exists(settings.filePath(QStringLiteral("kelvarion.lock"))));
    const TSingleInstance next(settings.path());
    EXPECT_TRUE(next.IsFirst());
    EXPECT_FALSE(TSingleInstance(settings.path()).IsFirst());
}

// A list the running program could not take in time, cut off part way, opens nothing: its last
// name could be half a name.
TEST(SingleInstance, AListCutOffOpensNothing)
{
    QTemporaryDir settings;
    TSingleInstance running(settings.path());
    QSignalSpy handed(&running, &TSingleInstance::filesHandedOver);
    const QStringList many(40000, QStringLiteral("/data/a folder of measurements/jan kowalski.aud"));
    const TSingleInstance later(settings.path());
    EXPECT_FALSE(later.HandOver(many, 300));
    EXPECT_FALSE(handed.wait(500));
}
