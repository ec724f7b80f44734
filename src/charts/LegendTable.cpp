#include "charts/LegendTable.h"

#include "data/Data.h"

#include <QLocale>

TRaw LegendHeaderRow()
{
    return {};
}

TRaw LegendDataRow(const SData&, const QLocale&)
{
    return {};
}
