#include "chart/series_csv.h"

#include <charconv>

namespace wachtrix::chart {
namespace {

void AppendNumber(std::string& out, double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    out.append(buffer, end);
}

}  // namespace

std::string SeriesCsv(const SeriesList& list) {
    std::string out = "series,x,y\n";
    for (const auto& series : list) {
        for (const TDataPoint& p : series->Points()) {
            out += std::to_string(series->Number());
            out += ',';
            AppendNumber(out, p.X);
            out += ',';
            AppendNumber(out, p.Y);
            out += '\n';
        }
    }
    return out;
}

}  // namespace wachtrix::chart
