#include "charts/Graph.h"

#include <QPainter>

TGraph::TGraph(QImage* target, float scale) : Target(target), Scale(scale)
{
    Width = target->width();
    Height = target->height();
}

void TGraph::Draw() {}

bool TGraph::ToPixel(double, double, QPoint& pixel) const
{
    pixel = QPoint();
    return false;
}

int TGraph::AddSeries(const SData* measurement)
{
    Series.push_back(SGraph{measurement, {}, {}, {}, Qt::SolidLine, 6, 1, 4});
    return SeriesCount++;
}

void TGraph::AddSeriesPoint(int, double, double) {}
void TGraph::SetMarkerStyle(int, uint8_t) {}

void TGraph::ClearSeries()
{
    Series.clear();
    SeriesCount = 0;
}

void TGraph::SetLegendTarget(QImage* legendTarget)
{
    LegendTarget = legendTarget;
}

void TGraph::DrawLegend() {}

TArray TGraph::BuildLegendTable() const
{
    return {};
}

void TGraph::DrawTable(const TArray&, QImage*) {}

double TGraph::ToAxis(double value, bool)
{
    return value;
}

double TGraph::FromAxis(double units, bool)
{
    return units;
}

double TGraph::NiceStep(double, double, int, bool)
{
    return 0.0;
}
