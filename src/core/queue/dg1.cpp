#include "core/queue/dg1.h"

#include <optional>
#include <string>
#include <vector>

#include "core/numeric/safe_math.h"
#include "core/queue/dg1_erlan.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"

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

std::optional<Dg1Parameters> Validate(Dg1Form& form, QueueHost& host) {
    auto refuse = [&](const char* text) {
        host.showError("Error", text);
        return std::nullopt;
    };
    const int type = form.serviceType;
    if (type < kDg1Erlangian || type > kDg1CoxianBalanced) return refuse("Illegal Service Time");
    const bool pureErlang = type == kDg1PureErlang;
    // Pure Erlang reads the number of phases; CS2 is its inverse.
    std::optional<double> cs2;
    std::optional<int> phases;
    if (pureErlang) {
        phases = ParseInt(form.cs2);
        if (phases && *phases > 0) cs2 = 1.0 / static_cast<double>(*phases);
    } else {
        cs2 = ParseReal(form.cs2);
    }
    if (!cs2 && !phases) return refuse("cs2 incorrect");
    const auto rho = ParseReal(form.rho);
    if (!rho) return refuse("Rho incorrect");
    const bool inBounds = pureErlang              ? phases && kDg1ErlangPhases.contains(*phases)
                          : type == kDg1Erlangian ? kDg1ErlangianCs2.contains(*cs2)
                                                  : kDg1CoxianCs2.contains(*cs2);
    if (!inBounds) return refuse("CS2 out of bounds");
    if (!kDg1Load.contains(*rho)) return refuse("Rho out of bounds");

    Dg1Parameters p{type, *cs2, *rho,
                    ReadOutput(pureErlang ? kDg1PureErlangOutput : kDg1CoxianOutput, form.output,
                               {&form.t, &form.p, &form.n},
                               {kDg1Groups[0].upper, static_cast<int>(kDg1Groups[1].upper)})};
    if (p.output.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::DG1,
            {"Logarithmic Graph of the D/G/1 queue", Format("CS2 = %.4g", {*cs2}),
             Format("rho = %.4g", {*rho}), kGraphServiceLabel[type]});
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

void RunDG1(Dg1Form& form, QueueHost& host) {
    RunGuarded(host, [&] {
        const auto parameters = Validate(form, host);
        if (!parameters) return;
        const Dg1Parameters& p = *parameters;
        if (p.serviceType == kDg1CoxianGamma || p.serviceType == kDg1CoxianBalanced) {
            const auto busy = host.busy();
            const CoxianSolution s = SolveCoxian(
                p.serviceType == kDg1CoxianGamma ? CoxianKind::DG1Gamma : CoxianKind::DG1Balanced,
                p.cs2, p.rho);
            // The two-term tail's coefficients cancel at light loads: a delay probability below
            // 1e-12 is round-off in its leading digits (and prints as 0 in every table).
            if (s.rhoTooSmall || s.statistics.Pwait < kCoxianDelayFloor)
                return RefuseSmallLoad(host);
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
    });
}

}  // namespace wachtrix
