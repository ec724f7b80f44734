// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the layout of a wave image back from its header, as playback does.
#include "sound/WaveImage.h"
#include "sound/SoundEngine.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ToneImage()
{
    const size_t size = TSoundEngine::FrameCount(TSoundEngine::ToneDuration, TWaveImage::SampleRate) * 4 +
                        TWaveImage::HeaderSize;
    std::vector<uint8_t> image(size, 0);
    TWaveImage::WriteWaveHeader(image.data(), uint32_t(size), TWaveImage::SampleRate,
                                TWaveImage::BitsPerSample);
    return image;
}

// A chunk put in front of the data chunk, as other writers of wave files do.
void InsertChunk(std::vector<uint8_t>& image, const char* tag, const std::string& body)
{
    std::vector<uint8_t> chunk(tag, tag + 4);
    chunk.resize(8);
    qToLittleEndian<uint32_t>(uint32_t(body.size()), chunk.data() + 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        chunk.push_back(0);
    image.insert(image.begin() + 36, chunk.begin(), chunk.end());
}

struct SCase
{
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    bool parses;
    size_t dataOffset;
    size_t dataSize;
};

TEST(WaveImageTest, HeaderReadsBackOrIsRefused)
{
    const SCase cases[] = {
        {"as written", [](std::vector<uint8_t>&) {}, true, 44, 158760},
        {"odd chunk before the data", [](std::vector<uint8_t>& image) { InsertChunk(image, "LIST", "abc"); },
         true, 56, 158760},
        {"data cut short", [](std::vector<uint8_t>& image) { image.resize(1000); }, true, 44, 956},
        {"data cut inside a frame", [](std::vector<uint8_t>& image) { image.resize(1003); }, true, 44, 956},
        {"not RIFF", [](std::vector<uint8_t>& image) { image[0] = 'X'; }, false, 0, 0},
        {"not WAVE", [](std::vector<uint8_t>& image) { image[8] = 'X'; }, false, 0, 0},
        {"not PCM", [](std::vector<uint8_t>& image) { image[20] = 3; }, false, 0, 0},
        {"no channels", [](std::vector<uint8_t>& image) { image[22] = 0; }, false, 0, 0},
        {"8 bits", [](std::vector<uint8_t>& image) { image[34] = 8; }, false, 0, 0},
        {"24 bits", [](std::vector<uint8_t>& image) { image[34] = 24; }, false, 0, 0},
        {"block alignment not the frame size", [](std::vector<uint8_t>& image) { image[32] = 3; }, false, 0,
         0},
        {"no format chunk", [](std::vector<uint8_t>& image) { image[12] = 'X'; }, false, 0, 0},
        {"no data chunk", [](std::vector<uint8_t>& image) { image[36] = 'X'; }, false, 0, 0},
        {"header only", [](std::vector<uint8_t>& image) { image.resize(20); }, false, 0, 0},
    };
    for (const SCase& c : cases) {
        std::vector<uint8_t> image = ToneImage();
        c.change(image);
        SWaveData data;
        ASSERT_EQ(TWaveImage::ParseWaveImage(image.data(), image.size(), data), c.parses) << c.name;
        if (!c.parses)
            continue;
        EXPECT_EQ(data.format, (SWaveFormat{1, 2, 44100, 176400, 4, 16})) << c.name;
        EXPECT_EQ(data.samples - image.data(), ptrdiff_t(c.dataOffset)) << c.name;
        EXPECT_EQ(data.size, c.dataSize) << c.name;
    }
}

} // namespace
