// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainFormFixture.h"

#include "charts/Palette.h"

#include "support/SmallDisk.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QToolBar>

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace {

const QColor kSkyBlue(166, 202, 240);

// Left 30 and right 40 dB at 1000 Hz, recorded against 10 and 15 dB of reference.
const QByteArray kJan = "@name Jan\n@surname Kowalski\n1000 30 40  10 15\n4000 60 70  10 10\n";

// Whether a confirmed Exit has told the application to end: a loop then ends as it starts.
bool ProgramEnded()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(1); });
    return loop.exec() != 1;
}

} // namespace

TEST_F(MainFormTest, OpenPutsTheMeasurementOnBothChartsAndInTheLegend)
{
    const int emptyLegendHeight = Find<TImage>("LegendImage")->height();
    filesToOpen = {folder.Write(QStringLiteral("jan.aud"), kJan)};
    Click("ToolButtonOpen");
    ASSERT_EQ(openRequests.size(), 1);
    EXPECT_EQ(openRequests[0].filter, gLang.GetString(QStringLiteral("MessOpenFilter"), form));
    EXPECT_EQ(openRequests[0].filter,
              QStringLiteral("Measurement files (*.aud);;Reference files (*.aur);;All files (*)"));
    EXPECT_EQ(openRequests[0].folder, QDir::currentPath());
    // A name typed without its extension finds the measurement file.
    EXPECT_EQ(openRequests[0].defaultSuffix, QStringLiteral("aud"));
    ASSERT_EQ(DataEngine->DataCount(), 1);

    // The reference is on after start-up.
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 20), Palette(0));
    EXPECT_EQ(ShownAt("RightImage", *DataEngine->rightGraph, 1000, 25), Palette(0));
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 4000, 50), Palette(0));
    EXPECT_NE(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 30), Palette(0));
    auto* legend = Find<TImage>("LegendImage");
    EXPECT_GT(legend->height(), emptyLegendHeight);
    EXPECT_EQ(legend->size(), legend->Bitmap()->size());
}

TEST_F(MainFormTest, OpenReadsSeveralFilesInTheDialogsOrder)
{
    filesToOpen = {folder.Write(QStringLiteral("b.aud"), "@name B\n"),
                   folder.Write(QStringLiteral("a.aur"), "@name A\n")};
    QTest::keyClick(form, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(DataEngine->DataCount(), 2);
    EXPECT_EQ(DataEngine->datas[0]->name, QStringLiteral("B"));
    EXPECT_EQ(DataEngine->datas[1]->name, QStringLiteral("A"));
    EXPECT_EQ(DataEngine->datas[1]->seriesIndex, 1);
}

TEST_F(MainFormTest, ADateThatCannotBeReadEndsTheOpenCommand)
{
    filesToOpen = {folder.Write(QStringLiteral("a.aud"), "@name A\n1000 20 30 5 5\n@born_date someday\n"),
                   folder.Write(QStringLiteral("b.aud"), "@name B\n")};
    TMessageRecorder messages;
    Click("ToolButtonOpen");
    ASSERT_EQ(messages.requests.size(), 1);
    EXPECT_EQ(messages.requests[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(messages.requests[0].text.contains(QStringLiteral("someday")));
    ASSERT_EQ(DataEngine->DataCount(), 1);
    EXPECT_EQ(DataEngine->datas[0]->name, QStringLiteral("A"));
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 15), Palette(0));
}

TEST_F(MainFormTest, ReferenceSwitchMovesThePlottedPoints)
{
    filesToOpen = {folder.Write(QStringLiteral("jan.aud"), kJan)};
    Click("ToolButtonOpen");
    auto* menuItem = Find<QAction>("Reference");
    auto* button = Find<QToolButton>("RefOnOffToolButton");
    EXPECT_TRUE(menuItem->isChecked());
    EXPECT_FALSE(button->isChecked());

    Click("RefOnOffToolButton");
    EXPECT_FALSE(menuItem->isChecked());
    EXPECT_TRUE(button->isChecked());
    EXPECT_FALSE(DataEngine->referenceOn);
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 30), Palette(0));
    EXPECT_EQ(ShownAt("RightImage", *DataEngine->rightGraph, 1000, 40), Palette(0));
    EXPECT_NE(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 20), Palette(0));

    menuItem->trigger();
    EXPECT_TRUE(menuItem->isChecked());
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 20), Palette(0));
}

TEST_F(MainFormTest, CloseAllDropsUnsavedMeasurementsWithoutAQuestionAndKeepsTheSwitch)
{
    RecordAnna();
    ASSERT_TRUE(DataEngine->IsModified());
    Click("RefOnOffToolButton");
    Click("ToolButtonCloseAll");
    EXPECT_EQ(DataEngine->DataCount(), 0);
    EXPECT_FALSE(DataEngine->IsModified());
    EXPECT_FALSE(DataEngine->referenceOn);
    EXPECT_TRUE(QDir(folder.Path(QString())).entryList(QDir::Files).isEmpty());

    filesToOpen = {folder.Write(QStringLiteral("jan.aud"), kJan)};
    Click("ToolButtonOpen");
    EXPECT_EQ(ShownAt("LeftImage", *DataEngine->leftGraph, 1000, 30), Palette(0));
}

TEST_F(MainFormTest, SaveWritesTheChangedMeasurements)
{
    RecordAnna();
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(DataEngine->IsModified());
    EXPECT_TRUE(folder.Read(QStringLiteral("anna.aud")).contains("@name Anna\n"));
}

TEST_F(MainFormTest, ExitAsksOnceWithNothingChangedAndTwiceAfterAChange)
{
    using Answers = std::vector<QMessageBox::StandardButton>;
    struct SCase
    {
        const char* what;
        bool changed;
        Answers answers;
        QStringList captionKeys;
        bool written;
    };
    const SCase cases[] = {
        {"nothing changed", false, {QMessageBox::Yes}, {QStringLiteral("MessExit")}, false},
        {"exit declined", true, {QMessageBox::No}, {QStringLiteral("MessExit")}, false},
        {"leave without saving",
         true,
         {QMessageBox::Yes, QMessageBox::No},
         {QStringLiteral("MessExit"), QStringLiteral("MessSave")},
         false},
        {"save and leave",
         true,
         {QMessageBox::Yes, QMessageBox::Yes},
         {QStringLiteral("MessExit"), QStringLiteral("MessSave")},
         true},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        Click("ToolButtonCloseAll");
        if (c.changed)
            RecordAnna();
        TScriptedAnswers answers(c.answers);
        QTest::keyClick(form, Qt::Key_X, Qt::ControlModifier);
        ASSERT_EQ(answers.requests.size(), c.captionKeys.size());
        for (qsizetype i = 0; i < c.captionKeys.size(); ++i)
            EXPECT_EQ(answers.requests[i].caption, gLang.GetString(c.captionKeys[i], form));
        EXPECT_EQ(answers.requests[0].text, gLang.GetString(QStringLiteral("MessSureExit?"), form));
        EXPECT_EQ(answers.requests[0].icon, QMessageBox::Question);
        if (c.captionKeys.size() > 1)
            EXPECT_EQ(answers.requests[1].icon, QMessageBox::Warning);
        EXPECT_EQ(QFileInfo::exists(folder.Path(QStringLiteral("anna.aud"))), c.written);
    }
}

// A save refused at exit keeps the program and the measurement, however the exit was asked
// for; exiting again and declining the save then leaves on purpose.
TEST_F(MainFormTest, ASaveRefusedAtExitKeepsTheProgramOpen)
{
    using Answers = std::vector<QMessageBox::StandardButton>;
    constexpr auto Yes = QMessageBox::Yes;
    constexpr auto Ok = QMessageBox::Ok;
    struct SCase
    {
        const char* what;
        Answers answers;
        // The data folder on a small file system of its own; skipped where none may be mounted.
        const char* mount = nullptr;
        bool readOnly = false;
    };
    const SCase cases[] = {
        {"No to the overwrite question", {Yes, Yes, QMessageBox::No, Ok}},
        {"a full disk", {Yes, Yes, Yes, Ok, Ok}, "size=64k"},
        {"a read-only disk", {Yes, Yes, Yes, Ok, Ok}, "size=64k", true},
    };
    const std::pair<const char*, std::function<bool(TMainForm*)>> exits[] = {
        {"Ctrl+X",
         [](TMainForm* window) {
             QTest::keyClick(window, Qt::Key_X, Qt::ControlModifier);
             return !ProgramEnded();
         }},
        {"Ctrl+Q",
         [](TMainForm* window) {
             QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
             return !ProgramEnded();
         }},
        {"the close box", [](TMainForm* window) { return !window->close(); }},
    };
    for (const SCase& c : cases) {
        for (const auto& [how, exitKeepsProgram] : exits) {
            SCOPED_TRACE(std::string(c.what) + " at " + how);
            std::unique_ptr<TSmallDisk> disk;
            if (c.mount != nullptr) {
                disk = std::make_unique<TSmallDisk>(folder.Path(QString()), c.mount);
                if (!disk->Mounted()) {
                    std::printf("skipped \"%s\": no tmpfs may be mounted here\n", c.what);
                    break;
                }
            }
            folder.Write(QStringLiteral("anna.aud"), "old content\n");
            if (c.readOnly)
                ASSERT_TRUE(disk->MakeReadOnly());
            Click("ToolButtonCloseAll");
            RecordAnna();
            // More than the small disk holds.
            DataEngine->datas.back()->remarks = QString(200000, QLatin1Char('x'));
            TScriptedAnswers answers(c.answers);
            EXPECT_TRUE(exitKeepsProgram(form));
            EXPECT_TRUE(form->isVisible());
            EXPECT_TRUE(DataEngine->IsModified());
            ASSERT_EQ(answers.requests.size(), c.answers.size());
            EXPECT_EQ(answers.requests.back().text,
                      gLang.GetString(QStringLiteral("MessNotSaved"), form) + QStringLiteral("anna.aud"));
            EXPECT_EQ(folder.Read(QStringLiteral("anna.aud")), QByteArray("old content\n"));
        }
    }
    TScriptedAnswers answers({QMessageBox::Yes, QMessageBox::No});
    QTest::keyClick(form, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(ProgramEnded());
}

TEST_F(MainFormTest, ClosingTheWindowIsAllowedOnlyAfterYes)
{
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        TScriptedAnswers answers({answer});
        EXPECT_EQ(form->close(), answer == QMessageBox::Yes);
        EXPECT_EQ(form->isVisible(), answer == QMessageBox::No);
        EXPECT_EQ(answers.requests.size(), 1);
    }
}

TEST_F(MainFormTest, HiddenColourCommandAnswersItsShortcut)
{
    auto* colour = Find<QAction>("colour");
    EXPECT_TRUE(form->actions().contains(colour));
    for (const QAction* menu : form->menuBar()->actions()) {
        for (const QAction* item : menu->menu()->actions())
            EXPECT_NE(item, colour);
    }
    colourToChoose = QColor(Qt::white);
    QTest::keyClick(form, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(colourRequests.size(), 1);
    EXPECT_EQ(colourRequests[0].initial, kSkyBlue);
    EXPECT_EQ(QColor(Shown("LeftImage").pixel(3, 3)), QColor(Qt::white));
    EXPECT_EQ(QColor(Shown("RightImage").pixel(3, 3)), QColor(Qt::white));

    colourToChoose = QColor();
    QTest::keyClick(form, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(QColor(Shown("LeftImage").pixel(3, 3)), QColor(Qt::white));
    Click("ToolButtonCloseAll");
    EXPECT_EQ(QColor(Shown("LeftImage").pixel(3, 3)), kSkyBlue);
}

TEST_F(MainFormTest, ToolBarHoldsTheButtonsInOrderWithTheirHints)
{
    QStringList order;
    auto* toolBar = Find<QToolBar>("ToolBar1");
    for (QAction* action : toolBar->actions()) {
        if (action->isSeparator())
            order.append(QStringLiteral("|"));
        else if (QWidget* widget = toolBar->widgetForAction(action))
            order.append(widget->objectName());
    }
    const QStringList expected =
        QStringLiteral("ToolButtonNew | ToolButtonOpen ToolButtonSaveAs ToolButtonCloseAll "
                       "PrintToolButton | RefOnOffToolButton | ToolButtonAbout | "
                       "ToolButtonHelp | ToolButtonExit")
            .split(QLatin1Char(' '));
    EXPECT_EQ(order, expected);
    for (const QString& name : expected) {
        if (name == QLatin1String("|"))
            continue;
        SCOPED_TRACE(name.toStdString());
        auto* button = Find<QToolButton>(name.toLatin1().constData());
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_FALSE(button->icon().pixmap(button->iconSize()).isNull());
        EXPECT_EQ(button->iconSize(), QSize(24, 24));
        EXPECT_EQ(button->toolTip(), gLang.GetString(name + QStringLiteral("_hint"), form));
        EXPECT_TRUE(button->isEnabled());
    }
    for (const char* item : {"New", "Open", "Save", "CloseAll", "Print", "Exit", "Reference", "colour",
                             "Calibration", "Options", "RefOptions", "RefChange", "HelpItem", "About"})
        EXPECT_TRUE(Find<QAction>(item)->isEnabled()) << item;
}

TEST_F(MainFormTest, ChartAreaHasTheDesignedPanelsAndTranslatedCaptions)
{
    for (const char* image : {"LeftImage", "RightImage"}) {
        auto* chart = Find<TImage>(image);
        EXPECT_EQ(chart->size(), QSize(320, 320)) << image;
        EXPECT_EQ(chart->pos(), QPoint(1, 1)) << image;
        EXPECT_EQ(chart->parentWidget()->size(), QSize(322, 322)) << image;
        EXPECT_EQ(chart->Bitmap()->size(), QSize(320, 320)) << image;
        EXPECT_EQ(chart->parentWidget()->palette().color(QPalette::Window), kSkyBlue) << image;
    }
    auto* scrollBox = Find<TImage>("LegendImage")->parentWidget()->parentWidget();
    ASSERT_TRUE(qobject_cast<QScrollArea*>(scrollBox));
    EXPECT_EQ(scrollBox->size(), QSize(649, 120));
    EXPECT_EQ(Find<TImage>("LegendImage")->height(), DataEngine->rightGraph->LegendHeight);
    for (const char* caption : {"LeftEarLabel", "RightEarLabel", "LegendLabel"})
        EXPECT_EQ(Find<QLabel>(caption)->text(), gLang.GetString(QString::fromLatin1(caption), form))
            << caption;
    EXPECT_EQ(Find<QLabel>("LeftEarLabel")->text(), QStringLiteral("Left ear: level in dB, frequency in Hz"));
}

TEST_F(MainFormTest, TheVolumeToolIsOfferedOncePerRun)
{
    CloseForm();
    TVolumeTool::SetProgram(QStringLiteral("true"));
    TScriptedAnswers answers({QMessageBox::Ok});
    OpenForm();
    ASSERT_EQ(answers.requests.size(), 1);
    EXPECT_EQ(answers.requests[0].text, gLang.GetString(QStringLiteral("MessCalVol"), form));

    QWidget other;
    ShowActive(&other);
    ShowActive(form);
    EXPECT_EQ(answers.requests.size(), 1);
}
