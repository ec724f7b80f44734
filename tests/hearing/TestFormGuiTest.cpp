// SPDX-License-Identifier: GPL-3.0-or-later
// The real test window, offscreen, driven by keys and mouse; its timer is stepped by calling the
// tick, so that no test waits for a real second.
#include "TestWindowFixture.h"

#include "hearing/CalibrationForm.h"
#include "hearing/TestForm.h"
#include "hearing/ToneDisplay.h"
#include "platform/Clock.h"
#include "shell/MainForm.h"
#include "sound/SoundEngine.h"
#include "support/ScopedValue.h"
#include "widgets/LabeledEdit.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <vector>

namespace {

class TestFormTest : public TestWindowFixture
{
protected:
    void SetUp() override
    {
        TestWindowFixture::SetUp();
        form = windows->Test();
    }

    // Shown as New measurement shows it, with the names typed and Start pressed.
    void Begin(const QString& name = QStringLiteral("Anna"))
    {
        ShowActive(form);
        Edit("NameLEdit")->SetText(name);
        Edit("SurnameLEdit")->SetText(QStringLiteral("Nowak"));
        Click("ButtonStart");
    }

    TLabeledEdit* Edit(const char* name) const { return Find<TLabeledEdit>(form, name); }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(form, name); }
    void Click(const char* button, Qt::MouseButton mouse = Qt::LeftButton) const
    {
        QTest::mouseClick(Button(button), mouse);
    }
    // Releases over a widget's corner, away from what it holds.
    static void ClickCorner(QWidget* widget, Qt::MouseButton mouse)
    {
        QTest::mouseClick(widget, mouse, {}, QPoint(2, widget->height() - 3));
    }
    QString Progress() const { return Find<QLabel>(form, "_ProgressText")->text(); }
    QString Shown(const char* edit) const { return Find<QLineEdit>(form, edit)->text(); }
    bool TimerActive() const { return Find<QTimer>(form, "Timer1")->isActive(); }

    // Ticks until this level has sounded, then answers with the big button.
    void AnswerAt(float level)
    {
        for (int tick = 0; tick < 20; ++tick) {
            form->OnTimer();
            if (form->Procedure().Level() == level)
                break;
        }
        ASSERT_EQ(form->Procedure().Level(), level);
        Click("NextFreqBitBtn");
    }

    float Result(int ear, int frequency) const
    {
        return form->Procedure().Results[ear * TSoundEngine::MaxFrequencies + frequency];
    }

    TTestForm* form = nullptr;
};

TEST_F(TestFormTest, EveryWayOfAnsweringRecordsTheToneJustHeard)
{
    struct SCase
    {
        const char* what;
        std::function<void()> answer;
    };
    const SCase cases[] = {
        {"Enter on the answer button", [&] { QTest::keyClick(Button("NextFreqBitBtn"), Qt::Key_Return); }},
        {"Enter in the name field",
         [&] {
             Edit("NameLEdit")->Edit()->setFocus();
             QTest::keyClick(Edit("NameLEdit")->Edit(), Qt::Key_Return);
         }},
        {"Enter in the birth date",
         [&] {
             Find<QDateEdit>(form, "BornDateTPicker")->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
         }},
        {"Space on the answer button", [&] { QTest::keyClick(Button("NextFreqBitBtn"), Qt::Key_Space); }},
        {"click on the answer button", [&] { Click("NextFreqBitBtn"); }},
        {"left button over the background", [&] { ClickCorner(form, Qt::LeftButton); }},
        {"right button over the background", [&] { ClickCorner(form, Qt::RightButton); }},
        {"over the measuring panel",
         [&] { ClickCorner(Find<QGroupBox>(form, "GroupBox1"), Qt::LeftButton); }},
        {"over the patient panel",
         [&] { ClickCorner(Find<QGroupBox>(form, "GroupBox2"), Qt::MiddleButton); }},
        {"over the instructions",
         [&] { ClickCorner(Find<QLabel>(form, "_InstructionText"), Qt::LeftButton); }},
        {"right button on Start", [&] { Click("ButtonStart", Qt::RightButton); }},
        {"middle button on Stop", [&] { Click("ButtonStop", Qt::MiddleButton); }},
        {"right button on Repeat", [&] { Click("ButtonRepeat", Qt::RightButton); }},
        {"middle button on Exit", [&] { Click("ButtonExit", Qt::MiddleButton); }},
    };
    for (const SCase& c : cases) {
        Begin();
        form->OnTimer();
        form->OnTimer();
        c.answer();
        EXPECT_TRUE(form->isVisible()) << c.what;
        EXPECT_EQ(form->Procedure().FrequencyNumber(), 2) << c.what;
        EXPECT_EQ(Result(0, 0), 10.0f) << c.what;
        Click("ButtonExit");
        ASSERT_FALSE(form->isVisible()) << c.what;
    }
}

TEST_F(TestFormTest, ASecondEnterBeforeTheNextToneRecordsNothing)
{
    Begin();
    form->OnTimer();
    form->OnTimer();
    QTest::keyClick(Button("NextFreqBitBtn"), Qt::Key_Return);
    QTest::keyClick(Button("NextFreqBitBtn"), Qt::Key_Return, {}, 50);
    EXPECT_EQ(form->Procedure().FrequencyNumber(), 2);
    EXPECT_EQ(Result(0, 0), 10.0f);
    EXPECT_EQ(Result(0, 1), 0.0f);
    Click("ButtonExit");
}

// The real boxes: an Enter pressed just after one comes up is taken for a late answer.
TEST_F(TestFormTest, AnEnterRightAfterAMessageOfTheTestLeavesItOpen)
{
    struct SCase
    {
        const char* what;
        const char* textKey;
        std::function<void()> bringUp;
    };
    const SCase cases[] = {
        {"change of ear", "MessLeftFinished",
         [&] {
             Begin();
             AnswerAt(10);
             form->OnTimer();
             QTest::keyClick(Button("NextFreqBitBtn"), Qt::Key_Return);
         }},
        {"missing name", "MessNoData",
         [&] {
             ShowActive(form);
             Edit("NameLEdit")->SetText(QString());
             Edit("SurnameLEdit")->SetText(QString());
             Click("ButtonStart");
         }},
    };
    for (const SCase& c : cases) {
        bool openAfterEnter = false;
        QString text;
        // Looks for the box until it is up: showing the window runs timers too.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, form, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            // Until the box has the keyboard, Enter would reach the window behind it.
            if (box == nullptr || QApplication::activeWindow() != box)
                return;
            watch.stop();
            text = box->text();
            QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, Qt::Key_Return);
            openAfterEnter = box->isVisible();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        watch.start(10);
        TMessageBox::SetHandler({});
        c.bringUp();
        const TMessageRecorder restoreTheSeam;
        EXPECT_TRUE(openAfterEnter) << c.what;
        EXPECT_EQ(text, gLang.GetString(QLatin1String(c.textKey), form)) << c.what;
        EXPECT_EQ(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr) << c.what;
        Click("ButtonExit");
    }
}

TEST_F(TestFormTest, TheButtonsNeverTakeTheFocusFromTheAnswerButton)
{
    const QPushButton* answer = Button("NextFreqBitBtn");
    EXPECT_TRUE(answer->isDefault());
    for (const char* name : {"ButtonStart", "ButtonStop", "ButtonRepeat", "ButtonExit"}) {
        EXPECT_EQ(Button(name)->focusPolicy(), Qt::NoFocus) << name;
        EXPECT_FALSE(Button(name)->autoDefault()) << name;
    }
    struct SCase
    {
        const char* button;
        QString name;
        const char* focusedEdit;
    };
    const SCase cases[] = {
        {"ButtonStart", QStringLiteral("Anna"), nullptr},
        {"ButtonStop", QStringLiteral("Anna"), nullptr},
        {"ButtonRepeat", QStringLiteral("Anna"), nullptr},
        // A refused start leaves the person where the name goes.
        {"ButtonStart", QString(), "NameLEdit"},
    };
    for (const SCase& c : cases) {
        ShowActive(form);
        TMessageRecorder messages;
        Edit("NameLEdit")->SetText(c.name);
        Edit("SurnameLEdit")->SetText(QString());
        Edit("RemarksLEdit")->Edit()->setFocus();
        Click(c.button);
        const QWidget* expected =
            c.focusedEdit ? Edit(c.focusedEdit)->Edit() : static_cast<const QWidget*>(answer);
        EXPECT_EQ(QApplication::focusWidget(), expected) << c.button;
        ASSERT_EQ(messages.requests.size(), c.name.isEmpty() ? 1 : 0) << c.button;
        for (const SMessageRequest& request : messages.requests) {
            EXPECT_EQ(request.text, gLang.GetString(QStringLiteral("MessNoData"), form));
            EXPECT_EQ(request.caption, gLang.GetString(QStringLiteral("MessRemark"), form));
            EXPECT_EQ(request.icon, QMessageBox::Information);
        }
        Click("ButtonExit");
    }
}

TEST_F(TestFormTest, TheProposedFileNameFollowsTheNamesAndTheMinute)
{
    const QDateTime opened(QDate(2010, 5, 15), QTime(14, 5, 59));
    TScopedValue clock(TClock::Fixed, opened);
    ShowActive(form);
    EXPECT_EQ(Edit("FileNameLEdit")->Text(), QStringLiteral(" 20100515_1405"));
    struct SCase
    {
        const char* edit;
        const char* typed;
        int minutesLater;
        const char* proposed;
    };
    const SCase cases[] = {{"NameLEdit", "A", 0, "A 20100515_1405"},
                           {"SurnameLEdit", "B", 1, "AB 20100515_1406"}};
    for (const SCase& c : cases) {
        TClock::Fixed = opened.addSecs(60 * c.minutesLater);
        QTest::keyClicks(Edit(c.edit)->Edit(), QString::fromLatin1(c.typed));
        EXPECT_EQ(Edit("FileNameLEdit")->Text(), QLatin1String(c.proposed));
    }
    Click("ButtonExit");
}

TEST_F(TestFormTest, OnlyACompletedTestIsHandedOverWhileThePatientIsAlwaysRemembered)
{
    const QDateTime testedAt(QDate(2024, 3, 12), QTime(9, 15, 30));
    const TScopedValue clock(TClock::Fixed, testedAt);
    struct SCase
    {
        const char* what;
        std::function<void()> leave;
        bool handedOver;
    };
    const SCase cases[] = {
        {"completed",
         [&] {
             AnswerAt(20);
             TMessageRecorder answers;
             bool timerDuringMessage = true;
             TMessageBox::SetHandler([&](const SMessageRequest& request) {
                 answers.requests.append(request);
                 timerDuringMessage = TimerActive();
                 return QMessageBox::Ok;
             });
             AnswerAt(30);
             ASSERT_EQ(answers.requests.size(), 1);
             EXPECT_EQ(answers.requests[0].text, gLang.GetString(QStringLiteral("MessLeftFinished"), form));
             EXPECT_EQ(answers.requests[0].caption, gLang.GetString(QStringLiteral("MessChangeEar"), form));
             EXPECT_EQ(answers.requests[0].icon, QMessageBox::Information);
             EXPECT_FALSE(timerDuringMessage);
             EXPECT_TRUE(TimerActive());
             AnswerAt(40);
             AnswerAt(0);
         },
         true},
        {"Exit in the middle",
         [&] {
             AnswerAt(20);
             // Escape does not end a test.
             QTest::keyClick(Button("NextFreqBitBtn"), Qt::Key_Escape);
             EXPECT_TRUE(form->isVisible());
             Click("ButtonExit");
         },
         false},
        {"closed by the window's close box",
         [&] {
             AnswerAt(20);
             form->close();
         },
         false},
    };
    for (const SCase& c : cases) {
        const int before = DataEngine->DataCount();
        Begin();
        Find<QDateEdit>(form, "BornDateTPicker")->setDate(QDate(1980, 3, 1));
        Edit("RemarksLEdit")->SetText(QStringLiteral("after a cold"));
        c.leave();
        EXPECT_FALSE(form->isVisible()) << c.what;
        EXPECT_FALSE(TimerActive()) << c.what;
        EXPECT_FALSE(form->Procedure().IsOpen()) << c.what;
        EXPECT_EQ(form->Name, QStringLiteral("Anna")) << c.what;
        EXPECT_EQ(form->Surname, QStringLiteral("Nowak")) << c.what;
        EXPECT_EQ(form->Remarks, QStringLiteral("after a cold")) << c.what;
        EXPECT_EQ(form->BornDate, TDateTime::FromDate(QDate(1980, 3, 1))) << c.what;
        ASSERT_EQ(DataEngine->DataCount(), before + (c.handedOver ? 1 : 0)) << c.what;
        if (!c.handedOver)
            continue;
        const SData& record = *DataEngine->datas.back();
        EXPECT_EQ(record.name, QStringLiteral("Anna"));
        EXPECT_EQ(record.surname, QStringLiteral("Nowak"));
        EXPECT_EQ(record.fileName, QStringLiteral("AnnaNowak 20240312_0915"));
        EXPECT_EQ(record.remarks, QStringLiteral("after a cold"));
        EXPECT_EQ(record.born_date, TDateTime::FromDate(QDate(1980, 3, 1)));
        EXPECT_EQ(record.session_date, TDateTime::FromDateTime(testedAt));
        ASSERT_EQ(DataEngine->PointCount(&record), 2);
        EXPECT_EQ(DataEngine->PointAt(&record, 0), (SDataPoint{1000, 20, 40, 10, 10}));
        EXPECT_EQ(DataEngine->PointAt(&record, 1), (SDataPoint{2000, 30, 0, 10, 10}));
        EXPECT_TRUE(DataEngine->IsModified());
    }
}

TEST_F(TestFormTest, ASecondShowingStartsAfreshWithThePatientRemembered)
{
    Begin(QStringLiteral("Ewa"));
    AnswerAt(20);
    form->OnTimer();
    Click("ButtonExit");
    ShowActive(form);
    EXPECT_EQ(form->Procedure().State(), TTestProcedure::TState::Ready);
    EXPECT_FALSE(TimerActive());
    EXPECT_EQ(form->Procedure().FrequencyNumber(), 1);
    EXPECT_EQ(form->Procedure().Engine->Ear, 0);
    EXPECT_EQ(Result(0, 0), 0.0f);
    EXPECT_EQ(Result(0, 1), 0.0f);
    EXPECT_EQ(Shown("FrequencyEdit"), QStringLiteral("1000Hz"));
    EXPECT_EQ(Shown("LevelEdit"), LevelDisplay(0));
    EXPECT_EQ(Progress(), QStringLiteral("Left ear · frequency 1 of 2"));
    EXPECT_EQ(Edit("NameLEdit")->Text(), QStringLiteral("Ewa"));
    EXPECT_EQ(Edit("SurnameLEdit")->Text(), QStringLiteral("Nowak"));
    Click("ButtonExit");
}

TEST_F(TestFormTest, TheProgressLineChangesWithTheFrequencyOrTheEarButNeverAtATick)
{
    struct SCase
    {
        int32_t soundSource;
        QStringList lines;
    };
    const SCase cases[] = {
        {EarUnderTest,
         {QStringLiteral("Left ear · frequency 1 of 2"), QStringLiteral("Left ear · frequency 2 of 2"),
          QStringLiteral("Right ear · frequency 1 of 2"), QStringLiteral("Right ear · frequency 2 of 2")}},
        {BothEarphones,
         {QStringLiteral("Both ears · frequency 1 of 2"), QStringLiteral("Both ears · frequency 2 of 2")}},
    };
    for (const SCase& c : cases) {
        const TScopedValue earphone(gOptions.SoundSourceType, c.soundSource);
        Begin();
        for (const QString& line : c.lines) {
            for (int tick = 0; tick < 3; ++tick) {
                form->OnTimer();
                EXPECT_EQ(Progress(), line) << "tick " << tick;
            }
            EXPECT_EQ(Shown("LevelEdit"), LevelDisplay(20));
            Click("NextFreqBitBtn");
        }
        EXPECT_FALSE(form->isVisible()) << "source " << c.soundSource;
    }
}

TEST_F(TestFormTest, TheClinicalEarCheckNamesTheEarsAndStartsAgainOnlyForTheWrongOne)
{
    struct SCase
    {
        int32_t soundSource;
        QMessageBox::StandardButton answer;
        const char* told;
        float nextLevel;
    };
    const SCase cases[] = {
        {LeftEarphone, QMessageBox::Yes, nullptr, 20},
        {LeftEarphone, QMessageBox::No, "MessWrongEar", 40},
        {RightEarphone, QMessageBox::No, "MessWrongEarR", 40},
        {EarUnderTest, QMessageBox::YesToAll, "MessBothEars", 20},
    };
    for (const SCase& c : cases) {
        STestSettings clinical = CurrentTestSettings(gOptions);
        clinical.algorithm = ClinicalLevels;
        clinical.soundSourceType = c.soundSource;
        const TScopedTestSettings clinicalSettings(clinical);
        TScriptedAnswers answers({c.answer, QMessageBox::Ok});
        Begin();
        form->OnTimer();
        EXPECT_EQ(Shown("LevelEdit"), QStringLiteral("-"));
        // An answer sooner than a reaction to the sounding tone could come would be a false alarm.
        QTest::qWait(int(std::lround((TSoundEngine::ToneLead + 0.2) * 1000)));
        Click("NextFreqBitBtn");
        ASSERT_GE(answers.requests.size(), 1);
        EXPECT_EQ(answers.requests[0].text, gLang.GetString(QStringLiteral("MessWhichEar"), form));
        ASSERT_EQ(answers.requests[0].buttonTexts.size(), 3u);
        EXPECT_EQ(answers.requests[0].buttonTexts[1].second, QStringLiteral("Right"));
        ASSERT_EQ(answers.requests.size(), c.told ? 2 : 1);
        if (c.told)
            EXPECT_EQ(answers.requests[1].text, gLang.GetString(QLatin1String(c.told), form));
        EXPECT_TRUE(TimerActive());
        form->OnTimer();
        EXPECT_EQ(form->Procedure().Level(), c.nextLevel) << c.soundSource << " " << c.answer;
        Click("ButtonExit");
    }
}

TEST_F(TestFormTest, NewMeasurementAndCalibrationShowTheirWindowsModally)
{
    TMainForm* main = windows->Main();
    ShowActive(main);
    struct SCase
    {
        const char* action;
        QDialog* window;
    };
    const SCase cases[] = {
        {"New", windows->Test()},
        {"Calibration", windows->Calibration()},
    };
    for (const SCase& c : cases) {
        auto* action = Find<QAction>(main, c.action);
        EXPECT_TRUE(action->isEnabled()) << c.action;
        bool shownModally = false;
        QTimer::singleShot(0, c.window, [&] {
            shownModally = c.window->isVisible() && QApplication::activeModalWidget() == c.window;
            c.window->reject();
        });
        if (c.window == windows->Test())
            QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier);
        else
            action->trigger();
        EXPECT_TRUE(shownModally) << c.action;
        EXPECT_FALSE(c.window->isVisible()) << c.action;
    }
    EXPECT_TRUE(Find<QToolButton>(main, "ToolButtonNew")->isEnabled());
}

} // namespace
