#include "core/queue/dmc.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/numeric/safe_math.h"
#include "core/queue/dmc_beta.h"
#include "core/queue/graph_points.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/queue/state_tails.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

// The state graphs' step: about 50 points up to the state where the conditional tail y falls
// to 0.001. That state is found by a scan when it lies at or below `last`, else it is nMax() on
// the geometric tail (every 200th state when that lies beyond 10000).
template <class Y, class NMax>
int StateGraphStep(int last, Y&& y, NMax&& nMax) {
    if (y(last) < 0.001) {
        int j = 1;
        while (j < last && y(j) >= 0.001)
            ++j;
        return (j - 1) / 50 + 1;
    }
    const double v = nMax();
    if (!(v < 10000)) return 200;
    const int n = static_cast<int>(std::trunc(v)) + 1;
    return std::max((n - 1) / 50 + 1, 1);
}

// (n, y(n)) for every step-th n until y is at most 0.001 or n reaches 10000.
template <class Y>
std::vector<ChartPoint> SteppedStateGraphPoints(int step, Y&& y) {
    std::vector<ChartPoint> points;
    for (int n = step; n <= 10000; n += step) {
        const double value = y(n);
        points.push_back({static_cast<double>(n), value});
        if (value <= 0.001) break;
    }
    return points;
}

// P{L > n} / P{L > 0}, the states from a table of the solution; empty when nothing lies above
// state 0 (one server at a load so small that beta is 0).
template <class Table, class NMax>
std::vector<ChartPoint> ConditionalStatePoints(const DmcSolution& s, Table&& table, NMax&& nMax) {
    const double busy = table(s, 0).greater;
    if (!(busy > 0)) return {};
    const auto y = [&](int n) { return table(s, n).greater / busy; };
    return SteppedStateGraphPoints(StateGraphStep(s.c - 1, y, nMax), y);
}

}  // namespace

bool DmcRhoTooSmall(int c, double rho) {
    double threshold;
    if (c <= 10)
        threshold = 0.015 * std::sqrt(1.5 * c);
    else if (c <= 100)
        threshold = 0.025 * std::sqrt(1.5 * c);
    else if (c <= 130)
        threshold = 0.5;
    else if (c <= 180)
        threshold = 0.55;
    else
        threshold = 0.6;
    return rho <= threshold;
}

DmcSolution SolveDMC(int c, double rho) {
    DmcBoundary boundary = SolveDmcBoundary(c, rho);
    DmcSolution s;
    s.c = c;
    s.rho = rho;
    s.beta = boundary.beta;
    s.x = std::move(boundary.x);
    s.balanceResidual = boundary.balanceResidual;

    const long double beta = s.beta;
    long double below = 0;
    for (const long double x : s.x)
        below += x;
    const long double piTop = 1 / (1 / (1 - beta) + below);
    s.piTop = static_cast<double>(piTop);
    static_cast<GimcStatistics&>(s) = GimcStatisticsOf(c, rho, beta, piTop);

    // Over time, p_j = (c rho / j) pi_(j-1) below c: arrivals up from j - 1 balance the j
    // departures down from j.
    std::vector<long double> p(c, 0.0L);
    long double sum = 0;
    for (int j = 1; j <= c - 1; ++j) {
        p[j] = static_cast<long double>(c) * rho / j * piTop * s.x[j - 1];
        sum += p[j];
    }
    p[0] = std::fabs(1 - sum - rho * piTop / (1 - beta));
    std::vector<double> time(c), customer(c);
    s.T.assign(c, 0.0);
    s.A.assign(c, 0.0);
    long double T = 0, A = 0;
    for (int j = 0; j < c; ++j) {
        const long double arriving = j < c - 1 ? piTop * s.x[j] : piTop;
        time[j] = static_cast<double>(p[j]);
        customer[j] = static_cast<double>(arriving);
        T += p[j];
        A += arriving;
        s.T[j] = static_cast<double>(T);
        s.A[j] = static_cast<double>(A);
    }
    // From c on both tails are geometric in beta.
    s.timeBelowC = StatesWithTails(time, rho * piTop / (1 - beta));
    s.customerBelowC = StatesWithTails(customer, piTop * beta / (1 - beta));
    return s;
}

double DmcWaitingTail(const DmcSolution& s, double t) {
    return static_cast<double>(s.Pwait * SafeExp(-s.c * (1 - s.beta) * t));
}

double DmcPercentile(const DmcSolution& s, double p) {
    const double noWait = 1 - s.Pwait;
    if (std::fabs(p - noWait) <= 1e-10) return 0;
    if (p <= noWait) return -1;
    return (std::log(s.Pwait) - std::log(1 - p)) / (s.c * (1 - s.beta));
}

namespace {

// beta^k, with beta^0 = 1 also for beta = 0 (SafePower takes 0^0 as 0).
long double TailPower(double beta, int k) {
    return k == 0 ? 1.0L : SafePower(beta, k);
}

// P{= n} and P{> n} below c from a cumulative table.

}  // namespace

StateProbability DmcTimeAverageState(const DmcSolution& s, int n) {
    if (n < s.c) return s.timeBelowC[n];
    const long double top = s.rho * static_cast<long double>(s.piTop);
    return {static_cast<double>(top * TailPower(s.beta, n - s.c)),
            static_cast<double>(top * SafePower(s.beta, n + 1 - s.c) / (1 - s.beta))};
}

StateProbability DmcCustomerAverageState(const DmcSolution& s, int n) {
    if (n < s.c) return s.customerBelowC[n];
    const long double top = s.piTop;
    return {static_cast<double>(top * SafePower(s.beta, n - s.c + 1)),
            static_cast<double>(top * SafePower(s.beta, n + 2 - s.c) / (1 - s.beta))};
}

double DmcBusyServerDeviation(const DmcSolution& s) {
    long double busy = s.c * (1 - static_cast<long double>(s.T[s.c - 1]));
    for (int j = 1; j <= s.c - 1; ++j)
        busy += j * (static_cast<long double>(s.T[j]) - s.T[j - 1]);
    return static_cast<double>(busy - static_cast<long double>(s.c) * s.rho);
}

std::string DmcAccuracyLine(const DmcSolution& s, double accuracyExtra) {
    if (s.c == 1) return "Accuracy Check = 0.00000000";
    if (s.rho * s.piTop < 5e-6 && s.beta * s.piTop < 5e-7)
        return Format("Accuracy Check = %8g", {std::fabs(accuracyExtra)});
    return Format("Accuracy Check = %s",
                  {FormatShortG(std::fabs(s.balanceResidual + accuracyExtra))});
}

std::vector<ChartPoint> DmcWaitingGraphPoints(const DmcSolution& s) {
    return ExponentialWaitingGraphPoints(s.Pwait, s.c * (1 - s.beta));
}

std::vector<ChartPoint> DmcTimeAverageGraphPoints(const DmcSolution& s) {
    return ConditionalStatePoints(s, DmcTimeAverageState, [&] {
        const long double reach = 0.001L * (1 - s.T[0]) * (1 - s.beta) / (s.rho * s.piTop);
        return static_cast<double>(SafeLn(reach) / SafeLn(s.beta) + s.c - 1);
    });
}

std::vector<ChartPoint> DmcCustomerAverageGraphPoints(const DmcSolution& s) {
    return ConditionalStatePoints(s, DmcCustomerAverageState, [&] {
        const long double reach = 0.001L * (1 - s.A[0]) * (1 - s.beta) / s.piTop;
        return static_cast<double>(SafeLn(reach) / SafeLn(s.beta) + s.c - 2);
    });
}

namespace {

// A table of one of the state views for the requested n.
template <class View>
StateTable Rows(const DmcSolution& s, const std::vector<int>& n, View&& view) {
    StateTable table;
    for (const int k : n)
        table.rows.push_back(view(s, k));
    return table;
}

StandardReport Report(const DmcSolution& s) {
    return {"D/M/c queue",
            Format("Parameters: c=%d  rho=%.6g", {s.c, s.rho}),
            {s.Pwait, s.EWq, s.ELq, s.StdWq, s.StdLq, 0},
            s.Pbusy,
            {[&s](double t) { return DmcWaitingTail(s, t); },
             [&s](double p) { return DmcPercentile(s, p); },
             {},
             "  ",
             [&s](const std::vector<int>& n) {
                 // Writing the time-average table adds its busy-server check to the accuracy.
                 StateTable table = Rows(s, n, DmcTimeAverageState);
                 if (!n.empty()) table.check = DmcBusyServerDeviation(s);
                 return table;
             },
             [&s](const std::vector<int>& n) { return Rows(s, n, DmcCustomerAverageState); }},
            [&s](double check) { return DmcAccuracyLine(s, check); }};
}

// The chosen curve with its titles; empty points when the states have nothing above 0.
ChartPlot Curve(const DmcSolution& s, OutputMode mode) {
    ChartPlot plot;
    if (mode == kTimeStateGraph) {
        plot = MarksOrLine(DmcTimeAverageGraphPoints(s));
        plot.graphTitle = "P(L(time)>n | L(time)>0)";
    } else if (mode == kCustomerStateGraph) {
        plot = MarksOrLine(DmcCustomerAverageGraphPoints(s));
        plot.graphTitle = "P(L(cust)>n | L(cust)>0)";
    } else {
        plot = MarksOrLine(DmcWaitingGraphPoints(s));
        plot.graphTitle = "P(Wq>t | Wq>0)";
    }
    plot.xAxis.title = mode == kGraphs ? "Time t" : "State n";
    return plot;
}

}  // namespace

namespace {

void RunDmc(const QueueRun& run, QueueHost& host) {
    const int c = run.fields.integer("c");
    const double rho = run.fields["rho"];
    OutputRequest output = run.output;
    GraphHandle graph = kNoGraph;
    if (output.mode == kGraphs) {
        // The Graphs item draws the curve its own group picks.
        static constexpr OutputMode kCurves[] = {kGraphs, kTimeStateGraph, kCustomerStateGraph};
        output.mode = kCurves[run.selection.item(0)];
        graph = host.createGraphWindow(
            GraphWindowKind::DG1, {"Logarithmic Graphs of the D/M/c queue", Format("c = %4d", {c}),
                                   Format("rho = %.4g", {rho}), ""});
    }
    ResultWriter& out = host.results();
    if (DmcRhoTooSmall(c, rho)) {
        WriteRunMessage(out, "Rho is too small for reliable results");
        return;
    }
    const auto busy = host.busy();
    const DmcSolution s = SolveDMC(c, rho);
    WriteStandardReport(out, Report(s), output);
    const char* tooSmall = "Pdelay too small for meaningful graphs";
    if (output.mode == kGraphs) {
        PlotConditionalWaitingGraph(host, graph, s.Pwait, tooSmall,
                                    [&] { return Curve(s, kGraphs); });
    } else if (output.mode == kTimeStateGraph || output.mode == kCustomerStateGraph) {
        // With beta = 0 at one server no arrival ever finds anyone: nothing to condition on.
        const ChartPlot plot = Curve(s, output.mode);
        if (plot.points.empty())
            WriteRunMessage(out, tooSmall);
        else
            host.plot(graph, 0, plot);
    }
}

constexpr FieldSpec kFields[] = {
    {"DMC_C_edit", "C:", One(kDmcServers), "c incorrect", "c out of range"},
    {"DMC_Rho_edit", "Rho:", One(kDmcLoad), "Rho incorrect", "Rho out of range"},
};
constexpr std::string_view kGraphItems[] = {"Waiting-Time", "Time-Average State",
                                            "Customer-Average State"};
constexpr ChoiceSpec kChoices[] = {{.key = "graph",
                                    .objectName = "DMC_Graph_GroupBox",
                                    .title = "Conditional Probability Graphs",
                                    .items = kGraphItems,
                                    .shown = [](const Selection& s) { return s.output == 5; }}};
constexpr OutputSpec kOutputs[] = {{"DMC_Output_RadioGroup", "Output", kAverageStateOutput}};
constexpr LayoutItem kLayout[] = {
    {Slot::Field, 0}, {Slot::Field, 1}, {Slot::Outputs}, {Slot::Choice, 0}, {Slot::ValueGroups}};

QueueTwin DmcTwin(const QueueRun& run) {
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.arrivals = DeterministicTime(1 / (twin.servers * run.fields["rho"]));
    twin.service = ExponentialTime(1);
    return twin;
}

}  // namespace

constinit const QueueModelSpec kDmcModel{
    .key = "dmc",
    .caption = "D/M/c",
    .title = "D/M/c Queue",
    .sheetName = "DMC_TabSheet",
    .prefix = "DMC",
    .helpContext = 140,
    .helpPage = "dmc.html",
    .helpTitle = "D/M/c",
    .summary = "D/M/c queue: c exponential servers, constant interarrival times",
    .example = "c=2 rho=0.8",
    .fields = kFields,
    .choices = kChoices,
    .outputs = kOutputs,
    .groups = kDmcGroups,
    .layout = kLayout,
    .figures = kStandardAverageStateFigures,
    .run = RunDmc,
    .twin = DmcTwin,
};

}  // namespace wachtrix
