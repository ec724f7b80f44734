// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Options.h"
#include "lang/Lang.h"

#include "support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

class Options : public ::testing::Test
{
protected:
    void SetUp() override { m_savedPreset = FreqPresets[4]; }
    void TearDown() override
    {
        FreqPresets[4] = m_savedPreset;
        QDir::setCurrent(m_savedCurrent);
    }

    QString Folder() const { return m_dir.path(); }
    QString IniPath() const { return m_dir.filePath(QStringLiteral("kelvarion.ini")); }

    void WriteIni(const QString& text)
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    QString ReadIni() const
    {
        QFile file(IniPath());
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

private:
    QTemporaryDir m_dir;
    QString m_savedPreset;
    QString m_savedCurrent = QDir::currentPath();
};

} // namespace

TEST_F(Options, NoFileGivesTheDefaultsAndADataFolder)
{
    TOptions options(Folder());
    EXPECT_EQ(options.FreqListIndex, 0);
    EXPECT_EQ(options.MinLevel, 0.0f);
    EXPECT_EQ(options.MaxLevel, 80.0f);
    EXPECT_EQ(options.DeltaLevel, 2.0f);
    EXPECT_FALSE(options.Calibrated);
    EXPECT_EQ(options.Algorithm, 0);
    EXPECT_EQ(options.SoundSourceType, 0);
    EXPECT_EQ(options.DefaultCalibrationLevel, 6553);
    EXPECT_EQ(options.DefaultCalibrationDesc, QString());
    EXPECT_EQ(options.Lang, QString());
    EXPECT_EQ(FreqPresets[4], QStringLiteral("1000,2000,500"));
    EXPECT_TRUE(options.Modulation);
    EXPECT_EQ(options.DefaultPath, Folder() + QStringLiteral("/Data"));
    EXPECT_EQ(options.ReferenceFileName, QString());
    EXPECT_TRUE(QDir(Folder() + QStringLiteral("/Data")).exists());
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(Folder() + QStringLiteral("/Data")).canonicalPath());
}

TEST_F(Options, SavedValuesReadBackInWritingOrder)
{
    {
        TOptions options(Folder());
        options.FreqListIndex = 4;
        options.MinLevel = -10.5f;
        options.MaxLevel = 0.1f;
        options.DeltaLevel = 5.0f;
        options.Calibrated = true;
        options.Algorithm = 1;
        options.SoundSourceType = 3;
        options.DefaultCalibrationLevel = 30000;
        options.DefaultCalibrationDesc = QStringLiteral("Słuchawki Koss, laptop");
        options.SetLang(QStringLiteral("pl"));
        FreqPresets[4] = QStringLiteral("250,8000");
        options.Modulation = false;
        options.ReferenceFileName = QStringLiteral("ref.aur");
    }
    const QString decimal = QLocale::system().decimalPoint();
    const QString expected = QStringLiteral("[Settings]\n"
                                            "Frequency List=4\n"
                                            "Minimum Level=-10<dp>5\n"
                                            "Maximum Level=0<dp>1\n"
                                            "Delta Level=5\n"
                                            "Calibrated=1\n"
                                            "Algorithm=1\n"
                                            "Sound Source Type=3\n"
                                            "Default Path=<folder>/Data\n"
                                            "Reference FileName=ref.aur\n"
                                            "Default Calibration Level=30000\n"
                                            "Default Calibration Desc=Słuchawki Koss, laptop\n"
                                            "Frequency Other List=250,8000\n"
                                            "Modulation=0\n"
                                            "Lang=pl\n")
                                 .replace(QStringLiteral("<dp>"), decimal)
                                 .replace(QStringLiteral("<folder>"), Folder());
    EXPECT_EQ(ReadIni(), expected);

    FreqPresets[4] = QStringLiteral("1000,2000,500");
    TOptions again(Folder());
    EXPECT_EQ(again.FreqListIndex, 4);
    EXPECT_EQ(again.MinLevel, -10.5f);
    EXPECT_EQ(again.MaxLevel, 0.1f);
    EXPECT_EQ(again.DeltaLevel, 5.0f);
    EXPECT_TRUE(again.Calibrated);
    EXPECT_EQ(again.Algorithm, 1);
    EXPECT_EQ(again.SoundSourceType, 3);
    EXPECT_EQ(again.DefaultCalibrationLevel, 30000);
    EXPECT_EQ(again.DefaultCalibrationDesc, QStringLiteral("Słuchawki Koss, laptop"));
    EXPECT_EQ(again.Lang, QStringLiteral("pl"));
    EXPECT_EQ(FreqPresets[4], QStringLiteral("250,8000"));
    EXPECT_FALSE(again.Modulation);
    EXPECT_EQ(again.ReferenceFileName, QStringLiteral("ref.aur"));
    EXPECT_EQ(again.GetSignedDelta(), -5.0f);
}

TEST_F(Options, BadValuesGiveDefaultsAndTheRestOfTheFileStays)
{
    WriteIni(QStringLiteral("; my notes\n"
                            "[settings]\n"
                            "frequency list=7\n"
                            "Minimum Level=low\n"
                            "Maximum Level=\n"
                            "Delta Level=0\n"
                            "Calibrated=0x10\n"
                            "Algorithm=-3\n"
                            "Sound Source Type=0x2\n"
                            "Default Calibration Level=99999\n"
                            "Modulation=yes\n"
                            "Extra=kept\n"
                            "[Elsewhere]\n"
                            "Lang=xx\n"));
    {
        TOptions options(Folder());
        EXPECT_EQ(options.FreqListIndex, 0);
        EXPECT_EQ(options.MinLevel, 0.0f);
        EXPECT_EQ(options.MaxLevel, 80.0f);
        EXPECT_EQ(options.DeltaLevel, 2.0f);
        EXPECT_TRUE(options.Calibrated);
        EXPECT_EQ(options.Algorithm, 0);
        EXPECT_EQ(options.SoundSourceType, 2);
        EXPECT_EQ(options.DefaultCalibrationLevel, 6553);
        EXPECT_TRUE(options.Modulation);
        EXPECT_EQ(options.Lang, QString());
    }
    const QString written = ReadIni();
    EXPECT_TRUE(written.startsWith(QStringLiteral("; my notes\n[settings]\nFrequency List=0\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\nExtra=kept\n")));
    EXPECT_TRUE(written.endsWith(QStringLiteral("[Elsewhere]\nLang=xx\n")));
}

TEST_F(Options, UnreadableFileIsReportedAndNotOverwritten)
{
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("kelvarion.ini")));
    TMessageRecorder boxes;
    {
        TOptions options(Folder());
        EXPECT_EQ(options.MaxLevel, 80.0f);
        EXPECT_EQ(options.DeltaLevel, 2.0f);
    }
    ASSERT_EQ(boxes.requests.size(), 1);
    EXPECT_EQ(boxes.requests[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(QFileInfo(IniPath()).isDir());
}

TEST_F(Options, DataFolderThatCannotBeMadeIsReported)
{
    // The folder is made one level deep: a missing parent or a file in the way is reported.
    QFile plain(Folder() + QStringLiteral("/plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct
    {
        const char* folder;
        int error;
    } rows[] = {
        {"/plain/Data", ENOTDIR},
        {"/mistyped/Data", ENOENT},
    };
    for (const auto& row : rows) {
        const QString path = Folder() + QLatin1String(row.folder);
        WriteIni(QStringLiteral("[Settings]\nDefault Path=%1\n").arg(path));
        TMessageRecorder boxes;
        TOptions options(Folder());
        EXPECT_EQ(boxes.Texts(), QStringList(gLang.GetSectionString(QStringLiteral("MessOptionsNoPath"),
                                                                    QStringLiteral("DefSection")) +
                                             path + QLatin1Char('\n') + path + QStringLiteral(": ") +
                                             QString::fromLocal8Bit(std::strerror(row.error))));
        EXPECT_EQ(options.DefaultPath, path);
        EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("/mistyped")));
    }
}

TEST_F(Options, SetDefaultsKeepsCalibrationAndLanguage)
{
    TOptions options(Folder());
    options.DefaultCalibrationLevel = 1234;
    options.DefaultCalibrationDesc = QStringLiteral("desk");
    options.Lang = QStringLiteral("pl");
    options.MaxLevel = 60.0f;
    options.Algorithm = 1;
    options.ReferenceFileName = QStringLiteral("x.aur");
    options.SetDefaults();
    EXPECT_EQ(options.MaxLevel, 80.0f);
    EXPECT_EQ(options.Algorithm, 0);
    EXPECT_EQ(options.ReferenceFileName, QString());
    EXPECT_EQ(options.DefaultPath, Folder() + QStringLiteral("/Data/"));
    EXPECT_EQ(options.DefaultCalibrationLevel, 1234);
    EXPECT_EQ(options.DefaultCalibrationDesc, QStringLiteral("desk"));
    EXPECT_EQ(options.Lang, QStringLiteral("pl"));
    ASSERT_TRUE(options.SaveSettings());
    EXPECT_TRUE(ReadIni().contains(QStringLiteral("\nDefault Path=%1/Data/\n").arg(Folder())));
}

TEST_F(Options, FrequencyListsParseWithTheirMessages)
{
    TOptions options(Folder());
    const struct
    {
        const char* text;
        QVector<float> list;
        bool result;
        int boxes;
    } rows[] = {
        {"500,1000,2000", {500, 1000, 2000}, true, 0},
        {"1000", {1000}, true, 0},
        {"1000,", {1000}, true, 0},
        {"1000,2000,500", {1000, 2000, 500}, true, 0},
        {"500, 1000 ,2000", {500, 1000, 2000}, true, 0},
        {"", {1000}, true, 0},
        {"500,abc,1000", {500}, false, 1},
        {"abc", {1000}, false, 1},
        {"500,,1000", {500}, false, 1},
        {"10,500", {10, 500}, false, 1},
        {"10,30000,500", {10, 30000, 500}, false, 2},
        {"20,20000", {20, 20000}, true, 0},
        {"1000,nan,2000", {1000}, false, 1},
        {"inf", {1000}, false, 1},
        {"500,-inf", {500}, false, 1},
    };
    for (const auto& row : rows) {
        TMessageRecorder boxes;
        QVector<float> list;
        EXPECT_EQ(options.ParseFreqList(QString::fromLatin1(row.text), list), row.result) << row.text;
        EXPECT_EQ(list, row.list) << row.text;
        EXPECT_EQ(boxes.requests.size(), row.boxes) << row.text;
        EXPECT_EQ(options.CheckFreqList(QString::fromLatin1(row.text)), row.result) << row.text;
    }
    // A pasted list of a hundred thousand items reads whole; the test uses the first 100.
    TMessageRecorder boxes;
    QVector<float> list;
    EXPECT_TRUE(
        options.ParseFreqList(QStringList(100000, QStringLiteral("1000")).join(QLatin1Char(',')), list));
    EXPECT_EQ(list.size(), 100000);
    EXPECT_TRUE(boxes.requests.isEmpty());
}

TEST_F(Options, GetFreqListAndSignedDelta)
{
    TOptions options(Folder());
    QVector<float> list;
    options.FreqListIndex = 1;
    EXPECT_TRUE(options.GetFreqList(list));
    EXPECT_EQ(list, QVector<float>({450, 500, 550, 1000, 1950, 2000, 2050}));
    options.FreqListIndex = StandardAudiogramList;
    EXPECT_TRUE(options.GetFreqList(list));
    EXPECT_EQ(list, QVector<float>({250, 500, 1000, 2000, 3000, 4000, 6000, 8000}));

    options.DeltaLevel = 5.0f;
    const struct
    {
        int8_t algorithm;
        float delta;
    } rows[] = {{0, 5.0f}, {1, -5.0f}, {7, 5.0f}};
    for (const auto& row : rows) {
        options.Algorithm = row.algorithm;
        EXPECT_EQ(options.GetSignedDelta(), row.delta) << int(row.algorithm);
    }
}
