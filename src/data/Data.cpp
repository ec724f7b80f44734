#include "data/Data.h"

#include <algorithm>

bool HasReferenceValues(const SData& data)
{
    return std::any_of(data.points.cbegin(), data.points.cend(),
                       [](const SDataPoint& row) { return row.leftRef != 0.0f || row.rightRef != 0.0f; });
}
