// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LargeImage.h"

#include <sys/mman.h>

#include <cstddef>

namespace {

// Below one huge page the ordinary allocator does as well.
constexpr size_t HugePageBytes = size_t(2) << 20;

struct SMapping
{
    void* address;
    size_t bytes;
};

void Unmap(void* info)
{
    const auto* mapping = static_cast<SMapping*>(info);
    munmap(mapping->address, mapping->bytes);
    delete mapping;
}

} // namespace

QImage TLargeImage::Create(const QSize& size, QImage::Format format)
{
    const qsizetype bitsPerPixel = QImage::toPixelFormat(format).bitsPerPixel();
    const qsizetype bytesPerLine = (qsizetype(size.width()) * bitsPerPixel + 31) / 32 * 4;
    const size_t bytes = size.isEmpty() ? 0 : size_t(bytesPerLine) * size_t(size.height());
    if (bytes < HugePageBytes)
        return QImage(size, format);
    void* address = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return QImage(size, format);
    // Only advice: where huge pages are off, the bitmap works the same in small ones.
    madvise(address, bytes, MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(address), size.width(), size.height(), bytesPerLine, format, Unmap,
                  new SMapping{address, bytes});
}
