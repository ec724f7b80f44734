// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

class QPainter;
class QPrinter;
class QRect;
class QWidget;
class TDataEngine;

// The page's parts in printer pixels; every halving and division truncates.
struct SPageGeometry
{
    static SPageGeometry ForPage(int pageWidth, int pageHeight);
    int RightX() const { return MarginX + Gap + ChartSize; }

    int PageWidth = 0;
    int PageHeight = 0;
    int MarginX = 0;
    int MarginY = 0;
    // Between the two charts.
    int Gap = 0;
    // The side of each square chart.
    int ChartSize = 0;
    int HalfWidth = 0;
    int PrintScale = 1;
};

// The page as one printing laid it out: the geometry and the height of a line of the
// printer's font, which places the charts and the legend beneath their captions.
struct SPageLayout
{
    SPageGeometry geometry;
    int LineHeight = 0;
};

// The printed report: both audiograms side by side with their captions, the legend centred
// beneath them with a line for each test whose answers are doubtful, and a footer, drawn by a
// data store of its own so that the screen's charts stay as they are.
class TPrintReport
{
public:
    // The texts come from the owner's language section, the footer's caption is the owner's,
    // and the owner owns the dialog and the error box.
    explicit TPrintReport(QWidget* owner);

    // The print command: the print dialog, then the page; a failure is shown in a box.
    void Run(const TDataEngine& source) const;
    // Prints the page on a printer its dialog has set up. Throws std::runtime_error when the
    // printer fails; a printer job is then aborted, and a PDF file is written whole or not at all.
    SPageLayout Print(QPrinter& printer, const TDataEngine& source, const QDateTime& printedAt) const;
    // Draws the page on the painter's device, whose size is the printable area.
    SPageLayout PaintPage(QPainter& painter, const TDataEngine& source, const QDateTime& printedAt) const;

private:
    SPageLayout PrintToFile(const QPrinter& printer, const TDataEngine& source,
                            const QDateTime& printedAt) const;
    static void DrawDoubtfulTests(QPainter& painter, const TDataEngine& source, const QRect& area);
    QString Text(const char* key) const;

    QWidget* m_owner;
};
