#include "core/queue/qgraph.h"

#include "core/queue/finqueue.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {

std::vector<ChartPoint> MmcnPoints(const MmcnCurve& curve) {
    std::vector<ChartPoint> points;
    for (int v = curve.from; v <= curve.to; ++v) {
        const bool varyC = curve.vary == MmcnVary::Servers;
        const int c = varyC ? v : curve.fixed;
        const int N = varyC ? curve.fixed : v;
        const double rho = curve.lambda * curve.ES / c;
        double y = 0;
        if (!FinCapRhoTooSmall(FinCapType::MM, c, rho)) {
            const FinCapSolution s = SolveFinCap(FinCapType::MM, c, rho, N);
            y = curve.y == MmcnY::Rejection ? s.P[c + N] : FinCapWaitingTail(s, curve.t / curve.ES);
        }
        points.push_back({static_cast<double>(v), y});
    }
    return points;
}

ChartPlot MmcnPlot(const MmcnCurve& curve, std::vector<ChartPoint> points) {
    ChartPlot plot;
    plot.graphTitle =
        curve.y == MmcnY::Rejection ? std::string("Prej") : Format("P{Wq>%g}", {curve.t});
    plot.xAxis.title = curve.vary == MmcnVary::Servers ? "Servers c" : "Capacity N";
    plot.yAxis.logScale = false;
    plot.yAxis.autoSizing = false;
    plot.yAxis.min = 0;
    plot.yAxis.max = 1;
    plot.yAxis.autoStepping = true;
    plot.drawPoints = points.size() <= 25;
    plot.drawLine = points.size() > 25;
    plot.points = std::move(points);
    return plot;
}

namespace {

void RunMmcn(const QueueRun& run, QueueHost& host) {
    const FieldValues& f = run.fields;
    MmcnCurve curve;
    curve.lambda = f["lambda"];
    curve.ES = f["es"];
    const bool varyC = run.selection.item(0) == 0;
    curve.vary = varyC ? MmcnVary::Servers : MmcnVary::Capacity;
    curve.fixed = f.integer(varyC ? "N" : "c");
    curve.from = f.integer("from");
    curve.to = f.integer("to");
    curve.y = run.selection.item(1) == 1 ? MmcnY::Waiting : MmcnY::Rejection;
    curve.t = f.find("t").value_or(0);
    const GraphHandle window = host.createGraphWindow(
        GraphWindowKind::GMC,
        {"Graph of the M/M/c/c+N queue", Format("lambda = %.4g", {curve.lambda}),
         Format("ES = %.4g", {curve.ES}),
         varyC ? Format("N = %d", {curve.fixed}) : Format("c = %d", {curve.fixed}), ""});
    const auto busy = host.busy();
    host.plot(window, 0, MmcnPlot(curve, MmcnPoints(curve)));
}

// The batch tool prints the curve as two columns.
std::vector<std::string> CurveTable(const ChartPlot& plot, const Selection& s) {
    std::vector<std::string> lines{
        Format("%4s  %10s", {s.item(0) == 0 ? "c" : "N", plot.graphTitle.value_or("")})};
    for (const ChartPoint& p : plot.points)
        lines.push_back(Format("%4d  %10s", {static_cast<int>(p.x), FormatProb(p.y)}));
    return lines;
}

bool VaryC(const Selection& s) {
    return s.item(0) == 0;
}
bool VaryN(const Selection& s) {
    return s.item(0) == 1;
}
bool WaitingCurve(const Selection& s) {
    return s.item(1) == 1;
}

const char* UpperBoundCheck(double to, const FieldValues& before) {
    return to < before["from"] ? "Upper bound should be greater than lower bound" : nullptr;
}

constexpr FieldSpec kFields[] = {
    {"MMCN_Arrival_edit", "Average arrival rate:", One(kMmcnArrival), "lambda incorrect",
     "lambda out of range"},
    {"MMCN_ES_edit", "Mean service time:", One(kMmcnServiceTime), "ES incorrect",
     "ES out of range"},
    {.editName = "MMCN_cap_edit",
     .caption = "Capacity N:",
     .limits = One(kMmcnCapacity),
     .incorrect = "N incorrect",
     .outOfRange = "N out of range",
     .shown = VaryC},
    {.editName = "MMCN_c_from_edit",
     .caption = "Vary c from",
     .limits = One(kMmcnServersFrom),
     .incorrect = "Lower bound on c incorrect",
     .outOfRange = "Lower bound on c out of range",
     .shown = VaryC},
    {.editName = "MMCN_c_to_edit",
     .caption = "to",
     .limits = One(kMmcnServersTo),
     .incorrect = "Upper bound on c incorrect",
     .outOfRange = "Upper bound on c out of range",
     .shown = VaryC,
     .check = UpperBoundCheck},
    {.editName = "MMCN_c_edit",
     .caption = "Number of servers c:",
     .limits = One(kMmcnServers),
     .incorrect = "c incorrect",
     .outOfRange = "c out of range",
     .shown = VaryN},
    {.editName = "MMCN_N_from_edit",
     .caption = "Vary N from",
     .limits = One(kMmcnCapacityFrom),
     .incorrect = "Lower bound on N incorrect",
     .outOfRange = "Lower bound on N out of range",
     .shown = VaryN},
    {.editName = "MMCN_N_to_edit",
     .caption = "to",
     .limits = One(kMmcnCapacityTo),
     .incorrect = "Upper bound on N incorrect",
     .outOfRange = "Upper bound on N out of range",
     .shown = VaryN,
     .check = UpperBoundCheck},
    {.editName = "MMCN_t_edit",
     .caption = "Time t:",
     .limits = One(kMmcnTime),
     .incorrect = "t incorrect",
     .outOfRange = "t out of range",
     .shown = WaitingCurve},
};
constexpr std::string_view kXItems[] = {"Vary the number of servers c for a fixed capacity N",
                                        "Vary the capacity N for a fixed number of servers c"};
constexpr std::string_view kYItems[] = {"Rejection probabilities Prej",
                                        "Waiting time probabilities P{Wq>t} for fixed t"};
constexpr ChoiceSpec kChoices[] = {
    {.key = "vary", .objectName = "MMCN_type_radio_group", .title = "Graph X-Axis", .items = kXItems},
    {.key = "y", .objectName = "MMCN_Graph_radio_group", .title = "Graph Y-Axis", .items = kYItems},
};
constexpr LayoutItem kLayout[] = {
    {Slot::Field, 0},
    {Slot::Field, 1},
    {Slot::Choice, 0},
    {Slot::Box, 0, "MMCN_Input_vary_c", "Fixed N, varying c"},
    {Slot::Field, 2},
    {Slot::Bounds, 3},
    {Slot::EndBox},
    {Slot::Box, 0, "MMCN_input_vary_N", "Fixed c, varying N"},
    {Slot::Field, 5},
    {Slot::Bounds, 6},
    {Slot::EndBox},
    {Slot::Choice, 1},
    {Slot::Field, 8},
};

}  // namespace

constinit const QueueModelSpec kMmcnModel{
    .key = "mmcn",
    .caption = "M/M/c/c+N",
    .title = "M/M/c/c+N Graphs",
    .sheetName = "MMCN_Graphs_sheet",
    .prefix = "MMCN",
    .helpContext = 200,
    .helpPage = "mmcn.html",
    .helpTitle = "M/M/c/c+N graphs",
    .summary = "M/M/c/c+N graphs: Prej or P{Wq>t} as c or N varies (printed as two columns)",
    .example = "lambda=2 es=1 vary=0 N=5 from=1 to=10",
    .fields = kFields,
    .choices = kChoices,
    .stackedCaptions = true,
    .layout = kLayout,
    .run = RunMmcn,
    .curveTable = CurveTable,
};

}  // namespace wachtrix
