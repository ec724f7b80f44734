// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Data.h"

#include <algorithm>

bool HasReferenceValues(const SData& data)
{
    return std::any_of(data.points.cbegin(), data.points.cend(),
                       [](const SDataPoint& row) { return row.leftRef != 0.0f || row.rightRef != 0.0f; });
}

QString GivenName(const QString& text)
{
    return text == QLatin1String("0") ? QString() : text;
}

std::pair<float, float> PlottedLevels(const SDataPoint& row, bool referenceOn)
{
    if (!referenceOn)
        return {row.left, row.right};
    return {row.left - row.leftRef, row.right - row.rightRef};
}
