#pragma once

#include "charts/Graph.h"

#include <QImage>
#include <QPoint>

#include <initializer_list>
#include <utility>

// Pixel probes on a chart's bitmap.
inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

inline QColor PixelAt(const QImage& image, const QPoint& point)
{
    return PixelAt(image, point.x(), point.y());
}

// Number of pixels of the colour in the rectangle from (left, top) to (right, bottom), inclusive.
inline int CountColour(const QImage& image, const QColor& colour, int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (PixelAt(image, x, y) == colour)
                ++count;
        }
    }
    return count;
}

inline int CountColour(const QImage& image, const QColor& colour)
{
    return CountColour(image, colour, 0, 0, image.width() - 1, image.height() - 1);
}

inline QPoint PixelOf(const TGraph& graph, double frequency, double level)
{
    QPoint pixel;
    graph.ToPixel(frequency, level, pixel);
    return pixel;
}

// A 320 x 320 screen chart on sky blue, as the main window has it.
struct SScreenChart
{
    SScreenChart(int size = 320, float scale = 1.0f)
        : image(size, size, QImage::Format_RGB32), graph(&image, scale)
    {
        graph.BackgroundColour = QColor(166, 202, 240);
        graph.Draw();
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
