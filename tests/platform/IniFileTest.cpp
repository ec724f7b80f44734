// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ReadAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

void WriteAll(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

} // namespace

TEST(IniFile, LookupRules)
{
    TIniFile ini;
    ini.SetText(QStringLiteral("orphan=before any section\n"
                               "  ; a comment=not a key\n"
                               "[ Main ]\n"
                               "  Key = first value  \n"
                               "KEY=second value\n"
                               "no equals sign\n"
                               "Empty=\n"
                               "url=a=b\n"
                               "[Other]\n"
                               "key=other\n"));
    const struct
    {
        const char* section;
        const char* key;
        const char* expected;
    } rows[] = {
        {"main", "key", "first value"},
        {"MAIN", "Key", "first value"},
        {"Main", "Empty", ""},
        {"Main", "url", "a=b"},
        {"Other", "KEY", "other"},
        {"Main", "orphan", "<none>"},
        {"Main", "; a comment", "<none>"},
        {"Main", "no equals sign", "<none>"},
        {"Missing", "key", "<none>"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ini.ReadString(QString::fromLatin1(row.section), QString::fromLatin1(row.key),
                                 QStringLiteral("<none>")),
                  QString::fromUtf8(row.expected))
            << row.section << "/" << row.key;
    }
    EXPECT_EQ(ini.ReadKeys(QStringLiteral("main")),
              QStringList({QStringLiteral("Key"), QStringLiteral("Empty"), QStringLiteral("url")}));
}

TEST(IniFile, WriteChangesOnlyItsOwnLine)
{
    TIniFile ini;
    ini.SetText(QStringLiteral("; settings\r\n[Settings]\r\nA=1\r\nB=2\r\na=3\r\n\r\n[Else]\r\nC=4\r\n"));
    ini.WriteString(QStringLiteral("settings"), QStringLiteral("A"), QStringLiteral("9"));
    ini.WriteString(QStringLiteral("Settings"), QStringLiteral("New"), QStringLiteral("x"));
    ini.WriteString(QStringLiteral("Added"), QStringLiteral("D"), QStringLiteral("5"));
    EXPECT_EQ(ini.Text(), QStringLiteral("; settings\r\n[Settings]\r\nA=9\r\nB=2\r\na=3\r\nNew=x\r\n\r\n"
                                         "[Else]\r\nC=4\r\n[Added]\r\nD=5\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Settings"), QStringLiteral("new"), QString()),
              QStringLiteral("x"));
}

TEST(IniFile, FilesRoundTripAndMissingFileIsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    TIniFile ini;
    EXPECT_TRUE(ini.Load(path));
    EXPECT_TRUE(ini.ReadKeys(QStringLiteral("Settings")).isEmpty());
    ini.WriteString(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("Żółć"));
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(ReadAll(path), QStringLiteral("[Settings]\nName=Żółć\n"));

    TIniFile again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.ReadString(QStringLiteral("settings"), QStringLiteral("name"), QString()),
              QStringLiteral("Żółć"));
}

TEST(IniFile, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    WriteAll(path, QStringLiteral("[S]\nK=old\n"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    TIniFile ini;
    ASSERT_TRUE(ini.Load(path));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new"));
    const bool saved = ini.Save(path);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (saved)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_FALSE(ini.ErrorString().isEmpty());
    EXPECT_EQ(ReadAll(path), QStringLiteral("[S]\nK=old\n"));
}

TEST(IniFile, UnreadableFileIsReported)
{
    QTemporaryDir dir;
    // A folder in place of the file cannot be read by anyone.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x.ini")));
    TIniFile ini;
    EXPECT_FALSE(ini.Load(dir.filePath(QStringLiteral("x.ini"))));
}
