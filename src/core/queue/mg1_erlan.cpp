#include "core/queue/mg1_erlan.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/numeric/log_gamma.h"
#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"

namespace wachtrix {
namespace {

using Real = long double;

constexpr RootFinderCopy kErlangianZbrent{
    10000,
    {"pause in ZBRENT", "Root must be bracketed."},
    {"pause in routine ZBRENT", "maximum number of iterations exceeded"}};
constexpr RootFinderCopy kErlangianRtbis{
    2147483647,
    {"pause in RTBIS", "Root must be bracketed for bisection."},
    {"pause in RTBIS - too many bisections", ""}};
constexpr RootFinderCopy kErlangianBisection{10000,
                                             {"Error : No correct interval for bisection !", ""},
                                             {"Error : Too many bisections", ""}};

// Tail terms whose logarithm falls below this are dropped.
constexpr Real kNegligibleLog = -75;

// 1/tau is the root z > 1 of ((mu + rho) z - mu) / ((1 - p) rho z + p rho) = z^k, beside the
// trivial z = 1. Written in d = z - 1 so that the function keeps its sign just above z = 1 even
// under heavy load, where it is of the order 1e-14 mu (1/rho - 1).
long double DecayRatio(const ErlangianFit& f, double rho) {
    auto g = [&](double d) {
        return std::log1p((f.mu + rho) * d / rho) - std::log1p((1 - f.p) * d) - f.k * std::log1p(d);
    };
    const double d0 = RTBIS<double>(g, 1e-14, 1e7 - 1, 1e-15, kErlangianRtbis);
    return 1 / (1 + static_cast<long double>(d0));
}

// The phase probabilities by the up-crossing recursion: the rate mu q[j] down from j balances
// the arrivals that lift the phase count from below j to j or more.
std::vector<Real> PhaseRecursion(const ErlangianFit& f, double rho, int N) {
    std::vector<Real> q(N + 1);
    q[0] = 1 - Real(rho);
    for (int j = 1; j <= N; ++j) {
        Real s = 0;
        for (int i = 1; i <= f.k - 1 && j - i >= 0; ++i)
            s += q[j - i];
        if (j - f.k >= 0) s += (1 - Real(f.p)) * q[j - f.k];
        q[j] = (Real(rho) / f.mu) * s;
    }
    return q;
}

// P{more than j phases}; beyond N the tail is geometric.
Real PhasesBeyond(const ErlangianSolution& s, int j) {
    if (j <= s.N) return s.beyond[j];
    const Real exponent = (j - s.N + 1) * std::log(s.tau);
    return exponent < kNegligibleLog ? 0 : s.q[s.N] * std::exp(exponent) / (1 - s.tau);
}

// The Poisson mixture over the phases ahead, P{Wq > t} = sum_i Pois(i; mu t) P{more than i},
// summed over about six standard deviations of the Poisson count.
struct PoissonWindow {
    int first, last;
};

PoissonWindow Window(double y) {
    const int first = y >= 50 ? static_cast<int>(std::trunc(y - 6 * std::sqrt(y))) : 0;
    if (y < 1) return {first, 11};
    if (y < 5) return {first, 22};
    if (y < 10) return {first, 32};
    if (y < 25) return {first, 58};
    return {first, static_cast<int>(std::nearbyint(y + 6 * std::sqrt(y) + 3))};
}

Real PoissonTail(const ErlangianSolution& s, double y, PoissonWindow window) {
    const Real logY = std::log(Real(y));
    Real sum = 0;
    for (int i = window.first; i <= window.last; ++i) {
        const Real logPoisson = -Real(y) + i * logY - LogGamma(i + 1.0);
        if (logPoisson > kNegligibleLog) sum += std::exp(logPoisson) * PhasesBeyond(s, i);
    }
    return sum;
}

// The tail as if the phase distribution were geometric throughout.
Real AsymptoticTail(const ErlangianSolution& s, double t) {
    const Real exponent = (1 - s.N) * std::log(s.tau) - (1 - s.tau) * s.fit.mu * t;
    if (exponent < kNegligibleLog) return 0;
    return s.q[s.N] / (1 - s.tau) * std::exp(exponent);
}

Real AsymptoticPercentile(const ErlangianSolution& s, double p) {
    return (std::log(s.q[s.N]) - std::log(1 - Real(p)) - std::log(1 - s.tau) -
            (s.N - 1) * std::log(s.tau)) /
           ((1 - s.tau) * s.fit.mu);
}

// The asymptote is exact enough where the tail is already geometric: high percentiles, and
// lower ones the heavier the load.
bool UsesAsymptote(double Pwait, double p) {
    if (Pwait >= 0.9) return p >= 0.5;
    if (Pwait >= 0.8) return p >= 0.8;
    if (Pwait >= 0.7) return p >= 0.9;
    if (Pwait >= 0.6) return p >= 0.99;
    if (Pwait >= 0.5) return p >= 0.999;
    return false;
}

// Phases kept exactly by CS2 row and load column.
int TermCountRow(int row, double rho) {
    static constexpr int kTable[5][6] = {{25, 35, 50, 75, 75, 75},
                                         {30, 75, 100, 150, 150, 150},
                                         {50, 125, 200, 200, 300, 300},
                                         {150, 300, 500, 500, 650, 650},
                                         {250, 500, 750, 900, 1000, 1150}};
    int column = 5;
    if (rho <= 0.001)
        column = 0;
    else if (rho <= 0.1)
        column = 1;
    else if (row == 4 ? rho < 0.5 : rho <= 0.5)
        column = 2;
    else if (rho <= 0.8)
        column = 3;
    else if (rho <= 0.95)
        column = 4;
    return kTable[row][column];
}

int LengthTermCount(double rho) {
    if (rho <= 0.0001) return 3;
    if (rho <= 0.1) return 8;
    if (rho <= 0.2) return 15;
    if (rho <= 0.5) return 20;
    if (rho <= 0.8) return 25;
    return 30;
}

// The ratio of the geometric tail of the number in system.
Real LengthTailRatio(const ErlangianSolution& s) {
    const int k = s.fit.k;
    const double p = s.fit.p, mu = s.fit.mu;
    const double rho = s.rho;
    if (std::fabs(s.cs2 - 1) <= 1e-11) return rho;
    const double u = UnitIntervalBisection(
        [&](double v) {
            return static_cast<double>(SafeLn((1 - p * v) * rho) - SafeLn(mu * v + rho) -
                                       k * SafeLn(1 - v));
        },
        kErlangianBisection);
    return rho / (mu * u + rho);
}

// The weights of the M/G/1 level-crossing recursion: c[j] = rho a[j] / (1 - rho a[0]), where a[j]
// integrates P{S > t} P{j arrivals in t} over t, for the Erlang mixture term by term.
std::vector<Real> ArrivalTerms(const ErlangianSolution& s, int K) {
    const auto& [k, p, mu] = s.fit;
    const Real rho = s.rho;
    std::vector<Real> b(k);
    for (int i = 0; i < k; ++i)
        b[i] = SafeExp(i * SafeLn(mu / (mu + rho))) / (mu + rho);
    std::vector<Real> a(K + 1);
    for (int j = 0; j <= K; ++j) {
        Real sum = 0;
        for (int i = 0; i <= k - 2; ++i)
            sum += b[i];
        a[j] = sum + (1 - Real(p)) * b[k - 1];
        for (int i = 0; i < k; ++i)
            b[i] *= (rho / (rho + mu)) * (Real(j + 1 + i) / (j + 1));
    }
    std::vector<Real> c(K + 1);
    for (int j = 0; j <= K; ++j)
        c[j] = SafeExp(SafeLn(rho * a[j]) - SafeLn(1 - rho * a[0]));
    return c;
}

}  // namespace

ErlangianFit FitErlangian(double cs2) {
    if (!(cs2 >= 0.01 && cs2 <= 1))
        throw std::invalid_argument("an Erlang mixture needs 0.01 <= CS2 <= 1");
    ErlangianFit f;
    f.k = static_cast<int>(std::trunc(1 / cs2 - 1e-12)) + 1;
    const double k = f.k;
    f.p = k * (k * cs2 - 1) / (k * cs2 + std::sqrt(k * (1 + cs2 - k * cs2)));
    f.mu = k - f.p;
    return f;
}

int ErlangianTermCount(double cs2, double rho) {
    if (cs2 >= 0.2) return TermCountRow(0, rho);
    if (cs2 >= 0.1) return TermCountRow(1, rho);
    if (cs2 >= 0.05) return TermCountRow(2, rho);
    if (cs2 >= 0.02) return TermCountRow(3, rho);
    return TermCountRow(4, rho);
}

bool ErlangianRhoTooSmall(double rho) {
    return rho <= 1e-7;
}

ErlangianSolution SolveErlangian(double cs2, double rho) {
    if (!(rho > 0 && rho < 1)) throw std::invalid_argument("rho must lie between 0 and 1");
    ErlangianSolution s;
    s.cs2 = cs2;
    s.rho = rho;
    s.N = ErlangianTermCount(cs2, rho);
    if (ErlangianRhoTooSmall(rho)) {
        s.rhoTooSmall = true;
        return s;
    }
    s.fit = FitErlangian(cs2);
    const auto& [k, p, mu] = s.fit;
    s.tau = DecayRatio(s.fit, rho);
    s.q = PhaseRecursion(s.fit, rho, s.N);
    // Summed from the far end, so that the small masses deep in the tail keep their digits
    // instead of being differences of numbers near 1.
    s.beyond.resize(s.N + 1);
    Real above = s.q[s.N] * s.tau / (1 - s.tau);
    for (int j = s.N; j >= 0; --j) {
        s.beyond[j] = above;
        above += s.q[j];
    }

    const Real rhoL = rho;
    const Real EWq = (cs2 + 1) * rhoL / (2 * (1 - rhoL));
    const Real EWq2 = 2 * EWq * EWq + rhoL * k * (k + 1) * (k + 2 - 3 * Real(p)) /
                                          (3 * Real(mu) * mu * mu * (1 - rhoL));
    s.statistics = Mg1Statistics(static_cast<double>(1 - s.q[0]), rhoL, EWq, EWq2);

    // The mean wait from the phases found: the exact terms below N, the geometric tail from N.
    const Real tau = s.tau;
    Real phases = 0;
    for (int j = 1; j <= s.N - 1; ++j)
        phases += j * s.q[j];
    phases +=
        std::exp(std::log(s.q[s.N]) + std::log(s.N * (1 - tau) + tau) - 2 * std::log(1 - tau));
    s.statistics.accuracy = static_cast<double>(std::fabs(phases / mu - EWq));
    return s;
}

double WaitingTail(const ErlangianSolution& s, double t) {
    if (t < 1e-15) return static_cast<double>(1 - s.q[0]);
    const double y = s.fit.mu * t;
    const PoissonWindow window = Window(y);
    // The asymptote treats every phase count as geometric; it may stand in for the mixture only
    // where the Poisson window lies wholly beyond the exactly known phases. Short of that it can
    // be off by a factor at light loads.
    if (t >= 10 && window.first > s.N) return static_cast<double>(AsymptoticTail(s, t));
    return static_cast<double>(PoissonTail(s, y, window));
}

double WaitingPercentile(const ErlangianSolution& s, double p) {
    const double rho = s.rho;
    if (p < 1 - rho - 1e-9) return -1;
    if (std::fabs(p - (1 - rho)) <= 1e-9) return 0;
    if (UsesAsymptote(s.statistics.Pwait, p))
        return static_cast<double>(AsymptoticPercentile(s, p));
    const double upper = (1 / (1 - rho)) * (1e-6 + std::log(rho) - std::log(1 - p));
    return ZBRENT<double>([&](double w) { return WaitingTail(s, w) + p - 1; }, 1e-9, upper, 1e-14,
                          kErlangianZbrent);
}

ErlangianStates SolveErlangianStates(const ErlangianSolution& s) {
    ErlangianStates st;
    st.x = LengthTailRatio(s);
    st.K = LengthTermCount(s.rho);
    const int K = st.K;
    const std::vector<Real> c = ArrivalTerms(s, K);
    const Real rho = s.rho;

    std::vector<Real> pi(K + 1);
    pi[0] = 1 - rho;
    for (int i = 1; i <= K; ++i) {
        Real sum = (1 - rho) * c[i - 1];
        for (int j = 1; j <= i - 1; ++j)
            sum += pi[j] * c[i - j];
        pi[i] = sum;
    }

    const Real x = st.x;
    Real mean = (K / (1 - x) + x / ((1 - x) * (1 - x))) * pi[K];
    for (int i = 1; i <= K - 1; ++i)
        mean += i * pi[i];
    st.meanCheck = mean - (Real(s.statistics.ELq) + rho);

    st.P.resize(K + 1);
    Real cumulative = 0;
    for (int i = 0; i <= K; ++i)
        st.P[i] = cumulative += pi[i];
    return st;
}

StateProbability StateProbabilityAt(const ErlangianStates& st, int n) {
    if (n < 0) throw std::invalid_argument("a state number cannot be negative");
    const auto& P = st.P;
    if (n == 0) return {static_cast<double>(P[0]), static_cast<double>(1 - P[0])};
    if (n <= st.K) return {static_cast<double>(P[n] - P[n - 1]), static_cast<double>(1 - P[n])};
    const Real last = P[st.K] - P[st.K - 1];
    return {static_cast<double>(last * SafePower(st.x, n - st.K)),
            static_cast<double>(last * SafePower(st.x, n + 1 - st.K) / (1 - st.x))};
}

StateTable StateProbabilities(const ErlangianSolution& s, const std::vector<int>& n) {
    const ErlangianStates st = SolveErlangianStates(s);
    StateTable table;
    for (const int state : n)
        table.rows.push_back(StateProbabilityAt(st, state));
    table.check = static_cast<double>(st.meanCheck);
    return table;
}

std::vector<ChartPoint> WaitingGraph(const ErlangianSolution& s) {
    const double Pwait = s.statistics.Pwait;
    if (!IsSignificant(Pwait)) return {};
    const double tmax = WaitingPercentile(s, 1 - 0.001 * Pwait);
    return TimeGraphPoints(tmax, [&](double t) { return WaitingTail(s, t) / Pwait; });
}

std::vector<ChartPoint> StateGraph(const ErlangianSolution& s) {
    const ErlangianStates st = SolveErlangianStates(s);
    const double busy = static_cast<double>(1 - st.P[0]);
    return StateGraphPoints([&](int n) { return StateProbabilityAt(st, n).greater / busy; });
}

}  // namespace wachtrix
