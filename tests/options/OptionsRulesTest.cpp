// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/OptionsRules.h"

#include "data/DataEngineFixture.h"
#include "lang/Lang.h"
#include "settings/Options.h"
#include "support/MessageRecorder.h"
#include "support/ScopedValue.h"
#include "support/ScriptedAnswers.h"

#include <QFileInfo>
#include <QLocale>
#include <QWidget>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

QString DecimalPoint()
{
    return QLocale::system().decimalPoint();
}

// The separator the user's locale does not use for decimals: "," under English, "." under Polish.
QString OtherSeparator()
{
    return DecimalPoint() == QLatin1String(".") ? QStringLiteral(",") : QStringLiteral(".");
}

QString WithDecimalPoint(const char* text)
{
    return QString::fromLatin1(text).replace(QLatin1Char('.'), DecimalPoint());
}

// Settings of their own over a data folder of their own, shown as the dialog would show them.
class OptionsRules : public ::testing::Test
{
protected:
    OptionsRules()
    {
        owner.setObjectName(QStringLiteral("OptionsForm"));
        options.DefaultPath = folder.Path(QString());
        options.MinLevel = 0.0f;
        options.MaxLevel = 80.0f;
        options.DeltaLevel = 2.0f;
    }

    QString Text(const char* key) { return gLang.GetString(QString::fromLatin1(key), &owner); }

    TDataFolder folder;
    TOptions options{QString(), QString()};
    SDataStore store;
    QWidget owner;
    TOptionsRules rules{options, &owner};
    const TScopedValue<QString> ownList{FreqPresets[OwnFreqList], QStringLiteral("1000,2000,500")};
};

struct SLevelRow
{
    QString SOptionsFields::*field;
    QString text;
    bool accepted;
    float stored;
};

} // namespace

// Fields are read in the order step, minimum, maximum; the first refused one and those after it
// keep their old values, those before it their new ones. A minimum above the maximum is taken.
TEST_F(OptionsRules, LevelFieldsTakeFiniteNumbersInTheUsersLocale)
{
    QString SOptionsFields::*const order[] = {&SOptionsFields::deltaLevel, &SOptionsFields::minLevel,
                                              &SOptionsFields::maxLevel};
    float TOptions::*const levels[] = {&TOptions::DeltaLevel, &TOptions::MinLevel, &TOptions::MaxLevel};
    const float before[] = {2.0f, 0.0f, 80.0f};
    const float typed[] = {3.0f, 10.0f, 70.0f};
    const SLevelRow rows[] = {
        {&SOptionsFields::deltaLevel, QStringLiteral("five"), false, 0},
        {&SOptionsFields::minLevel, QString(), false, 0},
        {&SOptionsFields::maxLevel, QStringLiteral("1e999"), false, 0},
        {&SOptionsFields::maxLevel, QStringLiteral("1e39"), false, 0},
        {&SOptionsFields::deltaLevel, QStringLiteral("nan"), false, 0},
        {&SOptionsFields::minLevel, QStringLiteral("-0"), true, 0.0f},
        {&SOptionsFields::minLevel, QStringLiteral("-12"), true, -12.0f},
        {&SOptionsFields::minLevel, QStringLiteral("90"), true, 90.0f},
        {&SOptionsFields::maxLevel, QStringLiteral("2") + OtherSeparator() + QStringLiteral("5"), false, 0},
        {&SOptionsFields::maxLevel, QStringLiteral("2") + OtherSeparator() + QStringLiteral("500"), false, 0},
        {&SOptionsFields::deltaLevel, QStringLiteral("2") + DecimalPoint() + QStringLiteral("5"), true, 2.5f},
        {&SOptionsFields::deltaLevel, QStringLiteral("0"), false, 0},
        {&SOptionsFields::deltaLevel, QStringLiteral("-2"), false, 0},
    };
    for (const SLevelRow& row : rows) {
        SCOPED_TRACE('"' + row.text.toStdString() + '"');
        for (int i = 0; i < 3; ++i)
            options.*levels[i] = before[i];
        SOptionsFields fields = rules.Shown();
        int failing = 3;
        for (int i = 0; i < 3; ++i) {
            fields.*order[i] = QString::number(typed[i]);
            if (order[i] == row.field)
                failing = row.accepted ? 3 : i;
        }
        fields.*row.field = row.text;
        TMessageRecorder boxes;

        EXPECT_EQ(rules.Store(fields, store.engine), row.accepted);
        EXPECT_EQ(boxes.Texts(), row.accepted ? QStringList() : QStringList{Text("MessBadFormat")});
        for (int i = 0; i < 3; ++i) {
            const float expected = i >= failing ? before[i] : order[i] == row.field ? row.stored : typed[i];
            EXPECT_EQ(options.*levels[i], expected) << i;
        }
    }
}

TEST_F(OptionsRules, LevelsShowBackAsTheStoredThirtyTwoBitValue)
{
    const std::pair<const char*, QString> rows[] = {
        {"0.1", WithDecimalPoint("0.100000001490116")},
        {"80", QStringLiteral("80")},
        {"2.5", WithDecimalPoint("2.5")},
        {"12345", QStringLiteral("12345")},
        {"-0", QStringLiteral("0")},
    };
    for (const auto& [typed, shown] : rows) {
        SOptionsFields fields = rules.Shown();
        fields.minLevel = WithDecimalPoint(typed);
        ASSERT_TRUE(rules.Store(fields, store.engine)) << typed;
        EXPECT_EQ(rules.Shown().minLevel, shown) << typed;
    }
}

namespace {

struct SFolderRow
{
    const char* name;
    // Where the typed folder lies, below the test's folder; "file" is a regular file there.
    QString typed;
    std::vector<QMessageBox::StandardButton> answers;
    bool accepted;
};

} // namespace

// The question names the folder; after a Yes the folder is made one level deep or refused.
TEST_F(OptionsRules, DataFolderIsCreatedOneLevelDeepOrRefused)
{
    const QString base = QDir::currentPath();
    const SFolderRow rows[] = {
        {"existing folder", base, {}, true},
        {"one level below an existing folder", base + QStringLiteral("/new"), {QMessageBox::Yes}, true},
        {"relative, one level", QStringLiteral("relative"), {QMessageBox::Yes}, true},
        {"answered No", base + QStringLiteral("/declined"), {QMessageBox::No}, false},
        {"two levels below a missing folder",
         base + QStringLiteral("/missing/new"),
         {QMessageBox::Yes, QMessageBox::Ok},
         false},
        {"a regular file", base + QStringLiteral("/file"), {QMessageBox::Yes, QMessageBox::Ok}, false},
        // Not even root can make a folder below a regular file.
        {"below a regular file",
         base + QStringLiteral("/file/new"),
         {QMessageBox::Yes, QMessageBox::Ok},
         false},
    };
    folder.Write(QStringLiteral("file"), "not a folder");
    for (const SFolderRow& row : rows) {
        SCOPED_TRACE(row.name);
        options.DefaultPath = base;
        QDir::setCurrent(base);
        SOptionsFields fields = rules.Shown();
        fields.dataFolder = row.typed;
        TScriptedAnswers boxes(row.answers);

        // A No leaves the folder setting alone but lets the dialog close.
        EXPECT_EQ(rules.Store(fields, store.engine), row.accepted || row.answers.size() != 2);
        const QString absolute = QDir(base).absoluteFilePath(row.typed);
        EXPECT_EQ(QFileInfo(absolute).isDir(), row.accepted);
        EXPECT_EQ(options.DefaultPath, row.accepted ? absolute : base);
        EXPECT_EQ(QDir::currentPath(), row.accepted ? absolute : base);
        ASSERT_EQ(boxes.requests.size(), qsizetype(row.answers.size()));
        if (!row.answers.empty()) {
            EXPECT_EQ(boxes.requests[0].text, Text("MessPath") + row.typed + Text("MessNotExist"));
            EXPECT_EQ(boxes.requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
        }
        if (row.answers.size() == 2)
            EXPECT_EQ(boxes.requests[1].text, Text("MessPathError"));
    }
    QDir::setCurrent(base);
}

// With the own list chosen: a blank field keeps the list, a bad one keeps it and the dialog.
TEST_F(OptionsRules, OwnListIsStoredOnlyWhenItChecks)
{
    QStringList many;
    for (int i = 0; i < 101; ++i)
        many.append(QString::number(100 + i));
    const std::tuple<const char*, QString, bool> rows[] = {
        {"a good list", QStringLiteral("250,500,4000"), true},
        {"blank", QStringLiteral("   "), true},
        {"junk", QStringLiteral("250,abc,500"), false},
        {"negative", QStringLiteral("-500"), false},
        {"zero", QStringLiteral("500,0"), false},
        {"not a number", QStringLiteral("1000,nan,2000"), false},
        {"101 entries", many.join(QLatin1Char(',')), false},
        {"100 000 characters", QString(100000, QLatin1Char('1')), false},
        {"100 000 characters of list", QStringLiteral("1000,").repeated(20000), false},
    };
    for (const auto& [name, text, accepted] : rows) {
        SCOPED_TRACE(name);
        FreqPresets[OwnFreqList] = QStringLiteral("1000,2000,500");
        options.FreqListIndex = 0;
        SOptionsFields fields = rules.Shown();
        fields.freqListIndex = OwnFreqList;
        fields.ownFreqList = text;
        TMessageRecorder boxes;

        EXPECT_EQ(rules.Store(fields, store.engine), accepted);
        EXPECT_EQ(options.FreqListIndex, OwnFreqList);
        const bool blank = text.trimmed().isEmpty();
        EXPECT_EQ(FreqPresets[OwnFreqList], accepted && !blank ? text : QStringLiteral("1000,2000,500"));
        EXPECT_EQ(boxes.requests.isEmpty(), accepted);
        for (const SMessageRequest& box : boxes.requests)
            EXPECT_EQ(box.icon, QMessageBox::Critical);
    }
}

namespace {

struct SReferenceRow
{
    const char* name;
    QByteArray content;
    bool exists;
    int rows;
    bool stays;
};

} // namespace

// The reference is loaded into the data store at once; one that cannot be opened is reported and
// closes the dialog, one that stops being readable part of the way keeps it open.
TEST_F(OptionsRules, ReferenceFileIsLoadedAtOnce)
{
    const SReferenceRow rows[] = {
        {"two rows", "1000 10 12\n2000 15 20\n", true, 2, false},
        {"missing", "", false, 2, false},
        {"a date that cannot be read", "@born_date someday\n500 5 5\n", true, 0, true},
    };
    for (const SReferenceRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name) + QStringLiteral(".aur");
        if (row.exists)
            folder.Write(name, row.content);
        SOptionsFields fields = rules.Shown();
        fields.referenceFile = folder.Path(name);
        TMessageRecorder boxes;

        EXPECT_EQ(rules.Store(fields, store.engine), !row.stays);
        EXPECT_EQ(options.ReferenceFileName, folder.Path(name));
        EXPECT_EQ(store.engine.reference.points.size(), row.rows);
        EXPECT_EQ(boxes.requests.size(), row.exists && !row.stays ? 0 : 1);
    }
}

TEST_F(OptionsRules, DefaultsAreStoredAtOnceAndShown)
{
    options.MaxLevel = 60.0f;
    options.Algorithm = DescendingLevels;
    options.ReferenceFileName = QStringLiteral("office.aur");
    const SOptionsFields shown = rules.Defaults();
    EXPECT_EQ(options.MaxLevel, 80.0f);
    EXPECT_EQ(shown.maxLevel, QStringLiteral("80"));
    EXPECT_EQ(shown.algorithm, AscendingLevels);
    EXPECT_EQ(shown.referenceFile, QString());
}
