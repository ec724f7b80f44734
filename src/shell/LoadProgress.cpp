// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/LoadProgress.h"

#include "log/FileNames.h"
#include "log/Version.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

TLoadProgress::TLoadProgress(QWidget* owner, const QString& text, int fileCount)
    : m_dialog(owner), m_text(text)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_dialog.setWindowTitle(ProductName);
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setRange(0, fileCount);
    m_dialog.setMinimumDuration(fileCount >= ManyFiles ? 0 : PatienceMs);
}

TLoadProgress::~TLoadProgress()
{
    QApplication::restoreOverrideCursor();
}

bool TLoadProgress::NextFile(const QString& path)
{
    m_dialog.setLabelText(m_text + QLatin1Char('\n') + FileNamePart(path));
    // Once the dialog shows, this also lets the window repaint and the dialog take its Cancel.
    m_dialog.setValue(m_filesRead);
    if (m_dialog.isVisible() && !m_shown)
        Appear();
    if (m_dialog.wasCanceled())
        return false;
    ++m_filesRead;
    return true;
}

// The next file may keep the loop busy for long, so the dialog is given the time to be
// mapped and painted first.
void TLoadProgress::Appear()
{
    m_shown = true;
    QApplication::changeOverrideCursor(Qt::BusyCursor);
    QElapsedTimer waited;
    waited.start();
    while (!(m_dialog.windowHandle() != nullptr && m_dialog.windowHandle()->isExposed()) &&
           waited.elapsed() < AppearMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, AppearMs);
    m_dialog.repaint();
}
