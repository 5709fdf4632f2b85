#pragma once
// The report and graphs of a standard queue run: title, parameters, the statistics block, the
// table the Output group asked for and the accuracy check; then, for Graphs, the conditional
// waiting-time and state curves. A model supplies only its texts and what its solution offers.

#include <functional>
#include <string>
#include <vector>

#include "core/queue/output_tables.h"
#include "core/queue/queue_host.h"
#include "core/queue/queue_statistics.h"

namespace wachtrix {

// "Results: Pwait   = ..." through "Std(Lq)": Pwait to 6 digits, Pbusy and the means to 5,
// the deviations to 4, all without sign.
void WriteStandardStatistics(ResultWriter& out, const QueueStatistics& s, double Pbusy);

struct StandardReport {
    std::string title, parameters;
    QueueStatistics statistics;
    double Pbusy = 0;
    SolutionTables tables;
};

// The whole report; a state table's own check is added to the accuracy.
void WriteStandardReport(ResultWriter& out, const StandardReport& report,
                         const OutputRequest& request);

// The two curves of a window with a waiting-time chart (0) and a state chart (1).
struct ConditionalGraphs {
    std::vector<ChartPoint> waiting, states;
};

// Plots both curves when the delay probability is significant; otherwise writes the model's
// message and leaves the window hidden. The points are computed only when they are drawn.
void PlotConditionalGraphs(QueueHost& host, GraphHandle window, double Pwait,
                           const std::string& tooSmallMessage,
                           const std::function<ConditionalGraphs()>& graphs);

}  // namespace wachtrix
