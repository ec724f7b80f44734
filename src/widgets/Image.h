// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QLabel>

// An image control: a label that owns the bitmap the charts draw into and shows it. The
// bitmap changes only when someone draws; ShowBitmap() then puts the new picture on screen.
// On a high-density screen the bitmap holds the control's device pixels and is shown pixel
// for pixel.
class TImage : public QLabel
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    QImage* Bitmap() { return &m_bitmap; }
    void ShowBitmap();

    void SetDevicePixelRatio(qreal ratio) { m_ratio = ratio; }
    qreal DevicePixelRatio() const { return m_ratio; }
    // The control's size in device pixels.
    QSize DeviceSize() const;
    // Gives the control the size of its bitmap.
    void FitToBitmap();

private:
    QImage m_bitmap;
    qreal m_ratio = 1.0;
};
