// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/HelpViewer.h"

#include "log/Log.h"

#include <QApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>

namespace {

// The manual is some tens of kilobytes; a file fifty times larger is not a manual, and laying
// it out would hold the program up for a second and more.
constexpr qint64 kLargestHelpFile = 2 * 1024 * 1024;

} // namespace

THelpViewer::THelpViewer()
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 680);
    document()->setDocumentMargin(12);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(this, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(documentTitle()); });
}

bool THelpViewer::Load(const QString& file)
{
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable()) {
        LOG_AT(QStringLiteral("[HelpViewer] cannot read the help file ") + file);
        return false;
    }
    if (info.size() > kLargestHelpFile) {
        LOG_AT(QStringLiteral("[HelpViewer] the help file is too large to show (%1 bytes): %2")
                   .arg(info.size())
                   .arg(file));
        return false;
    }
    m_file = file;
    setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    return true;
}

void THelpViewer::ShowAnchor(const QString& anchor)
{
    m_anchor = HasAnchor(anchor) ? anchor : QString();
    if (m_anchor.isEmpty())
        verticalScrollBar()->setValue(0);
    else
        scrollToAnchor(m_anchor);
}

void THelpViewer::Present()
{
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality =
        modal != nullptr && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    // Qt takes a new modality only while the window is hidden.
    if (modality != windowModality()) {
        hide();
        setWindowModality(modality);
    }
    show();
}

bool THelpViewer::HasAnchor(const QString& anchor) const
{
    if (anchor.isEmpty())
        return false;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.charFormat().anchorNames().contains(anchor))
            return true;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorNames().contains(anchor))
                return true;
        }
    }
    return false;
}
