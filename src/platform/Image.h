#pragma once

#include <QImage>
#include <QLabel>

// An image control: a label that owns the bitmap the charts draw into and shows it. The
// bitmap changes only when someone draws; ShowBitmap() then puts the new picture on screen.
class TImage : public QLabel
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    QImage* Bitmap() { return &m_bitmap; }
    void ShowBitmap();

private:
    QImage m_bitmap;
};
