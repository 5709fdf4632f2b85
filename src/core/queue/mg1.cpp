#include "core/queue/mg1.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/numeric/safe_math.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"
#include "core/queue/output_tables.h"
#include "core/queue/report.h"
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
    int mode = kStatistics;
    ValueList values;
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
    const bool cs2InRange =
        type == kErlangian ? *cs2 >= 0.01 && *cs2 <= 1 : *cs2 >= 0.5 && *cs2 <= 100;
    if (!cs2InRange) return refuse("CS2 out of bounds");
    if (*rho < 1e-12 || *rho > 0.990000000001) return refuse("Rho out of bounds");

    const OutputRequest output =
        ReadStandardOutput(form.output, form.t, form.p, form.n, 75000, 2500);
    Mg1Parameters p{type, *cs2, *rho, output.mode, output.values, kNoGraph};
    if (p.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::MG1,
            {"Logarithmic Graphs of the M/G/1 queue", Format("CS2 = %.4g", {*cs2}),
             Format("rho = %.4g", {*rho}), kGraphServiceLabel[type]});
    return p;
}

// What the report and the graphs show, whichever solver computed it.
struct Mg1Answers {
    bool rhoTooSmall = false;
    QueueStatistics statistics;
    std::vector<double> R1;  // P{Wq > t} or the percentile (negative: undefined)
    StateTable states;
    std::vector<ChartPoint> waitingPoints, statePoints;  // empty when the delay is negligible
};

template <class Solution>
Mg1Answers Answer(const Solution& s, const Mg1Parameters& p) {
    Mg1Answers a;
    a.rhoTooSmall = s.rhoTooSmall;
    if (a.rhoTooSmall) return a;
    a.statistics = s.statistics;
    const ValueList& v = p.values;
    switch (p.mode) {
        case kWaitingTable:
            a.R1 = Evaluate(v, [&](double t) { return WaitingTail(s, t); });
            break;
        case kPercentiles:
            a.R1 = Evaluate(v, [&](double p) { return WaitingPercentile(s, p); });
            break;
        case kStates:
            a.states = StateProbabilities(s, StateNumbers(v));
            a.statistics.accuracy = std::fabs(a.statistics.accuracy) + std::fabs(a.states.check);
            break;
        case kGraphs:
            if (IsSignificant(a.statistics.Pwait)) {
                a.waitingPoints = WaitingGraph(s);
                a.statePoints = StateGraph(s);
            }
            break;
        default:
            break;
    }
    return a;
}

Mg1Answers Solve(const Mg1Parameters& p) {
    switch (p.serviceType) {
        case kCoxianGamma:
            return Answer(SolveCoxian(CoxianKind::MG1Gamma, p.cs2, p.rho), p);
        case kCoxianBalanced:
            return Answer(SolveCoxian(CoxianKind::MG1Balanced, p.cs2, p.rho), p);
        default:
            return Answer(SolveErlangian(p.cs2, p.rho), p);
    }
}

void WriteOutputTable(ResultWriter& out, const Mg1Answers& a, const Mg1Parameters& p) {
    if (p.mode == kWaitingTable) {
        WriteWaitingTable(out, p.values, a.R1);
    } else if (p.mode == kPercentiles) {
        WritePercentileTable(out, p.values, a.R1, " ");
    } else if (p.mode == kStates) {
        WriteStateTable(out, StateNumbers(p.values), a.states.rows);
    }
}

void WriteReport(ResultWriter& out, const Mg1Answers& a, const Mg1Parameters& p) {
    WriteReportHeader(out, std::string("M/G/1 queue") + kTitleSuffix[p.serviceType],
                      Format("Parameters: CS2=%.5g  rho=%.6g", {p.cs2, p.rho}));
    const QueueStatistics& s = a.statistics;
    WriteStatistics(out, {{"Pwait", "%.6g", std::fabs(s.Pwait)},
                          {"Pbusy", "%.5g", std::fabs(p.rho)},
                          {"E(Wq)", "%.5g", std::fabs(s.EWq)},
                          {"E(Lq)", "%.5g", std::fabs(s.ELq)},
                          {"Std(Wq)", "%.4g", std::fabs(s.StdWq)},
                          {"Std(Lq)", "%.4g", std::fabs(s.StdLq)}});
    WriteOutputTable(out, a, p);
    WriteAccuracyCheck(out, std::fabs(s.accuracy));
}

}  // namespace

void RunMG1(Mg1Form& form, QueueHost& host) {
    RunGuarded(host, [&] {
        const auto parameters = Validate(form, host);
        if (!parameters) return;
        const Mg1Parameters& p = *parameters;
        ResultWriter& out = host.results();
        const auto busy = host.busy();
        const Mg1Answers a = Solve(p);
        if (a.rhoTooSmall) {
            WriteRunMessage(out, "Rho too small for reliable results.");
            return;
        }
        WriteReport(out, a, p);
        if (p.mode != kGraphs) return;
        if (!IsSignificant(a.statistics.Pwait)) {
            WriteRunMessage(out, "Pdelay too small for meaningful graphs");
            return;
        }
        host.plot(p.graph, 0, MarksOrLine(a.waitingPoints));
        host.plot(p.graph, 1, MarksOrLine(a.statePoints));
    });
}

}  // namespace wachtrix
