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

std::string NumericalFailureNotice(const std::vector<std::string>& lines) {
    std::string text = "The computation failed";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "; " : ": ") + lines[i];
    const char last = text.back();
    if (last != '.' && last != '!' && last != '?') text += '.';
    return text;
}

void PrintFailureLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace wachtrix
