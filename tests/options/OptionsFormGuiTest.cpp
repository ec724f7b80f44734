// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MainFormFixture.h"

#include "options/OptionsForm.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "settings/Options.h"
#include "support/LogProbe.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

namespace {

QString SavedSetting(const char* key)
{
    TIniFile ini;
    EXPECT_TRUE(ini.Load(TAppPaths::ProgramFolder() + QStringLiteral("/kelvarion.ini")));
    return ini.ReadString(QStringLiteral("Settings"), QString::fromLatin1(key), QStringLiteral("missing"));
}

// The options dialog over a running main window, its settings starting from the defaults over
// the test's data folder.
class OptionsFormTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        // Before the main window opens, as it loads the reference the settings name.
        gOptions.SetDefaults();
        gOptions.DefaultPath = QDir::currentPath();
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
};

} // namespace

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

    const QString path = folder.Write(QStringLiteral("two rows.aur"), "1000 10 12\n2000 15 20\n");
    filesToOpen = {path};
    QTest::mouseClick(Control<QLineEdit>("ReferenceFileNameEdit"), Qt::LeftButton);
    EXPECT_EQ(Text("ReferenceFileNameEdit"), path);
    Press("OkButton");

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(gOptions.ReferenceFileName, path);
    EXPECT_EQ(DataEngine->reference.points.size(), 2);
}

TEST_F(OptionsFormTest, TheClinicalDirectionAndTheStandardAudiogramComeAfterTheOlderChoices)
{
    dialog->show();
    Press("AlgorithmClinicalRBut");
    Choose("FreqRadioGroup", StandardAudiogramList);
    Press("OkButton");
    EXPECT_EQ(SavedSetting("Algorithm"), QStringLiteral("2"));
    EXPECT_EQ(SavedSetting("Frequency List"), QStringLiteral("5"));
    dialog->show();
    EXPECT_TRUE(Control<QAbstractButton>("AlgorithmClinicalRBut")->isChecked());
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
