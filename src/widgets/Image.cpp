// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Image.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

TImage::TImage(QWidget* parent) : QWidget(parent)
{
}

void TImage::ShowBitmap()
{
    update();
}

// The bitmap is drawn from where it lies rather than copied into a pixmap first: a legend of
// a thousand rows is tens of megabytes, of which the scroll box shows a few rows.
void TImage::paintEvent(QPaintEvent* event)
{
    const QRectF exposed(event->rect());
    const QRect pixels =
        QRectF(exposed.topLeft() * m_ratio, exposed.size() * m_ratio).toAlignedRect() & m_bitmap.rect();
    if (pixels.isEmpty())
        return;
    if (m_exposeHook)
        m_exposeHook(pixels);
    QPainter painter(this);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(m_bitmap.size()) / m_ratio), m_bitmap);
}

QSize TImage::DeviceSize() const
{
    return QSize(int(std::lround(width() * m_ratio)), int(std::lround(height() * m_ratio)));
}

void TImage::FitToBitmap()
{
    resize(int(std::ceil(m_bitmap.width() / m_ratio)), int(std::ceil(m_bitmap.height() / m_ratio)));
}
