// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// An image control: it owns the bitmap the charts draw into and shows it. On a high-density
// screen the bitmap holds the control's device pixels and is shown pixel for pixel.
class TImage : public QWidget
{
    Q_OBJECT

public:
    // Given the bitmap's pixels about to be shown, before they are shown.
    using TExposeHook = std::function<void(const QRect& pixels)>;

    explicit TImage(QWidget* parent = nullptr);

    QImage* Bitmap() { return &m_bitmap; }
    // Has the bitmap shown again; the screen shows it as it is when the window paints.
    void ShowBitmap();
    // A bitmap painted only where it is seen (a long legend) is painted from here.
    void SetExposeHook(TExposeHook hook) { m_exposeHook = std::move(hook); }

    void SetDevicePixelRatio(qreal ratio) { m_ratio = ratio; }
    qreal DevicePixelRatio() const { return m_ratio; }
    // The control's size in device pixels.
    QSize DeviceSize() const;
    // Gives the control the size of its bitmap.
    void FitToBitmap();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
    qreal m_ratio = 1.0;
    TExposeHook m_exposeHook;
};
