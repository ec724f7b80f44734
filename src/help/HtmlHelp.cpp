// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HtmlHelp.h"

#include "help/HelpTrace.h"
#include "help/HelpViewer.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPointer>

#include <memory>
#include <utility>

bool _hhInstalled = false;

namespace {

QList<QPointer<THelpViewer>>& Viewers()
{
    static QList<QPointer<THelpViewer>> viewers;
    return viewers;
}

THelpViewer* ViewerOf(const QString& file)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    for (const QPointer<THelpViewer>& viewer : Viewers()) {
        if (viewer && QFileInfo(viewer->File()).absoluteFilePath() == path)
            return viewer;
    }
    return nullptr;
}

} // namespace

void LoadHtmlHelp()
{
    THelpTrace::Start(TAppPaths::Folders().state, QCoreApplication::arguments(), QDir::tempPath());
    _hhInstalled = true;
}

void UnloadHtmlHelp()
{
    HHCloseAll();
    _hhInstalled = false;
    THelpTrace::Stop();
}

THelpViewer* HtmlHelp(const QString& file, const QString& anchor)
{
    if (!_hhInstalled)
        return nullptr;
    THelpViewer* viewer = ViewerOf(file);
    if (viewer == nullptr) {
        auto opened = std::make_unique<THelpViewer>();
        if (!opened->Load(file))
            return nullptr;
        viewer = opened.release();
        Viewers().removeAll(nullptr);
        Viewers().append(viewer);
    }
    viewer->ShowAnchor(anchor);
    viewer->Present();
    return viewer;
}

void HHCloseAll()
{
    // Deleted at once, not later: the help object that asks for this is being replaced.
    for (const QPointer<THelpViewer>& viewer : std::exchange(Viewers(), {}))
        delete viewer.data();
}

void HHShowError(int code)
{
    if (code == 0)
        return;
    QString text;
    switch (code) {
    case 1:
        text = QStringLiteral("MS Html Help is not installed on this PC.");
        break;
    case 2:
        text = QStringLiteral("System file KeyHH.EXE was not found in the Windows folder.");
        break;
    case 3:
        text = QStringLiteral("System file HH.EXE was not found in the Windows folder.");
        break;
    default:
        text = QStringLiteral("Unknown error returned by HHHelpContext");
    }
    TMessageBox::Show(
        {nullptr, text, QCoreApplication::applicationName(), QMessageBox::Ok, QMessageBox::Warning});
}
