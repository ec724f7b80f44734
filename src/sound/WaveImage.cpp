// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/WaveImage.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t RiffHeaderSize = 12;
constexpr size_t ChunkHeaderSize = 8;
constexpr uint32_t FormatChunkSize = 16;

void WriteTag(uint8_t* at, const char* tag)
{
    std::memcpy(at, tag, 4);
}

SWaveFormat ReadFormatChunk(const uint8_t* chunk)
{
    SWaveFormat format;
    format.formatTag = qFromLittleEndian<uint16_t>(chunk);
    format.channels = qFromLittleEndian<uint16_t>(chunk + 2);
    format.samplesPerSec = qFromLittleEndian<uint32_t>(chunk + 4);
    format.avgBytesPerSec = qFromLittleEndian<uint32_t>(chunk + 8);
    format.blockAlign = qFromLittleEndian<uint16_t>(chunk + 12);
    format.bitsPerSample = qFromLittleEndian<uint16_t>(chunk + 14);
    return format;
}

} // namespace

void TWaveImage::WriteWaveHeader(uint8_t* image, uint32_t size, uint32_t rate, uint16_t bits)
{
    WriteTag(image, "RIFF");
    qToLittleEndian<uint32_t>(size - 8, image + 4);
    WriteTag(image + 8, "WAVE");
    WriteTag(image + 12, "fmt ");
    qToLittleEndian<uint32_t>(FormatChunkSize, image + 16);
    qToLittleEndian<uint16_t>(SWaveFormat::PcmFormatTag, image + 20);
    qToLittleEndian<uint16_t>(Channels, image + 22);
    qToLittleEndian<uint32_t>(rate, image + 24);
    qToLittleEndian<uint32_t>(rate * Channels * bits / 8, image + 28);
    qToLittleEndian<uint16_t>(bits / 8 * Channels, image + 32);
    qToLittleEndian<uint16_t>(bits, image + 34);
    WriteTag(image + 36, "data");
    qToLittleEndian<uint32_t>(size - uint32_t(HeaderSize), image + 40);
}

bool TWaveImage::ParseWaveImage(const uint8_t* image, size_t size, SWaveData& data)
{
    if (image == nullptr || size < RiffHeaderSize || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "WAVE", 4) != 0)
        return false;
    bool formatFound = false;
    size_t offset = RiffHeaderSize;
    while (offset + ChunkHeaderSize <= size) {
        const uint8_t* chunk = image + offset;
        const size_t body = offset + ChunkHeaderSize;
        const size_t chunkSize = qFromLittleEndian<uint32_t>(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && chunkSize >= FormatChunkSize &&
            body + FormatChunkSize <= size) {
            data.format = ReadFormatChunk(image + body);
            formatFound = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatFound || !data.format.IsPlayable())
                return false;
            data.samples = image + body;
            // A header that promises more than the image holds plays what is there.
            data.size = std::min(chunkSize, size - body) / data.format.blockAlign * data.format.blockAlign;
            return true;
        }
        // Chunks are padded to an even length.
        offset = body + chunkSize + (chunkSize & 1);
    }
    return false;
}
