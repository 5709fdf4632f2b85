#include "core/queue/finqueue.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/numeric/gauss_legendre.h"
#include "core/numeric/log_gamma.h"
#include "core/numeric/numerical_failure.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"
#include "core/queue/output_tables.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/waiting_tails.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {
namespace {

using Extended = long double;

constexpr int kGaussPoints = 32;
constexpr double kGaussNewtonTolerance = 3e-11;
// Terms whose logarithm is below this are taken as 0.
constexpr double kNegligibleLog = -250;

// p(j) = a(j) / sum of a.
std::vector<double> Normalised(const std::vector<Extended>& a) {
    Extended total = 0;
    for (const Extended x : a)
        total += x;
    std::vector<double> p(a.size());
    for (std::size_t j = 0; j < a.size(); ++j)
        p[j] = static_cast<double>(a[j] / total);
    return p;
}

// a(0) = 1, a(j) = a(j-1) c rho / j for j < c: the unnormalised states below c, shared by the
// two models with Poisson arrivals.
std::vector<Extended> PoissonArrivalsBelowC(int c, double rho, int K) {
    std::vector<Extended> a(K + 1, 0.0L);
    a[0] = 1;
    const Extended lambda = static_cast<Extended>(c) * rho;
    for (int j = 1; j <= c - 1; ++j)
        a[j] = a[j - 1] * lambda / j;
    return a;
}

// ---- M/M/c/c+N ----

FinCapSolution SolveMM(FinCapSolution s) {
    const int c = s.c, K = s.K();
    const double rho = s.rho;
    std::vector<Extended> a = PoissonArrivalsBelowC(c, rho, K);
    for (int j = c; j <= K; ++j)
        a[j] = a[j - 1] * rho;
    s.P = Normalised(a);
    const std::vector<double>& p = s.P;

    // Two balances: the busy servers against the admitted arrival rate, and the time all
    // servers are busy against what the arrivals that find c - 1 or more present add to it.
    long double S1 = 0, S2 = 0, S3 = 0;
    for (int j = 1; j <= c - 1; ++j)
        S1 += static_cast<long double>(j) * p[j];
    for (int j = c; j <= K; ++j)
        S2 += p[j];
    const long double d = 1 / (c + static_cast<long double>(c) * rho);
    long double w = d;
    for (int j = c - 1; j <= K - 1; ++j) {
        S3 += p[j] * w;
        if (j < K - 1) w = (c * w + 1) * d;
    }
    const long double cRho = static_cast<long double>(c) * rho;
    s.accuracy = static_cast<double>(std::fabs(c * S2 + S1 - (1 - p[K]) * cRho) +
                                     std::fabs(S2 - (p[K] * w + S3) * cRho));
    s.Ptime = s.P;
    return s;
}

// ---- M/D/c/c+N ----

// A(i) = integral over [0, 1] of (1-x)^(c-1) e^(-c rho x) (c rho x)^i / i!, i = 0..N-1: the
// expected time at c + i before the first departure once all servers are busy; and their sum from
// N on, what the arrivals that find the last place taken add to it. At each node the terms follow
// by products, all positive; the panels follow the factor (1-x)^(c-1), which at c = 500 lives
// within about 1/500 of 0.
struct ResidualArrivals {
    std::vector<Extended> A;
    Extended beyondN = 0;
};

ResidualArrivals MinimumResidualArrivals(int c, double rho, int N) {
    const Extended lambda = static_cast<Extended>(c) * rho;
    // The weights come from the derivative at the last Newton step but one: the tight tolerance
    // keeps them to the extended precision.
    const auto rule = GaussLegendrePanels<Extended>(kGaussPoints, 0, 1, 1 / (c + lambda), 1e-17L);
    std::vector<Extended> term(rule.nodes.size());
    for (std::size_t q = 0; q < term.size(); ++q)
        term[q] = rule.weights[q] *
                  std::exp((c - 1) * std::log1p(-rule.nodes[q]) - lambda * rule.nodes[q]);
    ResidualArrivals r;
    r.A.assign(N, 0.0L);
    // Beyond N the terms fall geometrically (by about c rho / (c - 1 + c rho)); the cap only
    // guards the loop.
    for (int i = 0; i <= N + 100000; ++i) {
        Extended Ai = 0;
        for (std::size_t q = 0; q < term.size(); ++q) {
            Ai += term[q];
            term[q] *= lambda * rule.nodes[q] / (i + 1);
        }
        if (i < N) {
            r.A[i] = Ai;
        } else {
            r.beyondN += Ai;
            if (Ai <= 1e-25L * r.beyondN) break;
        }
    }
    return r;
}

FinCapSolution SolveMD1(FinCapSolution s) {
    const int K = s.K();
    s.exact = std::make_shared<const SingleDeterministicServer>(
        SingleServerArrivals{SingleServerArrivals::Kind::Poisson, s.rho, K});
    const std::vector<long double>& p = s.exact->timeAverage();
    s.P.assign(p.begin(), p.end());
    long double busy = 0, blocked = 0;
    for (int j = 1; j <= K; ++j)
        busy += p[j];
    blocked = p[K];
    s.accuracy = static_cast<double>(std::fabs(busy - s.rho * (1 - blocked)));
    s.Ptime = s.P;
    return s;
}

FinCapSolution SolveMD(FinCapSolution s) {
    if (s.c == 1) return SolveMD1(std::move(s));
    const int c = s.c, K = s.K(), N = s.N;
    const double rho = s.rho;
    const Extended lambda = static_cast<Extended>(c) * rho;
    const ResidualArrivals arrivals = MinimumResidualArrivals(c, rho, N);

    // Between departures 1/c apart, Poisson(rho) arrivals; the expected time at i above the level
    // a period starts from is B(i) = P{Poisson(rho) > i} / (c rho), and at i or more Bbar(i), the
    // sum of B from i on. Both summed from the far end, so that a light load keeps their relative
    // precision instead of losing it in 1 - (1 - tail). Rho is at most 5: the terms beyond 90
    // are below 1e-77 of the first.
    constexpr int kPoissonTerms = 90;
    std::vector<Extended> poisson(kPoissonTerms);
    poisson[0] = std::exp(-static_cast<Extended>(rho));
    for (int k = 1; k < kPoissonTerms; ++k)
        poisson[k] = poisson[k - 1] * rho / static_cast<Extended>(k);
    std::vector<Extended> B(kPoissonTerms + 1, 0.0L), Bbar(kPoissonTerms + 1, 0.0L);
    for (int i = kPoissonTerms - 2; i >= 0; --i) {
        B[i] = B[i + 1] + poisson[i + 1] / lambda;
        Bbar[i] = Bbar[i + 1] + B[i];
    }
    const auto at = [&](const std::vector<Extended>& v, int i) {
        return i <= kPoissonTerms ? v[i] : 0.0L;
    };

    // Time at j = arrivals from c - 1 times A(j - c), plus the periods started below j that reach
    // it; a period started at j stays there with 1 - c rho B(0) = e^(-rho). The full state takes
    // every arrival that would go past it, so the tails Bbar and the sum of A from N: all sums of
    // positive terms (balancing the busy servers instead would leave it to a difference, noise at
    // light loads).
    std::vector<Extended> a = PoissonArrivalsBelowC(c, rho, K);
    for (int j = c; j <= K - 1; ++j) {
        Extended S = 0;
        for (int k = std::max(j - kPoissonTerms, c); k <= j - 1; ++k)
            S += a[k] * B[j - k];
        a[j] = lambda * (a[c - 1] * arrivals.A[j - c] + S) / poisson[0];
    }
    Extended full = a[c - 1] * arrivals.beyondN;
    for (int k = c; k <= K - 1; ++k)
        full += a[k] * at(Bbar, K - k);
    a[K] = lambda * full;
    s.P = Normalised(a);

    const std::vector<double>& p = s.P;
    long double busy = 0;
    for (int j = 1; j <= K; ++j)
        busy += static_cast<long double>(std::min(j, c)) * p[j];
    s.accuracy = static_cast<double>(std::fabs(busy - lambda * (1 - p[K])));
    s.Ptime = s.P;
    return s;
}

// ---- D/M/c/c+N ----

// One-step probabilities of the chain embedded just before arrivals; state i means i found.
class ArrivalChain {
public:
    ArrivalChain(int c, double rho, int K)
        : c_(c),
          K_(K),
          D_(1 / (c * rho)),
          lnLeave_(std::log1p(-std::exp(-D_))),
          lnC_(std::log(static_cast<double>(c))),
          lnFactorial_(K + 2),
          poisson_(K + 2),
          T_(static_cast<std::size_t>(c + 1) * (K + 1), 0.0) {
        for (int k = 0; k <= K + 1; ++k)
            lnFactorial_[k] = std::lgamma(k + 1.0);
        // Poisson(g) terms, g = c D = 1 / rho completions at rate c between arrivals.
        const double g = 1 / rho;
        for (int m = 0; m <= K + 1; ++m) {
            const double lnTerm = -g + m * std::log(g) - lnFactorial_[m];
            poisson_[m] = lnTerm < kNegligibleLog ? 0 : std::exp(lnTerm);
        }
        BuildT(rho);
    }

    // P(i, j) for j <= i + 1 (0 beyond); state K moves as state K - 1.
    double operator()(int i, int j) const {
        if (i == K_) i = K_ - 1;
        if (j > i + 1) return 0;
        const int n = i + 1;  // present just after the arrival
        if (i < c_) {
            // All n in service: each still there after D with chance q = e^-D.
            const double lnTerm = lnFactorial_[n] - lnFactorial_[j] - lnFactorial_[n - j] - j * D_ +
                                  (n - j) * lnLeave_;
            return std::exp(lnTerm);
        }
        if (j >= c_) return poisson_[n - j];
        // The queue ran empty at some x within D; then j of the c services outlast D - x.
        const double integral = T(c_ - j, i - c_);
        if (integral <= 0) return 0;
        return std::exp(std::log(integral) + lnC_ - j * D_ + lnFactorial_[c_] - lnFactorial_[j] -
                        lnFactorial_[c_ - j]);
    }

private:
    // T(l, k) = integral over [0, D] of (e^-x - e^-D)^l (c x)^k / k!, l = 0..c, k = 0..K - l:
    // the last k of each row by quadrature, the others by the recursion of integrating by parts,
    // which only adds positive terms.
    void BuildT(double rho) {
        const double q = std::exp(-D_);
        T(0, 0) = D_;
        for (int k = 1; k <= K_; ++k)
            T(0, k) = T(0, k - 1) / ((k + 1) * rho);
        const auto rule = GaussLegendre<double>(kGaussPoints, D_, 0.0, kGaussNewtonTolerance);
        for (int l = 1; l <= c_; ++l) {
            const int top = K_ - l;
            T(l, top) = rule.integrate([&](double x) {
                const double exponent =
                    l * std::log(std::exp(-x) - q) + top * std::log(c_ * x) - lnFactorial_[top];
                return exponent < kNegligibleLog ? 0.0 : std::exp(exponent);
            });
            for (int k = top - 1; k >= 0; --k)
                T(l, k) = (static_cast<double>(l) / c_) * (q * T(l - 1, k + 1) + T(l, k + 1));
        }
    }

    int c_, K_;
    double D_;
    // ln(1 - e^-D), one customer leaves within D, and ln c: asked for at every entry.
    double lnLeave_, lnC_;
    std::vector<double> lnFactorial_;  // ln k!, k = 0..K + 1
    std::vector<double> poisson_;      // Poisson(1 / rho) terms 0..K + 1
    std::vector<double> T_;            // rows l = 0..c of K + 1 entries

    double& T(int l, int k) { return T_[static_cast<std::size_t>(l) * (K_ + 1) + k]; }
    double T(int l, int k) const { return T_[static_cast<std::size_t>(l) * (K_ + 1) + k]; }
};

// The share of time the system is empty, straight rather than as 1 less the rest (which leaves
// few of its digits under heavy loads): after an arrival that finds i, n = min(i + 1, K) are served
// by a death process at rates min(m, c). Uniformised at rate c it is absorbed in 0 within k
// events with chance h_n(k), and the time empty within the interarrival time D is the sum over
// k of h_n(k) times the integral over [0, D] of the k-th Poisson(c x) term,
// P{Poisson(c D) > k} / c. All of it sums of positive terms.
Extended EmptyTimeShare(int c, double rho, int K, const std::vector<Extended>& found,
                        Extended total) {
    const Extended cD = 1 / static_cast<Extended>(rho);  // c D events expected
    const int events = static_cast<int>(cD + 40 * std::sqrt(cD) + 60);
    std::vector<Extended> above(events + 2, 0.0L);  // P{Poisson(c D) > k}
    for (int k = events; k >= 0; --k)
        above[k] = above[k + 1] + std::exp(-cD + (k + 1) * std::log(cD) - std::lgamma(k + 2.0L));
    std::vector<Extended> h(K + 1, 0.0L), next(K + 1), empty(K + 1, 0.0L);
    h[0] = 1;
    for (int k = 0; k <= events; ++k) {
        for (int n = 0; n <= K; ++n)
            empty[n] += h[n] * above[k] / c;
        next[0] = 1;
        for (int n = 1; n <= K; ++n) {
            const Extended down = static_cast<Extended>(std::min(n, c)) / c;
            next[n] = down * h[n - 1] + (1 - down) * h[n];
        }
        h.swap(next);
    }
    Extended sum = 0;
    for (int i = 0; i <= K; ++i)
        sum += found[i] / total * empty[std::min(i + 1, K)];
    return sum * rho * c;  // divided by D = 1 / (c rho)
}

FinCapSolution SolveDM(FinCapSolution s) {
    const int c = s.c, K = s.K(), N = s.N;
    const double rho = s.rho;
    const ArrivalChain P(c, rho, K);

    // The chain moves up one state at most. Reducing it from the top (Grassmann-Taksar-Heyman)
    // only ever adds to the row below, and pi_n / pi_(n-1) = P(n-1 -> n) / (the chance of
    // leaving n downwards once the states above are reduced): sums and products of
    // probabilities alone, so even a state probability of 1e-40 keeps its digits.
    std::vector<Extended> row(K + 1), below(K + 1), ratio(K + 1, 0.0L);
    for (int j = 0; j < K; ++j)
        row[j] = P(K, j);
    for (int n = K; n >= 1; --n) {
        Extended down = 0;
        for (int j = 0; j < n; ++j)
            down += row[j];
        if (!(down > 0)) throw NumericalFailure({"householder matrix is singulier"});
        ratio[n] = P(n - 1, n) / down;
        for (int j = 0; j < n - 1; ++j)
            below[j] = P(n - 1, j) + ratio[n] * row[j];
        row.swap(below);
    }
    std::vector<Extended> x(K + 1);
    x[0] = 1;
    Extended total = 1;
    for (int n = 1; n <= K; ++n) {
        x[n] = x[n - 1] * ratio[n];
        total += x[n];
    }
    s.P.resize(K + 1);
    for (int j = 0; j <= K; ++j)
        s.P[j] = static_cast<double>(x[j] / total);
    const std::vector<double>& pi = s.P;

    // Time average from what arrivals find: arrivals into j - 1 make j.
    const double cRho = c * rho;
    s.Ptime.assign(K + 1, 0.0);
    long double above0 = 0;
    for (int j = 1; j <= K; ++j) {
        const Extended p = (j <= c ? cRho / j : rho) * x[j - 1] / total;
        s.Ptime[j] = static_cast<double>(p);
        above0 += p;
    }
    // 1 less the rest while that keeps its digits; below 1e-3 it would lose them, and the share
    // comes straight from the death process.
    const Extended rest = 1 - above0;
    s.Ptime[0] = static_cast<double>(rest >= 1e-3L ? rest : EmptyTimeShare(c, rho, K, x, total));

    // All servers busy: the arrival rate times the expected such time in one interarrival
    // period, E min(Erlang(m) at rate c, D) with m = i + 2 - c completions to wait for, against
    // the time average.
    const double g = 1 / rho;
    long double prev = std::exp(-g);           // P{Poisson(g) <= m - 1}
    long double term = g * std::exp(-g);       // the Poisson(g) term of m
    long double cum = std::exp(-g) * (1 + g);  // P{Poisson(g) <= m}
    const auto busyTime = [&](int m) { return prev / cRho + (1 - cum) * m / c; };
    long double S = 0;
    for (int i = c - 1; i <= K - 2; ++i) {
        S += busyTime(i + 2 - c) * pi[i];
        prev = cum;
        term *= g / (i + 3 - c);
        cum += term;
    }
    long double allBusy = 0;
    for (int i = c - 1; i <= K - 1; ++i)
        allBusy += pi[i];
    const long double chainCheck =
        std::fabs(cRho * (S + busyTime(N + 1) * (pi[K - 1] + pi[K])) - rho * allBusy);

    long double busyServers = 0;
    for (int j = 1; j <= K; ++j)
        busyServers += static_cast<long double>(std::min(j, c)) * s.Ptime[j];
    s.accuracy = static_cast<double>(chainCheck + std::fabs(busyServers - cRho * (1 - pi[K])));
    return s;
}

std::span<const double> Admitted(const FinCapSolution& s) {
    return std::span<const double>(s.P).first(s.K());
}

// 1 - p(K) as the sum of the states that admit an arrival: at heavy loads p(K) is near 1 and
// the plain difference keeps few digits.
long double AdmittedShare(const FinCapSolution& s) {
    long double sum = 0;
    for (const double p : Admitted(s))
        sum += p;
    return sum;
}

// ---- The run ----

struct FinCapParameters {
    FinCapType type;
    int c;
    double rho;
    int N;
    OutputRequest output;
    GraphHandle graph = kNoGraph;
};

// Writes the header and, for Graphs, opens the window.
FinCapParameters Parameters(const QueueRun& run, QueueHost& host) {
    const FinCapType type = FinCapTypeOfItem(run.selection.item(0));
    const int c = run.fields.integer("c"), N = run.fields.integer("N");
    const double rho = run.fields["rho"];
    FinCapParameters p{type, c, rho, N, run.output};
    WriteReportHeader(host.results(), std::string(FinCapName(type)) + " queue",
                      Format("Parameters: c=%d  rho=%.6g  N=%d", {p.c, p.rho, p.N}));
    if (p.output.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::MG1,
            {std::string("Logarithmic Graphs of the ") + FinCapName(type) + " queue",
             Format("rho = %.4g", {p.rho}), Format("c = %d", {p.c}), Format("n = %d", {p.N})});
    return p;
}

void WriteReport(ResultWriter& out, const FinCapSolution& s, const FinCapStatistics& st,
                 const OutputRequest& output) {
    const auto g = [](const char* format, double v) { return Format(format, {std::fabs(v)}); };
    WriteHeadedStatistics(out, s.approximate() ? "Approximations: " : "Results :       ",
                          {{"Prej", FormatProbTrimmed(st.Prej)},
                           {"Pwait", FormatProbTrimmed(st.Pwait)},
                           {"Pbusy", FormatProbTrimmed(st.Pbusy)},
                           {"E(Wq)", g("%.5g", st.EWq)},
                           {"E(Lq)", g("%.5g", st.ELq)},
                           {"Std(Wq)", FigureOrNone("%.4g", st.StdWq)},
                           {"Std(Lq)", g("%.4g", st.StdLq)},
                           {"Utilization", g("%.4g", st.Utilization)}});
    if (s.approximate()) WriteApproximationNote(out);
    SolutionTables tables;
    tables.waitingTail = [&s](double t) { return FinCapWaitingTail(s, t); };
    tables.states = [&s](const std::vector<int>& n) { return StateRowsOf(s.P, n); };
    tables.customerStates = tables.states;
    tables.timeStates = [&s](const std::vector<int>& n) { return StateRowsOf(s.Ptime, n); };
    WriteRequestedTable(out, output, tables);
    if (s.approximate())
        WriteApproximationAccuracyCheck(out, std::fabs(s.accuracy));
    else
        WriteAccuracyCheck(out, std::fabs(s.accuracy));
}

// On a logarithmic axis a probability of 0 is drawn at 1e-6; so is the rounding noise of either
// sign that a vanished tail leaves.
ChartPlot LogPlot(std::vector<ChartPoint> points) {
    for (ChartPoint& point : points)
        if (point.y <= 0) point.y = 1e-6;
    return MarksOrLine(std::move(points));
}

void PlotGraphs(QueueHost& host, const FinCapParameters& p, const FinCapSolution& s, double Pwait) {
    ResultWriter& out = host.results();
    if (!IsSignificant(Pwait)) {
        WriteRunMessage(out, "Pwait is too small for meaningful graphs");
        return;
    }
    std::vector<ChartPoint> waiting = FinCapWaitingGraphPoints(s, Pwait);
    if (waiting.empty())
        WriteRunMessage(out, "The waiting time is too short to plot");
    else
        host.plot(p.graph, 0, LogPlot(std::move(waiting)));
    host.plot(p.graph, 1, LogPlot(FinCapStateGraphPoints(s)));
}

}  // namespace

const char* FinCapName(FinCapType type) {
    switch (type) {
        case FinCapType::DM:
            return "D/M/c/c+N";
        case FinCapType::MD:
            return "M/D/c/c+N";
        default:
            return "M/M/c/c+N";
    }
}

FinCapType FinCapTypeOfItem(int item) {
    switch (item) {
        case 1:
            return FinCapType::MD;
        case 2:
            return FinCapType::DM;
        default:
            return FinCapType::MM;
    }
}

bool FinCapRhoTooSmall(FinCapType type, int c, double rho) {
    double threshold;
    if (type == FinCapType::DM) {
        threshold = c <= 5     ? 0.01
                    : c <= 10  ? 0.05
                    : c <= 25  ? 0.1
                    : c <= 50  ? 0.15
                    : c <= 100 ? 0.2
                               : 0.3;
    } else {
        threshold = c <= 5    ? std::pow(10.0, c - 10)
                    : c <= 10 ? 0.0001
                    : c <= 25 ? 0.001
                    : c <= 50 ? 0.01
                              : 0.1;
    }
    return !(rho > threshold);
}

FinCapSolution SolveFinCap(FinCapType type, int c, double rho, int N) {
    FinCapSolution s;
    s.type = type;
    s.c = c;
    s.rho = rho;
    s.N = N;
    switch (type) {
        case FinCapType::MM:
            return SolveMM(std::move(s));
        case FinCapType::MD:
            return SolveMD(std::move(s));
        case FinCapType::DM:
            return SolveDM(std::move(s));
    }
    return s;
}

FinCapStatistics FinCapStatisticsOf(const FinCapSolution& s) {
    const int c = s.c, K = s.K();
    const std::vector<double>& p = s.P;
    const long double admitted = AdmittedShare(s);
    const long double cRho = static_cast<long double>(c) * s.rho;
    FinCapStatistics st;
    st.Prej = p[K];

    long double wait = 0;
    for (int j = c; j < K; ++j)
        wait += p[j];
    st.Pwait = static_cast<double>(wait / admitted);
    long double busy = 0;
    for (int j = c; j <= K; ++j)
        busy += s.Ptime[j];
    st.Pbusy = static_cast<double>(busy);

    // Means and variances as sums of positive terms (the variances as squared deviations), so
    // that small figures keep their digits.
    long double ELq = 0;
    if (s.exact) {
        for (int j = c + 1; j <= K; ++j)
            ELq += static_cast<long double>(j - c) * p[j];
        st.EWq = static_cast<double>(s.exact->meanWait());
        st.StdWq = static_cast<double>(std::sqrt(s.exact->waitVariance()));
    } else if (s.type == FinCapType::MD) {
        for (int j = c + 1; j <= K; ++j)
            ELq += static_cast<long double>(j - c) * p[j];
        const long double EWq = ELq / (admitted * cRho);
        const long double EWq2 = DeterministicServiceWait(c).SecondMoment(
            Admitted(s), 1 / static_cast<double>(admitted));
        const long double V = EWq2 - EWq * EWq;
        st.EWq = static_cast<double>(EWq);
        // The approximation's second moment can fall below the squared mean: no figure then,
        // rather than an impossible one (no wait at all is a deviation of 0).
        st.StdWq = V > 1e-12L * EWq2 ? static_cast<double>(std::sqrt(V))
                   : EWq2 == 0       ? 0
                                     : kNoFigure;
    } else {
        // Behind j >= c an admitted customer waits Erlang(k = j - c + 1) at rate c: mean k / c,
        // variance k / c^2.
        long double EWq = 0;
        for (int j = c; j <= K - 1; ++j)
            EWq += (j - c + 1) * static_cast<long double>(p[j]);
        EWq /= c * admitted;
        long double V = 0;
        for (int j = 0; j <= K - 1; ++j) {
            const long double k = std::max(j - c + 1, 0);
            const long double d = k / c - EWq;
            V += (d * d + k / (static_cast<long double>(c) * c)) * p[j];
        }
        st.EWq = static_cast<double>(EWq);
        st.StdWq = static_cast<double>(std::sqrt(V / admitted));
        ELq = admitted * cRho * EWq;  // Little
    }
    long double VLq = 0;
    for (int j = 0; j <= K; ++j) {
        const long double d = std::max(j - c, 0) - ELq;
        VLq += d * d * s.Ptime[j];
    }
    st.ELq = static_cast<double>(ELq);
    st.StdLq = static_cast<double>(std::sqrt(VLq));
    st.Utilization = static_cast<double>(admitted * s.rho);
    return st;
}

double FinCapWaitingTail(const FinCapSolution& s, double t) {
    const double scale = static_cast<double>(1 / AdmittedShare(s));
    if (s.exact) return static_cast<double>(s.exact->waitingTail(t));
    // A share of the admitted states: at most 1 but for the rounding of the two sums.
    if (s.type == FinCapType::MD)
        return std::min(DeterministicServiceWait(s.c).Tail(Admitted(s), scale, t), 1.0);
    return std::min(ExponentialServiceTail(Admitted(s), scale, s.c, t), 1.0);
}

std::vector<ChartPoint> FinCapWaitingGraphPoints(const FinCapSolution& s, double Pwait) {
    if (s.approximate()) {
        const DeterministicServiceWait wait(s.c);
        const double scale = static_cast<double>(1 / AdmittedShare(s));
        return ConditionalWaitingCurve([&](double t) { return wait.Tail(Admitted(s), scale, t); },
                                       Pwait);
    }
    return ConditionalWaitingCurve([&](double t) { return FinCapWaitingTail(s, t); }, Pwait);
}

std::vector<ChartPoint> FinCapStateGraphPoints(const FinCapSolution& s) {
    return StateTailCurve(s.P);
}

namespace {

void RunFinCap(const QueueRun& run, QueueHost& host) {
    const FinCapParameters p = Parameters(run, host);
    ResultWriter& out = host.results();
    const auto busy = host.busy();
    if (FinCapRhoTooSmall(p.type, p.c, p.rho)) {
        WriteRunMessage(out, "Rho is too small");
        return;
    }
    const FinCapSolution s = SolveFinCap(p.type, p.c, p.rho, p.N);
    const FinCapStatistics st = FinCapStatisticsOf(s);
    WriteReport(out, s, st, p.output);
    if (p.output.mode == kGraphs) PlotGraphs(host, p, s, st.Pwait);
}

// By the Queue Type items M/M/c/c+N, M/D/c/c+N, D/M/c/c+N.
constexpr FieldLimit kServerLimits[] = {kFinCapServersMM, kFinCapServers, kFinCapServers};
constexpr FieldLimit kPlaceLimits[] = {kFinCapPlaces, kFinCapPlaces, kFinCapPlacesDM};
constexpr FieldSpec kFields[] = {
    {"FinCap_C_edit", "c:", kServerLimits, "c incorrect", "c out of range", 0},
    {"FinCap_Rho_edit", "Rho:", One(kFinCapLoad), "rho incorrect", "rho out of range"},
    {"FinCap_N_edit", "N:", kPlaceLimits, "n incorrect", "N out of range", 0},
};
constexpr std::string_view kTypeItems[] = {"M/M/c/c+N", "M/D/c/c+N", "D/M/c/c+N"};
constexpr ChoiceSpec kChoices[] = {
    {.key = "type", .objectName = "FinCap_Queue_Type", .title = "Queue Type", .items = kTypeItems}};
constexpr OutputSpec kOutputs[] = {{"FinCap_Output1", "Output", kFinCapOutput1Items},
                                   {"FinCap_Output2", "Output", kFinCapOutput2Items}};
constexpr int kOutputOfType[] = {0, 0, 1};

// The n-values reach c + N.
std::optional<double> StateUpper(const FieldLookup& field) {
    const auto c = field("c"), N = field("N");
    if (!c || !N) return std::nullopt;
    return *c + *N;
}

constexpr auto kFigures =
    JoinFigures(std::array{FigureSpec{"Prej", 0, true}}, kStatisticsFigures,
                std::array{FigureSpec{"Utilization"}, FigureSpec{"P{Wq>t}", 'T', true}},
                kStateFigures, kAverageStateFigures);

QueueTwin FinCapTwin(const QueueRun& run) {
    const FinCapType type = FinCapTypeOfItem(run.selection.item(0));
    QueueTwin twin;
    twin.servers = run.fields.integer("c");
    twin.capacity = twin.servers + run.fields.integer("N");
    const double lambda = twin.servers * run.fields["rho"];
    twin.arrivals =
        type == FinCapType::DM ? DeterministicTime(1 / lambda) : ExponentialTime(lambda);
    twin.service = type == FinCapType::MD ? DeterministicTime(1) : ExponentialTime(1);
    return twin;
}

}  // namespace

constinit const QueueModelSpec kFinCapModel{
    .key = "fincap",
    .caption = "Finite Capacity",
    .title = "Finite Capacity Queues",
    .sheetName = "Finite_Capacity_TabSheet",
    .prefix = "FinCap",
    .helpContext = 160,
    .helpPage = "fincap.html",
    .helpTitle = "Finite Capacity",
    .summary =
        "finite-capacity queues M/M/c/c+N, M/D/c/c+N, D/M/c/c+N: c servers, N waiting places",
    .example = "type=0 c=2 rho=0.8 N=5",
    .fields = kFields,
    .choices = kChoices,
    .outputs = kOutputs,
    .outputChoice = 0,
    .outputOfItem = kOutputOfType,
    .groups = kFinCapGroups,
    .nUpperOf = StateUpper,
    .figures = kFigures,
    .run = RunFinCap,
    .twin = FinCapTwin,
};

}  // namespace wachtrix
