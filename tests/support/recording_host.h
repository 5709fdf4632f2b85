#pragma once
// A QueueHost that records everything a model does, for the model tests.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/queue/queue_host.h"

namespace wachtrix::testing {

class RecordingHost : public QueueHost {
public:
    struct Error {
        std::string title, text;
    };
    struct GraphWindow {
        GraphWindowKind kind;
        std::vector<std::string> labels;
        std::map<int, ChartPlot> charts;               // by chart index, the last plot of each
        std::vector<std::pair<int, ChartPlot>> plots;  // every plot, with its chart, in order
        bool shown = false;
    };

    ResultWriter& results() override { return writer; }
    void showError(const std::string& title, const std::string& text) override {
        errors.push_back({title, text});
    }
    std::unique_ptr<BusyGuard> busy() override {
        ++busyCount;
        return std::make_unique<BusyGuard>();
    }
    GraphHandle createGraphWindow(GraphWindowKind kind,
                                  const std::vector<std::string>& labels) override {
        windows.push_back({kind, labels, {}, {}, false});
        return static_cast<GraphHandle>(windows.size()) - 1;
    }
    void plot(GraphHandle window, int chart, const ChartPlot& plot) override {
        auto& w = windows.at(window);
        w.charts[chart] = plot;
        w.plots.push_back({chart, plot});
        w.shown = true;
    }
    void numericalFailure(const std::vector<std::string>& lines) override {
        failures.push_back(lines);
    }

    // Lines as text only.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& l : sink.lines)
            out.push_back(l.text);
        return out;
    }

    MemoryResultSink sink;
    ResultWriter writer{sink};
    std::vector<Error> errors;
    std::vector<GraphWindow> windows;
    std::vector<std::vector<std::string>> failures;
    int busyCount = 0;
};

}  // namespace wachtrix::testing
