#pragma once
// The graphs of the populations analysis as plain chart data for a graph window: chart 0 the
// throughput X(n) (series 1) beside its asymptotic bound (series 2, red), chart 1 the mean cycle
// time E(T)(n) beside the bound that follows, n / bound on X(n) = max(D + Z, n D_b / c_b).
//
//   rows n = 1, 2 with X 0.5, 0.8 and bounds 0.5, 1 -> throughput points (1, 0.5), (2, 0.8),
//   cycle-time bound points (1, 2), (2, 2)

#include <vector>

#include "core/network/closed_network.h"
#include "core/queue/chart_plot.h"

namespace wachtrix {

struct PopulationChart {
    int chart = 0;
    ChartPlot plot;
};

std::vector<PopulationChart> PopulationCharts(const std::vector<PopulationRow>& rows);

}  // namespace wachtrix
