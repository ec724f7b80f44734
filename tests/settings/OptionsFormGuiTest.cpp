#include "shell/MainFormFixture.h"

#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/RadioGroup.h"
#include "settings/Options.h"
#include "settings/OptionsForm.h"
#include "support/LogProbe.h"
#include "support/ScopedValue.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>

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

QString SavedSetting(const char* key)
{
    TIniFile ini;
    EXPECT_TRUE(ini.Load(TAppPaths::ProgramFolder() + QStringLiteral("/kelvarion.ini")));
    return ini.ReadString(QStringLiteral("Settings"), QString::fromLatin1(key), QStringLiteral("missing"));
}

// The options dialog over a running main window; every setting it edits starts from a known
// value and comes back after the test.
class OptionsFormTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        dialog = windows->Options();
    }

    void TearDown() override
    {
        dialog->hide();
        MainFormTest::TearDown();
    }

    template <typename T> T* Control(const char* name) const
    {
        auto* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString Text(const char* editName) const { return Control<QLineEdit>(editName)->text(); }
    void Type(const char* editName, const QString& text) const
    {
        Control<QLineEdit>(editName)->setText(text);
    }
    void Press(const char* buttonName) const { Press(Control<QAbstractButton>(buttonName)); }
    void Choose(const char* groupName, int item) const
    {
        Press(Control<TRadioGroup>(groupName)->ItemButton(item));
    }
    // Check boxes and radio buttons answer a click only on their mark or their text.
    static void Press(QAbstractButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    TOptionsForm* dialog = nullptr;
    const TScopedValue<float> minLevel{gOptions.MinLevel, 0.0f};
    const TScopedValue<float> maxLevel{gOptions.MaxLevel, 80.0f};
    const TScopedValue<float> deltaLevel{gOptions.DeltaLevel, 2.0f};
    const TScopedValue<int8_t> algorithm{gOptions.Algorithm, AscendingLevels};
    const TScopedValue<int32_t> freqList{gOptions.FreqListIndex, 0};
    const TScopedValue<int32_t> soundSource{gOptions.SoundSourceType, LeftEarphone};
    const TScopedValue<bool> modulation{gOptions.Modulation, true};
    const TScopedValue<QString> dataFolder{gOptions.DefaultPath, QDir::currentPath()};
    const TScopedValue<QString> referenceFile{gOptions.ReferenceFileName, QString()};
    const TScopedValue<QString> ownList{FreqPresets[OwnFreqList], QStringLiteral("1000,2000,500")};
};

struct SLevelRow
{
    const char* field;
    QString text;
    bool accepted;
    float stored;
};

} // namespace

// Fields are read in the order step, minimum, maximum; the first refused one and those after it
// keep their old values, those before it their new ones.
TEST_F(OptionsFormTest, LevelFieldsTakeFiniteNumbersInTheUsersLocale)
{
    const char* const order[] = {"DeltaLevelEdit", "MinLevelEdit", "MaxLevelEdit"};
    float TOptions::*const levels[] = {&TOptions::DeltaLevel, &TOptions::MinLevel, &TOptions::MaxLevel};
    const float before[] = {2.0f, 0.0f, 80.0f};
    const float typed[] = {3.0f, 10.0f, 70.0f};
    const SLevelRow rows[] = {
        {"DeltaLevelEdit", QStringLiteral("five"), false, 0},
        {"MinLevelEdit", QString(), false, 0},
        {"MaxLevelEdit", QStringLiteral("1e999"), false, 0},
        {"MaxLevelEdit", QStringLiteral("1e39"), false, 0},
        {"DeltaLevelEdit", QStringLiteral("nan"), false, 0},
        {"MinLevelEdit", QStringLiteral("-0"), true, 0.0f},
        {"MinLevelEdit", QStringLiteral("-12"), true, -12.0f},
        {"MaxLevelEdit", QStringLiteral("2") + OtherSeparator() + QStringLiteral("5"), false, 0},
        {"MaxLevelEdit", QStringLiteral("2") + OtherSeparator() + QStringLiteral("500"), false, 0},
        {"DeltaLevelEdit", QStringLiteral("2") + DecimalPoint() + QStringLiteral("5"), true, 2.5f},
        {"DeltaLevelEdit", QStringLiteral("0"), false, 0},
        {"DeltaLevelEdit", QStringLiteral("-2"), false, 0},
    };
    for (const SLevelRow& row : rows) {
        SCOPED_TRACE(std::string(row.field) + " = \"" + row.text.toStdString() + '"');
        gOptions.DeltaLevel = before[0];
        gOptions.MinLevel = before[1];
        gOptions.MaxLevel = before[2];
        dialog->show();
        int failing = 3;
        for (int i = 0; i < 3; ++i) {
            Type(order[i], QString::number(typed[i]));
            if (QLatin1String(order[i]) == QLatin1String(row.field))
                failing = row.accepted ? 3 : i;
        }
        Type(row.field, row.text);
        TMessageRecorder boxes;
        Press("OkButton");

        EXPECT_EQ(dialog->isVisible(), !row.accepted);
        EXPECT_EQ(boxes.Texts(), row.accepted
                                     ? QStringList()
                                     : QStringList{gLang.GetString(QStringLiteral("MessBadFormat"), dialog)});
        for (int i = 0; i < 3; ++i) {
            const bool isRow = QLatin1String(order[i]) == QLatin1String(row.field);
            const float expected = i >= failing ? before[i] : isRow ? row.stored : typed[i];
            EXPECT_EQ(gOptions.*levels[i], expected) << order[i];
        }
        dialog->hide();
    }
}

TEST_F(OptionsFormTest, LevelsShowBackAsTheStoredThirtyTwoBitValue)
{
    const std::pair<const char*, QString> rows[] = {
        {"0.1", WithDecimalPoint("0.100000001490116")},
        {"80", QStringLiteral("80")},
        {"2.5", WithDecimalPoint("2.5")},
        {"12345", QStringLiteral("12345")},
        {"-0", QStringLiteral("0")},
    };
    for (const auto& [typed, shown] : rows) {
        dialog->show();
        Type("MinLevelEdit", WithDecimalPoint(typed));
        Press("OkButton");
        ASSERT_FALSE(dialog->isVisible()) << typed;
        dialog->show();
        EXPECT_EQ(Text("MinLevelEdit"), shown) << typed;
        dialog->hide();
    }
}

TEST_F(OptionsFormTest, MinimumAboveMaximumIsAccepted)
{
    dialog->show();
    Type("MinLevelEdit", QStringLiteral("90"));
    Type("MaxLevelEdit", QStringLiteral("10"));
    Press("OkButton");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(gOptions.MinLevel, 90.0f);
    EXPECT_EQ(gOptions.MaxLevel, 10.0f);
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
TEST_F(OptionsFormTest, DataFolderIsCreatedOneLevelDeepOrRefused)
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
        gOptions.DefaultPath = base;
        QDir::setCurrent(base);
        dialog->show();
        Type("DefaultPathEdit", row.typed);
        TScriptedAnswers boxes(row.answers);
        Press("OkButton");

        const QString absolute = QDir(base).absoluteFilePath(row.typed);
        EXPECT_EQ(QFileInfo(absolute).isDir(), row.accepted);
        EXPECT_EQ(gOptions.DefaultPath, row.accepted ? absolute : base);
        EXPECT_EQ(QDir::currentPath(), row.accepted ? absolute : base);
        // A No leaves the folder setting alone but lets the dialog close.
        EXPECT_EQ(dialog->isVisible(), !row.accepted && row.answers.size() == 2);
        ASSERT_EQ(boxes.requests.size(), qsizetype(row.answers.size()));
        if (!row.answers.empty()) {
            EXPECT_EQ(boxes.requests[0].text, gLang.GetString(QStringLiteral("MessPath"), dialog) +
                                                  row.typed +
                                                  gLang.GetString(QStringLiteral("MessNotExist"), dialog));
            EXPECT_EQ(boxes.requests[0].buttons, QMessageBox::Yes | QMessageBox::No);
        }
        if (row.answers.size() == 2)
            EXPECT_EQ(boxes.requests[1].text, gLang.GetString(QStringLiteral("MessPathError"), dialog));
        dialog->hide();
    }
    QDir::setCurrent(base);
}

// With the own list chosen: a blank field keeps the list, a bad one keeps it and the dialog.
TEST_F(OptionsFormTest, OwnListIsStoredOnlyWhenItChecks)
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
        gOptions.FreqListIndex = 0;
        dialog->show();
        Choose("FreqRadioGroup", OwnFreqList);
        Type("FreqOtherEdit", text);
        TMessageRecorder boxes;
        Press("OkButton");

        EXPECT_EQ(gOptions.FreqListIndex, OwnFreqList);
        const bool blank = text.trimmed().isEmpty();
        EXPECT_EQ(FreqPresets[OwnFreqList], accepted && !blank ? text : QStringLiteral("1000,2000,500"));
        EXPECT_EQ(dialog->isVisible(), !accepted);
        EXPECT_EQ(boxes.requests.isEmpty(), accepted);
        for (const SMessageRequest& box : boxes.requests)
            EXPECT_EQ(box.icon, QMessageBox::Critical);
        dialog->hide();
    }
}

TEST_F(OptionsFormTest, DefaultsStayInTheSettingsAfterCancel)
{
    gOptions.MaxLevel = 60.0f;
    gOptions.DeltaLevel = 5.0f;
    gOptions.Algorithm = DescendingLevels;
    gOptions.FreqListIndex = 3;
    gOptions.SoundSourceType = BothEarphones;
    gOptions.Modulation = false;
    gOptions.ReferenceFileName = QStringLiteral("office.aur");
    dialog->show();
    Press("DefaultButton");
    EXPECT_EQ(Text("MaxLevelEdit"), QStringLiteral("80"));
    EXPECT_TRUE(Control<QAbstractButton>("AlgorithmUpRBut")->isChecked());
    Press("CancelButton");

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(gOptions.MaxLevel, 80.0f);
    EXPECT_EQ(gOptions.DeltaLevel, 2.0f);
    EXPECT_EQ(gOptions.Algorithm, AscendingLevels);
    EXPECT_EQ(gOptions.FreqListIndex, 0);
    EXPECT_EQ(gOptions.SoundSourceType, LeftEarphone);
    EXPECT_TRUE(gOptions.Modulation);
    EXPECT_EQ(gOptions.ReferenceFileName, QString());
    EXPECT_EQ(gOptions.DefaultPath, TAppPaths::ProgramFolder() + QStringLiteral("/Data/"));
}

TEST_F(OptionsFormTest, FrequencyGroupHintIsTheChosenList)
{
    gOptions.FreqListIndex = 1;
    FreqPresets[OwnFreqList] = QStringLiteral("250,4000");
    dialog->show();
    const std::pair<int, QString> rows[] = {
        {0, QStringLiteral("450,500,1000,1900,2000")},
        {3, QStringLiteral("450,475,500,525,975,1000,1050,1950,1975,2000,2025")},
        {OwnFreqList, QStringLiteral("250,4000")},
    };
    for (const auto& [item, hint] : rows) {
        Choose("FreqRadioGroup", item);
        EXPECT_EQ(Control<TRadioGroup>("FreqRadioGroup")->toolTip(), hint) << item;
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

// The file is chosen in a dialog of its own and loaded into the data store at once on OK.
TEST_F(OptionsFormTest, ReferenceFileIsChosenAndLoadedAtOnce)
{
    dialog->show();
    filesToOpen = {};
    QTest::mouseClick(Control<QLineEdit>("ReferenceFileNameEdit"), Qt::LeftButton);
    ASSERT_EQ(openRequests.size(), 1);
    EXPECT_EQ(openRequests[0].filter,
              QStringLiteral("Reference files (*.aur);;Measurement files (*.aud);;All files (*)"));
    EXPECT_EQ(openRequests[0].filter, gLang.GetString(QStringLiteral("MessReferenceFilter"), dialog));
    EXPECT_EQ(openRequests[0].title, gLang.GetString(QStringLiteral("StrReferenceTitle"), dialog));
    EXPECT_EQ(openRequests[0].defaultSuffix, QStringLiteral("aur"));
    EXPECT_TRUE(openRequests[0].oneFile);
    EXPECT_EQ(openRequests[0].folder, QDir::currentPath());
    EXPECT_EQ(Text("ReferenceFileNameEdit"), QString());

    const SReferenceRow rows[] = {
        {"two rows", "1000 10 12\n2000 15 20\n", true, 2, false},
        {"missing", "", false, 2, false},
        {"a date that cannot be read", "@born_date someday\n500 5 5\n", true, 0, true},
    };
    for (const SReferenceRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = folder.Path(QString::fromLatin1(row.name) + QStringLiteral(".aur"));
        if (row.exists)
            folder.Write(QFileInfo(path).fileName(), row.content);
        dialog->show();
        filesToOpen = {path};
        QTest::mouseClick(Control<QLineEdit>("ReferenceFileNameEdit"), Qt::LeftButton);
        EXPECT_EQ(Text("ReferenceFileNameEdit"), path);
        TMessageRecorder boxes;
        Press("OkButton");

        EXPECT_EQ(gOptions.ReferenceFileName, path);
        EXPECT_EQ(DataEngine->reference.points.size(), row.rows);
        EXPECT_EQ(boxes.requests.size(), row.exists && !row.stays ? 0 : 1);
        EXPECT_EQ(dialog->isVisible(), row.stays);
        dialog->hide();
    }
}

TEST_F(OptionsFormTest, OkWritesTheSettingsFileAtOnce)
{
    dialog->show();
    Type("DeltaLevelEdit", QStringLiteral("5"));
    Choose("FreqRadioGroup", 1);
    Choose("SoundSourceRadioGroup", BothEarphones);
    Press("AlgorithmDownRBut");
    Press("ModulateCheckBox");
    Press("OkButton");

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(SavedSetting("Delta Level"), QStringLiteral("5"));
    EXPECT_EQ(SavedSetting("Frequency List"), QStringLiteral("1"));
    EXPECT_EQ(SavedSetting("Sound Source Type"), QStringLiteral("3"));
    EXPECT_EQ(SavedSetting("Algorithm"), QStringLiteral("1"));
    EXPECT_EQ(SavedSetting("Modulation"), QStringLiteral("0"));
    EXPECT_EQ(SavedSetting("Default Path"), QDir::currentPath());
    QVector<float> frequencies;
    EXPECT_TRUE(gOptions.GetFreqList(frequencies));
    EXPECT_EQ(frequencies.size(), 7);
    EXPECT_EQ(gOptions.GetSignedDelta(), -5.0f);
}

TEST_F(OptionsFormTest, OptionsItemOpensTheDialogModally)
{
    auto* item = form->findChild<QAction*>(QStringLiteral("Options"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    QWidget* modal = nullptr;
    QTimer::singleShot(0, dialog, [&] {
        modal = QApplication::activeModalWidget();
        Press("CancelButton");
    });
    item->trigger();
    EXPECT_EQ(modal, dialog);
    EXPECT_FALSE(dialog->isVisible());
}

// Every caption and hint the dialog shows has its key in each language file.
TEST_F(OptionsFormTest, EveryLanguageNamesEveryControl)
{
    for (const QString& symbol : gLang.LangSymbols) {
        gLang.ChangeLangSym(symbol);
        const TLogProbe log;
        const TOptionsForm fresh;
        EXPECT_EQ(log.NewLines(), QStringList()) << symbol.toStdString();
        EXPECT_EQ(fresh.windowTitle(),
                  gLang.GetSectionString(QStringLiteral("OptionsForm"), QStringLiteral("OptionsForm")));
    }
}
