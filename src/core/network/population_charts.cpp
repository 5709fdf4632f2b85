#include "core/network/population_charts.h"

namespace wachtrix {
namespace {

ChartPlot Series(std::vector<ChartPoint> points, const char* title, const char* axis,
                 const char* name, bool bound) {
    ChartPlot plot = MarksOrLine(std::move(points));
    plot.series = bound ? 2 : 1;
    plot.seriesName = name;
    if (bound) {
        plot.color = kChartRed;
    } else {
        plot.graphTitle = title;
        plot.xAxis.title = "N";
        plot.yAxis.title = axis;
    }
    return plot;
}

}  // namespace

std::vector<PopulationChart> PopulationCharts(const std::vector<PopulationRow>& rows) {
    std::vector<ChartPoint> x, xBound, t, tBound;
    for (const PopulationRow& row : rows) {
        const double n = row.population;
        x.push_back({n, row.throughput});
        xBound.push_back({n, row.throughputBound});
        t.push_back({n, row.cycleTime});
        tBound.push_back({n, n / row.throughputBound});
    }
    return {{0, Series(std::move(x), "Throughput X(N)", "X(N)", "X(N)", false)},
            {0, Series(std::move(xBound), "", "", "bound", true)},
            {1, Series(std::move(t), "Mean cycle time E(T)(N)", "E(T)(N)", "E(T)(N)", false)},
            {1, Series(std::move(tBound), "", "", "bound", true)}};
}

}  // namespace wachtrix
