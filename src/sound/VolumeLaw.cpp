// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/VolumeLaw.h"

#include <algorithm>
#include <cmath>

namespace {

// The card drivers of PulseAudio's and PipeWire's ALSA control plugins.
const QLatin1StringView CubicDrivers[] = {QLatin1StringView("PulseAudio plug"),
                                          QLatin1StringView("PW plugin")};

uint32_t ToScale(double amplitude)
{
    return uint32_t(std::lround(std::clamp(amplitude, 0.0, 1.0) * TVolumeLaw::ScaleMaximum));
}

} // namespace

TVolumeLaw::EKind TVolumeLaw::Of(bool hasDbRange, const QString& driver)
{
    if (hasDbRange)
        return Decibel;
    return std::find(std::begin(CubicDrivers), std::end(CubicDrivers), driver) != std::end(CubicDrivers)
               ? Cubic
               : Linear;
}

TVolumeLaw::TVolumeLaw(EKind kind, long minimum, long maximum)
    : m_kind(kind), m_minimum(minimum), m_maximum(maximum)
{
}

long TVolumeLaw::ToRaw(uint32_t value) const
{
    const double amplitude = double(std::min(value, ScaleMaximum)) / ScaleMaximum;
    const double share = m_kind == Cubic ? std::cbrt(amplitude) : amplitude;
    return m_minimum + std::lround(share * double(m_maximum - m_minimum));
}

uint32_t TVolumeLaw::FromRaw(long raw) const
{
    if (m_maximum <= m_minimum)
        return 0;
    const double share =
        double(std::clamp(raw, m_minimum, m_maximum) - m_minimum) / double(m_maximum - m_minimum);
    return ToScale(m_kind == Cubic ? share * share * share : share);
}

long TVolumeLaw::ToCentiDb(uint32_t value, long silence)
{
    if (value == 0)
        return silence;
    return std::lround(2000 * std::log10(double(std::min(value, ScaleMaximum)) / ScaleMaximum));
}

uint32_t TVolumeLaw::FromCentiDb(long centiDb, long silence)
{
    return centiDb <= silence ? 0 : ToScale(std::pow(10.0, double(centiDb) / 2000));
}
