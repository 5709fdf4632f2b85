#pragma once
// Fills a chart with what a model handed over, in the chart's calling pattern: Plotting off;
// the series cleared, its zero fixed at 0, bound to the first y axis, marks or line and colour
// set; the points added; the model's axis and title settings applied; Plotting on (one repaint).

#include "chart/xy_graph.h"
#include "core/queue/chart_plot.h"

namespace wachtrix::ui {

void ApplyChartPlot(chart::TxyGraph& graph, const ChartPlot& plot);

}  // namespace wachtrix::ui
