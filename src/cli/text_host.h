#pragma once
// The QueueHost of the batch tool: Results lines kept in memory, boxes and failures recorded,
// graph points kept for the CSV file.

#include <string>
#include <vector>

#include "core/queue/queue_host.h"

namespace wachtrix::cli {

class TextQueueHost : public QueueHost {
public:
    struct PlottedChart {
        GraphHandle window;
        int chart;
        ChartPlot plot;
    };

    ResultWriter& results() override { return writer_; }
    void showError(const std::string& title, const std::string& text,
                   const std::string& field) override;
    std::unique_ptr<BusyGuard> busy() override { return std::make_unique<BusyGuard>(); }
    GraphHandle createGraphWindow(GraphWindowKind kind,
                                  const std::vector<std::string>& labels) override;
    void plot(GraphHandle window, int chart, const ChartPlot& plot) override;
    void numericalFailure(const std::vector<std::string>& lines) override;

    const std::vector<StyledLine>& lines() const { return sink_.lines; }
    const std::vector<std::string>& errors() const { return errors_; }
    const std::vector<std::string>& failureLines() const { return failure_; }
    bool failed() const { return failed_; }
    const std::vector<PlottedChart>& charts() const { return charts_; }

private:
    MemoryResultSink sink_;
    ResultWriter writer_{sink_};
    std::vector<std::string> errors_;
    std::vector<std::string> failure_;
    bool failed_ = false;
    int windows_ = 0;
    std::vector<PlottedChart> charts_;
};

}  // namespace wachtrix::cli
