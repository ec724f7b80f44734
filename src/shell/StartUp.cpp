// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StartUp.h"

#include "help/HtmlHelp.h"
#include "lang/Lang.h"
#include "log/Log.h"
#include "log/Version.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/SignalWatcher.h"
#include "platform/SingleInstance.h"
#include "settings/Options.h"
#include "shell/MainForm.h"
#include "shell/WindowSet.h"
#include "sound/VolumeState.h"
#include "widgets/AppStyle.h"
#include "widgets/BundledIcon.h"

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTimer>

#include <exception>
#include <utility>

namespace {

// The help viewer is loaded before the first window and released after the last, however the
// run ends.
struct SHtmlHelpLoaded
{
    SHtmlHelpLoaded() { LoadHtmlHelp(); }
    ~SHtmlHelpLoaded() { UnloadHtmlHelp(); }
};

} // namespace

QString TStartUp::LangOption(const QString& commandLine)
{
    const int at = commandLine.indexOf(QLatin1String("-lang"));
    if (at < 0)
        return {};
    // The five letters and the one character after them, normally a blank, are skipped.
    QString symbol = commandLine.mid(at + 6, 100);
    const int blank = symbol.indexOf(QLatin1Char(' '), 1);
    if (blank > 0)
        symbol.truncate(blank);
    return symbol;
}

void TStartUp::ApplyLangOption(const QString& commandLine)
{
    const QString symbol = LangOption(commandLine);
    if (!symbol.isEmpty() && gOptions.Lang.isEmpty())
        gOptions.SetLang(symbol);
}

void TStartUp::ChooseLanguage()
{
    gLang.ChangeLangSym(gOptions.Lang);
    if (gOptions.Lang.compare(gLang.LangSymbol, Qt::CaseInsensitive) == 0)
        gOptions.SetLang(gLang.LangSymbol);
}

QStringList TStartUp::FileArguments(const QStringList& arguments, const QString& startFolder)
{
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-lang"))
            ++i;
        else if (!argument.startsWith(QLatin1Char('-')) &&
                 argument.compare(QLatin1String("/debug"), Qt::CaseInsensitive) != 0)
            files.append(QDir::cleanPath(QDir(startFolder).absoluteFilePath(argument)));
    }
    return files;
}

QString TStartUp::FolderProblemText(const SAppFolders& folders)
{
    QStringList parts;
    const std::pair<const QString&, const char*> problems[] = {
        {folders.settingsProblem, "MessNoSettingsFolder"}, {folders.stateProblem, "MessNoStateFolder"}};
    for (const auto& [problem, key] : problems) {
        if (!problem.isEmpty())
            parts.append(gLang.GetSectionString(QLatin1String(key), QStringLiteral("DefSection")) + problem);
    }
    return parts.join(QStringLiteral("\n\n"));
}

int TStartUp::HandOver(const TSingleInstance& instance, const QStringList& files)
{
    // The running program owns the settings; this run must not write its own over them.
    gOptions.KeepFileAsIs();
    constexpr int handOverMs = 10000;
    if (!instance.HandOver(files, handOverMs)) {
        TMessageBox::Show(
            {nullptr,
             gLang.GetSectionString(QStringLiteral("MessAlreadyRunning"), QStringLiteral("DefSection")),
             ProductName, QMessageBox::Ok, QMessageBox::Warning});
    }
    return 0;
}

// Every window shows the icon of the menu entry, and the desktop finds the entry by its name.
// Window managers draw a window's own icon small, and every window sends it to the display, so
// it comes in the small sizes; docks and switchers take the larger installed ones by the name.
void TStartUp::SetWindowIcon()
{
    Q_INIT_RESOURCE(icons);
    QApplication::setWindowIcon(
        TBundledIcon::Sizes(QStringLiteral(":/icons/kelvarion-%1.png"), {16, 24, 32, 48, 64}));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.kelvarion"));
}

int TStartUp::Run(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    ApplyLangOption(arguments.join(QLatin1Char(' ')));

    QApplication application(argc, argv);
    // The style chosen by the desktop, the command line or QT_STYLE_OVERRIDE.
    QApplication::setStyle(new TAppStyle(QApplication::style()));
    // Taken before the application is named, so that the lock names the program as the system
    // does, and a lock left by a killed run is known as such.
    const SAppFolders& folders = TAppPaths::Folders();
    TSingleInstance instance(folders.settingsProblem.isEmpty() ? folders.settings : QString());
    if (!instance.Failure().isEmpty())
        LOG_AT(instance.Failure());
    // Watched from the start: a message box shown before the windows (a log that cannot be
    // written) must not leave SIGTERM to its default of ending the process unclean.
    TSignalWatcher watcher;
    bool terminated = false;
    QObject::connect(&watcher, &TSignalWatcher::terminationRequested, [&terminated] {
        terminated = true;
        if (MainForm != nullptr)
            MainForm->Terminate();
        else
            QApplication::exit(0);
    });
    const SHtmlHelpLoaded help;
    TVolumeState::RestoreLeftOver();
    try {
        QApplication::setApplicationName(ProductName);
        SetWindowIcon();
        ChooseLanguage();
        const QStringList files = FileArguments(QCoreApplication::arguments().mid(1), folders.start);
        if (!instance.IsFirst())
            return HandOver(instance, files);
        const QString problems = FolderProblemText(TAppPaths::Folders());
        if (!problems.isEmpty())
            TMessageBox::Show({nullptr, problems, ProductName, QMessageBox::Ok, QMessageBox::Warning});
        TMessageBox::ShowPending();
        if (terminated)
            return 0;

        const TWindowSet windows([](TMainForm* main) { main->show(); });
        // Opened once the window is on the screen, so that their messages have it behind them.
        QTimer::singleShot(0, windows.Main(), [&windows, files] { windows.Main()->OpenFiles(files); });
        QObject::connect(&instance, &TSingleInstance::filesHandedOver, windows.Main(),
                         [&windows](const QStringList& handed) { windows.Main()->TakeOver(handed); });
        QApplication::exec();
    } catch (const std::exception& error) {
        TMessageBox::Show({nullptr, QString::fromLocal8Bit(error.what()), ProductName, QMessageBox::Ok,
                           QMessageBox::Critical});
    } catch (...) {
        TMessageBox::Show({nullptr, QString(), ProductName, QMessageBox::Ok, QMessageBox::Critical});
    }
    return 0;
}
