// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/Marker.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QTransform>

#include <cmath>

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

bool TMarkerStamp::Fits(const QPainter& painter, const QColor& colour, int size, int penWidth)
{
    const QTransform transform = painter.deviceTransform();
    // Where a clip cuts it, Qt's one-pixel pen draws a long edge one pixel shorter than in the
    // stamp; the markers drawn with that pen are at most 11 pixels, which it draws alike.
    const bool cutShort = penWidth <= 1 && size > 11 && painter.hasClipping();
    return colour.alpha() == 255 && !cutShort && !painter.testRenderHint(QPainter::Antialiasing) &&
           transform.type() <= QTransform::TxTranslate && transform.dx() == std::trunc(transform.dx()) &&
           transform.dy() == std::trunc(transform.dy()) &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

TMarkerStamp::TMarkerStamp(int size, uint8_t style, const QPen& pen, const QColor& fillColour)
    : m_margin(size / 2 + pen.width() + 2)
{
    m_image = QImage(2 * m_margin + 1, 2 * m_margin + 1, QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::transparent);
    QPainter painter(&m_image);
    painter.setPen(pen);
    const QPoint centre(m_margin, m_margin);
    const QPoint half(size / 2, size / 2);
    DrawMarker(painter, QRect(centre - half, centre + half), style, fillColour);
}

void TMarkerStamp::Draw(QPainter& painter, const QPoint& centre) const
{
    painter.drawImage(centre - QPoint(m_margin, m_margin), m_image);
}
