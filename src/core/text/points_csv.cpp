#include "core/text/points_csv.h"

#include <charconv>

namespace wachtrix {
namespace {

void AppendNumber(std::string& out, double v) {
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// RFC 4180: a field with a separator, a quote or a line break is quoted, its quotes doubled.
void AppendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string PointsCsv(const CsvColumns& columns, const std::vector<CsvPoint>& points) {
    std::string out;
    if (!columns.title.empty()) {
        out += "# ";
        // A line break would end the comment and start a data line.
        for (const char c : columns.title)
            out += c == '\r' || c == '\n' ? ' ' : c;
        out += '\n';
    }
    AppendField(out, columns.group);
    out += ',';
    AppendField(out, columns.x);
    out += ',';
    AppendField(out, columns.y);
    out += '\n';
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
