#include "core/queue/queue_host.h"

#include <cstdio>

namespace wachtrix {

ChartPlot MarksOrLine(std::vector<ChartPoint> points) {
    ChartPlot plot;
    plot.drawPoints = points.size() <= 24;
    plot.drawLine = points.size() > 24;
    plot.points = std::move(points);
    return plot;
}

void PrintFailureLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace wachtrix
