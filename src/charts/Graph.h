// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/GraphSeries.h"
#include "charts/LegendTable.h"
#include "charts/Marker.h"
#include "charts/ShapedTextCache.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>

#include <map>
#include <tuple>
#include <utility>
#include <vector>

class QPainter;
struct SData;

// One audiogram drawn into a bitmap it does not own: a logarithmic frequency axis, a linear
// level axis growing downwards, the plotted series and a frame. The right-ear chart also
// draws the legend table into a second bitmap. Every pixel and font size is the screen value
// times Scale, truncated.
class TGraph
{
public:
    TGraph(QImage* target, float scale);
    TGraph(const TGraph&) = delete;
    TGraph& operator=(const TGraph&) = delete;

    void Draw();

    // The pixel of (x, y) in hertz and decibels; true when it lies inside the plot rectangle.
    bool ToPixel(double x, double y, QPoint& pixel) const;

    int AddSeries(const SData* measurement);
    void AddSeriesPoint(int index, double frequency, double level);
    void SetMarkerStyle(int index, uint8_t style);
    void ClearSeries();

    void SetLegendTarget(QImage* legendTarget);
    void DrawLegend();
    // Measures the legend and sizes its bitmap, leaving the painting to PaintLegend(): a long
    // legend is mostly out of sight, and painting all of it cost more than reading its files.
    void LayOutLegend();
    // Paints what the last layout has not painted yet within this area of the legend bitmap.
    void PaintLegend(const QRect& area);
    TArray BuildLegendTable() const;
    void DrawTable(const TArray& table, QImage* bitmap);
    // The whole text of the cut cell at this pixel of the legend bitmap; empty elsewhere.
    QString LegendTipAt(const QPoint& pixel) const;

    // Axis units: log10 on a logarithmic axis, the value itself on a linear one.
    static double ToAxis(double value, bool logarithmic);
    static double FromAxis(double units, bool logarithmic);
    static double NiceStep(double from, double to, int divisions, bool logarithmic);

    int Width = 0;
    int Height = 0;
    int LegendWidth = 0;
    int LegendHeight = 0;
    // Where the legend shows cut cells, with their whole texts.
    QVector<std::pair<QRect, QString>> LegendTips;
    int SeriesCount = 0;
    std::vector<SGraph> Series;
    double XFrom = 100.0;
    double XTo = 10000.0;
    double XGridFrom = 125.0;
    double XGridTo = 8000.0;
    double YFrom = 120.0;
    double YTo = -10.0;
    double YGridFrom = 120.0;
    double YGridTo = -10.0;
    QImage* Target = nullptr;
    QImage* LegendTarget = nullptr;
    float MarginLeft = 0.09f;
    float MarginRight = 0.03f;
    float MarginTop = 0.03f;
    float MarginBottom = 0.08f;
    QColor BackgroundColour = QColor(0, 0, 0);
    QColor MajorGridColour = QColor(128, 128, 128);
    QColor MinorGridColour = QColor(128, 128, 128);
    QColor FrameColour = QColor(0, 0, 0);
    QColor LabelColour = QColor(0, 0, 0);
    int LabelFontSize = 8;
    Qt::PenStyle FrameStyle = Qt::SolidLine;
    Qt::PenStyle MajorGridStyle = Qt::SolidLine;
    Qt::PenStyle MinorGridStyle = Qt::DotLine;
    int FrameThickness = 2;
    int MajorGridWidth = 1;
    int MinorGridWidth = 0;
    int LabelGap = 5;
    bool XLog = true;
    bool YLog = false;
    bool MajorGridOn = true;
    bool MinorGridOn = true;
    double MinSegmentLength2 = 4.0;
    double XStep = 0.0;
    double YStep = 0.0;
    int XDivisions = 6;
    int YDivisions = 13;
    int XMinorCount = 2;
    int YMinorCount = 2;
    float Scale = 1.0f;
    // The legend's own scale, Scale unless set: on screen the legend keeps the size of the
    // screen's text while the charts grow with the window.
    float LegendScale = 1.0f;

private:
    // Both axes' ends in axis units, worked out once for a whole series.
    struct SAxisEnds
    {
        double xFrom, xSpan, yFrom, ySpan;
    };

    // What measuring the legend found, for painting it without shaping a text twice.
    struct SLegendLayout
    {
        int inset = 0;
        int rowHeight = 0;
        QVector<QVector<int>> textWidths;
        QVector<int> columnWidths;
        QSize size;
    };

    SAxisEnds AxisEnds() const;
    bool MapToPixel(const SAxisEnds& ends, double x, double y, QPoint& pixel) const;
    // The unrounded position; false where the axes have no place for the point at all.
    bool ExactPixel(const SAxisEnds& ends, double x, double y, QPointF& exact, bool& inside) const;
    void CheckRanges();
    QPoint Pixel(double x, double y) const;
    void DrawGrid(QPainter& painter, bool frequencyAxis);
    void DrawSeries(QPainter& painter, const SGraph& series);
    const TMarkerStamp* MarkerStamp(const QPainter& painter, const SGraph& series, int size, const QPen& pen);
    void DrawFrame(QPainter& painter);
    void LayOutTable(TArray table, QImage* bitmap);
    SLegendLayout MeasureTable(const TArray& table, const QImage& bitmap);
    void FitLegendBitmap(QImage& bitmap) const;
    void CollectLegendTips();
    QRect LegendBand(size_t band) const;
    void PaintLegendBand(QPainter& painter, size_t band);
    void PaintTableRows(QPainter& painter, qsizetype first, qsizetype last);
    void DrawTableGrid(QPainter& painter, qsizetype first, qsizetype last);
    void DrawLineSample(QPainter& painter, int x, int y, const SGraph& series, int inset, int rowHeight);
    QFont LabelFont(int pointSize) const;

    TShapedTextCache m_labelTexts;
    TShapedTextCache m_legendTexts;
    TShapedTextCache m_legendHeaderTexts;
    // Size, style, pen width and colour.
    using SStampKey = std::tuple<int, uint8_t, int, QRgb>;
    std::map<SStampKey, TMarkerStamp> m_markerStamps;

    // The last laid-out legend, painted a band of rows at a time. Its texts, sizes and series
    // are copied so that bands painted later show the rows as they were laid out; the colours
    // and scale are read when a band is painted, and changing them means laying out again.
    QImage* m_legendBitmap = nullptr;
    TArray m_legendTable;
    std::vector<SGraph> m_legendSeries;
    SLegendLayout m_legendLayout;
    std::vector<bool> m_legendBandPainted;
};
