// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WaveFormat.h"

#include <cstddef>
#include <cstdint>

// The program's one sound format, 16-bit stereo PCM at 44100 Hz, and the RIFF/WAVE header that
// describes it: written in front of every tone and read back before the tone is played.
class TWaveImage
{
public:
    static constexpr uint32_t SampleRate = 44100;
    static constexpr uint16_t BitsPerSample = SWaveFormat::PlayableBits;
    static constexpr uint16_t Channels = 2;
    static constexpr uint16_t FrameBytes = Channels * BitsPerSample / 8;
    static constexpr size_t HeaderSize = 44;
    static constexpr SWaveFormat Format{SWaveFormat::PcmFormatTag, Channels,   SampleRate,
                                        SampleRate* FrameBytes,    FrameBytes, BitsPerSample};

    // The 44-byte header of an image of this size, 2 channels.
    static void WriteWaveHeader(uint8_t* image, uint32_t size, uint32_t rate, uint16_t bits);
    // Finds the "fmt " and "data" chunks; false for anything but a playable format.
    static bool ParseWaveImage(const uint8_t* image, size_t size, SWaveData& data);
};
