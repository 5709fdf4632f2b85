#pragma once
// A chart showing more than one series names them in a legend: one line a series (its mark, its
// line and its name), boxed in the top right corner of the plot area, where probability curves
// falling from the top left leave room. A chart with one series shows none. Placed anew when the
// chart's size or series change.

namespace wachtrix::chart {
class TxyGraph;
}

namespace wachtrix::ui {

void FitSeriesLegend(chart::TxyGraph& graph);

}  // namespace wachtrix::ui
