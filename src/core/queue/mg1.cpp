#include "core/queue/mg1.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/numeric/safe_math.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/mg1_erlan.h"
#include "core/queue/report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "core/text/number_parse.h"
#include "core/text/result_writer.h"

namespace wachtrix {
namespace {

enum OutputMode { kWaitingTable = 0, kPercentiles = 1, kStates = 4, kGraphs = 5, kStatistics = 9 };

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

    Mg1Parameters p{type, *cs2, *rho, kStatistics, {}, kNoGraph};
    switch (form.output) {
        case 1:
            p.mode = kWaitingTable;
            p.values = ReadRealValues(form.t, 75000);
            break;
        case 2:
            p.mode = kPercentiles;
            p.values = ReadProbValues(form.p);
            break;
        case 3:
            p.mode = kStates;
            p.values = ReadIntValues(form.n, 2500);
            break;
        case 4:
            p.mode = kGraphs;
            p.graph = host.createGraphWindow(
                GraphWindowKind::MG1,
                {"Logarithmic Graphs of the M/G/1 queue", Format("CS2 = %.4g", {*cs2}),
                 Format("rho = %.4g", {*rho}), kGraphServiceLabel[type]});
            break;
        default:
            break;
    }
    return p;
}

std::vector<int> StateNumbers(const ValueList& values) {
    std::vector<int> n;
    for (int i = 1; i <= values.Count; ++i)
        n.push_back(static_cast<int>(std::trunc(values[i] + 1e-10)));
    return n;
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
            for (int i = 1; i <= v.Count; ++i)
                a.R1.push_back(WaitingTail(s, v[i]));
            break;
        case kPercentiles:
            for (int i = 1; i <= v.Count; ++i)
                a.R1.push_back(WaitingPercentile(s, v[i]));
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
    const ValueList& v = p.values;
    std::string header;
    std::vector<std::string> rows;
    if (p.mode == kWaitingTable) {
        header = Format("%10s  %10s", {"t", "P{Wq>t}"});
        for (int i = 1; i <= v.Count; ++i)
            rows.push_back(Format("%10.5g  %10s", {v[i], FormatProb(a.R1[i - 1])}));
    } else if (p.mode == kPercentiles) {
        header = Format("%10s %10s", {"p", "Percentile"});
        for (int i = 1; i <= v.Count; ++i) {
            const double w = a.R1[i - 1];
            rows.push_back(
                Format("%10s %10s", {FormatSig6(v[i]), w <= -1e-12 ? std::string("undefined")
                                                                   : FormatSig6(std::fabs(w))}));
        }
    } else if (p.mode == kStates) {
        header = Format("%4s  %10s  %10s", {"n", "P{L=n}", "P{L>n}"});
        const std::vector<int> n = StateNumbers(v);
        for (std::size_t i = 0; i < n.size(); ++i) {
            const StateProbability& row = a.states.rows[i];
            rows.push_back(
                Format("%4d  %10s  %10s", {n[i], FormatProb(row.equal), FormatProb(row.greater)}));
        }
    }
    WriteResultTable(out, header, rows);
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
