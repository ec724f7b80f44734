// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/Marker.h"

#include <QPainter>
#include <QPolygon>

namespace {

enum EMarkerShape
{
    DiamondShape = 0,
    SquareShape = 1,
    CrossShape = 2,
    TriangleShape = 3
};

constexpr uint8_t FilledBit = 4;

} // namespace

void DrawMarker(QPainter& painter, const QRect& bounds, uint8_t style, const QColor& fillColour)
{
    const int left = bounds.left();
    const int top = bounds.top();
    const int right = bounds.right();
    const int bottom = bounds.bottom();
    const int cx = (left + right) / 2;
    const int cy = (top + bottom) / 2;

    painter.setBrush((style & FilledBit) != 0 ? QBrush(fillColour) : QBrush(Qt::NoBrush));
    switch (style % 4) {
    case DiamondShape:
        painter.drawPolygon(
            QPolygon({QPoint(cx, top), QPoint(right, cy), QPoint(cx, bottom), QPoint(left, cy)}));
        break;
    case SquareShape:
        painter.drawPolygon(
            QPolygon({QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom)}));
        break;
    case CrossShape:
        painter.drawLine(left, top, right, bottom);
        painter.drawLine(left, bottom, right, top);
        break;
    case TriangleShape:
        painter.drawPolygon(QPolygon({QPoint(cx, bottom), QPoint(right, top), QPoint(left, top)}));
        break;
    }
    painter.setBrush(Qt::NoBrush);
}
