// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

// A bitmap for drawing into. A large one (a legend of a thousand rows is tens of megabytes)
// lies in memory the system is asked to give in huge pages: a new bitmap is filled page by
// page, and faulting in thousands of small pages cost more than the filling itself.
class TLargeImage
{
public:
    static QImage Create(const QSize& size, QImage::Format format);
};
