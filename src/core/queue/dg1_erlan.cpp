#include "core/queue/dg1_erlan.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numeric/dense_solver.h"
#include "core/numeric/numerical_failure.h"
#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"
#include "core/queue/lumped_chain.h"

namespace wachtrix {
namespace {

using Real = long double;

// The largest truncation of the phases found.
constexpr int kMostPhases = 1000;

constexpr RootFinderCopy kPercentileBrent{
    10000,
    {"pause in routine ZBRENT", "root must be bracketed"},
    {"pause in routine ZBRENT", "maximum number of iterations exceeded"},
    1e-12};

// M by load within one CS2 band: values[i] up to limits[i] (+1e-10), the last value beyond.
template <std::size_t N>
int Band(double rho, const double (&limits)[N], const int (&values)[N + 1]) {
    for (std::size_t i = 0; i < N; ++i)
        if (rho <= limits[i] + 1e-10) return values[i];
    return values[N];
}

// eta^e from its logarithm, scaled by `factor`: the tail constants multiply very small pi_M
// by very large negative powers of a small eta, which must not overflow on the way.
Real ScaledPower(Real factor, double eta, Real e) {
    if (factor <= 0 || eta <= 0) return 0;
    return std::exp(std::log(factor) + e * std::log(static_cast<Real>(eta)));
}

// P{more than n phases found}, n >= 0.
Real Beyond(const Dg1ErlangSolution& s, long long n) {
    if (n <= s.M) return s.beyond[static_cast<std::size_t>(n)];
    return ScaledPower(s.pi[s.M] / (1 - static_cast<Real>(s.eta)), s.eta,
                       static_cast<Real>(n + 1 - s.M));
}

// The geometric tail P{Wq > t} ~ A e^(-(1 - eta) nu t) of the phases beyond M; log A.
Real LogAsymptoteConstant(const Dg1ErlangSolution& s) {
    const Real eta = s.eta;
    return std::log(static_cast<Real>(s.pi[s.M])) - (s.M - 1) * std::log(eta) - std::log(1 - eta);
}

bool HasGeometricTail(const Dg1ErlangSolution& s) {
    return s.eta > 0 && s.pi[s.M] > 0;
}

// From this time on the tail is below 1e-15, far under the 1e-12 that still prints: the arrivals
// that found fewer than M phases have all been served (the Poisson number of completions is
// below M with probability under e^-50), and the geometric part has fallen below 1e-15.
double TailCutOff(const Dg1ErlangSolution& s) {
    const double M = s.M;
    const double served = (M + 10 * std::sqrt(M) + 40) / s.fit.mu;
    if (!HasGeometricTail(s)) return served;
    const Real rate = (1 - static_cast<Real>(s.eta)) * s.fit.mu;
    const Real geometric = (LogAsymptoteConstant(s) + 15 * std::log(Real(10))) / rate;
    return std::max(served, static_cast<double>(geometric));
}

int TailTermCount(double x) {
    if (x <= 1) return 11;
    if (x <= 5) return 22;
    if (x <= 10) return 32;
    if (x <= 25) return 58;
    return static_cast<int>(std::trunc(x + 6 * std::sqrt(x))) + 3;
}

bool AsymptoteForPercentile(double Pwait, double p) {
    return (0.5 <= Pwait && Pwait <= 0.6 && p >= 0.999) ||
           (0.6 <= Pwait && Pwait <= 0.7 && p >= 0.99) ||
           (0.7 <= Pwait && Pwait <= 0.8 && p >= 0.9) ||
           (0.8 <= Pwait && Pwait <= 0.9 && p >= 0.8) || (Pwait >= 0.9 && p >= 0.5);
}

// The Poisson terms of nu D (up to 2500) over all of their mass and at least `minCount` of
// them, without a floor, and their upper sums P{N >= m} from the far end: no transition and no
// idle time is then a difference.
struct PoissonSums {
    std::vector<Real> term, atLeast;  // m = 0..count-1, and 0..count
    int count() const { return static_cast<int>(term.size()); }
    Real A(int m) const { return m < 0 || m >= count() ? 0 : term[m]; }
    Real T(int m) const { return atLeast[std::clamp(m, 0, count())]; }
};

PoissonSums PoissonSumsOf(Real mean, int minCount) {
    const int count = std::max(minCount, static_cast<int>(mean + 40 * std::sqrt(mean) + 60));
    PoissonSums p{std::vector<Real>(count), std::vector<Real>(count + 1, 0.0L)};
    for (int m = 0; m < count; ++m)
        p.term[m] = std::exp(-mean + m * std::log(mean) - std::lgamma(m + 1.0L));
    for (int m = count - 1; m >= 0; --m)
        p.atLeast[m] = p.atLeast[m + 1] + p.term[m];
    return p;
}

std::vector<double> PhaseSystem(const ErlangianFit& fit, double nuD, int M, double eta) {
    const int k = fit.k;
    const Real p = fit.p;
    const PoissonSums poisson = PoissonSumsOf(nuD, 0);
    const int count = poisson.count();
    std::vector<Real> atMost(count, 0.0L);
    for (int m = 0; m < count; ++m)
        atMost[m] = (m ? atMost[m - 1] : 0) + poisson.term[m];
    auto A = [&](int m) { return poisson.A(m); };
    auto T = [&](int m) { return poisson.T(m); };
    auto C = [&](int m) { return m < 0 ? 0 : atMost[std::min(m, count - 1)]; };
    // An arrival that finds i phases adds k (or k - 1) and leaves j for the next one.
    auto P = [&](int i, int j) -> Real {
        if (j == 0) return (1 - p) * T(k + i) + p * T(k - 1 + i);
        return (1 - p) * A(k + i - j) + p * A(k - 1 + i - j);
    };

    int GL = 0;  // tail steps until eta^m / (1 - eta) is below 1e-15
    if (eta > 0) {
        const double steps = (std::log(1 - eta) - 15 * std::log(10.0)) / std::log(eta);
        GL = steps >= 32000 ? 32000 : static_cast<int>(std::trunc(steps));
    }
    // States 0..M - 1 and the states from M on lumped into M with their geometric weights
    // (1 - eta) eta^(i - M).
    const int n = M + 1;
    std::vector<Real> Q(static_cast<std::size_t>(n) * n, 0.0L);
    const auto at = [&](int i, int j) -> Real& { return Q[static_cast<std::size_t>(i) * n + j]; };
    for (int i = 0; i < M; ++i) {
        for (int j = 0; j < M; ++j)
            at(i, j) = P(i, j);
        at(i, M) = (1 - p) * C(k + i - M) + p * C(k - 1 + i - M);
    }
    for (int j = 0; j < M; ++j) {
        const int iMax = j == 0 ? M + GL : std::min(M + GL, count - 1 - k + j);
        Real lumped = 0, weight = 1;
        for (int i = M; i <= iMax; ++i, weight *= eta)
            lumped += weight * P(i, j);
        at(M, j) = (1 - static_cast<Real>(eta)) * lumped;
    }
    return LumpedChainSolution(Q, M, 0, eta, [](int) { return 0; });
}

void Statistics(Dg1ErlangSolution& s, double nuD) {
    const int M = s.M;
    const Real eta = s.eta, nu = s.fit.mu, piM = s.pi[M];
    const Real g = 1 - eta;
    Real phases = M * piM / g + piM * eta / (g * g);
    for (int j = 1; j < M; ++j)
        phases += j * static_cast<Real>(s.pi[j]);
    // The second factorial moment of the phases found, the tail in closed form.
    Real factorial = piM * (Real(M) * M * eta / g + M * eta * eta / (g * g) + M * eta / (g * g) +
                            2 * eta * eta / (g * g * g));
    for (int j = 1; j <= M; ++j)
        factorial += Real(j) * (j - 1) * s.pi[j];

    QueueStatistics& q = s.statistics;
    q.Pwait = s.beyond[0];
    const Real EWq = phases / nu;
    const Real EWq2 = 2 * EWq / nu + factorial / (nu * nu);
    q.EWq = static_cast<double>(EWq);
    q.ELq = static_cast<double>(EWq * s.rho);
    q.StdWq = static_cast<double>(std::sqrt(std::fabs(EWq2 - EWq * EWq)));

    // The server's idle fraction from the phases found against 1 - rho: after an arrival that
    // leaves m phases, the idle part of the interarrival time D is P(N >= m) - m/(nu D) P(N > m),
    // N the Poisson number of completions in D.
    const int k = s.fit.k;
    const PoissonSums poisson = PoissonSumsOf(nuD, M + k + 2);
    auto idle = [&](int m) {
        return poisson.T(m) - (m / static_cast<Real>(nuD)) * poisson.T(m + 1);
    };
    auto h = [&](int n) { return s.fit.p * idle(k - 1 + n) + (1 - s.fit.p) * idle(k + n); };
    Real idleFraction = 0;
    for (int n = 0; n <= M; ++n)
        idleFraction += h(n) * s.pi[n];
    const int last = poisson.count() - k;
    for (int n = M + 1; n < last && PhaseProbability(s, n - 1) > 1e-12; ++n)
        idleFraction += h(n) * PhaseProbability(s, n);
    q.accuracy = static_cast<double>(std::fabs(idleFraction - (1 - static_cast<Real>(s.rho))));
}

// Pure Erlang: the customers in system at an arbitrary time (z_m, with P{L(time) = 0} = 1 - rho)
// and as arrivals find them (w_m), m = 0..L exactly and geometric in eta^k beyond L. The tails
// are summed from the top down, so that small probabilities keep their digits.
struct PureErlangStates {
    int L = 0;
    Real q = 0;
    std::vector<Real> time, customer;              // P{L = m}, m = 0..L
    std::vector<Real> timeBeyond, customerBeyond;  // P{L > m}, m = 0..L
};

// P{L = m} = constant eta^(k m) beyond L, the constant and the power combined in logarithms:
//   time average  G eta^(km) = (rho/k) pi_M (1 - eta^k)^2 / (1 - eta)^2 eta^(km + 1 - M - 2k),
//   arrivals      H eta^(km) = pi_M (1 - eta^k) / (1 - eta) eta^(km + 1 - M - k).
Real GeometricState(const Dg1ErlangSolution& s, bool timeAverage, long long m) {
    const int k = s.fit.k, M = s.M;
    const Real eta = s.eta, piM = s.pi[M];
    const Real q = std::pow(eta, k);
    if (timeAverage)
        return ScaledPower(
            s.rho / static_cast<Real>(k) * piM * (1 - q) * (1 - q) / ((1 - eta) * (1 - eta)), s.eta,
            Real(k) * m + 1 - M - 2 * k);
    return ScaledPower(piM * (1 - q) / (1 - eta), s.eta, Real(k) * m + 1 - M - k);
}

PureErlangStates StatesOfPureErlang(const Dg1ErlangSolution& s) {
    PureErlangStates st;
    const int k = s.fit.k, M = s.M;
    // Exact up to the first level whose phases, and the phases k below them, all lie in the
    // geometric tail: only beyond it is P{L = m} exactly geometric.
    st.L = (M - 1 + k - 1) / k + 1;
    st.q = std::pow(static_cast<Real>(s.eta), k);
    const Real rate = s.rho / static_cast<Real>(k);
    // A level i of phases is crossed upwards by the arrivals that find i-k..i-1 phases.
    auto y = [&](int i) {
        Real sum = 0;
        for (int j = std::max(i - k, 0); j <= i - 1; ++j)
            sum += PhaseProbability(s, j);
        return rate * sum;
    };
    st.time.assign(st.L + 1, 0);
    st.customer.assign(st.L + 1, 0);
    st.time[0] = 1 - static_cast<Real>(s.rho);
    st.customer[0] = s.pi[0];
    for (int m = 1; m <= st.L; ++m) {
        for (int i = (m - 1) * k + 1; i <= m * k; ++i) {
            st.time[m] += y(i);
            st.customer[m] += PhaseProbability(s, i);
        }
    }
    st.timeBeyond.assign(st.L + 1, 0);
    st.customerBeyond.assign(st.L + 1, 0);
    Real time = GeometricState(s, true, st.L + 1) / (1 - st.q);
    Real customer = GeometricState(s, false, st.L + 1) / (1 - st.q);
    for (int m = st.L; m >= 0; --m) {
        st.timeBeyond[m] = time;
        st.customerBeyond[m] = customer;
        time += st.time[m];
        customer += st.customer[m];
    }
    return st;
}

StateTable PureErlangTable(const Dg1ErlangSolution& s, const std::vector<int>& n,
                           bool timeAverage) {
    const PureErlangStates st = StatesOfPureErlang(s);
    const std::vector<Real>& equal = timeAverage ? st.time : st.customer;
    const std::vector<Real>& beyond = timeAverage ? st.timeBeyond : st.customerBeyond;
    StateTable table;
    for (const int m : n) {
        if (m <= st.L) {
            table.rows.push_back({static_cast<double>(equal[m]), static_cast<double>(beyond[m])});
        } else {
            table.rows.push_back(
                {static_cast<double>(GeometricState(s, timeAverage, m)),
                 static_cast<double>(GeometricState(s, timeAverage, m + 1) / (1 - st.q))});
        }
    }
    return table;
}

// Std(Lq) of pure Erlang service from the time-average distribution of the number in system.
double PureErlangStdLq(const Dg1ErlangSolution& s) {
    const PureErlangStates st = StatesOfPureErlang(s);
    const int L = st.L;
    const Real q = st.q;
    // E(Lq^2) straight from the distribution, (m - 1)^2 against P{L = m}: a sum of positive
    // terms, where E(L^2) - 2 E(Lq) - rho would cancel to nothing at light loads.
    Real Lq2 = 0;
    for (int m = 2; m <= L; ++m)
        Lq2 += Real(m - 1) * (m - 1) * st.time[m];
    // sum over m > L of (m - 1)^2 G q^m = G q^(L+1) sum over r >= 0 of (L + r)^2 q^r.
    const Real first = GeometricState(s, true, L + 1);
    Lq2 += first * (Real(L) * L / (1 - q) + 2 * L * q / ((1 - q) * (1 - q)) +
                    q * (1 + q) / ((1 - q) * (1 - q) * (1 - q)));
    const Real ELq = s.statistics.ELq;
    return static_cast<double>(std::sqrt(std::fabs(Lq2 - ELq * ELq)));
}

}  // namespace

bool Dg1ErlangRhoTooSmall(double rho) {
    return rho <= 0.0400000001;
}

int Dg1Truncation(double cs2, double rho) {
    int M = 0;
    if (0.2499999999 <= cs2 && cs2 <= 1.0000000001) M = Band(rho, {0.1, 0.5}, {5, 10, 15});
    if (0.0999999999 <= cs2 && cs2 < 0.2500000001) M = Band(rho, {0.2, 0.5, 0.7}, {5, 10, 15, 20});
    if (0.0499999999 <= cs2 && cs2 < 0.1000000001)
        M = Band(rho, {0.3, 0.5, 0.7, 0.9}, {5, 10, 20, 25, 30});
    if (0.0199999999 <= cs2 && cs2 < 0.0500000001)
        M = Band(rho, {0.4, 0.7, 0.8, 0.9}, {5, 20, 30, 35, 45});
    if (cs2 <= 0.02) M = Band(rho, {0.5, 0.7, 0.8, 0.9, 0.95}, {5, 20, 30, 45, 50, 60});
    return M + 25;
}

double Dg1PhaseRoot(const ErlangianFit& fit, double rho) {
    // Searched in u = ln z down to z = 1e-300, so that the halvings end at a relative step: at
    // light loads of many phases the root is far below any fixed lower end in z.
    const Real nuD = fit.mu / rho, p = fit.p, k = fit.k;
    auto f = [&](Real u) { return std::log1p(p * std::expm1(u)) + nuD * std::expm1(u) - k * u; };
    constexpr Real lo = -690.7755278982137L;  // ln 1e-300
    const Real hi = std::log(0.999999999998L);
    const Real flo = f(lo);
    if (flo <= 0) return 0;
    if (f(hi) >= 0) throw NumericalFailure({"Fout in bisectie ", ""});
    return static_cast<double>(std::exp(BisectToNegativeEnd<Real>(
        f, lo, hi, flo, 1e-17L, 10000, {"pause in RTBIS - too many bisections", ""})));
}

Dg1ErlangSolution SolveDg1Erlang(double cs2, double rho, bool pureErlang) {
    Dg1ErlangSolution s;
    s.cs2 = cs2;
    s.rho = rho;
    s.pureErlang = pureErlang;
    if (pureErlang) {
        s.fit.k = static_cast<int>(std::trunc(1 / cs2 + 1e-12));
        s.fit.p = 0;
        s.fit.mu = s.fit.k;
    } else {
        s.fit = FitErlangian(cs2);
    }
    // At least three levels of k phases exactly: the geometric tail beyond M holds the real root
    // alone, and at light loads the k roots of nearly one size make it poor at the first levels.
    s.M = std::max(Dg1Truncation(cs2, rho), 3 * s.fit.k);
    s.eta = Dg1PhaseRoot(s.fit, rho);
    const double nuD = s.fit.mu / rho;
    // The phases beyond M are taken as geometric in eta, which they are only far out; M grows
    // until they have settled on eta or what lies beyond M is nothing beside the delay.
    for (;;) {
        s.pi = PhaseSystem(s.fit, nuD, s.M, s.eta);
        // Tails from the top down, so that small ones keep their digits.
        s.beyond.assign(s.M + 1, 0);
        Real sum = s.pi[s.M] * static_cast<Real>(s.eta) / (1 - static_cast<Real>(s.eta));
        for (int n = s.M; n >= 0; --n) {
            s.beyond[n] = static_cast<double>(sum);
            sum += s.pi[n];
        }
        const Real top = s.pi[s.M], before = s.pi[s.M - 1];
        const Real geometric = before * static_cast<Real>(s.eta);
        const bool settled = geometric > 0 && std::fabs(top - geometric) < 1e-9L * geometric;
        // Below 1e-70 no printed figure feels it, not even a deviation near its square root.
        const Real tail = top / (1 - s.eta);
        const bool negligible = !(tail >= 1e-13L * s.beyond[0]) || tail < 1e-70L;
        if (settled || negligible || s.M >= kMostPhases) break;
        s.M = std::min(s.M + std::max(25, s.fit.k), kMostPhases);
    }
    Statistics(s, nuD);
    if (pureErlang) s.statistics.StdLq = PureErlangStdLq(s);
    return s;
}

double PhaseProbability(const Dg1ErlangSolution& s, long long n) {
    if (n <= s.M) return s.pi[static_cast<std::size_t>(n)];
    return static_cast<double>(ScaledPower(s.pi[s.M], s.eta, static_cast<Real>(n - s.M)));
}

double WaitingTail(const Dg1ErlangSolution& s, double t) {
    if (t <= 1e-15) return s.statistics.Pwait;
    if (t >= TailCutOff(s)) return 0;
    // Erlang(j, nu) waits, mixed over the phases found: the Poisson number of completions in t
    // is below j exactly when the wait exceeds t.
    const Real x = s.fit.mu * static_cast<Real>(t);
    const int K = TailTermCount(static_cast<double>(x));
    // The Poisson terms from their logarithms while e^-x would underflow, then by the recursion.
    const Real logX = std::log(x);
    Real logTerm = -x, term = 0, sum = 0;
    bool representable = false;
    for (int j = 0; j <= K; ++j) {
        if (representable) {
            term *= x / j;
        } else {
            if (j > 0) logTerm += logX - std::log(static_cast<Real>(j));
            representable = logTerm > -600;
            term = representable ? std::exp(logTerm) : 0;
        }
        sum += term * Beyond(s, j);
    }
    return static_cast<double>(std::clamp(sum, Real(0), Real(1)));
}

double WaitingPercentile(const Dg1ErlangSolution& s, double p) {
    const double noWait = 1 - s.statistics.Pwait;
    if (p < noWait - 1e-9) return -1;
    if (std::fabs(p - noWait) <= 1e-9) return 0;
    if (AsymptoteForPercentile(s.statistics.Pwait, p)) {
        if (!HasGeometricTail(s) || s.pi[s.M] <= 1e-17 || s.eta < 1e-17) return 0;
        return static_cast<double>((LogAsymptoteConstant(s) - std::log(1 - static_cast<Real>(p))) /
                                   ((1 - static_cast<Real>(s.eta)) * s.fit.mu));
    }
    auto g = [&](double x) { return WaitingTail(s, x) - (1 - p); };
    // The heavy-traffic estimate, widened until the tail is below 1 - p there.
    double upper = 0.75 * s.cs2 * (std::log(s.rho) - std::log(1 - p)) / (1 - s.rho);
    upper = std::max(upper, 1e-3);
    for (int doubling = 0; doubling < 64 && g(upper) > 0; ++doubling)
        upper *= 2;
    return ZBRENT<double>(g, 0.0, upper, 1e-9, kPercentileBrent);
}

StateTable TimeStateProbabilities(const Dg1ErlangSolution& s, const std::vector<int>& n) {
    return PureErlangTable(s, n, true);
}

StateTable CustomerStateProbabilities(const Dg1ErlangSolution& s, const std::vector<int>& n) {
    return PureErlangTable(s, n, false);
}

std::vector<ChartPoint> WaitingGraph(const Dg1ErlangSolution& s) {
    const double Pwait = s.statistics.Pwait;
    const double tmax = WaitingPercentile(s, 1 - 0.001 * Pwait);
    if (!(tmax > 0)) return {};  // no tail beyond the exact states to draw
    return TimeGraphPoints(tmax, [&](double t) { return WaitingTail(s, t) / Pwait; });
}

}  // namespace wachtrix
