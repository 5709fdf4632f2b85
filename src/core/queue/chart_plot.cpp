#include "core/queue/chart_plot.h"

namespace wachtrix {

ChartPlot MarksOrLine(std::vector<ChartPoint> points) {
    ChartPlot plot;
    plot.drawPoints = points.size() <= 24;
    plot.drawLine = points.size() > 24;
    plot.points = std::move(points);
    return plot;
}

}  // namespace wachtrix
