// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The layout of PCM samples as a RIFF/WAVE header describes it.
struct SWaveFormat
{
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;

    bool operator==(const SWaveFormat&) const = default;
};

// Where the samples of a wave image lie.
struct SWaveData
{
    SWaveFormat format;
    const uint8_t* samples = nullptr;
    size_t size = 0;
};

// The program's one sound format, 16-bit stereo PCM at 44100 Hz, and the RIFF/WAVE header that
// describes it: written in front of every tone, read back by playback.
class TWaveImage
{
public:
    static constexpr uint16_t PcmFormatTag = 1;
    static constexpr uint32_t SampleRate = 44100;
    static constexpr uint16_t BitsPerSample = 16;
    static constexpr uint16_t Channels = 2;
    static constexpr uint16_t FrameBytes = Channels * BitsPerSample / 8;
    static constexpr size_t HeaderSize = 44;
    static constexpr SWaveFormat Format{PcmFormatTag,           Channels,   SampleRate,
                                        SampleRate* FrameBytes, FrameBytes, BitsPerSample};

    // The 44-byte header of an image of this size, 2 channels.
    static void WriteWaveHeader(uint8_t* image, uint32_t size, uint32_t rate, uint16_t bits);
    // Finds the "fmt " and "data" chunks; false for anything but a playable format.
    static bool ParseWaveImage(const uint8_t* image, size_t size, SWaveData& data);
    // Integer PCM of 16 bits with a consistent frame size; the program plays nothing else.
    static bool IsPlayable(const SWaveFormat& format);
};
