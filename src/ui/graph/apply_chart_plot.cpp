#include "ui/graph/apply_chart_plot.h"

namespace wachtrix::ui {
namespace {

void ApplyAxisSettings(chart::TAxis& axis, const ChartAxisSettings& settings) {
    if (settings.title) axis.Title = *settings.title;
    if (settings.logScale) axis.LogScale = *settings.logScale;
    if (settings.min) axis.Min = *settings.min;
    if (settings.max) axis.Max = *settings.max;
    if (settings.autoSizing) axis.AutoSizing = *settings.autoSizing;
    if (settings.autoStepping) axis.AutoStepping = *settings.autoStepping;
}

}  // namespace

void ApplyChartPlot(chart::TxyGraph& graph, const ChartPlot& plot) {
    graph.SetPlotting(false);
    chart::TSeries& series = graph.Series(plot.series);
    series.Clear();
    series.SetAutoZero(false);
    series.Axis = chart::SeriesAxis::YAxis;
    series.SetZeroValue(0);
    series.DrawPoints = plot.drawPoints;
    series.DrawLine = plot.drawLine;
    series.Color = plot.color;
    if (plot.seriesName) series.Name = *plot.seriesName;
    for (const ChartPoint& p : plot.points)
        series.AddPoint(p.x, p.y);
    ApplyAxisSettings(graph.XAxis(), plot.xAxis);
    ApplyAxisSettings(graph.YAxis(), plot.yAxis);
    if (plot.graphTitle) graph.Appearance().GraphTitle = *plot.graphTitle;
    graph.SetPlotting(true);
}

}  // namespace wachtrix::ui
