// SPDX-License-Identifier: GPL-3.0-or-later
// The real calibration window, offscreen; its timer is stepped by calling the tick.
#include "TestWindowFixture.h"

#include "sound/SignalAnalysis.h"

#include "hearing/CalibrationForm.h"
#include "hearing/TestForm.h"
#include "hearing/ToneDisplay.h"
#include "help/ContextHelp.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "sound/SoundEngine.h"
#include "sound/WaveImage.h"
#include "support/LogProbe.h"
#include "support/ScopedValue.h"
#include "widgets/LabeledEdit.h"
#include "widgets/RadioGroup.h"
#include "widgets/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QToolButton>

#include <cmath>
#include <vector>

namespace {

class CalibrationFormTest : public TestWindowFixture
{
protected:
    void SetUp() override
    {
        TestWindowFixture::SetUp();
        form = windows->Calibration();
    }

    QSlider* Bar() const { return Find<QSlider>(form, "iVolumeBar"); }
    QCheckBox* Mute() const { return Find<QCheckBox>(form, "iMuteCheckBox"); }
    QString Shown(const char* edit) const { return Find<QLineEdit>(form, edit)->text(); }
    const std::vector<uint8_t>& LastTone() const { return form->Procedure().Engine->WaveImage(); }
    double PeakOf(int channel) const
    {
        return Peak(ChannelOfImage(LastTone().data() + TWaveImage::HeaderSize,
                                   (LastTone().size() - TWaveImage::HeaderSize) / 4, channel));
    }

    TCalibrationForm* form = nullptr;
};

TEST_F(CalibrationFormTest, TheFirstShowingPutsTheBarAtTheStoredLevelAndStaysSilent)
{
    ShowActive(form);
    EXPECT_EQ(Bar()->value(), 20);
    EXPECT_EQ(Bar()->singleStep(), 10);
    EXPECT_EQ(Bar()->pageStep(), 10);
    EXPECT_EQ(Shown("LevelEdit"), LevelDisplay(-20));
    EXPECT_EQ(Shown("FrequencyEdit"), QStringLiteral("1000Hz"));
    EXPECT_TRUE(Mute()->isChecked());
    form->iTimerTimer();
    form->iTimerTimer();
    EXPECT_TRUE(LastTone().empty());
    form->reject();
}

TEST_F(CalibrationFormTest, MovingTheBarSnapsItUnmutesAndSoundsTheToneAtTheNextTick)
{
    struct SCase
    {
        int moved;
        int snapped;
        int channel;
        // Test level 10 at and below the middle of the bar, louder above it.
        double attenuation;
    };
    const SCase cases[] = {{35, 30, 0, 70}, {-15, -10, 1, 60}, {-30, -30, 0, 40}, {0, 0, 1, 70}};
    ShowActive(form);
    for (const SCase& c : cases) {
        Mute()->setChecked(true);
        Find<TRadioGroup>(form, "iChanelRadioGroup")->SetItemIndex(c.channel);
        Bar()->setValue(c.moved);
        EXPECT_EQ(Bar()->value(), c.snapped) << c.moved;
        EXPECT_FALSE(Mute()->isChecked()) << c.moved;
        EXPECT_EQ(Shown("LevelEdit"), LevelDisplay(float(-c.snapped))) << c.moved;
        form->iTimerTimer();
        ASSERT_FALSE(LastTone().empty()) << c.moved;
        EXPECT_NEAR(PeakOf(c.channel), TSoundEngine::FullScale * std::pow(10.0, -c.attenuation / 20), 1.0)
            << c.moved;
        EXPECT_EQ(PeakOf(1 - c.channel), 0) << c.moved;
    }
    // The arrows step the tone's frequency by 500 Hz.
    QTest::mouseClick(Find<TUpDown>(form, "iFreqUpDown")->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Shown("FrequencyEdit"), QStringLiteral("1500Hz"));
    form->reject();
}

TEST_F(CalibrationFormTest, ClosingStoresTheBarsLevelOnlyWhenConfirmed)
{
    using Answers = std::vector<QMessageBox::StandardButton>;
    struct SCase
    {
        const char* what;
        int bar;
        QString description;
        bool ok;
        Answers answers;
        QStringList textKeys;
        bool closes;
        int32_t storedLevel;
        QString storedDescription;
    };
    const QString unchanged = QStringLiteral("office PC, HD 280");
    const QString described = QStringLiteral("laptop, earbuds");
    const SCase cases[] = {
        {"OK with nothing changed", 20, unchanged, true, {}, {}, true, 6553, unchanged},
        {"OK without a description",
         40,
         QString(),
         true,
         {QMessageBox::Ok},
         {"MessConfInfo"},
         false,
         6553,
         unchanged},
        {"Yes at the middle of the bar",
         0,
         described,
         true,
         {QMessageBox::Yes},
         {"MessSure?"},
         true,
         65535,
         described},
        {"Yes at 40", 40, described, true, {QMessageBox::Yes}, {"MessSure?"}, true, 655, described},
        {"No", 40, described, true, {QMessageBox::No}, {"MessSure?"}, false, 6553, unchanged},
        {"Cancel", 40, described, false, {}, {}, true, 6553, unchanged},
    };
    for (const SCase& c : cases) {
        gOptions.DefaultCalibrationLevel = 6553;
        gOptions.DefaultCalibrationDesc = unchanged;
        ShowActive(form);
        Bar()->setValue(c.bar);
        Find<TLabeledEdit>(form, "iDescLabeledEdit")->SetText(c.description);
        TScriptedAnswers answers(c.answers);
        QTest::mouseClick(Find<QPushButton>(form, c.ok ? "OkButton" : "AnalujButton"), Qt::LeftButton);
        QStringList texts;
        for (const SMessageRequest& request : answers.requests) {
            texts.append(request.text);
            EXPECT_EQ(request.icon, QMessageBox::Question) << c.what;
        }
        QStringList expectedTexts;
        for (const QString& key : c.textKeys)
            expectedTexts.append(gLang.GetString(key, form));
        EXPECT_EQ(texts, expectedTexts) << c.what;
        if (!answers.requests.isEmpty()) {
            const QString caption = c.textKeys[0] == QLatin1String("MessConfInfo")
                                        ? QString()
                                        : gLang.GetString(QStringLiteral("MessVolLevel"), form);
            EXPECT_EQ(answers.requests[0].caption, caption) << c.what;
        }
        EXPECT_EQ(form->isVisible(), !c.closes) << c.what;
        EXPECT_EQ(form->Procedure().IsOpen(), !c.closes) << c.what;
        EXPECT_EQ(gOptions.DefaultCalibrationLevel, c.storedLevel) << c.what;
        EXPECT_EQ(gOptions.DefaultCalibrationDesc, c.storedDescription) << c.what;
        if (form->isVisible()) {
            TMessageRecorder quiet;
            form->reject();
        }
    }
}

TEST(TestAndCalibrationTexts, BothWindowsFindEveryTextInEveryLanguage)
{
    UseNullAlsaDevice();
    const TScopedValue storedLang(gOptions.Lang, gOptions.Lang);
    QList<QStringList> keys;
    for (const QString symbol : {QStringLiteral("en"), QStringLiteral("pl")}) {
        TIniFile file;
        ASSERT_TRUE(file.Load(TAppPaths::ProgramFolder() + QStringLiteral("/res/") + symbol +
                              QStringLiteral(".lng")));
        QStringList sectionKeys =
            file.ReadKeys(QStringLiteral("TestForm")) + file.ReadKeys(QStringLiteral("CalibrationForm"));
        sectionKeys.sort();
        keys.append(sectionKeys);

        gLang.ChangeLangSym(symbol);
        const TLogProbe log;
        {
            const TWindowSet windows;
            for (QDialog* window :
                 {static_cast<QDialog*>(windows.Test()), static_cast<QDialog*>(windows.Calibration())}) {
                window->show();
                EXPECT_EQ(window->windowTitle(),
                          gLang.GetSectionString(window->objectName(), window->objectName()));
                window->reject();
            }
        }
        const QStringList missing =
            log.NewLines().filter(QRegularExpression(QStringLiteral("(TestForm|CalibrationForm)")));
        EXPECT_TRUE(missing.isEmpty())
            << symbol.toStdString() << ": " << missing.join(QLatin1Char('\n')).toStdString();
    }
    EXPECT_EQ(keys[0], keys[1]);
}

TEST_F(CalibrationFormTest, F1InEitherWindowAsksForItsOwnPageOfTheManual)
{
    QList<int> asked;
    const TContextHelp::Handler previous = TContextHelp::SetHandler([&asked](int command, int data) {
        EXPECT_EQ(command, TContextHelp::HELP_CONTEXT);
        asked.append(data);
        return true;
    });
    for (QDialog* window :
         {static_cast<QDialog*>(windows->Test()), static_cast<QDialog*>(windows->Calibration())}) {
        ShowActive(window);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        window->reject();
    }
    TContextHelp::SetHandler(previous);
    EXPECT_EQ(asked, (QList<int>{2500, 2100}));
}

} // namespace
