#pragma once
// Paints a chart from its settings, the scales its axes recorded, and its series: background,
// title, the valid axes with grid, ticks and labels; then, only when every axis is valid, the
// zero cross (where a point lies at the origin), the series in ascending number and the legend,
// or else the error caption.

#include <QRectF>
#include <QSize>
#include <functional>

#include "chart/chart_axis.h"
#include "chart/chart_settings.h"
#include "chart/series_list.h"

class QPainter;

namespace wachtrix::chart {

struct GraphView {
    const TAxis& xAxis;
    const TAxis& yAxis;
    const TAxis& yAxisSecond;
    const TDimensions& dimensions;
    const TAppearance& appearance;
    const TLegend& legend;
    const SeriesList& series;
    bool plotting = true;
    // A series with non-positive values on a logarithmic axis, skipped.
    std::function<void(const TSeries&)> logError;
    // On a dark desktop the backgrounds darken and lines and text lighten to stay readable.
    bool dark = false;
};

// The plot area within a chart of this size.
QRectF PlotArea(const TDimensions& dimensions, QSize size);

void PaintGraph(QPainter& painter, QSize size, const GraphView& view);

}  // namespace wachtrix::chart
