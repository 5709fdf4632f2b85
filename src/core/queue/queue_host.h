#pragma once
// The small interface a queue model talks to. The queue window, the batch tool and the tests'
// recording fake implement it; models never see a widget.

#include <memory>
#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/text/result_writer.h"

namespace wachtrix {

// The three graph window classes.
enum class GraphWindowKind {
    MG1,  // two charts: waiting time (0) above, states (1) below; four labels
    DG1,  // one chart; four labels
    GMC,  // one chart; five labels
};

using GraphHandle = int;
inline constexpr GraphHandle kNoGraph = -1;

class BusyGuard {
public:
    virtual ~BusyGuard() = default;
};

class QueueHost {
public:
    virtual ~QueueHost() = default;

    // The Results panel.
    virtual ResultWriter& results() = 0;

    // The modal validation box (OK and Cancel); the run ends after it. `field` names the edit
    // the refusal concerns (its objectName, empty for none), for the window to put the cursor in.
    virtual void showError(const std::string& title, const std::string& text,
                           const std::string& field) = 0;

    // Shows the hourglass until the guard goes; the previous cursor comes back.
    virtual std::unique_ptr<BusyGuard> busy() = 0;

    // A new, hidden graph window with its label captions in the class's order. A window that is
    // never plotted into stays hidden.
    virtual GraphHandle createGraphWindow(GraphWindowKind kind,
                                          const std::vector<std::string>& labels) = 0;

    // Fills chart `chart` of the window and shows the window.
    virtual void plot(GraphHandle window, int chart, const ChartPlot& plot) = 0;

    // A numerical routine gave up. Results has already been told (by RunGuarded); the host only
    // passes the routine's own lines on (the window and the batch tool print them to standard
    // output).
    virtual void numericalFailure(const std::vector<std::string>& lines) = 0;
};

// Runs a model's body. A NumericalFailure ends it: what was already written stays, Results gets
// one line saying the computation failed and why, then an empty line (the same in every host),
// and the host receives the routine's lines.
template <class Body>
void RunGuarded(QueueHost& host, Body&& body);

// The failure notice (NumericalFailureNotice) in the Normal style, then an empty line.
void WriteFailureNotice(ResultWriter& out, const std::vector<std::string>& lines);

}  // namespace wachtrix

#include "core/numeric/numerical_failure.h"

template <class Body>
void wachtrix::RunGuarded(QueueHost& host, Body&& body) {
    try {
        body();
    } catch (const NumericalFailure& failure) {
        WriteFailureNotice(host.results(), failure.lines());
        host.numericalFailure(failure.lines());
    }
}
