#include "core/queue/report_figures.h"

#include <algorithm>

#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

// A run's report in memory: the lines, the refusal box, the failure.
class ReportHost : public QueueHost {
public:
    ResultWriter& results() override { return writer_; }
    void showError(const std::string&, const std::string& text, const std::string&) override {
        report.refusal = text;
    }
    std::unique_ptr<BusyGuard> busy() override { return std::make_unique<BusyGuard>(); }
    GraphHandle createGraphWindow(GraphWindowKind, const std::vector<std::string>&) override {
        return kNoGraph;
    }
    void plot(GraphHandle, int, const ChartPlot&) override {}
    void numericalFailure(const std::vector<std::string>& lines) override {
        report.failure = lines.empty() ? std::string("the computation failed") : lines.front();
        for (std::size_t i = 1; i < lines.size(); ++i)
            report.failure += "; " + lines[i];
    }

    MemoryReport take() {
        report.lines = sink_.lines;
        return std::move(report);
    }
    MemoryReport report;

private:
    MemoryResultSink sink_;
    ResultWriter writer_{sink_};
};

std::string Trimmed(std::string_view text) {
    return std::string(Trim(text));
}

}  // namespace

MemoryReport RunInMemory(const QueueModelSpec& model, QueueForm& form) {
    ReportHost host;
    RunQueueModel(model, form, host);
    return host.take();
}

std::optional<std::string> PrintedStatistic(const std::vector<StyledLine>& lines,
                                            std::string_view name) {
    std::optional<std::string> value;
    for (const StyledLine& styled : lines) {
        const std::string& line = styled.text;
        const auto equals = line.find(" = ");
        if (equals == std::string::npos) continue;
        const auto colon = line.rfind(':', equals);
        const auto start = colon == std::string::npos ? 0 : colon + 1;
        if (Trimmed(std::string_view(line).substr(start, equals - start)) == name)
            value = Trimmed(std::string_view(line).substr(equals + 3));
    }
    return value;
}

std::optional<std::string> PrintedTableCell(const std::vector<StyledLine>& lines,
                                            std::string_view name, std::size_t row) {
    for (std::size_t i = 0; i + 1 + row < lines.size(); ++i) {
        if (lines[i].style != ResultTextStyle::Underline) continue;
        const auto at = lines[i].text.find(name);
        if (at == std::string::npos) continue;
        const std::size_t end = at + name.size();
        const std::string& text = lines[i + 1 + row].text;
        std::string best;
        std::size_t bestOverlap = 0;
        for (std::size_t k = 0; k < text.size();) {
            if (text[k] == ' ') {
                ++k;
                continue;
            }
            const std::size_t first = k;
            while (k < text.size() && text[k] != ' ')
                ++k;
            const std::size_t from = std::max(first, at), to = std::min(k, end);
            if (to > from && to - from > bestOverlap) {
                bestOverlap = to - from;
                best = text.substr(first, k - first);
            }
        }
        if (bestOverlap > 0) return best;
    }
    return std::nullopt;
}

const FigureSpec* FindFigure(const QueueModelSpec& model, std::string_view name) {
    for (const FigureSpec& figure : model.figures)
        if (figure.name == name) return &figure;
    return nullptr;
}

}  // namespace wachtrix
