// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdint>

class QPainter;
class QPen;

// Draws a series marker in the square bounds with the painter's pen; bit 2 of the style fills
// it with fillColour, the two low bits choose diamond, square, cross or apex-down triangle.
void DrawMarker(QPainter& painter, const QRect& bounds, uint8_t style, const QColor& fillColour);

// A marker drawn once and then copied, at a fraction of the cost of drawing it each time. A copy
// is pixel for pixel the marker drawn in place only where nothing is blended: an opaque
// colour, no antialiasing, and a painter that only moves its drawings by whole pixels.
class TMarkerStamp
{
public:
    static bool Fits(const QPainter& painter, const QColor& colour, int size, int penWidth);
    TMarkerStamp(int size, uint8_t style, const QPen& pen, const QColor& fillColour);
    // The same marker as DrawMarker draws in the square of this size around the centre.
    void Draw(QPainter& painter, const QPoint& centre) const;

private:
    QImage m_image;
    int m_margin = 0;
};
