// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/Graph.h"
#include "charts/Palette.h"

#include <QImage>
#include <QPoint>

#include <initializer_list>
#include <utility>

inline const QColor SkyBlue(166, 202, 240);

inline QColor PixelAt(const QImage& image, const QPoint& point)
{
    return QColor(image.pixel(point));
}

// Pixels of the colour from (left, top) to (right, bottom), inclusive.
inline int CountColour(const QImage& image, const QColor& colour, int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            count += PixelAt(image, QPoint(x, y)) == colour ? 1 : 0;
    }
    return count;
}

inline int CountColour(const QImage& image, const QColor& colour)
{
    return CountColour(image, colour, 0, 0, image.width() - 1, image.height() - 1);
}

// A chart on sky blue, as the main window has it.
struct SScreenChart
{
    SScreenChart(int size = 320, float scale = 1.0f)
        : image(size, size, QImage::Format_RGB32), graph(&image, scale)
    {
        graph.BackgroundColour = SkyBlue;
        graph.Draw();
    }

    QPoint PixelOf(double frequency, double level) const
    {
        QPoint pixel;
        graph.ToPixel(frequency, level, pixel);
        return pixel;
    }

    // Adds a series with the points (hertz, decibels) and redraws.
    int Plot(std::initializer_list<std::pair<double, double>> points)
    {
        const int index = graph.AddSeries(nullptr);
        for (const auto& [frequency, level] : points)
            graph.AddSeriesPoint(index, frequency, level);
        graph.Draw();
        return index;
    }

    QImage image;
    TGraph graph;
};
