#pragma once
// A QueueHost that records everything a model does, for the model and window tests.

#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/queue/queue_host.h"
#include "core/queue/queue_keys.h"
#include "support/data_file.h"

namespace wachtrix::testing {

class RecordingHost : public QueueHost {
public:
    struct Error {
        std::string title, text, field;
    };
    struct GraphWindow {
        GraphWindowKind kind;
        std::vector<std::string> labels;
        std::map<int, ChartPlot> charts;               // by chart index, the last plot of each
        std::vector<std::pair<int, ChartPlot>> plots;  // every plot, with its chart, in order
        bool shown = false;
    };

    ResultWriter& results() override { return writer; }
    void showError(const std::string& title, const std::string& text,
                   const std::string& field) override {
        errors.push_back({title, text, field});
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

// The form a batch call's words describe: FormOf("mmc c=2 rho=0.8 output=4").
inline QueueForm FormOf(const std::string& call) {
    const std::vector<std::string> words = Words(call);
    const QueueModelSpec* model = FindQueueModel(words.at(0));
    if (!model) throw std::invalid_argument("no model " + words[0]);
    KeyTexts keys;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const auto eq = words[i].find('=');
        keys[words[i].substr(0, eq)] = words[i].substr(eq + 1);
    }
    KeyedForm keyed = FormFromKeys(*model, keys);
    if (!keyed.fault.empty()) throw std::invalid_argument(keyed.fault);
    return keyed.form;
}

// Runs a queue model from the words of a batch call into the host, and gives the form as the
// run left it (its value texts rewritten by the readers):
//   RunRecorded(host, "mmc c=2 rho=0.8 output=4")
inline QueueForm RunRecorded(RecordingHost& host, const std::string& call) {
    QueueForm form = FormOf(call);
    RunQueueModel(*FindQueueModel(Words(call).at(0)), form, host);
    return form;
}

}  // namespace wachtrix::testing
