// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBrowser>

// One help file in a window of its own, owned by no other window, so that it stays open beside
// whichever window asked for it. A help file is one page; a section is an anchor in it.
class THelpViewer : public QTextBrowser
{
    Q_OBJECT

public:
    THelpViewer();

    // False, with a log line, for a file that is missing, unreadable or too large to be a manual.
    bool Load(const QString& file);
    // Moves to the anchor, or to the top of the page when the page has no such anchor.
    void ShowAnchor(const QString& anchor);
    // Shows the window so that it can be read and closed: over a window shown modally, which
    // blocks every other window, the manual is modal itself until it is opened again from a
    // window that is not.
    void Present();

    QString File() const { return m_file; }
    // The anchor shown; empty for the top of the page.
    QString Anchor() const { return m_anchor; }

private:
    bool HasAnchor(const QString& anchor) const;

    QString m_file;
    QString m_anchor;
};
