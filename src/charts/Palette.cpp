// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/Palette.h"

#include <array>

QColor Palette(int index)
{
    static constexpr std::array<QRgb, 27> colours = {
        qRgb(255, 127, 80), qRgb(34, 139, 34),   qRgb(0, 255, 255),   qRgb(255, 255, 0),
        qRgb(0, 0, 205),    qRgb(25, 25, 112),   qRgb(112, 25, 25),   qRgb(153, 50, 204),
        qRgb(255, 0, 255),  qRgb(0, 0, 0),       qRgb(245, 245, 245), qRgb(119, 136, 153),
        qRgb(255, 69, 0),   qRgb(255, 160, 122), qRgb(255, 239, 213), qRgb(245, 222, 179),
        qRgb(205, 92, 92),  qRgb(250, 128, 114), qRgb(173, 255, 47),  qRgb(127, 255, 212),
        qRgb(46, 139, 87),  qRgb(218, 165, 32),  qRgb(0, 255, 127),   qRgb(65, 105, 225),
        qRgb(0, 0, 139),    qRgb(75, 0, 130),    qRgb(72, 61, 139)};
    if (index >= 0 && index < static_cast<int>(colours.size()))
        return QColor(colours[static_cast<size_t>(index)]);
    return QColor(255, 0, 0);
}
