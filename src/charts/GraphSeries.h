// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QVector>

#include <cstdint>

struct SData;

struct SGraphPoint
{
    double frequency = 0.0;
    double level = 0.0;
};

// One plotted measurement on one chart.
struct SGraph
{
    const SData* Measurement = nullptr;
    QVector<SGraphPoint> Points;
    QColor MarkerColour;
    QColor LineColour;
    Qt::PenStyle LineStyle = Qt::SolidLine;
    int MarkerSize = 6;
    int LineWidth = 1;
    // Bit 2 fills the marker, the two low bits choose the shape.
    uint8_t MarkerStyle = 4;
};
