// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/PrintReport.h"

#include "data/DataEngine.h"
#include "data/DateTime.h"
#include "data/HearingSummary.h"
#include "data/ReliabilityNotes.h"
#include "lang/Lang.h"
#include "platform/CommonDialogs.h"
#include "platform/ExceptionName.h"
#include "platform/MessageBox.h"
#include "settings/Options.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// The page layout defines the margin factor in single precision.
constexpr float kMarginFactor = 0.05f;
// The screen chart's design width; the on-screen size may differ, the print scale may not.
constexpr int kDesignChartWidth = 320;
// A PDF file has no printer resolution of its own; 600 dpi keeps the charts sharp.
constexpr int kFileResolution = 600;

std::runtime_error Failure(const QString& target, const QString& reason)
{
    return std::runtime_error((target + QStringLiteral(": ") + reason).toStdString());
}

// Where a failed print was going: the file, or else the printer.
QString TargetOf(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

void DrawTextTop(QPainter& painter, int left, int top, const QString& text)
{
    painter.drawText(left, top + painter.fontMetrics().ascent(), text);
}

void DrawTextCentred(QPainter& painter, int centre, int top, const QString& text)
{
    DrawTextTop(painter, centre - painter.fontMetrics().horizontalAdvance(text) / 2, top, text);
}

// Only the part on the page goes into the document, so a long legend costs no more than the page.
void DrawOnPage(QPainter& painter, const QPoint& topLeft, const QImage& image)
{
    const QRect placed(topLeft, image.size());
    const QRect visible = placed & QRect(0, 0, painter.device()->width(), painter.device()->height());
    if (!visible.isEmpty())
        painter.drawImage(visible.topLeft(), image, visible.translated(-topLeft));
}

} // namespace

SPageGeometry SPageGeometry::ForPage(int pageWidth, int pageHeight)
{
    SPageGeometry g;
    g.PageWidth = pageWidth;
    g.PageHeight = pageHeight;
    g.MarginX = int(std::trunc(pageWidth * double(kMarginFactor)));
    g.MarginY = int(std::trunc(pageHeight * double(kMarginFactor)));
    g.Gap = g.MarginX / 2;
    g.ChartSize = (pageWidth - 2 * g.MarginX - g.Gap) / 2;
    g.HalfWidth = pageWidth / 2;
    // Below the screen's size a scale of 0 would draw fonts, pens and markers of size 0.
    g.PrintScale = std::max(1, g.ChartSize / kDesignChartWidth);
    return g;
}

TPrintReport::TPrintReport(QWidget* owner) : m_owner(owner)
{
}

QString TPrintReport::Text(const char* key) const
{
    return gLang.GetString(QString::fromLatin1(key), m_owner);
}

void TPrintReport::Run(const TDataEngine& source) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Text("StrPrintTitle"));
    if (!TCommonDialogs::Print({m_owner, &printer}))
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        printer.setResolution(kFileResolution);
    try {
        Print(printer, source, QDateTime::currentDateTime());
    } catch (const std::exception& error) {
        const QString caption = gLang.GetString2(QStringLiteral("MessError"), m_owner);
        TMessageBox::Show(
            {m_owner,
             Text("MessPrintError") + TExceptionName::Of(error) + QString::fromStdString(error.what()),
             caption, QMessageBox::Ok, QMessageBox::Critical});
    }
}

SPageLayout TPrintReport::Print(QPrinter& printer, const TDataEngine& source,
                                const QDateTime& printedAt) const
{
    const QFileInfo file(printer.outputFileName());
    // A save file would replace a device or a pipe, such as /dev/null, by a regular file.
    if (printer.outputFormat() == QPrinter::PdfFormat && (!file.exists() || file.isFile()))
        return PrintToFile(printer, source, printedAt);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Failure(TargetOf(printer), QStringLiteral("QPainter::begin"));
    SPageLayout layout;
    try {
        layout = PaintPage(painter, source, printedAt);
    } catch (...) {
        // Ending the job would print what was drawn so far.
        printer.abort();
        throw;
    }
    if (!painter.end())
        throw Failure(TargetOf(printer), QStringLiteral("QPainter::end"));
    return layout;
}

// Qt writes a printer's PDF file as it goes and tells nobody when the disk is full; through a
// save file the document appears whole, or the old file stays.
SPageLayout TPrintReport::PrintToFile(const QPrinter& printer, const TDataEngine& source,
                                      const QDateTime& printedAt) const
{
    QSaveFile file(printer.outputFileName());
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(file.fileName(), file.errorString());
    QPdfWriter writer(&file);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    QPainter painter;
    if (!painter.begin(&writer))
        throw Failure(file.fileName(), QStringLiteral("QPainter::begin"));
    const SPageLayout layout = PaintPage(painter, source, printedAt);
    painter.end();
    if (!file.commit())
        throw Failure(file.fileName(), file.errorString());
    return layout;
}

// A reader of the page learns which tests' answers cannot be trusted, each on a line of its own.
void TPrintReport::DrawDoubtfulTests(QPainter& painter, const TDataEngine& source, const QRect& area)
{
    QRect free = area;
    for (const auto& measurement : source.datas) {
        const QString line = TReliabilityNotes::Line(
            *measurement, THearingSummary::Of(*measurement, source.referenceOn, gOptions.MaxLevel));
        if (line.isEmpty())
            continue;
        QRect used;
        painter.drawText(free, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line, &used);
        free.setTop(used.bottom() + 1);
    }
}

SPageLayout TPrintReport::PaintPage(QPainter& painter, const TDataEngine& source,
                                    const QDateTime& printedAt) const
{
    SPageLayout layout;
    const SPageGeometry& g = layout.geometry =
        SPageGeometry::ForPage(painter.device()->width(), painter.device()->height());
    QImage left(g.ChartSize, g.ChartSize, QImage::Format_RGB32);
    QImage right(g.ChartSize, g.ChartSize, QImage::Format_RGB32);
    QImage legend(2 * g.ChartSize + g.MarginX, g.ChartSize, QImage::Format_RGB32);
    {
        // Draws both charts and the legend while it is built.
        const TDataEngine printStore(&left, &right, &source, float(g.PrintScale), Qt::white, &legend);
    }

    // Flat-coloured charts compress well without loss; JPEG would blur every line.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    layout.LineHeight = painter.fontMetrics().size(Qt::TextSingleLine, QStringLiteral("Hg")).height();
    const int chartTop = g.MarginY + layout.LineHeight;

    DrawTextCentred(painter, g.MarginX + g.ChartSize / 2, g.MarginY, Text("StrLeftEar"));
    DrawOnPage(painter, QPoint(g.MarginX, chartTop), left);
    DrawTextCentred(painter, g.RightX() + g.ChartSize / 2, g.MarginY, Text("StrRightEar"));
    DrawOnPage(painter, QPoint(g.RightX(), chartTop), right);

    // A legend wider than the page stays centred, and the page cuts both its sides.
    const int legendTop = chartTop + 2 * g.Gap + g.ChartSize;
    DrawTextCentred(painter, g.HalfWidth, legendTop, Text("StrLegend"));
    DrawOnPage(painter, QPoint(g.HalfWidth - legend.width() / 2, legendTop + 2 * layout.LineHeight), legend);
    DrawDoubtfulTests(painter, source,
                      QRect(g.MarginX, legendTop + 3 * layout.LineHeight + legend.height(),
                            g.PageWidth - 2 * g.MarginX, g.PageHeight));

    const int footerTop = g.PageHeight - g.MarginY;
    DrawTextTop(painter, g.MarginX, footerTop, m_owner->windowTitle());
    // A language file cannot end a value with a blank, so the label gets its gap here.
    QString label = Text("StrPrintData");
    if (!label.isEmpty() && !label.back().isSpace())
        label += QLatin1Char(' ');
    const QString printed = label + TDateTime::FromDateTime(printedAt).ToText(QLocale::system());
    DrawTextTop(painter, g.PageWidth - g.MarginX - painter.fontMetrics().horizontalAdvance(printed),
                footerTop, printed);
    return layout;
}
