// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The layout of PCM samples as a RIFF/WAVE header describes it.
struct SWaveFormat
{
    static constexpr uint16_t PcmFormatTag = 1;
    // Playback takes 16-bit little-endian integers and nothing else.
    static constexpr uint16_t PlayableBits = 16;

    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;

    bool operator==(const SWaveFormat&) const = default;
    // Integer PCM of 16 bits with a consistent frame size.
    bool IsPlayable() const
    {
        return formatTag == PcmFormatTag && channels > 0 && samplesPerSec > 0 &&
               bitsPerSample == PlayableBits && blockAlign == channels * bitsPerSample / 8;
    }
};

// Where the samples of a wave image lie.
struct SWaveData
{
    SWaveFormat format;
    const uint8_t* samples = nullptr;
    size_t size = 0;
};
