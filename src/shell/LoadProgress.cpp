// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/LoadProgress.h"

#include "log/FileNames.h"
#include "log/Version.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QWindow>

#include <algorithm>
#include <limits>

TLoadProgress::TLoadProgress(QWidget* owner, const QString& text, const QStringList& files)
    : m_dialog(owner), m_text(text)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qint64 total = 0;
    for (const QString& file : files) {
        m_sizes.append(QFileInfo(file).size());
        total += m_sizes.last();
    }
    m_bytesPerStep = total / std::numeric_limits<int>::max() + 1;
    m_dialog.setWindowTitle(ProductName);
    m_dialog.setWindowModality(Qt::WindowModal);
    // The last bytes of the last file must not close the dialog before the command ends.
    m_dialog.setAutoReset(false);
    m_dialog.setRange(0, int(total / m_bytesPerStep));
    m_dialog.setMinimumDuration(files.size() >= ManyFiles || total >= ManyBytes ? 0 : PatienceMs);
}

TLoadProgress::~TLoadProgress()
{
    QApplication::restoreOverrideCursor();
}

bool TLoadProgress::NextFile(const QString& path)
{
    if (m_filesStarted > 0)
        m_bytesBefore += m_sizes.value(m_filesStarted - 1);
    ++m_filesStarted;
    m_dialog.setLabelText(m_text + QLatin1Char('\n') + FileNamePart(path));
    return FileRead(0);
}

bool TLoadProgress::FileRead(qint64 bytes)
{
    // Once the dialog shows, this also lets the window repaint and the dialog take its Cancel.
    m_dialog.setValue(int(std::min<qint64>((m_bytesBefore + bytes) / m_bytesPerStep, m_dialog.maximum())));
    if (m_dialog.isVisible() && !m_shown)
        Appear();
    return !m_dialog.wasCanceled();
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
