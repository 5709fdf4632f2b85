#include "cli/queue_command.h"

#include "core/text/number_parse.h"
#include "core/text/points_csv.h"

namespace wachtrix::cli {

std::string ChartCsv(const TextQueueHost& host) {
    std::vector<CsvPoint> points;
    int chart = 0;
    for (const auto& plotted : host.charts()) {
        ++chart;
        for (const auto& p : plotted.plot.points)
            points.push_back({chart, p.x, p.y});
    }
    return PointsCsv("chart", points);
}

std::vector<std::string> RefusedValues(const ValueEdits& edits) {
    std::vector<std::string> refused;
    const auto check = [&](const TEditArray* texts, const char* key, bool whole) {
        if (!texts) return;
        for (const std::string& text : *texts) {
            if (text.size() < 2 || text.compare(text.size() - 2, 2, "**") != 0) continue;
            const std::string value = text.substr(0, text.size() - 2);
            const bool readable =
                whole ? ParseInt(value).has_value() : ParseReal(value).has_value();
            refused.push_back(std::string(key) + " value \"" + value + "\" " +
                              (readable ? "is out of range"
                               : whole  ? "is not a whole number"
                                        : "is not a number"));
        }
    };
    check(edits.t, "t", false);
    check(edits.p, "p", false);
    check(edits.n, "n", true);
    return refused;
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
    result.drewGraph = !host.charts().empty();
    return result;
}

}  // namespace wachtrix::cli
