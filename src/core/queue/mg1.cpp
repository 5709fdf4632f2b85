#include "core/queue/mg1.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/numeric/safe_math.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"
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

std::optional<Mg1Parameters> Validate(Mg1Form& form, QueueHost& host) {
    auto refuse = [&](const char* text) {
        host.showError("Error", text);
        return std::nullopt;
    };
    const int type = form.serviceType;
    if (type != kErlangian && type != kCoxianGamma && type != kCoxianBalanced)
        return refuse("Illegal Service Time");
    const auto cs2 = ParseReal(form.cs2);
    if (!cs2) return refuse("cs2 incorrect");
    const auto rho = ParseReal(form.rho);
    if (!rho) return refuse("Rho incorrect");
    const FieldLimit& cs2Limit = type == kErlangian ? kMg1ErlangianCs2 : kMg1CoxianCs2;
    if (!cs2Limit.contains(*cs2)) return refuse("CS2 out of bounds");
    if (!kMg1Load.contains(*rho)) return refuse("Rho out of bounds");

    Mg1Parameters p{type, *cs2, *rho,
                    ReadOutput(kStandardOutput, form.output, {&form.t, &form.p, &form.n},
                               {kMg1Groups[0].upper, static_cast<int>(kMg1Groups[1].upper)})};
    if (p.output.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::MG1,
            {"Logarithmic Graphs of the M/G/1 queue", Format("CS2 = %.4g", {*cs2}),
             Format("rho = %.4g", {*rho}), kGraphServiceLabel[type]});
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

void RunMG1(Mg1Form& form, QueueHost& host) {
    RunGuarded(host, [&] {
        const auto parameters = Validate(form, host);
        if (!parameters) return;
        const Mg1Parameters& p = *parameters;
        const auto busy = host.busy();
        switch (p.serviceType) {
            case kCoxianGamma:
                return Report(SolveCoxian(CoxianKind::MG1Gamma, p.cs2, p.rho), p, host);
            case kCoxianBalanced:
                return Report(SolveCoxian(CoxianKind::MG1Balanced, p.cs2, p.rho), p, host);
            default:
                return Report(SolveErlangian(p.cs2, p.rho), p, host);
        }
    });
}

}  // namespace wachtrix
