#include "shell/StartUp.h"

#include "help/HtmlHelp.h"
#include "lang/Lang.h"
#include "log/Tools.h"
#include "platform/MessageBox.h"
#include "platform/SignalWatcher.h"
#include "settings/Options.h"
#include "shell/MainForm.h"
#include "shell/WindowSet.h"
#include "sound/VolumeState.h"

#include <QApplication>
#include <QStringList>

#include <exception>

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

int TStartUp::Run(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    ApplyLangOption(arguments.join(QLatin1Char(' ')));

    QApplication application(argc, argv);
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
        gLang.ChangeLangSym(gOptions.Lang);
        TMessageBox::ShowPending();
        if (terminated)
            return 0;

        const TWindowSet windows;
        windows.Main()->show();
        QApplication::exec();
    } catch (const std::exception& error) {
        TMessageBox::Show({nullptr, QString::fromLocal8Bit(error.what()), ProductName,
                           QMessageBox::Ok, QMessageBox::Critical});
    } catch (...) {
        TMessageBox::Show({nullptr, QString(), ProductName, QMessageBox::Ok, QMessageBox::Critical});
    }
    return 0;
}
