#include "core/queue/mg1.h"

#include <cmath>
#include <vector>

#include "core/numeric/safe_math.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "core/text/result_writer.h"

namespace wachtrix {
namespace {

enum ServiceType { kErlangian = 0, kCoxianGamma = 1, kCoxianBalanced = 2 };

const char* const kTitleSuffix[] = {" (Erlangian services)", " (Coxian-2 services, gamma)",
                                    " (Coxian-2 services, balanced)"};
const char* const kGraphServiceLabel[] = {"Erlangian services.", "Coxian-2 services (gamma).",
                                          "Coxian-2 services (balanced)."};

struct Mg1Parameters {
    int serviceType;
    double cs2, rho;
    OutputRequest output;
    GraphHandle graph = kNoGraph;
};

Mg1Parameters Parameters(const QueueRun& run, QueueHost& host) {
    Mg1Parameters p{run.selection.item(0), run.fields["cs2"], run.fields["rho"], run.output};
    if (p.output.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::MG1,
            {"Logarithmic Graphs of the M/G/1 queue", Format("CS2 = %.4g", {p.cs2}),
             Format("rho = %.4g", {p.rho}), kGraphServiceLabel[p.serviceType]});
    return p;
}

// The report and graphs of whichever solver computed the queue; the solver's own functions
// answer the tables.
template <class Solution>
void Report(const Solution& s, const Mg1Parameters& p, QueueHost& host) {
    ResultWriter& out = host.results();
    if (s.rhoTooSmall) {
        WriteRunMessage(out, "Rho too small for reliable results.");
        return;
    }
    const StandardReport report{
        std::string("M/G/1 queue") + kTitleSuffix[p.serviceType],
        Format("Parameters: CS2=%.5g  rho=%.6g", {p.cs2, p.rho}),
        s.statistics,
        p.rho,
        {[&s](double t) { return WaitingTail(s, t); },
         [&s](double q) { return WaitingPercentile(s, q); },
         [&s](const std::vector<int>& n) { return StateProbabilities(s, n); }, " "}};
    WriteStandardReport(out, report, p.output);
    if (p.output.mode != kGraphs) return;
    PlotConditionalGraphs(host, p.graph, s.statistics.Pwait,
                          "Pdelay too small for meaningful graphs", [&] {
                              return ConditionalGraphs{WaitingGraph(s), StateGraph(s)};
                          });
}

}  // namespace

namespace {

void RunMg1(const QueueRun& run, QueueHost& host) {
    const Mg1Parameters p = Parameters(run, host);
    const auto busy = host.busy();
    switch (p.serviceType) {
        case kCoxianGamma:
            return Report(SolveCoxian(CoxianKind::MG1Gamma, p.cs2, p.rho), p, host);
        case kCoxianBalanced:
            return Report(SolveCoxian(CoxianKind::MG1Balanced, p.cs2, p.rho), p, host);
        default:
            return Report(SolveErlangian(p.cs2, p.rho), p, host);
    }
}

constexpr FieldLimit kCs2Limits[] = {kMg1ErlangianCs2, kMg1CoxianCs2, kMg1CoxianCs2};
constexpr FieldSpec kFields[] = {
    {.editName = "MG1_CS2_edit",
     .caption = "CS2:",
     .limits = kCs2Limits,
     .incorrect = "cs2 incorrect",
     .outOfRange = "CS2 out of bounds",
     .limitChoice = 0,
     .editHint = "Enter squared coefficient of variation of the service time",
     .labelHint = "Square of the coefficient of variation",
     .rangeHint = "CS2 should be between these two values"},
    {.editName = "MG1_Rho_edit",
     .caption = "Rho:",
     .limits = One(kMg1Load),
     .incorrect = "Rho incorrect",
     .outOfRange = "Rho out of bounds",
     .editHint = "Enter rho=lambda*E(s)/c",
     .labelHint = "rho=lambda*E(s)/c",
     .rangeHint = "Rho should be greater than zero and lower than this value"},
};
constexpr std::string_view kServiceItems[] = {"Erlangian", "Coxian-2 (Gamma Normalization)",
                                              "Coxian-2 (Balanced Means)"};
constexpr ChoiceSpec kChoices[] = {{.key = "service",
                                    .objectName = "MG1_Service_Type_RadioGroup",
                                    .title = "Service Times",
                                    .items = kServiceItems,
                                    .hint = "The type of M/G/1 queue can be specified here",
                                    .alias = "type"}};
constexpr OutputSpec kOutputs[] = {{"MG1_Output_RadioGroup", "Output", kStandardOutput}};

// Poisson arrivals at rate rho and the service fit the chosen solver replaces the time by.
QueueTwin Mg1Twin(const QueueRun& run) {
    const double cs2 = run.fields["cs2"];
    QueueTwin twin;
    twin.arrivals = ExponentialTime(run.fields["rho"]);
    switch (run.selection.item(0)) {
        case kCoxianGamma:
            twin.service = CoxianTime(FitCoxian(CoxianKind::MG1Gamma, cs2));
            break;
        case kCoxianBalanced:
            twin.service = CoxianTime(FitCoxian(CoxianKind::MG1Balanced, cs2));
            break;
        default:
            twin.service = ErlangMixTime(FitErlangian(cs2));
    }
    return twin;
}

}  // namespace

constinit const QueueModelSpec kMg1Model{
    .key = "mg1",
    .caption = "M/G/1",
    .title = "M/G/1 Queue",
    .sheetName = "MG1_TabSheet",
    .prefix = "MG1",
    .helpContext = 100,
    .helpPage = "mg1.html",
    .helpTitle = "M/G/1",
    .summary = "M/G/1 queue: one server, Poisson arrivals, general service times",
    .example = "cs2=0.5 rho=0.8",
    .fields = kFields,
    .choices = kChoices,
    .outputs = kOutputs,
    .groups = kMg1Groups,
    .parseAllFirst = true,
    .figures = kStandardFigures,
    .run = RunMg1,
    .twin = Mg1Twin,
};

}  // namespace wachtrix
