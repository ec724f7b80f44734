// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/Graph.h"

#include "charts/Marker.h"
#include "charts/Palette.h"
#include "data/Data.h"
#include "platform/LargeImage.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPolygon>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr double SmallestPositive = 1e-307;
constexpr double LargestExponent = 307.0;
// Summing steps in axis units drifts by a few ulps; the last labelled line must not be lost.
constexpr double StepTolerance = 1e-9;
constexpr qsizetype LongSeries = 1000;
// Rows of the legend painted together as they come into view.
constexpr qsizetype LegendBandRows = 32;

int Truncated(double value)
{
    return static_cast<int>(std::trunc(value));
}

// Half away from zero, limited to the coordinate range of the drawing surface.
double RoundedCoordinate(double value)
{
    const double rounded = value > 0 ? value + 0.5 : value - 0.5;
    return std::clamp(rounded, -32768.0, 32767.0);
}

int PixelCoordinate(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::trunc(RoundedCoordinate(value)));
}

QPoint RoundedPixel(const QPointF& point)
{
    return QPoint(PixelCoordinate(point.x()), PixelCoordinate(point.y()));
}

// Cuts the segment to the rectangle (Liang and Barsky); false when nothing of it lies inside.
bool ClipSegment(QPointF& from, QPointF& to, const QRectF& area)
{
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.x() - area.left(), area.right() - from.x(), from.y() - area.top(),
                         area.bottom() - from.y()};
    double enter = 0;
    double leave = 1;
    int enterEdge = -1;
    int leaveEdge = -1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0 && t > enter) {
            enter = t;
            enterEdge = i;
        } else if (p[i] > 0 && t < leave) {
            leave = t;
            leaveEdge = i;
        }
        if (enter > leave)
            return false;
    }
    // The cut point lies on its edge exactly: from a far-off end, start + d·t loses all the
    // digits of the coordinate the edge fixes.
    const QPointF start = from;
    const auto onEdge = [&](double t, int edge) {
        QPointF point = start + QPointF(dx * t, dy * t);
        const double edges[4] = {area.left(), area.right(), area.top(), area.bottom()};
        if (edge < 2)
            point.setX(edges[edge]);
        else
            point.setY(edges[edge]);
        return point;
    };
    if (leaveEdge >= 0)
        to = onEdge(leave, leaveEdge);
    if (enterEdge >= 0)
        from = onEdge(enter, enterEdge);
    return true;
}

void FixRange(double& from, double& to, bool logarithmic)
{
    if (from == to) {
        from -= 0.1;
        to += 0.1;
    }
    if (logarithmic && from <= 0)
        from = SmallestPositive;
    if (logarithmic && to <= 0)
        to = 1e-306;
}

// Thick pens end and join round, as the series lines of a printed chart should.
QPen MakePen(const QColor& colour, int width, Qt::PenStyle style)
{
    return QPen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

TGraph::TGraph(QImage* target, float scale) : Target(target), Scale(scale)
{
    Width = target != nullptr ? target->width() : 0;
    Height = target != nullptr ? target->height() : 0;
    LabelFontSize = Truncated(8 * Scale);
    FrameThickness = Truncated(2 * Scale);
    MajorGridWidth = Truncated(1 * Scale);
    LabelGap = Truncated(5 * Scale);
    LegendScale = Scale;
    XStep = NiceStep(XFrom, XTo, XDivisions, XLog);
    YStep = NiceStep(YFrom, YTo, YDivisions, YLog);
}

double TGraph::ToAxis(double value, bool logarithmic)
{
    if (!logarithmic)
        return value;
    return std::log10(value <= 0 ? SmallestPositive : value);
}

double TGraph::FromAxis(double units, bool logarithmic)
{
    if (!logarithmic)
        return units;
    return std::pow(10.0, std::clamp(units, -LargestExponent, LargestExponent));
}

double TGraph::NiceStep(double from, double to, int divisions, bool logarithmic)
{
    const double raw = (ToAxis(to, logarithmic) - ToAxis(from, logarithmic)) / divisions;
    if (logarithmic) {
        double rounded = std::floor(std::pow(10.0, raw) + 0.5);
        if (rounded <= 0)
            rounded = SmallestPositive;
        return std::log10(rounded);
    }
    const double whole = std::trunc(raw);
    const double exponent = std::floor(std::log10(std::fabs(whole)));
    double mantissa = std::fabs(whole) / std::pow(10.0, exponent);
    if (mantissa > 1 && mantissa < 2.5)
        mantissa = 2.5;
    else if (mantissa > 2.5 && mantissa < 5)
        mantissa = 5;
    else if (mantissa > 5 && mantissa < 7.5)
        mantissa = 7.5;
    else if (mantissa > 7.5)
        mantissa = 10;
    if (raw < 0)
        mantissa = -mantissa;
    return mantissa * std::pow(10.0, exponent);
}

TGraph::SAxisEnds TGraph::AxisEnds() const
{
    const double xFrom = ToAxis(XFrom, XLog);
    const double yFrom = ToAxis(YFrom, YLog);
    return {xFrom, ToAxis(XTo, XLog) - xFrom, yFrom, ToAxis(YTo, YLog) - yFrom};
}

bool TGraph::ToPixel(double x, double y, QPoint& pixel) const
{
    return MapToPixel(AxisEnds(), x, y, pixel);
}

bool TGraph::ExactPixel(const SAxisEnds& ends, double x, double y, QPointF& exact, bool& inside) const
{
    inside = false;
    if ((XLog && x <= 0) || (YLog && y <= 0) || std::isnan(x) || std::isnan(y))
        return false;
    const double fx = (ToAxis(x, XLog) - ends.xFrom) / ends.xSpan;
    const double fy = (ToAxis(y, YLog) - ends.yFrom) / ends.ySpan;
    exact.setX(Width * double(MarginLeft) + Width * (1 - double(MarginRight) - double(MarginLeft)) * fx);
    exact.setY(Height - Height * double(MarginBottom) -
               Height * (1 - double(MarginTop) - double(MarginBottom)) * fy);
    // Judged before rounding, so that both edges of the rectangle count as inside and nothing
    // beyond them does.
    inside = 0 <= fx && fx <= 1 && 0 <= fy && fy <= 1;
    return std::isfinite(exact.x()) && std::isfinite(exact.y());
}

bool TGraph::MapToPixel(const SAxisEnds& ends, double x, double y, QPoint& pixel) const
{
    QPointF exact;
    bool inside = false;
    if (!ExactPixel(ends, x, y, exact, inside)) {
        pixel = QPoint(0, 0);
        return false;
    }
    pixel = QPoint(PixelCoordinate(exact.x()), PixelCoordinate(exact.y()));
    return inside;
}

QPoint TGraph::Pixel(double x, double y) const
{
    QPoint pixel;
    ToPixel(x, y, pixel);
    return pixel;
}

QFont TGraph::LabelFont(int pointSize) const
{
    QFont font = QGuiApplication::font();
    font.setPointSize(std::max(1, pointSize));
    return font;
}

void TGraph::CheckRanges()
{
    FixRange(XFrom, XTo, XLog);
    FixRange(YFrom, YTo, YLog);
}

void TGraph::Draw()
{
    CheckRanges();
    if (Target == nullptr || Target->isNull())
        return;
    QPainter painter(Target);
    painter.fillRect(Target->rect(), BackgroundColour);
    painter.setFont(LabelFont(LabelFontSize));
    m_labelTexts.SetFont(painter.font(), Target);
    m_labelTexts.NextDrawing();
    DrawGrid(painter, true);
    DrawGrid(painter, false);

    painter.save();
    const QPoint bottomLeft = Pixel(XFrom, YFrom);
    const QPoint topRight = Pixel(XTo, YTo);
    painter.setClipRect(
        QRect(QPoint(bottomLeft.x(), topRight.y()), QPoint(topRight.x() - 1, bottomLeft.y() - 1)));
    for (const SGraph& series : Series)
        DrawSeries(painter, series);
    painter.restore();

    DrawFrame(painter);
}

void TGraph::DrawGrid(QPainter& painter, bool frequencyAxis)
{
    const bool logarithmic = frequencyAxis ? XLog : YLog;
    const double start = ToAxis(frequencyAxis ? XGridFrom : YGridFrom, logarithmic);
    const double end = ToAxis(frequencyAxis ? XGridTo : YGridTo, logarithmic);
    const double step = frequencyAxis ? XStep : YStep;
    const int minorCount = frequencyAxis ? XMinorCount : YMinorCount;
    const double direction = end >= start ? 1.0 : -1.0;
    // A step of the wrong sign, zero or not a number would never reach the last line.
    if (!(step * direction > 0))
        return;
    // The chart point of an axis value, placed on the other axis at `across`.
    const auto at = [frequencyAxis](double value, double across) {
        return frequencyAxis ? QPointF(value, across) : QPointF(across, value);
    };
    const double acrossFrom = frequencyAxis ? YFrom : XFrom;
    const double acrossTo = frequencyAxis ? YTo : XTo;
    const double acrossMiddle = (acrossFrom + acrossTo) / 2;
    const QPen majorPen = MakePen(MajorGridColour, MajorGridWidth, MajorGridStyle);
    const QPen minorPen = MakePen(MinorGridColour, MinorGridWidth, MinorGridStyle);
    const QPen labelPen(LabelColour);
    const QFontMetrics metrics = painter.fontMetrics();
    const int ascent = metrics.ascent();

    for (double u = start; (u - end) * direction <= StepTolerance * std::fabs(step); u += step) {
        const double value = FromAxis(u, logarithmic);
        const QPointF lineFrom = at(value, acrossFrom);
        const QPointF lineTo = at(value, acrossTo);
        if (MajorGridOn) {
            painter.setPen(majorPen);
            painter.drawLine(Pixel(lineFrom.x(), lineFrom.y()), Pixel(lineTo.x(), lineTo.y()));
        }

        const QString label = QString::asprintf("%g", value);
        const int width = m_labelTexts.Width(label);
        const QPoint anchor = Pixel(lineFrom.x(), lineFrom.y());
        painter.setPen(labelPen);
        if (frequencyAxis)
            m_labelTexts.Draw(painter, anchor.x() - width / 2, anchor.y() + LabelGap + ascent, label);
        else
            m_labelTexts.Draw(painter, anchor.x() - width - LabelGap,
                              anchor.y() - metrics.height() / 2 + ascent, label);

        const double next = FromAxis(u + step, logarithmic);
        for (int i = 1; i < minorCount; ++i) {
            const double minor = value + i * (next - value) / minorCount;
            const QPointF middle = at(minor, acrossMiddle);
            QPoint probe;
            if (!ToPixel(middle.x(), middle.y(), probe) || !MinorGridOn)
                continue;
            const QPointF minorFrom = at(minor, acrossFrom);
            const QPointF minorTo = at(minor, acrossTo);
            painter.setPen(minorPen);
            painter.drawLine(Pixel(minorFrom.x(), minorFrom.y()), Pixel(minorTo.x(), minorTo.y()));
        }
    }
}

void TGraph::DrawFrame(QPainter& painter)
{
    const QPoint bottomLeft = Pixel(XFrom, YFrom);
    const QPoint topLeft = Pixel(XFrom, YTo);
    const QPoint topRight = Pixel(XTo, YTo);
    const QPoint bottomRight = Pixel(XTo, YFrom);
    painter.setPen(MakePen(FrameColour, Truncated(1 * Scale), FrameStyle));
    painter.setBrush(Qt::NoBrush);
    for (int grow = 0; grow < FrameThickness; ++grow) {
        painter.drawPolygon(QPolygon({bottomLeft + QPoint(-grow, grow), topLeft + QPoint(-grow, -grow),
                                      topRight + QPoint(grow, -grow), bottomRight + QPoint(grow, grow)}));
    }
}

void TGraph::DrawSeries(QPainter& painter, const SGraph& series)
{
    struct SMapped
    {
        QPointF exact;
        QPoint pixel;
        bool inside;
    };
    const SAxisEnds ends = AxisEnds();
    QVarLengthArray<SMapped, 32> mapped;
    for (const SGraphPoint& point : series.Points) {
        SMapped m;
        // A point the axes have no place for (no frequency) is joined at the corner (0, 0).
        if (!ExactPixel(ends, point.frequency, point.level, m.exact, m.inside))
            m.exact = QPointF(0, 0);
        m.pixel = RoundedPixel(m.exact);
        mapped.append(m);
    }

    const QPen markerPen = MakePen(series.MarkerColour, Truncated(1 * Scale), Qt::SolidLine);
    painter.setPen(markerPen);
    const TMarkerStamp* stamp = MarkerStamp(painter, series, series.MarkerSize, markerPen);
    const QPoint half(series.MarkerSize / 2, series.MarkerSize / 2);
    // A long series (a large file) draws each place's marker once: drawn again in the same
    // opaque colour, it would change no pixel.
    std::vector<bool> marked(mapped.size() > LongSeries ? size_t(Width) * size_t(Height) : 0);
    for (const SMapped& m : mapped) {
        if (!m.inside)
            continue;
        if (!marked.empty() && QRect(0, 0, Width, Height).contains(m.pixel)) {
            const size_t place = size_t(m.pixel.y()) * size_t(Width) + size_t(m.pixel.x());
            if (marked[place])
                continue;
            marked[place] = true;
        }
        if (stamp != nullptr)
            stamp->Draw(painter, m.pixel);
        else
            DrawMarker(painter, QRect(m.pixel - half, m.pixel + half), series.MarkerStyle,
                       series.MarkerColour);
    }

    // Far-off points are joined towards the chart's edge along their true direction: segments
    // are cut to a little more than the plot before anything is rounded to whole pixels.
    const QRectF area =
        QRectF(QPointF(Width * double(MarginLeft), Height * double(MarginTop)),
               QPointF(Width * (1 - double(MarginRight)), Height * (1 - double(MarginBottom))))
            .adjusted(-2, -2, 2, 2);
    painter.setPen(MakePen(series.LineColour, series.LineWidth, series.LineStyle));
    const SMapped* last = mapped.isEmpty() ? nullptr : &mapped.first();
    for (const SMapped& m : mapped) {
        const QPoint delta = m.pixel - last->pixel;
        if (double(delta.x()) * delta.x() + double(delta.y()) * delta.y() <= MinSegmentLength2)
            continue;
        QPointF from = last->exact;
        QPointF to = m.exact;
        if (ClipSegment(from, to, area)) {
            painter.drawLine(from == last->exact ? last->pixel : RoundedPixel(from),
                             to == m.exact ? m.pixel : RoundedPixel(to));
        }
        last = &m;
    }
}

// Series of one colour, size and shape share their stamp, across drawings too.
const TMarkerStamp* TGraph::MarkerStamp(const QPainter& painter, const SGraph& series, int size,
                                        const QPen& pen)
{
    if (!TMarkerStamp::Fits(painter, series.MarkerColour, size, pen.width()))
        return nullptr;
    const SStampKey key{size, series.MarkerStyle, pen.width(), series.MarkerColour.rgb()};
    auto found = m_markerStamps.find(key);
    if (found == m_markerStamps.end())
        found = m_markerStamps.try_emplace(key, size, series.MarkerStyle, pen, series.MarkerColour).first;
    return &found->second;
}

int TGraph::AddSeries(const SData* measurement)
{
    SGraph series;
    series.Measurement = measurement;
    series.MarkerColour = Palette(SeriesCount);
    series.LineColour = series.MarkerColour;
    series.MarkerSize = Truncated(6 * Scale);
    series.LineWidth = Truncated(1 * Scale);
    Series.push_back(series);
    return SeriesCount++;
}

void TGraph::AddSeriesPoint(int index, double frequency, double level)
{
    if (index >= 0 && index < SeriesCount)
        Series[size_t(index)].Points.append({frequency, level});
}

void TGraph::SetMarkerStyle(int index, uint8_t style)
{
    if (index >= 0 && index < SeriesCount)
        Series[size_t(index)].MarkerStyle = style;
}

void TGraph::ClearSeries()
{
    Series.clear();
    SeriesCount = 0;
}

void TGraph::SetLegendTarget(QImage* legendTarget)
{
    LegendTarget = legendTarget;
    LegendWidth = legendTarget != nullptr ? legendTarget->width() : 0;
    LegendHeight = legendTarget != nullptr ? legendTarget->height() : 0;
}

void TGraph::DrawLegend()
{
    if (LegendTarget == nullptr)
        return;
    DrawTable(BuildLegendTable(), LegendTarget);
}

void TGraph::LayOutLegend()
{
    if (LegendTarget != nullptr)
        LayOutTable(BuildLegendTable(), LegendTarget);
}

TArray TGraph::BuildLegendTable() const
{
    static const SData unnamed;
    const QLocale locale = QLocale::system();
    TArray table{LegendHeaderRow()};
    for (const SGraph& series : Series)
        table.append(LegendDataRow(series.Measurement != nullptr ? *series.Measurement : unnamed, locale));
    return table;
}

void TGraph::DrawTable(const TArray& table, QImage* bitmap)
{
    LayOutTable(table, bitmap);
    if (m_legendBitmap != nullptr)
        PaintLegend(m_legendBitmap->rect());
}

void TGraph::LayOutTable(TArray table, QImage* bitmap)
{
    LegendTips.clear();
    m_legendBitmap = nullptr;
    m_legendTable = std::move(table);
    m_legendBandPainted.clear();
    if (m_legendTable.isEmpty())
        return;
    m_legendLayout = MeasureTable(m_legendTable, *bitmap);
    FitLegendBitmap(*bitmap);
    if (bitmap->isNull())
        return;
    m_legendBitmap = bitmap;
    m_legendSeries = Series;
    CollectLegendTips();
    const size_t rows = size_t(m_legendTable.size());
    m_legendBandPainted.assign((rows + LegendBandRows - 1) / LegendBandRows, false);
}

// Shaping text is the costly part of the legend, so every text is measured once.
TGraph::SLegendLayout TGraph::MeasureTable(const TArray& table, const QImage& bitmap)
{
    SLegendLayout layout;
    layout.inset = Truncated(3 * LegendScale);
    const int fontSize = Truncated(8 * LegendScale);
    layout.rowHeight = fontSize + 2 * layout.inset;
    QFont font = LabelFont(fontSize);
    m_legendTexts.SetFont(font, &bitmap);
    font.setBold(true);
    m_legendHeaderTexts.SetFont(font, &bitmap);
    m_legendTexts.NextDrawing();
    m_legendHeaderTexts.NextDrawing();

    layout.textWidths.resize(table.size());
    layout.columnWidths.fill(0, table.first().size());
    for (qsizetype row = 0; row < table.size(); ++row) {
        TShapedTextCache& texts = row == 0 ? m_legendHeaderTexts : m_legendTexts;
        for (qsizetype column = 0; column < std::min(table[row].size(), layout.columnWidths.size());
             ++column) {
            const int width = texts.Width(table[row][column].Text);
            layout.textWidths[row].append(width);
            if (width > layout.columnWidths[column])
                layout.columnWidths[column] = width + 2 * layout.inset;
        }
    }
    int totalWidth = 0;
    for (int width : layout.columnWidths)
        totalWidth += width;
    LegendHeight = Truncated(table.size() * layout.rowHeight + 2 * LegendScale);
    LegendWidth = Truncated(totalWidth + 2 * LegendScale);
    layout.size = QSize(LegendWidth, LegendHeight);
    return layout;
}

void TGraph::FitLegendBitmap(QImage& bitmap) const
{
    if (bitmap.size() == QSize(LegendWidth, LegendHeight))
        return;
    QImage resized = TLargeImage::Create(QSize(LegendWidth, LegendHeight), QImage::Format_RGB32);
    resized.setDotsPerMeterX(bitmap.dotsPerMeterX());
    resized.setDotsPerMeterY(bitmap.dotsPerMeterY());
    bitmap = std::move(resized);
}

void TGraph::CollectLegendTips()
{
    const SLegendLayout& layout = m_legendLayout;
    int y = Truncated(LegendScale);
    for (qsizetype row = 0; row < m_legendTable.size(); ++row) {
        int x = Truncated(LegendScale);
        for (qsizetype column = 0; column < layout.textWidths[row].size(); ++column) {
            const TCell& cell = m_legendTable[row][column];
            if (!cell.Tip.isEmpty())
                LegendTips.append({QRect(x, y, layout.columnWidths[column], layout.rowHeight), cell.Tip});
            x += layout.columnWidths[column];
        }
        y += layout.rowHeight;
    }
}

void TGraph::PaintLegend(const QRect& area)
{
    // A bitmap someone else has resized since the layout is not this legend's any more.
    if (m_legendBitmap == nullptr || m_legendBitmap->size() != m_legendLayout.size)
        return;
    std::optional<QPainter> painter;
    for (size_t band = 0; band < m_legendBandPainted.size(); ++band) {
        if (m_legendBandPainted[band] || !LegendBand(band).intersects(area))
            continue;
        if (!painter)
            painter.emplace(m_legendBitmap);
        PaintLegendBand(*painter, band);
        m_legendBandPainted[band] = true;
    }
}

// A band's edges lie on rows' edges, the first band takes the frame's top and the last its
// bottom.
QRect TGraph::LegendBand(size_t band) const
{
    const int top = Truncated(LegendScale);
    const auto edge = [&](size_t row) { return top + int(row) * m_legendLayout.rowHeight; };
    const int from = band == 0 ? 0 : edge(band * LegendBandRows);
    const int to = band + 1 == m_legendBandPainted.size() ? m_legendLayout.size.height()
                                                          : edge((band + 1) * LegendBandRows);
    return QRect(0, from, m_legendLayout.size.width(), to - from);
}

// Painted as the whole table painted at once and cut to the band: a thick grid line or a tall
// glyph may reach across a row's edge into the next row, so the rows on either side are
// painted too. (Marks stacked higher than a whole row are cut at the band's edge.)
void TGraph::PaintLegendBand(QPainter& painter, size_t band)
{
    const QRect place = LegendBand(band);
    painter.setClipRect(place);
    painter.fillRect(place, BackgroundColour);
    const qsizetype rows = m_legendTable.size();
    const qsizetype first = std::max<qsizetype>(0, qsizetype(band) * LegendBandRows - 1);
    const qsizetype last = std::min(rows, qsizetype(band + 1) * LegendBandRows + 1);
    PaintTableRows(painter, first, last);
    DrawTableGrid(painter, first, last);
}

void TGraph::PaintTableRows(QPainter& painter, qsizetype first, qsizetype last)
{
    const SLegendLayout& layout = m_legendLayout;
    const int left = Truncated(LegendScale);
    int y = Truncated(LegendScale) + int(first) * layout.rowHeight;
    for (qsizetype row = first; row < last; ++row) {
        TShapedTextCache& texts = row == 0 ? m_legendHeaderTexts : m_legendTexts;
        painter.setFont(texts.Font());
        const int ascent = painter.fontMetrics().ascent();
        painter.setPen(row == 0 ? QColor(Qt::black) : LabelColour);
        int x = left;
        for (qsizetype column = 0; column < layout.textWidths[row].size(); ++column) {
            const TCell& cell = m_legendTable[row][column];
            const int columnWidth = layout.columnWidths[column];
            // Only the first cell of a series' row is its sample: a remark reading "4444" stays text.
            const bool sample = row > 0 && column == 0 && cell.Text == QLatin1String(LinePlaceholder) &&
                                row <= static_cast<qsizetype>(m_legendSeries.size());
            if (sample) {
                DrawLineSample(painter, x, y, m_legendSeries[size_t(row - 1)], layout.inset,
                               layout.rowHeight);
            } else {
                const int width = layout.textWidths[row][column];
                int offset = layout.inset;
                if (cell.Alignment == AlignRight)
                    offset = columnWidth - width - layout.inset;
                else if (cell.Alignment == AlignCentre)
                    offset = (columnWidth - width) / 2;
                texts.Draw(painter, x + offset, y + ascent, cell.Text);
            }
            x += columnWidth;
        }
        y += layout.rowHeight;
    }
}

// The cells' outlines together are the table's grid: a line at each row's edge and, down each
// run of rows with as many cells, a line at each column's edge cover the same pixels as every
// outline drawn on its own, at a fraction of the cost. Drawn after the texts, which lie inside
// their cells, so no text covers a border either way. Only the lines of rows first to last
// are drawn.
void TGraph::DrawTableGrid(QPainter& painter, qsizetype first, qsizetype last)
{
    const SLegendLayout& layout = m_legendLayout;
    const QPoint origin(Truncated(LegendScale), Truncated(LegendScale));
    QVector<int> edges{origin.x()};
    for (const int width : layout.columnWidths)
        edges.append(edges.last() + width);
    QVector<QLine> lines;
    const qsizetype rows = layout.textWidths.size();
    qsizetype runEnd = 0;
    for (qsizetype runStart = 0; runStart < rows; runStart = runEnd) {
        const qsizetype cells = layout.textWidths[runStart].size();
        for (runEnd = runStart + 1; runEnd < rows && layout.textWidths[runEnd].size() == cells;)
            ++runEnd;
        const qsizetype from = std::max(runStart, first);
        const qsizetype to = std::min(runEnd, last);
        if (cells == 0 || from >= to)
            continue;
        const auto rowTop = [&](qsizetype row) { return origin.y() + int(row) * layout.rowHeight; };
        for (qsizetype row = from; row <= to; ++row)
            lines.append(QLine(origin.x(), rowTop(row), edges[cells], rowTop(row)));
        for (qsizetype column = 0; column <= cells; ++column)
            lines.append(QLine(edges[column], rowTop(from), edges[column], rowTop(to)));
    }
    const QColor colour(128, 128, 128);
    const int width = Truncated(1 * LegendScale);
    // A line one pixel wide along a row or column is a rectangle one pixel thick, which the
    // painter fills many times faster than it strokes the line.
    if (width == 1) {
        for (const QLine& line : std::as_const(lines))
            painter.fillRect(QRect(line.p1(), line.p2()), colour);
        return;
    }
    painter.setPen(MakePen(colour, width, Qt::SolidLine));
    painter.drawLines(lines);
}

QString TGraph::LegendTipAt(const QPoint& pixel) const
{
    for (const auto& [place, tip] : LegendTips) {
        if (place.contains(pixel))
            return tip;
    }
    return {};
}

void TGraph::DrawLineSample(QPainter& painter, int x, int y, const SGraph& series, int inset, int rowHeight)
{
    // The widths come from the cache: shaping the same two texts again for every row would
    // cost more than drawing the sample.
    const QPoint start(x + inset, y + rowHeight / 2);
    const QPoint centre = start + QPoint(m_legendTexts.Width(QLatin1String(MarkerOffsetText)), 0);
    const int size = Truncated(6 * LegendScale);
    const int half = size / 2;
    painter.save();
    const QPen markerPen = MakePen(series.MarkerColour, Truncated(1 * LegendScale), Qt::SolidLine);
    painter.setPen(markerPen);
    if (const TMarkerStamp* stamp = MarkerStamp(painter, series, size, markerPen))
        stamp->Draw(painter, centre);
    else
        DrawMarker(painter, QRect(centre - QPoint(half, half), centre + QPoint(half, half)),
                   series.MarkerStyle, series.MarkerColour);
    painter.setPen(MakePen(series.LineColour, Truncated(1 * LegendScale), series.LineStyle));
    painter.drawLine(start, start + QPoint(m_legendTexts.Width(QLatin1String(LinePlaceholder)), 0));
    painter.restore();
}
