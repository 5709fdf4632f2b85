#include "core/text/points_csv.h"

#include <charconv>

namespace wachtrix {
namespace {

void AppendNumber(std::string& out, double v) {
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

}  // namespace

std::string PointsCsv(std::string_view groupColumn, const std::vector<CsvPoint>& points) {
    std::string out(groupColumn);
    out += ",x,y\n";
    for (const CsvPoint& p : points) {
        out += std::to_string(p.group);
        out += ',';
        AppendNumber(out, p.x);
        out += ',';
        AppendNumber(out, p.y);
        out += '\n';
    }
    return out;
}

}  // namespace wachtrix
