// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/MainFormFixture.h"

#include "help/ContextHelp.h"
#include "help/HelpFile.h"
#include "help/HelpTrace.h"
#include "help/HelpViewer.h"
#include "help/HookHelpSystem.h"
#include "help/HtmlHelp.h"
#include "platform/AppPaths.h"
#include "settings/Options.h"
#include "support/LogProbe.h"
#include "support/ScopedValue.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>

#include <vector>

namespace {

// Every help window, shown or not.
QList<THelpViewer*> Viewers()
{
    QList<THelpViewer*> viewers;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<THelpViewer*>(window))
            viewers.append(viewer);
    }
    return viewers;
}

QWidget* TopLevel(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name)
            return window;
    }
    return nullptr;
}

QString HelpFileOf(const char* symbol)
{
    return THelpFile::PathOf(QString::fromLatin1(symbol));
}

// Takes a help file away from beside the program for the test's lifetime.
class TMissingHelpFile
{
public:
    explicit TMissingHelpFile(const char* symbol) : m_path(HelpFileOf(symbol))
    {
        EXPECT_TRUE(QFile::rename(m_path, m_path + QStringLiteral(".aside"))) << m_path.toStdString();
    }
    ~TMissingHelpFile() { QFile::rename(m_path + QStringLiteral(".aside"), m_path); }
    TMissingHelpFile(const TMissingHelpFile&) = delete;
    TMissingHelpFile& operator=(const TMissingHelpFile&) = delete;

private:
    QString m_path;
};

class HelpTest : public MainFormTest
{
protected:
    void TearDown() override
    {
        HHCloseAll();
        MainFormTest::TearDown();
        gLang.ChangeLangSym(QStringLiteral("en"));
    }

    void PressF1(QWidget* window)
    {
        ShowActive(window);
        QTest::keyClick(window, Qt::Key_F1);
    }

    TScopedValue<QString> storedLang{gOptions.Lang, gOptions.Lang};
};

// The windows with a section of their own in the manual, as they exist in the program.
struct SWindowContext
{
    const char* window;
    int context;
};
const SWindowContext kWindowContexts[] = {
    {"MainForm", 1000},    {"TestForm", 2500},      {"CalibrationForm", 2100},
    {"OptionsForm", 2400}, {"ReferenceForm", 2200}, {"SummaryForm", 2600},
};

} // namespace

TEST_F(HelpTest, F1OpensTheManualAtTheSectionOfTheActiveWindow)
{
    for (const auto& [name, context] : kWindowContexts) {
        SCOPED_TRACE(name);
        QWidget* window = TopLevel(QString::fromLatin1(name));
        ASSERT_NE(window, nullptr);
        PressF1(window);
        ASSERT_EQ(Viewers().size(), 1);
        THelpViewer* viewer = Viewers().first();
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_TRUE(viewer->isWindow());
        EXPECT_EQ(viewer->parentWidget(), nullptr);
        EXPECT_EQ(viewer->File(), HelpFileOf("en"));
        EXPECT_EQ(viewer->Anchor(), QString::number(context));
        // Over a modal window, which blocks all others, the manual must be modal to be used;
        // beside any other it leaves the windows usable.
        EXPECT_EQ(viewer->isModal(), window->isModal());
        HHCloseAll();
    }
}

TEST_F(HelpTest, F1InAModalWindowOpensAManualThatTakesTheInput)
{
    // The manual is open beside the main window when a dialog is shown the way the program
    // shows its dialogs: modal, blocking every other window.
    PressF1(form);
    ASSERT_EQ(Viewers().size(), 1);
    THelpViewer* manual = Viewers().first();
    ASSERT_TRUE(QTest::qWaitForWindowActive(manual));
    QDialog dialog(form);
    dialog.setWindowModality(Qt::ApplicationModal);
    TContextHelp::Join(&dialog, 2400);
    PressF1(&dialog);
    ASSERT_EQ(Viewers().size(), 1);
    EXPECT_EQ(Viewers().first(), manual);
    EXPECT_EQ(manual->Anchor(), QStringLiteral("2400"));
    EXPECT_EQ(QApplication::activeModalWidget(), manual);
}

TEST_F(HelpTest, AWindowJoinedAgainKeepsOneF1WithTheNewNumber)
{
    TContextHelp::Join(form, 2500);
    PressF1(form);
    ASSERT_EQ(Viewers().size(), 1);
    EXPECT_EQ(Viewers().first()->Anchor(), QStringLiteral("2500"));
}

TEST(HelpPages, EveryContextNumberHasItsSectionInEveryManual)
{
    // 4242 belongs to no window: the manual opens at its top.
    const std::pair<int, const char*> contexts[] = {{1000, "1000"}, {2100, "2100"}, {2200, "2200"},
                                                    {2400, "2400"}, {2500, "2500"}, {4242, ""}};
    for (const char* symbol : {"en", "pl"}) {
        THookHelpSystem help(HelpFileOf(symbol), THostType::htHHAPI);
        for (const auto& [context, anchor] : contexts) {
            SCOPED_TRACE(std::string(symbol) + " " + std::to_string(context));
            EXPECT_EQ(help.HelpContext(context), 0);
            ASSERT_EQ(Viewers().size(), 1);
            EXPECT_EQ(Viewers().first()->Anchor(), QString::fromLatin1(anchor));
        }
    }
    EXPECT_TRUE(Viewers().isEmpty());
}

TEST_F(HelpTest, TheHelpCommandOpensTheManualAtItsTop)
{
    PressF1(form);
    ShowActive(form);
    Click("ToolButtonHelp");
    // The same window, moved from the main window's section to the top.
    ASSERT_EQ(Viewers().size(), 1);
    EXPECT_EQ(Viewers().first()->Anchor(), QString());
    EXPECT_EQ(Viewers().first()->verticalScrollBar()->value(), 0);
}

TEST_F(HelpTest, HelpWindowsCloseOnALanguageChangeAndWhenTheMainWindowCloses)
{
    PressF1(form);
    ASSERT_EQ(Viewers().size(), 1);
    form->findChild<QMenu*>(QStringLiteral("Lang"))->findChild<QAction*>(QStringLiteral("pl"))->trigger();
    EXPECT_TRUE(Viewers().isEmpty());

    PressF1(form);
    ASSERT_EQ(Viewers().size(), 1);
    EXPECT_EQ(Viewers().first()->File(), HelpFileOf("pl"));

    TScriptedAnswers answers({QMessageBox::Yes});
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(Viewers().isEmpty());
    EXPECT_FALSE(TContextHelp::HelpCommand(TContextHelp::HELP_CONTEXT, 1000));
}

TEST_F(HelpTest, AMissingHelpFileFallsBackToEnglishAndIsLogged)
{
    struct SCase
    {
        const char* symbol;
        std::vector<const char*> missing;
        const char* shown; // nullptr: no help at all
        int logLines;
    };
    const SCase cases[] = {
        {"pl", {}, "pl", 0},
        {"", {}, "en", 0},
        {"pl", {"pl"}, "en", 1},
        {"de", {}, "en", 1},
        {"pl", {"pl", "en"}, nullptr, 2},
    };
    for (const SCase& row : cases) {
        SCOPED_TRACE(std::string("symbol ") + row.symbol + ", missing " + std::to_string(row.missing.size()));
        std::vector<std::unique_ptr<TMissingHelpFile>> missing;
        for (const char* symbol : row.missing)
            missing.push_back(std::make_unique<TMissingHelpFile>(symbol));
        TLogProbe log;
        TMessageRecorder messages;
        form->HTMLHelpChange(QString::fromLatin1(row.symbol));

        QStringList logged = log.NewLines().filter(QStringLiteral("[HTMLHelpChange] file("));
        EXPECT_EQ(logged.size(), row.logLines);
        if (row.logLines > 0)
            EXPECT_TRUE(logged.first().endsWith(QStringLiteral("[HTMLHelpChange] file(") +
                                                HelpFileOf(row.symbol) + QStringLiteral(") doesn't exits.")));
        if (row.shown == nullptr) {
            ASSERT_EQ(messages.Texts().size(), 1);
            EXPECT_EQ(messages.Texts().first(),
                      gLang.GetString(QStringLiteral("MessHelpFile"), form) + HelpFileOf("en"));
        } else {
            EXPECT_TRUE(messages.Texts().isEmpty());
        }

        PressF1(form);
        ShowActive(form);
        Click("ToolButtonHelp");
        if (row.shown == nullptr) {
            EXPECT_TRUE(Viewers().isEmpty());
        } else {
            ASSERT_EQ(Viewers().size(), 1);
            EXPECT_EQ(Viewers().first()->File(), HelpFileOf(row.shown));
        }
        HHCloseAll();
    }
}

TEST(HelpFiles, AFileThatIsNoManualOpensOrShowsNothing)
{
    QTemporaryDir folder;
    struct SCase
    {
        const char* name;
        QByteArray content;
        bool shown;
    };
    const SCase cases[] = {
        {"broken.html", QByteArray("<html><body><h1 id=\"1000\">Half a page<p><b><i"), true},
        {"binary.html", QByteArray("\x00\xff\xfe<\x01>\x80", 7).repeated(1000), true},
        {"huge.html",
         QByteArray("<p>a few words of a very long manual</p>\n").repeated(10 * 1024 * 1024 / 40), false},
    };
    for (const SCase& row : cases) {
        SCOPED_TRACE(row.name);
        QFile file(folder.filePath(QString::fromLatin1(row.name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(row.content);
        file.close();
        THookHelpSystem help(file.fileName(), THostType::htHHAPI);
        TLogProbe log;
        EXPECT_EQ(help.HelpContext(1000), 0);
        EXPECT_EQ(Viewers().size(), row.shown ? 1 : 0);
        EXPECT_EQ(log.Contains(QStringLiteral("[HelpViewer]")), !row.shown);
    }
}

TEST(HelpTrace, ADebugStartTracesEveryHelpCall)
{
    // The rest of the run goes untraced again, as it started.
    struct TUntraced
    {
        ~TUntraced() { THelpTrace::Start(TAppPaths::ProgramFolder(), {}, QDir::tempPath()); }
    } untraced;
    QTemporaryDir folder;
    THelpTrace::Start(folder.path(), {QStringLiteral("kelvarion"), QStringLiteral("-DEBUG")}, folder.path());
    const QString manual = HelpFileOf("en");
    {
        THookHelpSystem help(manual, THostType::htHHAPI);
        TContextHelp::HelpCommand(TContextHelp::HELP_CONTEXT, 2400);
        help.HelpTopic(QString());
    }
    THelpTrace::Stop();
    QFile trace(folder.filePath(QStringLiteral("HHDebug.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'));
    const QStringList calls =
        lines.mid(lines.indexOf(QStringLiteral("THookHelpSystem.Create(\"%1\",\"\", 0)").arg(manual)));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("THookHelpSystem.Create(\"%1\",\"\", 0)").arg(manual),
                                  QStringLiteral("THookHelpSystem.HelpHook(HELP_CONTEXT, 2400)"),
                                  QStringLiteral("ShowContext(\"%1\", 2400)").arg(manual),
                                  QStringLiteral("  returned - 0"),
                                  QStringLiteral("ShowTopic(\"%1\", 0)").arg(manual),
                                  QStringLiteral("  returned - 0"), QStringLiteral("THookHelpSystem.Destroy"),
                                  QString()}));
    EXPECT_GT(lines.indexOf(calls.first()), 0) << "the trace starts with a header";
}
