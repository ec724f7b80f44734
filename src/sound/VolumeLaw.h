// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

// How a volume v on the program's scale 0..65535, which means the amplitude v / 65535, becomes
// the raw value of a mixer element and back.
class TVolumeLaw
{
public:
    enum EKind
    {
        // The element tells the level of its steps: set in decibels.
        Decibel,
        // The sound servers' ALSA controls: the server's gain is (raw / maximum) cubed.
        Cubic,
        // Nothing is known: the raw range is taken as linear in amplitude.
        Linear,
    };
    static constexpr uint32_t ScaleMaximum = 65535;

    // The card's driver tells the sound servers' controls from hardware, which tells its dB.
    static EKind Of(bool hasDbRange, const QString& driver);

    TVolumeLaw() = default;
    TVolumeLaw(EKind kind, long minimum, long maximum);
    EKind Kind() const { return m_kind; }

    // The cubic and the linear law; what a value becomes reads back as that value within one.
    long ToRaw(uint32_t value) const;
    uint32_t FromRaw(long raw) const;

    // 20 log10(v / 65535) in hundredths of a decibel, and back; 0 is the given level of silence.
    static long ToCentiDb(uint32_t value, long silence);
    static uint32_t FromCentiDb(long centiDb, long silence);

private:
    EKind m_kind = Linear;
    long m_minimum = 0;
    long m_maximum = 0;
};
