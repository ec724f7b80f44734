#include "platform/Image.h"

#include <QPixmap>

TImage::TImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TImage::ShowBitmap()
{
    setPixmap(QPixmap::fromImage(m_bitmap));
}
