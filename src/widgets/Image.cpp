// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Image.h"

#include <QPixmap>

#include <cmath>

TImage::TImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::ShowBitmap()
{
    QPixmap pixmap = QPixmap::fromImage(m_bitmap);
    pixmap.setDevicePixelRatio(m_ratio);
    setPixmap(pixmap);
}

QSize TImage::DeviceSize() const
{
    return QSize(int(std::lround(width() * m_ratio)), int(std::lround(height() * m_ratio)));
}

void TImage::FitToBitmap()
{
    resize(int(std::ceil(m_bitmap.width() / m_ratio)), int(std::ceil(m_bitmap.height() / m_ratio)));
}
