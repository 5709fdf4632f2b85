#include "core/queue/mdc.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "core/numeric/dense_solver.h"
#include "core/numeric/numerical_failure.h"
#include "core/numeric/poisson_table.h"
#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"
#include "core/queue/lumped_chain.h"
#include "core/queue/mmc.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

// The largest truncation level: far beyond any state that counts at the heaviest loads.
constexpr int kMostStates = 3000;

constexpr RootFinderCopy kPercentileBrent{10000,
                                          {"interval voor Brent moet gesplitst worden", ""},
                                          {"max. aantaal iteraties overschreden !", ""},
                                          1e-12};

// eta^e as e^(e ln eta), 0 for eta = 0.
long double EtaPower(double eta, long double e) {
    return eta == 0 ? 0 : std::exp(e * std::log(static_cast<long double>(eta)));
}

// P{L > n} for any n >= 0: the tail array up to N, the geometric tail beyond.
long double UpperTail(const MdcSolution& s, long long n) {
    if (n <= s.N) return s.tail[n];
    return s.pi[s.N] * EtaPower(s.eta, static_cast<long double>(n + 1 - s.N)) / (1 - s.eta);
}

// P{L > n} from the top down, so that small tails keep their digits.
std::vector<double> UpperTails(const std::vector<double>& pi, double eta) {
    const int N = static_cast<int>(pi.size()) - 1;
    std::vector<double> tail(N + 1);
    long double sum = static_cast<long double>(pi[N]) * eta / (1 - eta);
    for (int n = N; n >= 0; --n) {
        tail[n] = static_cast<double>(sum);
        sum += pi[n];
    }
    return tail;
}

void Statistics(MdcSolution& s) {
    const int c = s.c, N = s.N;
    const double rho = s.rho, eta = s.eta;
    const std::vector<double>& pi = s.pi;
    const long double load = static_cast<long double>(c) * rho;
    s.Pdelay = s.tail[c - 1];

    // E(Lq) and the second factorial moment from the distribution, the geometric tail summed in
    // closed form: sums of positive terms, which keep their digits however small they are.
    const long double g = eta / (1 - static_cast<long double>(eta));
    const long double A = N - c;
    long double ELq =
        pi[N] * (A / (1 - eta) + eta / ((1 - eta) * (1 - static_cast<long double>(eta))));
    long double M2 =
        pi[N] * (g * g + (A + 1) * g * g + A * g * g + A * (A + 1) * g + 2 * g * g * g);
    for (int j = c; j <= N - 1; ++j)
        ELq += (j - c) * static_cast<long double>(pi[j]);
    for (int j = c + 2; j <= N; ++j)
        M2 += static_cast<long double>(j - c) * (j - c - 1) * pi[j];

    // E(Lq) once more from the probabilities below c alone (the chain's generating function at
    // 1), for the check only: at light loads it is a difference of terms near c^2.
    long double below = 0, busyBelow = 0;
    for (int j = 0; j <= c - 1; ++j) {
        below +=
            (static_cast<long double>(c) * (c - 1) - static_cast<long double>(j) * (j - 1)) * pi[j];
        busyBelow += static_cast<long double>(j) * pi[j];
    }
    const long double formula =
        (load * load - static_cast<long double>(c) * (c - 1) + below) / (2 * c * (1 - rho));

    const long double EWq = ELq / load;
    s.ELq = static_cast<double>(ELq);
    s.EWq = static_cast<double>(EWq);
    // E(Wq^2) = M2 / lambda^2; the variances as the second moments less the squared means,
    // which take nothing away where the means are small.
    s.StdWq = static_cast<double>(std::sqrt(std::fabs(M2 / (load * load) - EWq * EWq)));
    s.StdLq = static_cast<double>(std::sqrt(std::fabs(M2 + ELq - ELq * ELq)));

    // The two means of the queue agree, and the busy servers average c rho.
    const long double busyServers = busyBelow + c * static_cast<long double>(s.tail[c - 1]);
    s.accuracy =
        static_cast<double>(std::fmax(std::fabs(formula - ELq), std::fabs(busyServers - load)));
}

void Asymptote(MdcSolution& s) {
    const int c = s.c;
    const double eta = s.eta;
    long double sum = 0;
    for (int j = 0; j <= c - 1; ++j)
        sum += (EtaPower(eta, 1) - EtaPower(eta, c - j + 1)) * s.pi[j];
    s.gamma = static_cast<double>(sum / (c * (1 - static_cast<long double>(eta)) * (s.rho - eta)));
    s.delta = c * s.rho * (1 - eta) / eta;
}

bool AsymptoteForPercentile(double Pdelay, double p) {
    return (0.5 <= Pdelay && Pdelay <= 0.7 && p >= 0.999) ||
           (0.7 <= Pdelay && Pdelay <= 0.8 && p >= 0.97) ||
           (0.8 <= Pdelay && Pdelay <= 0.9 && p >= 0.88) ||
           (0.9 <= Pdelay && Pdelay <= 0.95 && p >= 0.57) || (Pdelay >= 0.95 && p >= 0.34);
}

StandardReport Report(const MdcSolution& s) {
    return {"M/D/c queue",
            Format("Parameters: c=%d  rho=%.6g", {s.c, s.rho}),
            {s.Pdelay, s.EWq, s.ELq, s.StdWq, s.StdLq, s.accuracy},
            s.Pdelay,
            {[&s](double t) { return MdcWaitingTail(s, t); },
             [&s](double p) { return MdcPercentile(s, p); },
             [&s](const std::vector<int>& n) {
                 StateTable table;
                 for (const int k : n)
                     table.rows.push_back({MdcStateProbability(s, k), MdcStateTail(s, k)});
                 return table;
             },
             "  "}};
}

}  // namespace

bool MdcRhoTooSmall(int c, double rho) {
    static constexpr double kFewServers[6] = {0, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5};
    double threshold;
    if (c <= 5)
        threshold = kFewServers[c < 1 ? 1 : c];
    else if (c <= 10)
        threshold = 1e-4;
    else if (c <= 25)
        threshold = 1e-3;
    else if (c <= 50)
        threshold = 1e-2;
    else
        threshold = 0.1;
    return rho <= threshold;
}

int MdcTruncation(int c, double rho) {
    const int N =
        static_cast<int>(std::trunc(std::sqrt(c) * 10 * rho + 0.5 * (1 + rho) * c + 25)) + 1;
    return c + 1 > N ? c + 1 : N;
}

double MdcDecayRoot(double rho) {
    // Searched in u = ln x down to x = 1e-300, so that the halvings end at a relative step: at
    // the lightest loads eta is near rho / 25, below any fixed absolute tolerance. In x, f > 0
    // left of eta and f < 0 between eta and 1 (f is convex with roots eta and 1).
    const auto f = [rho](long double u) { return std::exp(u) * u - rho * std::expm1(u); };
    static constexpr FailureTexts kTooMany{"te veel bisectieiteraties", ""};
    constexpr long double lo = -690.7755278982137L;  // ln 1e-300
    const long double hi = std::log(static_cast<long double>(rho));
    return static_cast<double>(
        std::exp(BisectToNegativeEnd<long double>(f, lo, hi, f(lo), 1e-17L, 10000, kTooMany)));
}

std::vector<double> MdcStateSolution(int c, double rho, int N, double eta) {
    // Poisson terms without a floor (at lambda = 495 the first ones are near 1e-215 and still
    // carry the way down to state 0), and their upper tails summed from the far end.
    using Real = long double;
    const Real lambda = static_cast<Real>(c) * rho;
    const int count = N + 1 + static_cast<int>(lambda + 40 * std::sqrt(lambda) + 60);
    std::vector<Real> a(count), beyond(count + 1, 0.0L);  // beyond[m] = P{A >= m}
    for (int k = 0; k < count; ++k)
        a[k] = std::exp(-lambda + k * std::log(lambda) - std::lgamma(k + 1.0L));
    for (int k = count - 1; k >= 0; --k)
        beyond[k] = beyond[k + 1] + a[k];

    // The chain on 0..N, state N standing for all states from N on with the geometric mass
    // pi_N eta^m / (1 - eta) in state N + m. From a state up to c every customer in service
    // leaves within the slot, so rows 0..c are one row: stored once, as row c. Row m reaches down
    // to m - c at most (also after the states above are reduced), so each reduction touches that
    // band of the rows above it only.
    const int n = N + 1;
    std::vector<double> P(static_cast<std::size_t>(n - c) * n, 0.0);
    const auto at = [&](int i, int j) -> double& {
        return P[static_cast<std::size_t>(i - c) * n + j];
    };
    for (int j = c; j < N; ++j) {
        const int shift = j - c;  // k = shift + arrivals
        for (int k = shift; k < N; ++k)
            at(j, k) = static_cast<double>(a[k - shift]);
        at(j, N) = static_cast<double>(beyond[N - shift]);
    }
    // From the lumped states to k = N - c..N - 1: sum over m of (1 - eta) eta^m a_(k-N+c-m).
    Real lumped = 0;
    for (int k = N - c; k < N; ++k) {
        lumped = eta * lumped + a[k - N + c];
        if (k >= 0) at(N, k) = static_cast<double>((1 - static_cast<Real>(eta)) * lumped);
    }
    return LumpedChainSolution(P, N, c, eta, [c](int m) { return std::max(m - c, 0); });
}

MdcSolution SolveMDC(int c, double rho) {
    MdcSolution s;
    s.c = c;
    s.rho = rho;
    s.N = MdcTruncation(c, rho);
    s.eta = MdcDecayRoot(rho);
    // The states beyond N are taken as geometric in eta, which they are only far out: at light
    // loads they first fall like a Poisson tail, at lambda / j per state rather than eta. So N
    // grows until the states have settled on eta or what lies beyond N is nothing beside the
    // delay probability.
    for (;;) {
        s.pi = MdcStateSolution(c, rho, s.N, s.eta);
        s.tail = UpperTails(s.pi, s.eta);
        const long double top = s.pi[s.N], before = s.pi[s.N - 1];
        const long double beyond = top / (1 - static_cast<long double>(s.eta));
        const long double geometric = before * s.eta;
        const bool settled = geometric > 0 && std::fabs(top - geometric) < 1e-9L * geometric;
        // Below 1e-70 no printed figure feels it, not even a deviation near its square root.
        const bool negligible = !(beyond >= 1e-13L * s.tail[c - 1]) || beyond < 1e-70L;
        if (settled || negligible || s.N >= kMostStates) break;
        s.N = std::min(s.N + std::max(25, c / 4), kMostStates);
    }
    s.mmcDelay = SolveMMC(c, rho).Pdelay;
    Statistics(s);
    Asymptote(s);
    return s;
}

double MdcExactWaitingTail(const MdcSolution& s, double t) {
    // The arrival waits at most t when at most (k+1)c - 1 customers are ahead of it at time
    // t - k: those present then (L) and those arriving in between (Poisson, mean u). So
    // P{Wq > t} = sum_j w_j P{L > (k+1)c - 1 - j} + P{more than kc - 1 arrivals}.
    const int c = s.c;
    const long long k = static_cast<long long>(std::trunc(t)) + 1;
    const long double u = static_cast<long double>(c) * s.rho * (k - static_cast<long double>(t));
    const long long terms = k * c;
    long double w = std::exp(-u), sum = 0;
    long long j = 0;
    for (; j < terms; ++j) {
        sum += w * UpperTail(s, (k + 1) * c - 1 - j);
        w = w * u / (j + 1);
    }
    // The Poisson tail beyond kc - 1 (u < kc, so its terms fall off geometrically).
    long double beyond = 0;
    for (; w > 0 && w > 1e-20L * (sum + beyond); ++j) {
        beyond += w;
        w = w * u / (j + 1);
    }
    return static_cast<double>(sum + beyond);
}

double MdcAsymptoticWaitingTail(const MdcSolution& s, double t) {
    // Beyond the time where the M/M/c tail with the same c and rho is 1e-9, nothing is left.
    const double cutoff = (9 * std::log(10.0) + std::log(s.mmcDelay)) / (s.c * (1 - s.rho));
    if (t > cutoff) return 0;
    return static_cast<double>(s.gamma * SafeExp(-static_cast<long double>(s.delta) * t));
}

double MdcWaitingTail(const MdcSolution& s, double t) {
    return t < 250.0 / s.c ? MdcExactWaitingTail(s, t) : MdcAsymptoticWaitingTail(s, t);
}

double MdcAsymptoticPercentile(const MdcSolution& s, double p) {
    if (p < 1 - s.Pdelay) return -1;
    return (std::log(s.gamma) - std::log(1 - p)) / s.delta;
}

double MdcPercentile(const MdcSolution& s, double p) {
    const double noWait = 1 - s.Pdelay;
    if (p == noWait) return 0;
    if (p < noWait) return -1;
    if (AsymptoteForPercentile(s.Pdelay, p)) return MdcAsymptoticPercentile(s, p);
    auto g = [&](double x) { return MdcWaitingTail(s, x) - (1 - p); };
    // The M/M/c percentile: its tail lies above this one.
    const double x2 = (std::log(s.mmcDelay) - std::log(1 - p)) / (s.c * (1 - s.rho));
    if (std::fabs(g(x2)) <= 1e-7) return x2;
    return ZBRENT<double>(g, 0.0, x2, 1e-7, kPercentileBrent);
}

double MdcStateProbability(const MdcSolution& s, int n) {
    if (n <= s.N - 1) return std::fabs(s.pi[n]);
    return std::fabs(static_cast<double>(s.pi[s.N] * EtaPower(s.eta, n - s.N)));
}

double MdcStateTail(const MdcSolution& s, int n) {
    return std::fabs(static_cast<double>(UpperTail(s, n)));
}

std::vector<ChartPoint> MdcWaitingGraphPoints(const MdcSolution& s) {
    // Up to where the conditional tail P{Wq > t | Wq > 0} has fallen to 0.001.
    const double tmax = MdcPercentile(s, 1 - 0.001 * s.Pdelay);
    return TimeGraphPoints(tmax, [&](double t) { return MdcWaitingTail(s, t) / s.Pdelay; });
}

std::vector<ChartPoint> MdcQueueGraphPoints(const MdcSolution& s) {
    return ServerStateGraphPoints(s.c, s.tail[0], {s.pi[s.N], s.N, s.eta},
                                  [&](int n) { return MdcStateTail(s, n); });
}

namespace {

void RunMdc(const QueueRun& run, QueueHost& host) {
    const int c = run.fields.integer("c");
    const double rho = run.fields["rho"];
    GraphHandle graph = kNoGraph;
    if (run.output.mode == kGraphs)
        graph = host.createGraphWindow(
            GraphWindowKind::MG1, {"Logarithmic Graphs of the M/D/c queue", Format("c = %4d", {c}),
                                   Format("rho = %.4g", {rho}), ""});
    ResultWriter& out = host.results();
    if (MdcRhoTooSmall(c, rho)) {
        WriteRunMessage(out, "Rho too small for meaningful results");
        return;
    }
    const auto busy = host.busy();
    const MdcSolution s = SolveMDC(c, rho);
    WriteStandardReport(out, Report(s), run.output);
    if (run.output.mode != kGraphs) return;
    PlotConditionalGraphs(host, graph, s.Pdelay, "Pdelay too small for graphs", [&] {
        return ConditionalGraphs{MdcWaitingGraphPoints(s), MdcQueueGraphPoints(s)};
    });
}

constexpr FieldSpec kFields[] = {
    {"MDC_C_edit", "C:", One(kMdcServers), "c incorrect", "c out of range"},
    {"MDC_Rho_edit", "Rho:", One(kMdcLoad), "Rho incorrect", "Rho out of range"},
};
constexpr OutputSpec kOutputs[] = {{"MDC_Output_RadioGroup", "Output", kStandardOutput}};

QueueTwin MdcTwin(const QueueRun& run) {
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.arrivals = ExponentialTime(twin.servers * run.fields["rho"]);
    twin.service = DeterministicTime(1);
    return twin;
}

}  // namespace

constinit const QueueModelSpec kMdcModel{
    .key = "mdc",
    .caption = "M/D/c",
    .title = "M/D/c Queue",
    .sheetName = "MDC_TabSheet",
    .prefix = "MDC",
    .helpContext = 130,
    .helpPage = "mdc.html",
    .helpTitle = "M/D/c",
    .summary = "M/D/c queue: c servers with a constant service time, Poisson arrivals",
    .example = "c=2 rho=0.8",
    .fields = kFields,
    .outputs = kOutputs,
    .groups = kMdcGroups,
    .figures = kStandardFigures,
    .run = RunMdc,
    .twin = MdcTwin,
};

}  // namespace wachtrix
