// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>

class QPaintDevice;
class QPainter;

// Texts shaped once in one font and kept while they are drawn again: shaping is the costly
// part of a table of many rows that is redrawn as often as the window is. A text is drawn
// and measured as QPainter::drawText and QFontMetrics do.
class TShapedTextCache
{
public:
    // A font other than the last forgets every text shaped before.
    void SetFont(const QFont& font, const QPaintDevice* device);
    const QFont& Font() const { return m_font; }
    int Width(const QString& text);
    void Draw(QPainter& painter, int x, int baseline, const QString& text);
    // Starts a drawing: texts not used since the last start are forgotten, so the cache holds
    // no more than two drawings' texts.
    void NextDrawing();

private:
    struct SShaped
    {
        int width = 0;
        bool laidOut = false;
        qreal ascent = 0;
        QList<QGlyphRun> runs;
    };

    // Measured only: most texts of a long table are never drawn, since they are not seen.
    SShaped& Measured(const QString& text);
    const SShaped& Shaped(const QString& text);
    void LayOut(const QString& text, SShaped& shaped) const;

    QFont m_font;
    QFontMetrics m_metrics{QFont()};
    const QPaintDevice* m_device = nullptr;
    QHash<QString, SShaped> m_used;
    QHash<QString, SShaped> m_previous;
};
