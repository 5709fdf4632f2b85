#include "cli/queue_command.h"

#include <charconv>

namespace wachtrix::cli {
namespace {

// Shortest text that reads back as the same double.
std::string Exact(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

}  // namespace

std::string ChartCsv(const TextQueueHost& host) {
    std::string csv = "chart,x,y\n";
    int chart = 0;
    for (const auto& plotted : host.charts()) {
        ++chart;
        for (const auto& p : plotted.plot.points)
            csv += std::to_string(chart) + "," + Exact(p.x) + "," + Exact(p.y) + "\n";
    }
    return csv;
}

CommandResult Collect(const TextQueueHost& host) {
    CommandResult result;
    for (const auto& line : host.lines()) {
        result.lines.push_back(line.text);
        result.styles.push_back(StyleLetter(line.style));
    }
    result.errors = host.errors();
    result.failed = host.failed();
    result.failure = host.failureLines();
    result.csv = ChartCsv(host);
    return result;
}

}  // namespace wachtrix::cli
