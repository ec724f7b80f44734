// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/Log.h"
#include "lang/Lang.h"
#include "log/FileNames.h"
#include "log/Version.h"
#include "support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

const QRegularExpression kStamp(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} "));

} // namespace

TEST(Log, HeaderNamesTheProgramAndTheSystem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    {
        TLog log(path);
        EXPECT_EQ(log.winVersion, 11);
    }
    const QStringList lines = ReadLines(path);
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(kStamp.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" # Kelvarion log")));
    EXPECT_EQ(lines[1], QStringLiteral("#"));
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral(" OS version \\d+\\.\\d+ build \\d+ PlatformId:100  CSDVersion:\\S+$"))
                    .match(lines[2])
                    .hasMatch())
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains(QStringLiteral("(Linux ")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(";winVersion=11")));
    EXPECT_EQ(lines[4], QString());
}

// Only the run before is kept: it may tell why that run crashed.
TEST(Log, TheLogOfTheRunBeforeIsKeptBesideIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    for (const char* run : {"first run", "second run", "third run"})
        TLog(path).Write(QLatin1String(run));
    EXPECT_TRUE(ReadLines(path).join(QLatin1Char('\n')).contains(QStringLiteral("third run")));
    const QString previous = ReadLines(dir.filePath(QStringLiteral("Log.old.txt"))).join(QLatin1Char('\n'));
    EXPECT_TRUE(previous.contains(QStringLiteral("second run")));
    EXPECT_FALSE(previous.contains(QStringLiteral("first run")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Log.old.txt", "Log.txt"}));
}

TEST(Log, RepeatsAreCountedAndTheFileStopsAtItsLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    {
        TLog log(path);
        for (int i = 0; i < 1000; ++i)
            log.Write(QStringLiteral("No string(section:MainForm,name:Exit"));
        log.Write(QStringLiteral("other"));
        log.Write(QStringLiteral("last"));
        log.Write(QStringLiteral("last"));
    }
    QStringList lines = ReadLines(path);
    ASSERT_GE(lines.size(), 5);
    lines.removeLast();
    const QStringList tail = lines.mid(lines.size() - 5);
    EXPECT_TRUE(tail[0].endsWith(QStringLiteral(" No string(section:MainForm,name:Exit")));
    EXPECT_TRUE(tail[1].endsWith(QStringLiteral(" (and 999 more of the line above)")));
    EXPECT_TRUE(tail[2].endsWith(QStringLiteral(" other")));
    EXPECT_TRUE(tail[3].endsWith(QStringLiteral(" last")));
    EXPECT_TRUE(tail[4].endsWith(QStringLiteral(" (and 1 more of the line above)")));

    {
        TLog log(path);
        const QString filler(1000, QLatin1Char('x'));
        for (int i = 0; i < 12000; ++i)
            log.Write(filler + QString::number(i));
    }
    EXPECT_LE(QFileInfo(path).size(), TLog::MaxSize);
    EXPECT_GT(QFileInfo(path).size(), TLog::MaxSize - 2000);
    lines = ReadLines(path);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[lines.size() - 2].endsWith(QStringLiteral("nothing more is written.")));
}

TEST(Log, EntryCarriesLineAndFileNameWithoutFolders)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    {
        TLog log(path);
        log.WriteAt(QStringLiteral("Volume control open failed!"), 45,
                    "/home/dev/kelvarion/src/sound/SoundEngine.cpp");
        log.Debug(QStringLiteral("never written"), 1, "x.cpp");
    }
    const QStringList lines = ReadLines(path);
    const QString entry = lines.at(lines.size() - 2);
    ASSERT_TRUE(kStamp.match(entry).hasMatch());
    EXPECT_EQ(entry.mid(20), QStringLiteral(" line:45\t SoundEngine.cpp\tVolume control open failed!"));
    EXPECT_FALSE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("never written")));
}

TEST(Log, SecondStartEmptiesThePreviousLog)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    {
        TLog first(path);
        first.Write(QStringLiteral("first run"));
    }
    {
        TLog second(path);
    }
    const QStringList lines = ReadLines(path);
    EXPECT_FALSE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("first run")));
    EXPECT_EQ(lines.filter(QStringLiteral("# Kelvarion log")).size(), 1);
}

TEST(Log, LogThatCannotBeOpenedIsSkippedButTheVersionIsKnown)
{
    QTemporaryDir dir;
    // Not even root can create a file below a regular file.
    QFile regular(dir.filePath(QStringLiteral("regular")));
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.close();
    const QString paths[] = {dir.filePath(QStringLiteral("missing folder/Log.txt")),
                             regular.fileName() + QStringLiteral("/Log.txt")};
    for (const QString& path : paths) {
        TLog log(path);
        EXPECT_EQ(log.winVersion, 11);
        EXPECT_FALSE(log.IsOpen());
        log.Write(QStringLiteral("nowhere"));
        EXPECT_FALSE(QFile(path).exists()) << path.toStdString();
    }
}

TEST(Log, LogThatCannotBeWrittenIsShownOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
    TMessageRecorder boxes;
    TLog log(path);
    ASSERT_EQ(boxes.requests.size(), 1);
    EXPECT_EQ(boxes.requests[0].text,
              gLang.GetSectionString(QStringLiteral("OpenError"), QStringLiteral("Log")) + path);
}

TEST(Log, LastErrorIsDescribedOnOneLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log.txt"));
    {
        TLog log(path);
        errno = ENOENT;
        log.WriteLastError(7, "src/settings/Options.cpp");
        errno = 0x7abc;
        log.WriteLastError(8, "TOptionsEngine");
    }
    const QStringList lines = ReadLines(path);
    EXPECT_TRUE(lines.at(lines.size() - 3)
                    .endsWith(QStringLiteral(" line:7\t Options.cpp\tError=(0x2) Message: ") +
                              QString::fromLocal8Bit(std::strerror(ENOENT))))
        << lines.at(lines.size() - 3).toStdString();
    EXPECT_TRUE(
        lines.at(lines.size() - 2)
            .endsWith(QStringLiteral(
                " line:8\t TOptionsEngine\tAn error occured calling FormatMessage()!Error Code (0x7abc)")))
        << lines.at(lines.size() - 2).toStdString();
}

TEST(FileNames, FileNamePartKeepsWhatFollowsTheLastFolder)
{
    EXPECT_EQ(FileNamePart(QStringLiteral("/a/b/Sound.cpp")), QStringLiteral("Sound.cpp"));
    EXPECT_EQ(FileNamePart(QStringLiteral("Sound.cpp")), QStringLiteral("Sound.cpp"));
    EXPECT_EQ(FileNamePart(QStringLiteral("/a/b/")), QString());
}

TEST(Version, BuildDateTextReadsTheCompilerDate)
{
    const struct
    {
        const char* date;
        const char* format;
        const char* expected;
    } rows[] = {
        {"Jun 15 2010", nullptr, "2010-06-15"},
        {"Jan  3 2011", nullptr, "2011-01-03"},
        {"Dec 31 1999", nullptr, "1999-12-31"},
        {"May  5 2010", "%d/%d/%d", "2010/5/5"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(BuildDateText(row.format, row.date), QString::fromLatin1(row.expected)) << row.date;
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(BuildDateText()).hasMatch());
}
