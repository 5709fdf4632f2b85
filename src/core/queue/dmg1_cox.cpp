#include "core/queue/dmg1_cox.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"

namespace wachtrix {
namespace {

using Real = long double;

constexpr RootFinderCopy kCoxianZbrent{
    100,
    {"pause in routine ZBRENT", "root must be bracketed"},
    {"pause in routine ZBRENT", "maximum number of iterations exceeded"}};
constexpr RootFinderCopy kCoxianRtbis{30000,
                                      {"pause in RTBIS", "Root must be bracketed for bisection."},
                                      {"pause in RTBIS - too many bisections", ""}};

constexpr Real kRootAccuracy = 1e-18L;

Real NudgedAwayFromErlang2(double cs2) {
    return std::fabs(cs2 - 0.5) <= 1e-15 ? Real(cs2) + 1e-15L : Real(cs2);
}

// D/G/1: zero at the two decay rates of the waiting-time tail.
Real Characteristic(const CoxianSolution& s, Real x) {
    const auto& [mu1, mu2, b] = s.fit;
    const Real N = mu1 * mu2 - (1 - b) * mu1 * x;
    const Real Q = (x - mu1) * (x - mu2);  // factored: no cancellation near the root just below mu2
    return Q - N * SafeExp(-x / s.rho);
}

// M/G/1: the characteristic function (x - mu1)(x - mu2)(x + rho) - (mu1 mu2 - (1 - b) mu1 x) rho
// is x times G(x) = (x - mu1)(x - mu2) + rho (x - mu2 - b mu1), so the decay rates have closed
// forms. They are taken as their distances to the phase rates, which shrink with rho: formed
// from the roots, those distances (and the tail's weights, which divide by them) would keep only
// the digits the roots have beyond them.
void SolveMG1Tail(CoxianSolution& s) {
    const auto& [mu1, mu2, b] = s.fit;
    const Real rho = s.rho;
    const Real gap = mu1 - mu2;
    const Real flow = rho * b * mu1;
    // d1 = mu2 - r1 is the positive root of d^2 + (gap - rho) d - flow, the other root is -g2 with
    // g2 = r2 - mu2; each is taken where no sum cancels.
    const Real B = gap - rho;
    const Real root = std::sqrt(B * B + 4 * flow);
    const Real d1 = B >= 0 ? 2 * flow / (B + root) : (root - B) / 2;
    const Real g2 = flow / d1;
    const Real spread = d1 + g2;  // r2 - r1
    // e2 = r2 - mu1 is the larger root of e^2 + (gap + rho) e + rho (gap - b mu1), whose roots lie
    // r2 - r1 apart.
    const Real e2 = -2 * rho * (gap - b * mu1) / (gap + rho + spread);
    s.r1 = mu2 - d1;
    s.r2 = mu2 + g2;
    const Real scale = spread * mu1 * mu2;
    s.A1 = s.r2 * (gap + d1) * d1 / scale;
    s.A2 = -s.r1 * e2 * g2 / scale;
}

// D/G/1: the decay rates by bisection, to the resolution of extended precision.
void SolveDG1Tail(CoxianSolution& s) {
    const auto& [mu1, mu2, b] = s.fit;
    auto F = [&](Real x) { return Characteristic(s, x); };
    s.r1 = RTBIS<Real>(F, 1e-14L, mu2, kRootAccuracy, kCoxianRtbis);
    s.r2 = RTBIS<Real>(F, mu2, 2 * mu1, kRootAccuracy, kCoxianRtbis);
    const Real r1 = s.r1, r2 = s.r2;
    const Real scale = (r1 - r2) * mu1 * mu2;
    s.A1 = -r2 * (r1 - mu1) * (r1 - mu2) / scale;
    s.A2 = r1 * (r2 - mu1) * (r2 - mu2) / scale;
}

// P{Wq > 0}. With Poisson arrivals an arrival waits exactly when the server is busy, which it is
// with probability rho; the two coefficients, of opposite signs and far larger than rho at the
// lightest loads, would lose digits of it.
Real DelayProbability(const CoxianSolution& s) {
    return IsMG1(s.kind) ? Real(s.rho) : s.A1 + s.A2;
}

// At the lightest loads the two terms nearly cancel, and rounding must not leave a negative
// probability.
Real Tail(const CoxianSolution& s, Real t) {
    return std::max(Real(0), s.A1 * SafeExp(-s.r1 * t) + s.A2 * SafeExp(-s.r2 * t));
}

// An upper end for the percentile search: a time by which the tail has usually fallen below
// 1e-9, widened where the slow phase of a balanced high-variance fit keeps it above 1 - p longer.
template <class F>
Real PercentileBracket(const CoxianSolution& s, F&& percentileFunction) {
    Real upper = ((1 + Real(s.cs2)) / 2) * (1 / (1 - Real(s.rho))) *
                 (std::log(Real(s.rho)) + 9 * std::log(Real(10)));
    upper = std::max(upper, Real(1));
    for (int doubling = 0; doubling < 64 && percentileFunction(upper) > 0; ++doubling)
        upper *= 2;
    return upper;
}

Real Percentile(const CoxianSolution& s, Real p) {
    const Real noWait = 1 - DelayProbability(s);
    if (p < noWait - 1e-10L) return -1;
    if (std::fabs(p - noWait) <= 1e-10L) return 0;
    auto F = [&](Real x) { return Tail(s, x) + p - 1; };
    return ZBRENT<Real>(F, 0, PercentileBracket(s, F), 1e-9L, kCoxianZbrent);
}

void RequireMG1(const CoxianSolution& s) {
    if (!IsMG1(s.kind))
        throw std::invalid_argument("state probabilities need Poisson arrivals (an M/G/1 kind)");
}

// The number in system, one state at a time: a and q are P{L = n} split by the phase in service.
// From one state to the next (a, q) is multiplied by a nonnegative 2 x 2 matrix M, so the tail
// beyond a state is w (a, q) with w = 1 M (I - M)^-1: a sum of positive terms, which keeps the
// digits of a small tail that 1 - cum, after many states, would lose.
class StateRecursion {
public:
    explicit StateRecursion(const CoxianSolution& s)
        : mu1_(s.fit.mu1), mu2_(s.fit.mu2), b_(s.fit.b), rho_(s.rho) {
        D_ = mu2_ * mu1_ * b_ / (mu2_ + rho_) + mu1_ * (1 - b_);
        a_ = 1 - rho_;
        cum_ = 1 - rho_;
        const Real m11 = rho_ / D_, m12 = rho_ * rho_ / (D_ * (mu2_ + rho_));
        const Real m21 = mu1_ * b_ * m11 / (mu2_ + rho_);
        const Real m22 = (mu1_ * b_ * m12 + rho_) / (mu2_ + rho_);
        const Real u1 = m11 + m21, u2 = m12 + m22;
        const Real det = (1 - m11) * (1 - m22) - m12 * m21;
        w1_ = (u1 * (1 - m22) + u2 * m21) / det;
        w2_ = (u1 * m12 + u2 * (1 - m11)) / det;
    }
    void next() {
        a_ = (q_ * rho_ / (mu2_ + rho_) + a_) * rho_ / D_;
        q_ = (mu1_ * b_ * a_ + rho_ * q_) / (mu2_ + rho_);
        cum_ += a_ + q_;
    }
    Real equal() const { return a_ + q_; }
    // A large tail stays the complement, as it always was.
    Real greater() const {
        const Real above = w1_ * a_ + w2_ * q_;
        return above < 0.5L ? above : 1 - cum_;
    }
    // Beyond this everything left is below the resolution of the sums.
    bool exhausted() const { return cum_ > 0.9999999999999999L; }

private:
    Real mu1_, mu2_, b_, rho_, D_, w1_, w2_;
    Real a_ = 0, q_ = 0, cum_ = 0;
};

}  // namespace

QueueStatistics Mg1Statistics(double Pwait, long double rho, long double EWq, long double EWq2) {
    QueueStatistics st;
    st.Pwait = Pwait;
    st.EWq = static_cast<double>(EWq);
    const long double ELq = rho * EWq;
    st.ELq = static_cast<double>(ELq);
    // The variances are differences of nearly equal moments at light load; rounding must not
    // make them negative.
    st.StdWq = static_cast<double>(std::sqrt(std::max(0.0L, EWq2 - EWq * EWq)));
    st.StdLq = static_cast<double>(std::sqrt(std::max(0.0L, rho * rho * EWq2 + ELq - ELq * ELq)));
    return st;
}

bool IsMG1(CoxianKind kind) {
    return kind == CoxianKind::MG1Gamma || kind == CoxianKind::MG1Balanced;
}

CoxianFit FitCoxian(CoxianKind kind, double cs2) {
    if (!(cs2 >= 0.5 && cs2 <= 100))
        throw std::invalid_argument("a Coxian-2 fit needs 0.5 <= CS2 <= 100");
    const bool gamma = kind == CoxianKind::MG1Gamma || kind == CoxianKind::DG1Gamma;
    if (gamma) {
        const Real c2 = NudgedAwayFromErlang2(cs2);
        const Real s = std::sqrt((c2 - 0.5L) / (c2 + 1));
        const Real mu1 = 2 + 2 * s;
        const Real mu2 = 3 / ((1 + c2) * (1 + s));
        return {mu1, mu2, (mu2 / mu1) * (mu1 - 1)};
    }
    if (std::fabs(cs2 - 1) <= 1e-12) return {3, 1, 2.0L / 3};
    if (cs2 > 1) {
        const Real c2 = cs2;
        const Real p1 = (1 + std::sqrt((c2 - 1) / (c2 + 1))) / 2;
        const Real p2 = 1 - p1;
        const Real mu1 = 2 * p1, mu2 = 2 * p2;
        return {mu1, mu2, (mu1 - mu2) * p2 / mu1};
    }
    const Real c2 = NudgedAwayFromErlang2(cs2);
    const Real mu2 = 2 / (std::sqrt(2 * c2 - 1) + 1);
    return {mu2 / (mu2 - 1), mu2, 1};
}

bool CoxianRhoTooSmall(CoxianKind kind, double cs2, double rho) {
    if (IsMG1(kind)) return rho < 5e-11;
    double threshold = 0.0005;
    if (cs2 <= 2)
        threshold = 0.02;
    else if (cs2 <= 6)
        threshold = 0.01;
    else if (cs2 <= 10)
        threshold = 0.005;
    else if (cs2 <= 80)
        threshold = 0.001;
    return rho < threshold;
}

CoxianSolution SolveCoxian(CoxianKind kind, double cs2, double rho) {
    if (!(rho > 0 && rho < 1)) throw std::invalid_argument("rho must lie between 0 and 1");
    CoxianSolution s;
    s.kind = kind;
    s.cs2 = cs2;
    s.rho = rho;
    if (CoxianRhoTooSmall(kind, cs2, rho)) {
        s.rhoTooSmall = true;
        return s;
    }
    s.fit = FitCoxian(kind, cs2);
    const auto& [mu1, mu2, b] = s.fit;

    if (IsMG1(kind))
        SolveMG1Tail(s);
    else
        SolveDG1Tail(s);
    const Real r1 = s.r1, r2 = s.r2;

    const double Pwait = static_cast<double>(DelayProbability(s));
    const Real rhoL = rho;
    if (IsMG1(kind)) {
        const Real EWq = (1 + Real(cs2)) * rhoL / (2 * (1 - rhoL));
        const Real X = 1 - mu1 * b / (mu1 - mu2);
        const Real EWq2 = 2 * EWq * EWq + 2 * (rhoL / (1 - rhoL)) *
                                              (X / (mu1 * mu1 * mu1) + (1 - X) / (mu2 * mu2 * mu2));
        s.statistics = Mg1Statistics(Pwait, rhoL, EWq, EWq2);
        s.statistics.accuracy = static_cast<double>(std::fabs(s.A1 + s.A2 - rhoL));
        return s;
    }

    const Real EWq = 1 / r1 + 1 / r2 - (mu1 + mu2) / (mu1 * mu2);
    const Real EWq2 = 2 * s.A1 / (r1 * r1) + 2 * s.A2 / (r2 * r2);
    const Real ELq = rhoL * EWq;
    const Real e1 = SafeExp(-r1 / rhoL), e2 = SafeExp(-r2 / rhoL);
    const Real Lq2 = 2 * rhoL * (s.A1 / r1 * e1 / (1 - e1) + s.A2 / r2 * e2 / (1 - e2));
    QueueStatistics& st = s.statistics;
    st.Pwait = Pwait;
    st.EWq = static_cast<double>(EWq);
    st.ELq = static_cast<double>(ELq);
    st.StdWq = static_cast<double>(std::sqrt(std::max(0.0L, EWq2 - EWq * EWq)));
    st.StdLq = static_cast<double>(std::sqrt(std::fabs(Lq2 + ELq - ELq * ELq)));
    st.accuracy = 0;
    return s;
}

double WaitingTail(const CoxianSolution& s, double t) {
    return static_cast<double>(Tail(s, t));
}

double WaitingPercentile(const CoxianSolution& s, double p) {
    return static_cast<double>(Percentile(s, p));
}

StateTable StateProbabilities(const CoxianSolution& s, const std::vector<int>& n) {
    RequireMG1(s);
    const int largest = n.empty() ? 0 : *std::max_element(n.begin(), n.end());
    if (!n.empty() && *std::min_element(n.begin(), n.end()) < 0)
        throw std::invalid_argument("a state number cannot be negative");
    std::vector<StateProbability> byState(largest + 1);  // zero once the recursion is exhausted
    byState[0] = {1 - s.rho, s.rho};
    StateRecursion recursion(s);
    for (int k = 1; k <= largest && !recursion.exhausted(); ++k) {
        recursion.next();
        byState[k] = {static_cast<double>(recursion.equal()),
                      static_cast<double>(recursion.greater())};
    }
    StateTable table;
    for (const int state : n)
        table.rows.push_back(byState[state]);
    return table;
}

std::vector<ChartPoint> WaitingGraph(const CoxianSolution& s) {
    const Real Pwait = DelayProbability(s);
    if (!IsSignificant(Pwait)) return {};
    const double tmax = static_cast<double>(Percentile(s, 1 - 0.001L * Pwait));
    return TimeGraphPoints(tmax, [&](double t) { return Tail(s, t) / Pwait; });
}

std::vector<ChartPoint> StateGraph(const CoxianSolution& s) {
    RequireMG1(s);
    StateRecursion recursion(s);
    return StateGraphPoints([&](int) {
        recursion.next();
        return recursion.greater() / s.rho;
    });
}

}  // namespace wachtrix
