// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

class QPainter;

// Draws a series marker in the square bounds with the painter's pen; bit 2 of the style fills
// it with fillColour, the two low bits choose diamond, square, cross or apex-down triangle.
void DrawMarker(QPainter& painter, const QRect& bounds, uint8_t style, const QColor& fillColour);
