#include "shell/LoadProgress.h"

#include "log/Tools.h"

#include <QApplication>

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
    if (m_dialog.isVisible())
        QApplication::changeOverrideCursor(Qt::BusyCursor);
    if (m_dialog.wasCanceled())
        return false;
    ++m_filesRead;
    return true;
}
