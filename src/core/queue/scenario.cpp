#include "core/queue/scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "core/queue/report.h"
#include "core/queue/report_figures.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

std::string Shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

std::string Trimmed(std::string_view text) {
    return std::string(Trim(text));
}

ValueGroupKind KindOf(char point) {
    return point == 'T' ? ValueGroupKind::T : point == 'P' ? ValueGroupKind::P : ValueGroupKind::N;
}

// The field a request varies, read under the form's selection.
int VariedField(const QueueModelSpec& model, const QueueForm& form, const std::string& key) {
    for (std::size_t i = 0; i < model.fields.size(); ++i)
        if (model.fields[i].key() == key && model.fields[i].isRead(form.selection))
            return static_cast<int>(i);
    return -1;
}

// One row: the statistics run, then a run for each table the figures read.
ScenarioRow RunRow(const QueueModelSpec& model, const QueueForm& base, int field, double value,
                   const ScenarioRequest& request, bool integer) {
    ScenarioRow row;
    row.value = value;
    QueueForm form = base;
    form.fields[static_cast<std::size_t>(field)] =
        integer ? std::to_string(static_cast<long long>(value)) : Shortest(value);
    std::map<char, std::vector<StyledLine>> reports;  // by the point its table was read at
    const auto run = [&](char point) -> const std::vector<StyledLine>* {
        if (const auto it = reports.find(point); it != reports.end()) return &it->second;
        QueueForm asked = form;
        asked.t = asked.p = asked.n = TEditArray{};
        if (point) {
            const OutputSpec* output = model.outputFor(asked.selection);
            int item = -1;
            for (std::size_t k = 0; output && k < output->items.size() && item < 0; ++k)
                if (output->items[k].values == KindOf(point)) item = static_cast<int>(k);
            if (item < 0) return nullptr;
            asked.selection.output = item;
            TEditArray& texts = point == 'T' ? asked.t : point == 'P' ? asked.p : asked.n;
            texts[0] = point == 'T'   ? Shortest(request.t)
                       : point == 'P' ? Shortest(request.p)
                                      : std::to_string(request.n);
        } else {
            asked.selection.output = 0;
        }
        MemoryReport report = RunInMemory(model, asked);
        if (!report.refusal.empty()) row.reason = report.refusal;
        if (!report.failure.empty()) row.reason = "The computation failed: " + report.failure;
        return &(reports[point] = std::move(report.lines));
    };
    for (const std::string& name : request.figures) {
        const FigureSpec* figure = FindFigure(model, name);
        const std::vector<StyledLine>* lines = run(figure ? figure->point : 0);
        if (!row.reason.empty()) break;
        std::optional<std::string> cell;
        if (lines && figure && figure->point) {
            cell = PrintedTableCell(*lines, name);
        } else if (lines) {
            cell = PrintedStatistic(*lines, name);
        }
        // A run that ended in a message instead of its figures (a load too small, say): the
        // message; a report that has its statistics but not this figure: "-".
        if (!cell && lines) {
            const auto last = std::find_if(lines->rbegin(), lines->rend(),
                                           [](const StyledLine& l) { return !l.text.empty(); });
            if (last != lines->rend() && last->text.find(" = ") == std::string::npos) {
                row.reason = last->text;
                break;
            }
        }
        row.cells.push_back(cell.value_or("-"));
    }
    if (!row.reason.empty()) row.cells.clear();
    return row;
}

// The varied value as the table shows it: six digits, as the reports show their parameters.
std::string ValueText(double v) {
    return Format("%.6g", {v});
}

std::string Header(const ScenarioTable& table, std::size_t width) {
    std::string header = Format("%10s", {table.field});
    for (const std::string& figure : table.figures)
        header += "  " + Format("%" + std::to_string(width) + "s", {figure});
    return header;
}

// 0.1 + 2 * 0.2 is 0.30000000000000004 in binary: the values are the decimals a user would type,
// to twelve digits, so that a row is the run at the value it shows.
double Decimal(double v) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 12);
    double rounded = v;
    std::from_chars(buffer, end.ptr, rounded);
    return rounded;
}

}  // namespace

std::vector<double> ScenarioValues(const ScenarioRequest& r, bool integer) {
    std::vector<double> values;
    const auto add = [&](double v) {
        v = integer ? std::round(v) : Decimal(v);
        if (values.empty() || values.back() != v) values.push_back(v);
    };
    if (r.count > 0) {
        if (r.logSpacing && (r.from <= 0 || r.to <= 0)) return {};
        if (r.count > kMostScenarioValues) return {};
        for (int k = 0; k < r.count; ++k) {
            const double f = r.count == 1 ? 0 : static_cast<double>(k) / (r.count - 1);
            // Both ends exact: the first and the last value are the ones given.
            const double v = k == 0             ? r.from
                             : k == r.count - 1 ? r.to
                             : r.logSpacing     ? r.from * std::pow(r.to / r.from, f)
                                                : r.from + (r.to - r.from) * f;
            add(v);
        }
        return values;
    }
    if (r.step == 0 || (r.to - r.from) / r.step < 0) return {};
    const double span = (r.to - r.from) / r.step;
    if (span >= kMostScenarioValues) return {};
    const auto steps = static_cast<long long>(std::floor(span + 1e-9));
    for (long long k = 0; k <= steps; ++k)
        add(k == steps && std::fabs(r.from + k * r.step - r.to) < 1e-9 * std::fabs(r.step)
                ? r.to
                : r.from + static_cast<double>(k) * r.step);
    return values;
}

std::string CheckScenario(const QueueModelSpec& model, const QueueForm& form,
                          const ScenarioRequest& request) {
    if (model.figures.empty()) return std::string(model.caption) + " has no scenarios";
    const int field = VariedField(model, form, request.field);
    if (field < 0) return "no field " + request.field + " to vary here";
    if (request.figures.empty()) return "no figures asked for";
    for (const std::string& name : request.figures)
        if (!FindFigure(model, name)) return "no figure " + name + " in this model's reports";
    const bool integer =
        model.fields[static_cast<std::size_t>(field)].limit(form.selection).integer;
    if (ScenarioValues(request, integer).empty())
        return "the range from " + Shortest(request.from) + " to " + Shortest(request.to) +
               " cannot be spanned so (at most " + std::to_string(kMostScenarioValues) + " values)";
    return {};
}

ScenarioTable RunScenario(const QueueModelSpec& model, const QueueForm& form,
                          const ScenarioRequest& request,
                          const std::function<bool(int, int)>& carryOn) {
    ScenarioTable table;
    table.field = request.field;
    table.figures = request.figures;
    const int field = VariedField(model, form, request.field);
    if (field < 0) return table;
    const bool integer =
        model.fields[static_cast<std::size_t>(field)].limit(form.selection).integer;
    const std::vector<double> values = ScenarioValues(request, integer);
    table.title =
        Format("Scenario of the %s tab: %s from %s to %s",
               {model.caption, request.field, Shortest(request.from), Shortest(request.to)});
    for (std::size_t i = 0; i < model.fields.size(); ++i)
        if (static_cast<int>(i) != field && model.fields[i].isRead(form.selection) &&
            model.fields[i].key() != request.field)
            table.parameters += (table.parameters.empty() ? "Parameters: " : "  ") +
                                std::string(model.fields[i].key()) + "=" + Trimmed(form.fields[i]);
    const int total = static_cast<int>(values.size());
    for (int k = 0; k < total; ++k) {
        table.rows.push_back(
            RunRow(model, form, field, values[static_cast<std::size_t>(k)], request, integer));
        if (carryOn && !carryOn(k + 1, total)) {
            table.stopped = k + 1 < total;
            break;
        }
    }
    return table;
}

void WriteScenarioTable(ResultWriter& out, const ScenarioTable& table) {
    std::size_t width = 10;
    for (const std::string& figure : table.figures)
        width = std::max(width, figure.size());
    for (const ScenarioRow& row : table.rows)
        for (const std::string& cell : row.cells)
            width = std::max(width, cell.size());
    std::vector<std::string> lines;
    for (const ScenarioRow& row : table.rows) {
        std::string line = Format("%10s", {ValueText(row.value)});
        if (!row.reason.empty()) {
            line += "  " + row.reason;
        } else {
            for (const std::string& cell : row.cells)
                line += "  " + Format("%" + std::to_string(width) + "s", {cell});
        }
        lines.push_back(line);
    }
    WriteReportHeader(out, table.title, table.parameters);
    WriteResultTable(out, Header(table, width), lines);
    if (table.stopped) out.AddResultLine("Stopped: the rows up to here.");
    out.AddResultLine("");
}

std::string ScenarioCsv(const ScenarioTable& table) {
    const auto field = [](const std::string& text) {
        if (text.find_first_of(",\"\n") == std::string::npos) return text;
        std::string quoted = "\"";
        for (const char c : text)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        return quoted + "\"";
    };
    std::string csv = field(table.field);
    for (const std::string& figure : table.figures)
        csv += "," + field(figure);
    csv += "\n";
    for (const ScenarioRow& row : table.rows) {
        csv += ValueText(row.value);
        if (!row.reason.empty()) {
            csv += "," + field(row.reason);
        } else {
            for (const std::string& cell : row.cells)
                csv += "," + field(cell);
        }
        csv += "\n";
    }
    return csv;
}

std::vector<ChartPlot> ScenarioPlots(const QueueModelSpec& model, const ScenarioTable& table) {
    bool probabilities = true;
    for (const std::string& name : table.figures) {
        const FigureSpec* figure = FindFigure(model, name);
        probabilities = probabilities && figure && figure->probability;
    }
    static constexpr std::uint32_t kColours[] = {kChartBlue, kChartRed, kChartGreen};
    std::vector<ChartPlot> plots;
    for (std::size_t f = 0; f < table.figures.size(); ++f) {
        ChartPlot plot;
        plot.series = static_cast<int>(f) + 1;
        plot.seriesName = table.figures[f];
        plot.color = kColours[f % std::size(kColours)];
        if (f == 0) {
            plot.graphTitle = table.title;
            plot.xAxis.title = table.field;
            plot.yAxis.logScale = probabilities;
        }
        for (const ScenarioRow& row : table.rows) {
            if (!row.reason.empty() || f >= row.cells.size()) continue;
            const auto y = ParseReal(row.cells[f]);
            if (!y || (probabilities && *y <= 0)) continue;
            plot.points.push_back({row.value, *y});
        }
        plot.drawPoints = plot.points.size() <= 24;
        plot.drawLine = plot.points.size() > 24;
        plots.push_back(std::move(plot));
    }
    return plots;
}

}  // namespace wachtrix
