#include "core/queue/dg1.h"

#include <string>
#include <vector>

#include "core/numeric/safe_math.h"
#include "core/queue/dg1_erlan.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/text/delphi_format.h"

namespace wachtrix {
namespace {

const char* const kTitleSuffix[] = {" (Erlangian services)", " (Erlangian services)",
                                    " (Coxian-2 services, gamma)",
                                    " (Coxian-2 services, balanced)"};
const char* const kGraphServiceLabel[] = {"Erlangian services.", "Erlangian services.",
                                          "Coxian-2 services (gamma).",
                                          "Coxian-2 services (balanced)."};

constexpr double kCoxianDelayFloor = 1e-12;

struct Dg1Parameters {
    int serviceType;
    double cs2, rho;
    OutputRequest output;
    GraphHandle graph = kNoGraph;
};

// Pure Erlang reads the number of phases k into the CS2 field; CS2 is then 1/k.
Dg1Parameters Parameters(const QueueRun& run, QueueHost& host) {
    const int type = run.selection.item(0);
    const double cs2 = type == kDg1PureErlang ? 1.0 / run.fields["cs2"] : run.fields["cs2"];
    Dg1Parameters p{type, cs2, run.fields["rho"], run.output};
    if (p.output.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::DG1,
            {"Logarithmic Graph of the D/G/1 queue", Format("CS2 = %.4g", {p.cs2}),
             Format("rho = %.4g", {p.rho}), kGraphServiceLabel[type]});
    return p;
}

// The report and graph of whichever solver computed the queue.
template <class Solution>
void Report(const Solution& s, const Dg1Parameters& p, SolutionTables tables, QueueHost& host) {
    ResultWriter& out = host.results();
    tables.waitingTail = [&s](double t) { return WaitingTail(s, t); };
    tables.percentile = [&s](double q) { return WaitingPercentile(s, q); };
    StandardReport report{std::string("D/G/1 queue") + kTitleSuffix[p.serviceType],
                          Format("Parameters: CS2=%.5g  rho=%.6g", {p.cs2, p.rho}), s.statistics,
                          p.rho, std::move(tables)};
    // The Erlang mixture has no figure for Std(Lq).
    report.withStdLq = p.serviceType != kDg1Erlangian;
    WriteStandardReport(out, report, p.output);
    if (p.output.mode != kGraphs) return;
    if (!IsSignificant(s.statistics.Pwait)) {
        WriteRunMessage(out, "Pdelay is too small for meaningful graphs");
        return;
    }
    host.plot(p.graph, 0, MarksOrLine(WaitingGraph(s)));
}

void RefuseSmallLoad(QueueHost& host) {
    WriteRunMessage(host.results(), "Rho too small for reliable results.");
}

}  // namespace

namespace {

void RunDg1(const QueueRun& run, QueueHost& host) {
    const Dg1Parameters p = Parameters(run, host);
    if (p.serviceType == kDg1CoxianGamma || p.serviceType == kDg1CoxianBalanced) {
        const auto busy = host.busy();
        const CoxianSolution s = SolveCoxian(
            p.serviceType == kDg1CoxianGamma ? CoxianKind::DG1Gamma : CoxianKind::DG1Balanced,
            p.cs2, p.rho);
        // The two-term tail's coefficients cancel at light loads: a delay probability below
        // 1e-12 is round-off in its leading digits (and prints as 0 in every table).
        if (s.rhoTooSmall || s.statistics.Pwait < kCoxianDelayFloor) return RefuseSmallLoad(host);
        return Report(s, p, {}, host);
    }
    if (Dg1ErlangRhoTooSmall(p.rho)) return RefuseSmallLoad(host);
    const auto busy = host.busy();
    const Dg1ErlangSolution s = SolveDg1Erlang(p.cs2, p.rho, p.serviceType == kDg1PureErlang);
    SolutionTables tables;
    if (s.pureErlang) {
        // This tab's tail headers have always closed with ")"; users' scripts match them.
        tables.timeColumns = {"P{L(time)=n}", "P{L(time)>n)", 12};
        tables.customerColumns = {"P{L(cust)=n}", "P{L(cust)>n)", 12};
        tables.timeStates = [&s](const std::vector<int>& n) {
            return TimeStateProbabilities(s, n);
        };
        tables.customerStates = [&s](const std::vector<int>& n) {
            return CustomerStateProbabilities(s, n);
        };
    }
    Report(s, p, std::move(tables), host);
}

constexpr FieldLimit kCs2Limits[] = {kDg1ErlangianCs2, kDg1ErlangPhases, kDg1CoxianCs2,
                                     kDg1CoxianCs2};
constexpr std::string_view kCs2Captions[] = {"CS2:", "1/CS2:", "CS2:", "CS2:"};
constexpr FieldSpec kFields[] = {
    {.editName = "DG1_CS2_edit",
     .caption = "CS2:",
     .limits = kCs2Limits,
     .incorrect = "cs2 incorrect",
     .outOfRange = "CS2 out of bounds",
     .limitChoice = 0,
     .captions = kCs2Captions,
     .editHint = "Enter squared coefficient of variation of the service time"},
    {.editName = "DG1_Rho_edit",
     .caption = "Rho:",
     .limits = One(kDg1Load),
     .incorrect = "Rho incorrect",
     .outOfRange = "Rho out of bounds",
     .editHint = "Enter rho=lambda*E(s)/c"},
};
constexpr std::string_view kServiceItems[] = {
    "Erlangian", "Pure Erlang", "Coxian-2 (Gamma Normalization)", "Coxian-2 (Balanced Means)"};
constexpr ChoiceSpec kChoices[] = {{.key = "service",
                                    .objectName = "DG1_Service_Type_RadioGroup",
                                    .title = "Service Times",
                                    .items = kServiceItems,
                                    .hint = "The type of D/G/1 queue can be specified here"}};
// Pure Erlang service adds the state probabilities.
constexpr OutputSpec kOutputs[] = {
    {"DG1_Coxian_Output_RadioGroup", "Output", kDg1CoxianOutput},
    {"DG1_Pure_Erlang_Output_RadioGroup", "Output (Pure Erlang)", kDg1PureErlangOutput}};
constexpr int kOutputOfService[] = {0, 1, 0, 0};

// Pure Erlang service adds the states; its tails' headers have always closed with ")".
constexpr auto kFigures = JoinFigures(
    kStatisticsFigures, kWaitingFigures,
    std::array{FigureSpec{"P{L(time)=n}", 'N', true}, FigureSpec{"P{L(time)>n)", 'N', true},
               FigureSpec{"P{L(cust)=n}", 'N', true}, FigureSpec{"P{L(cust)>n)", 'N', true}});

// Constant interarrival times 1 / rho and the service fit of the chosen solver.
QueueTwin Dg1Twin(const QueueRun& run) {
    const int type = run.selection.item(0);
    const double cs2 = type == kDg1PureErlang ? 1.0 / run.fields["cs2"] : run.fields["cs2"];
    QueueTwin twin;
    twin.arrivals = DeterministicTime(1 / run.fields["rho"]);
    if (type == kDg1CoxianGamma || type == kDg1CoxianBalanced)
        twin.service = CoxianTime(FitCoxian(
            type == kDg1CoxianGamma ? CoxianKind::DG1Gamma : CoxianKind::DG1Balanced, cs2));
    else
        twin.service = ErlangMixTime(FitErlangian(cs2));
    return twin;
}

}  // namespace

constinit const QueueModelSpec kDg1Model{
    .key = "dg1",
    .caption = "D/G/1",
    .title = "D/G/1 Queue",
    .sheetName = "DG1_TabSheet",
    .prefix = "DG1",
    .helpContext = 110,
    .helpPage = "dg1.html",
    .helpTitle = "D/G/1",
    .summary = "D/G/1 queue: one server, constant interarrival times, general service times",
    .example = "cs2=0.5 rho=0.8",
    .fields = kFields,
    .choices = kChoices,
    .outputs = kOutputs,
    .outputChoice = 0,
    .outputOfItem = kOutputOfService,
    .groups = kDg1Groups,
    .parseAllFirst = true,
    .figures = kFigures,
    .run = RunDg1,
    .twin = Dg1Twin,
};

}  // namespace wachtrix
