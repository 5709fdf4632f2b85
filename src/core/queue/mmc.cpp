#include "core/queue/mmc.h"

#include <cmath>

#include "core/numeric/safe_math.h"
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

StandardReport Report(const MmcSolution& s, long double closedFormTerm) {
    return {"M/M/c queue",
            Format("Parameters: c=%d  rho=%.6g", {s.c, s.rho}),
            {s.Pdelay, s.EWq, s.ELq, s.StdWq, s.StdLq, MmcAccuracy(s, closedFormTerm)},
            s.Pdelay,
            {[&s](double t) { return MmcWaitingTail(s, t); },
             [&s](double p) { return MmcPercentile(s, p); },
             [&s](const std::vector<int>& n) {
                 StateTable table;
                 for (const int k : n)
                     table.rows.push_back({MmcStateProbability(s, k), MmcStateTail(s, k)});
                 return table;
             },
             "  "}};
}

}  // namespace

bool MmcRhoTooSmall(int c, double rho) {
    double threshold;
    if (c <= 25)
        threshold = static_cast<double>(SafePower(10, -9 / SafePower(c, 0.75L)));
    else if (c <= 50)
        threshold = 0.15;
    else if (c <= 100)
        threshold = 0.3;
    else if (c <= 250)
        threshold = 0.45;
    else if (c <= 500)
        threshold = 0.6;
    else
        threshold = 0.7;
    return rho <= threshold;
}

long double MmcClosedFormTerm(int c, double rho) {
    const long double a = static_cast<long double>(c) * rho;
    std::vector<long double> logFactorial(c + 1, 0.0L);
    for (int n = 1; n <= c; ++n)
        logFactorial[n] = logFactorial[n - 1] + std::log(static_cast<long double>(n));
    long double S = 0;
    long double logPower = 0;  // C[k] = ln(a^k / k!), accumulated term by term
    for (int k = 1; k <= c; ++k) {
        const long double B = a / (k + a);
        logPower += std::log(B / (1 - B));
        const long double T1 = -logPower - std::log(1 - B);
        const long double T2 = logFactorial[c] - logFactorial[k] - logFactorial[c - k];
        const long double denominator = (1 - rho) * c - k;
        const long double F = std::fabs(denominator) <= 1e-12L ? 1 - c * rho / ((1 - rho) * c + a)
                                                               : ((1 - B) * c - k) / denominator;
        S += SafeExp(T1 + T2) * F;
    }
    const long double R = 1 / (1 / (1 - static_cast<long double>(rho)) + S);
    return R / rho;
}

MmcSolution SolveMMC(int c, double rho) {
    MmcSolution s;
    s.c = c;
    s.rho = rho;
    // The sums are rescaled whenever they pass 100000, so c = 2500 cannot overflow.
    long double term = 1, S = 1;
    for (int j = 1; j <= c - 1; ++j) {
        term *= static_cast<long double>(c) * rho / j;
        S += term;
        if (S > 100000) {
            term /= S;
            if (term < 1e-17L) term = 0;
            S = 1;
        }
    }
    const long double load = static_cast<long double>(rho) / (1 - rho);
    s.pcMinus1 = static_cast<double>(term / (S + term * load));
    s.Pdelay = static_cast<double>(s.pcMinus1 * load);

    const double cr = static_cast<double>(c) * (1 - rho);
    s.ELq = s.Pdelay * rho / (1 - rho);
    s.EWq = s.Pdelay / cr;
    const double EWq2 = 2 * s.Pdelay / (cr * cr);
    s.StdWq = std::sqrt(std::fabs(EWq2 - s.EWq * s.EWq));
    const double a = c * rho;
    const double ELq2 = a * a * EWq2 + s.ELq;
    s.StdLq = std::sqrt(std::fabs(ELq2 - s.ELq * s.ELq));

    // P{L = n} downwards from c-1; once a probability is negligible and still falling, the
    // rest below is zero.
    s.equal.assign(c, 0.0);
    s.equal[c - 1] = s.pcMinus1;
    double p = s.pcMinus1;
    for (int n = c - 2; n >= 0; --n) {
        if (p <= 1e-18 && (n + 1) / a < 1) {
            s.equal[n] = 0;
        } else {
            p = (n + 1) * p / a;
            s.equal[n] = p;
        }
    }
    s.P = s.equal;
    for (int k = 1; k <= c - 1; ++k)
        s.P[k] += s.P[k - 1];
    // Above c-1 the customers wait: P{L > c-1} = Pdelay.
    s.greater = StateTails(s.equal, s.Pdelay);
    return s;
}

double MmcWaitingTail(const MmcSolution& s, double t) {
    return static_cast<double>(s.Pdelay * SafeExp(-(1 - s.rho) * s.c * t));
}

double MmcPercentile(const MmcSolution& s, double p) {
    if (1 - s.Pdelay >= p) return -1;
    return std::fabs((std::log(s.Pdelay) - std::log(1 - p)) / ((1 - s.rho) * s.c));
}

double MmcStateProbability(const MmcSolution& s, int n) {
    if (n <= s.c - 1) return s.equal[n];
    return static_cast<double>(SafePower(s.rho, n - s.c + 1) * s.pcMinus1);
}

double MmcStateTail(const MmcSolution& s, int n) {
    if (n <= s.c - 1) return s.greater[n];
    return static_cast<double>(SafePower(s.rho, n - s.c + 2) * s.pcMinus1 / (1 - s.rho));
}

double MmcAccuracy(const MmcSolution& s, long double closedFormTerm) {
    const long double delayCheck =
        std::fabs(s.Pdelay - closedFormTerm * s.rho / (1 - static_cast<long double>(s.rho)));
    long double busyServers = s.c * (1 - static_cast<long double>(s.P[s.c - 1]));
    for (int k = 1; k <= s.c - 1; ++k)
        busyServers += k * (static_cast<long double>(s.P[k]) - s.P[k - 1]);
    return static_cast<double>(delayCheck +
                               std::fabs(busyServers - static_cast<long double>(s.c) * s.rho));
}

std::vector<ChartPoint> MmcWaitingGraphPoints(const MmcSolution& s) {
    return ExponentialWaitingGraphPoints(s.Pdelay, (1 - s.rho) * s.c);
}

std::vector<ChartPoint> MmcQueueGraphPoints(const MmcSolution& s) {
    // P{L = n} = P{L = c-1} rho^(n-c+1) from c - 1 on.
    return ServerStateGraphPoints(s.c, 1 - s.P[0], {s.pcMinus1, s.c - 1, s.rho},
                                  [&](int n) { return MmcStateTail(s, n); });
}

namespace {

void RunMmc(const QueueRun& run, QueueHost& host) {
    const int c = run.fields.integer("c");
    const double rho = run.fields["rho"];
    GraphHandle graph = kNoGraph;
    if (run.output.mode == kGraphs)
        graph = host.createGraphWindow(
            GraphWindowKind::MG1, {"Logarithmic Graphs of the M/M/c queue", Format("c = %4d", {c}),
                                   Format("rho = %.4g", {rho}), ""});
    ResultWriter& out = host.results();
    if (MmcRhoTooSmall(c, rho)) {
        WriteRunMessage(out, "Rho too small for reliable results.");
        return;
    }
    const auto busy = host.busy();
    const MmcSolution s = SolveMMC(c, rho);
    WriteStandardReport(out, Report(s, MmcClosedFormTerm(c, rho)), run.output);
    if (run.output.mode != kGraphs) return;
    PlotConditionalGraphs(host, graph, s.Pdelay, "Pdelay too small for graphs", [&] {
        return ConditionalGraphs{MmcWaitingGraphPoints(s), MmcQueueGraphPoints(s)};
    });
}

constexpr FieldSpec kFields[] = {
    {"MMC_C_edit", "C:", One(kMmcServers), "c incorrect", "c out of range"},
    {"MMC_Rho_edit", "Rho:", One(kMmcLoad), "Rho incorrect", "Rho out of range"},
};
constexpr OutputSpec kOutputs[] = {{"MMC_Output_RadioGroup", "Output", kStandardOutput}};

QueueTwin MmcTwin(const QueueRun& run) {
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.arrivals = ExponentialTime(twin.servers * run.fields["rho"]);
    twin.service = ExponentialTime(1);
    return twin;
}

}  // namespace

constinit const QueueModelSpec kMmcModel{
    .key = "mmc",
    .caption = "M/M/c",
    .title = "M/M/c Queue",
    .sheetName = "MMC_TabSheet",
    .prefix = "MMC",
    .helpContext = 120,
    .helpPage = "mmc.html",
    .helpTitle = "M/M/c",
    .summary = "M/M/c queue: c exponential servers, Poisson arrivals",
    .example = "c=2 rho=0.8",
    .fields = kFields,
    .outputs = kOutputs,
    .groups = kMmcGroups,
    .figures = kStandardFigures,
    .run = RunMmc,
    .twin = MmcTwin,
};

}  // namespace wachtrix
