// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ShapedTextCache.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace {

// QFontMetrics measures a text as its line is drawn unless the text holds a control character
// or a separator: it stops at U+009C, measures past a line separator that ends the line drawn,
// and lets a control character between right-to-left letters and a mark change the line's
// direction.
bool MeasuresAsDrawn(const QString& text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        const QChar::Category category = c.category();
        return category == QChar::Other_Control || category == QChar::Separator_Line ||
               category == QChar::Separator_Paragraph;
    });
}

} // namespace

void TShapedTextCache::SetFont(const QFont& font, const QPaintDevice* device)
{
    if (font == m_font && device == m_device)
        return;
    m_font = font;
    m_device = device;
    m_metrics = QFontMetrics(font, device);
    m_used.clear();
    m_previous.clear();
}

int TShapedTextCache::Width(const QString& text)
{
    return Measured(text).width;
}

void TShapedTextCache::Draw(QPainter& painter, int x, int baseline, const QString& text)
{
    const SShaped& shaped = Shaped(text);
    const QPointF origin(x, baseline - shaped.ascent);
    for (const QGlyphRun& run : shaped.runs)
        painter.drawGlyphRun(origin, run);
}

void TShapedTextCache::NextDrawing()
{
    m_previous = std::exchange(m_used, {});
}

TShapedTextCache::SShaped& TShapedTextCache::Measured(const QString& text)
{
    auto used = m_used.find(text);
    if (used != m_used.end())
        return *used;
    const auto previous = m_previous.constFind(text);
    if (previous != m_previous.cend())
        return *m_used.insert(text, *previous);
    SShaped measured;
    if (!MeasuresAsDrawn(text))
        LayOut(text, measured);
    else
        measured.width = m_metrics.horizontalAdvance(text);
    return *m_used.insert(text, measured);
}

const TShapedTextCache::SShaped& TShapedTextCache::Shaped(const QString& text)
{
    SShaped& shaped = Measured(text);
    if (!shaped.laidOut)
        LayOut(text, shaped);
    return shaped;
}

void TShapedTextCache::LayOut(const QString& text, SShaped& shaped) const
{
    shaped.laidOut = true;
    QTextLayout layout(text, m_font, m_device);
    QTextOption option;
    // As QPainter::drawText lays out a line: left to right, never wrapped.
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        // The same rounding as QFontMetrics, which measured the text if it was measured first.
        shaped.width = qRound(line.horizontalAdvance());
        shaped.ascent = line.ascent();
        shaped.runs = line.glyphRuns();
    }
}
