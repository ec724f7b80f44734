// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Measurements on one channel of sound, shared by the tests of the wave images and of the
// recordings: where the tone is, its level, its fitted amplitude, the times its waveform
// crosses zero upwards, and holes in it.

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

struct SRegion
{
    size_t begin = 0;
    size_t end = 0;
    bool IsEmpty() const { return end <= begin; }
    size_t Length() const { return end - begin; }
    // The middle part, away from the ramps at both ends.
    SRegion Middle(double share) const
    {
        const auto margin = size_t(double(Length()) * (1 - share) / 2);
        return {begin + margin, end - margin};
    }
};

// One channel of interleaved stereo 16-bit little-endian frames.
inline std::vector<double> ChannelOfImage(const uint8_t* frames, size_t frameCount, int channel)
{
    std::vector<double> samples(frameCount);
    for (size_t i = 0; i < frameCount; ++i)
        samples[i] = qFromLittleEndian<int16_t>(frames + i * 4 + channel * 2);
    return samples;
}

inline double Peak(const std::vector<double>& samples)
{
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

inline double Rms(const std::vector<double>& samples, SRegion region)
{
    double sum = 0;
    for (size_t i = region.begin; i < region.end; ++i)
        sum += samples[i] * samples[i];
    return region.IsEmpty() ? 0 : std::sqrt(sum / double(region.Length()));
}

// From the first to the last sample louder than the given share of the peak.
inline SRegion LoudRegion(const std::vector<double>& samples, double share, size_t from = 0)
{
    const double threshold = Peak(samples) * share;
    SRegion region;
    for (size_t i = from; i < samples.size(); ++i) {
        if (std::abs(samples[i]) <= threshold)
            continue;
        if (region.IsEmpty())
            region.begin = i;
        region.end = i + 1;
    }
    return region;
}

// The longest run of samples that are exactly zero: inside a tone, samples the sound server lost.
inline size_t LongestZeroRun(const std::vector<double>& samples, SRegion region)
{
    size_t longest = 0;
    size_t run = 0;
    for (size_t i = region.begin; i < region.end; ++i) {
        run = samples[i] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Upward zero crossings in samples, linearly interpolated between samples.
inline std::vector<double> UpwardCrossings(const std::vector<double>& samples, SRegion region)
{
    std::vector<double> crossings;
    for (size_t i = region.begin + 1; i < region.end; ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0)
            crossings.push_back(double(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]));
    }
    return crossings;
}

// Mean frequency from the first to the last upward crossing.
inline double FrequencyOf(const std::vector<double>& samples, SRegion region, double rate)
{
    const std::vector<double> crossings = UpwardCrossings(samples, region);
    if (crossings.size() < 2)
        return 0;
    return double(crossings.size() - 1) * rate / (crossings.back() - crossings.front());
}

// Amplitude of the sine of a known frequency that fits the samples best (least squares, with an
// offset), so that noise and distortion do not count as level.
inline double SineAmplitude(const std::vector<double>& samples, SRegion region, double frequency, double rate)
{
    // Normal equations of s = a sin + b cos + c.
    double m[3][3] = {};
    double v[3] = {};
    for (size_t i = region.begin; i < region.end; ++i) {
        const double phase = 2 * std::numbers::pi * frequency * double(i) / rate;
        const double basis[3] = {std::sin(phase), std::cos(phase), 1};
        for (int r = 0; r < 3; ++r) {
            v[r] += basis[r] * samples[i];
            for (int c = 0; c < 3; ++c)
                m[r][c] += basis[r] * basis[c];
        }
    }
    // Cramer's rule: column k of m replaced by v.
    auto determinant = [&m, &v](int k) {
        double a[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                a[r][c] = c == k ? v[r] : m[r][c];
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double whole = determinant(-1);
    if (whole == 0)
        return 0;
    return std::hypot(determinant(0) / whole, determinant(1) / whole);
}

inline double Decibels(double ratio)
{
    return 20 * std::log10(ratio);
}
