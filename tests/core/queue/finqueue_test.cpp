#include "core/queue/finqueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <vector>

#include "support/expect_near.h"
#include "support/recording_host.h"

namespace wachtrix {
namespace {

using Extended = long double;
using testing::RecordingHost;

// ---- References computed here, independently of the unit ----

// Erlang's loss formula by its recursion.
Extended ErlangB(int c, Extended a) {
    Extended B = 1;
    for (int k = 1; k <= c; ++k)
        B = a * B / (k + a * B);
    return B;
}

Extended ErlangC(int c, Extended rho) {
    const Extended B = ErlangB(c, c * rho);
    return B / (1 - rho * (1 - B));
}

// M/M/c/K in logarithms: p(j) proportional to (c rho)^j / j! below c, then times rho^(j-c).
std::vector<Extended> BirthDeath(int c, Extended rho, int K) {
    std::vector<Extended> logA(K + 1);
    for (int j = 0; j <= K; ++j)
        logA[j] = j <= c ? j * std::log(c * rho) - std::lgamma(j + 1.0L)
                         : logA[c] + (j - c) * std::log(rho);
    const Extended top = *std::max_element(logA.begin(), logA.end());
    std::vector<Extended> p(K + 1);
    Extended sum = 0;
    for (int j = 0; j <= K; ++j)
        sum += p[j] = std::exp(logA[j] - top);
    for (auto& x : p)
        x /= sum;
    return p;
}

// Solves x Q = 0, sum x = 1 for a dense stochastic matrix by Gaussian elimination with partial
// pivoting on (Q^T - I) with the first equation replaced by the normalisation.
std::vector<Extended> StationaryByElimination(const std::vector<std::vector<Extended>>& Q) {
    const int n = static_cast<int>(Q.size());
    std::vector<std::vector<Extended>> A(n, std::vector<Extended>(n + 1, 0));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            A[j][i] = j == 0 ? 1 : Q[i][j] - (i == j ? 1 : 0);
    A[0][n] = 1;
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int r = k + 1; r < n; ++r)
            if (std::fabs(A[r][k]) > std::fabs(A[pivot][k])) pivot = r;
        std::swap(A[k], A[pivot]);
        for (int r = k + 1; r < n; ++r) {
            const Extended f = A[r][k] / A[k][k];
            for (int col = k; col <= n; ++col)
                A[r][col] -= f * A[k][col];
        }
    }
    std::vector<Extended> x(n);
    for (int i = n - 1; i >= 0; --i) {
        Extended s = A[i][n];
        for (int j = i + 1; j < n; ++j)
            s -= A[i][j] * x[j];
        x[i] = s / A[i][i];
    }
    return x;
}

// The D/M/c/K chain at arrival epochs, built from first principles: with n = i + 1 present
// after an arrival and D = 1/(c rho) until the next, the n - c customers beyond the servers
// leave at rate c; once the queue has run empty at time x, each of the c services survives the
// remaining D - x with chance e^-(D - x). That last case is integrated by composite Simpson.
std::vector<std::vector<Extended>> DMcChain(int c, double rho, int K) {
    const Extended D = 1 / (c * static_cast<Extended>(rho));
    const auto binomial = [](int n, int k) {
        return std::exp(std::lgamma(n + 1.0L) - std::lgamma(k + 1.0L) - std::lgamma(n - k + 1.0L));
    };
    std::vector<std::vector<Extended>> Q(K + 1, std::vector<Extended>(K + 1, 0));
    for (int i = 0; i <= K; ++i) {
        const int n = std::min(i + 1, K);
        const int from = i == K ? K - 1 : i;  // a rejected arrival leaves K as K
        const int present = from + 1;
        for (int j = 0; j <= n; ++j) {
            Extended v;
            if (present <= c) {
                const Extended q = std::exp(-D);
                v = binomial(present, j) * std::pow(q, j) * std::pow(1 - q, present - j);
            } else if (j >= c) {
                const int m = present - j;
                v = std::exp(-c * D + m * std::log(c * D) - std::lgamma(m + 1.0L));
            } else {
                const int stages =
                    present - c;  // Erlang(stages) at rate c until the queue is empty
                const auto f = [&](Extended x) {
                    const Extended erlang = c * std::pow(c * x, stages - 1) * std::exp(-c * x) /
                                            std::exp(std::lgamma(static_cast<Extended>(stages)));
                    const Extended survive = std::exp(-(D - x));
                    return erlang * binomial(c, j) * std::pow(survive, j) *
                           std::pow(1 - survive, c - j);
                };
                constexpr int panels = 4000;
                const Extended h = D / panels;
                v = f(0) + f(D);
                for (int k = 1; k < panels; ++k)
                    v += (k % 2 ? 4 : 2) * f(k * h);
                v *= h / 3;
            }
            Q[i][j] = v;
        }
    }
    return Q;
}

// M/D/c by its chain at multiples of the service time (X' = max(X - c, 0) + Poisson(c rho)),
// iterated until it stands still: the time-average distribution.
std::vector<double> MDcByIteration(int c, double rho, int truncation) {
    const double a = c * rho;
    const int span = static_cast<int>(a + 20 * std::sqrt(a) + 40);
    std::vector<double> arrivals(span + 1);
    for (int k = 0; k <= span; ++k)
        arrivals[k] = std::exp(-a + k * std::log(a) - std::lgamma(k + 1.0));
    std::vector<double> p(truncation + 1, 0.0), next(truncation + 1);
    p[0] = 1;
    for (int iteration = 0; iteration < 100000; ++iteration) {
        std::fill(next.begin(), next.end(), 0.0);
        for (int j = 0; j <= truncation; ++j) {
            const int base = std::max(j - c, 0);
            for (int k = 0; k <= span && base + k <= truncation; ++k)
                next[base + k] += p[j] * arrivals[k];
        }
        const double sum = std::accumulate(next.begin(), next.end(), 0.0);
        double change = 0;
        for (int j = 0; j <= truncation; ++j) {
            next[j] /= sum;
            change = std::max(change, std::fabs(next[j] - p[j]));
        }
        p.swap(next);
        if (change < 1e-14) break;
    }
    return p;
}

// The integral over [0, tEnd] of f by composite Simpson.
template <class F>
double Simpson(F&& f, double tEnd, int panels = 20000) {
    const double h = tEnd / panels;
    double sum = f(0.0) + f(tEnd);
    for (int k = 1; k < panels; ++k)
        sum += (k % 2 ? 4 : 2) * f(k * h);
    return sum * h / 3;
}

double Sum(const std::vector<double>& p) {
    return static_cast<double>(std::accumulate(p.begin(), p.end(), 0.0L));
}

// Busy servers (time average) against the admitted arrival rate, for every type.
double BusyServersMismatch(const FinCapSolution& s) {
    long double busy = 0;
    for (int j = 1; j <= s.K(); ++j)
        busy += std::min(j, s.c) * static_cast<long double>(s.Ptime[j]);
    return static_cast<double>(std::fabs(busy - s.c * s.rho * (1 - s.P[s.K()])));
}

// The waiting tail integrates to the mean wait and, with weight 2t, to its second moment: the
// tail and the statistics are computed apart.
void ExpectTailMatchesMoments(const FinCapSolution& s, const FinCapStatistics& st) {
    const double tEnd = 60.0 * (s.NEff + 1) / s.c + 10;
    const auto tail = [&](double t) { return FinCapWaitingTail(s, t); };
    EXPECT_NEAR(Simpson(tail, tEnd), st.EWq, 1e-9);
    const double second = Simpson([&](double t) { return 2 * t * tail(t); }, tEnd);
    EXPECT_NEAR(std::sqrt(std::max(second - st.EWq * st.EWq, 0.0)), st.StdWq, 1e-7);
}

struct Case {
    int c;
    double rho;
    int N;
};

void PrintTo(const Case& k, std::ostream* os) {
    *os << "c=" << k.c << " rho=" << k.rho << " N=" << k.N;
}

// ---- M/M/c/c+N ----

class MMcN : public ::testing::TestWithParam<Case> {};

TEST_P(MMcN, ProbabilitiesStatisticsAndTailAgreeWithTheClosedForms) {
    const auto [c, rho, N] = GetParam();
    const FinCapSolution s = SolveFinCap(FinCapType::MM, c, rho, N);
    const int K = c + N;
    const auto p = BirthDeath(c, rho, K);
    for (int j = 0; j <= K; ++j)
        EXPECT_REL_NEAR_FLOOR(s.P[j], p[j], 1e-12, 1e-300) << j;
    EXPECT_LT(s.accuracy, 1e-12);
    EXPECT_LT(BusyServersMismatch(s), 1e-12);

    const FinCapStatistics st = FinCapStatisticsOf(s);
    Extended waiting = 0, queue = 0, busy = 0;
    for (int j = c; j <= K; ++j) {
        busy += p[j];
        if (j < K) waiting += p[j];
        queue += (j - c) * p[j];
    }
    EXPECT_REL_NEAR(st.Prej, p[K], 1e-12);
    EXPECT_REL_NEAR_FLOOR(st.Pwait, waiting / (1 - p[K]), 1e-12, 1e-300);
    EXPECT_REL_NEAR_FLOOR(st.Pbusy, busy, 1e-12, 1e-300);
    EXPECT_REL_NEAR_FLOOR(st.ELq, queue, 1e-11, 1e-300);
    EXPECT_REL_NEAR(st.Utilization, rho * (1 - p[K]), 1e-12);

    EXPECT_REL_NEAR(FinCapWaitingTail(s, 0), st.Pwait, 1e-12);
    ExpectTailMatchesMoments(s, st);
}

INSTANTIATE_TEST_SUITE_P(Grid, MMcN,
                         ::testing::Values(Case{1, 0.5, 5}, Case{1, 1.0, 1}, Case{1, 2.5, 8},
                                           Case{3, 0.7, 10}, Case{10, 0.9, 20}, Case{10, 1.3, 15},
                                           Case{40, 0.95, 60}, Case{4, 0.6, 0}));

TEST(MMcN, SingleServerOneWaitingPlaceAtFullLoad) {
    const FinCapSolution s = SolveFinCap(FinCapType::MM, 1, 1.0, 1);
    for (const double p : s.P)
        EXPECT_REL_NEAR(p, 1.0 / 3, 1e-15);
    const FinCapStatistics st = FinCapStatisticsOf(s);
    EXPECT_REL_NEAR(st.Prej, 1.0 / 3, 1e-15);
    EXPECT_REL_NEAR(st.Pwait, 0.5, 1e-15);
    EXPECT_REL_NEAR(st.EWq, 0.5, 1e-15);
    EXPECT_REL_NEAR(st.ELq, 1.0 / 3, 1e-15);
}

TEST(MMcN, NoWaitingRoomIsErlangsLossSystem) {
    for (const auto& [c, rho] : {std::pair{1, 0.5}, {5, 0.8}, {50, 1.2}, {2500, 0.99}}) {
        const FinCapSolution s = SolveFinCap(FinCapType::MM, c, rho, 0);
        const FinCapStatistics st = FinCapStatisticsOf(s);
        EXPECT_REL_NEAR(st.Prej, ErlangB(c, static_cast<Extended>(c) * rho), 1e-12) << c;
        EXPECT_EQ(st.Pwait, 0);
        EXPECT_EQ(st.EWq, 0);
        EXPECT_EQ(st.ELq, 0);
        EXPECT_EQ(st.StdWq, 0);
        for (const double t : {0.0, 0.5, 3.0})
            EXPECT_EQ(FinCapWaitingTail(s, t), 0);
    }
}

TEST(MMcN, LongWaitingRoomBelowSaturationIsErlangsDelaySystem) {
    for (const auto& [c, rho] : {std::pair{2, 0.8}, {20, 0.7}, {300, 0.95}}) {
        const int NEff = FinCapEffectiveN(FinCapType::MM, rho, 1000);
        const FinCapStatistics st = FinCapStatisticsOf(SolveFinCap(FinCapType::MM, c, rho, NEff));
        const Extended C = ErlangC(c, rho);
        // The cut waiting room leaves out a tail of rho^NEff: about 2e-10 at rho = 0.8.
        EXPECT_REL_NEAR(st.Pwait, C, 1e-8) << c;
        EXPECT_REL_NEAR(st.EWq, C / (c * (1 - rho)), 1e-6) << c;
    }
}

TEST(MMcN, LargestCaseStaysFiniteAndNormalised) {
    for (const double rho : {0.1000001, 1.0, 5.0}) {
        const FinCapSolution s = SolveFinCap(FinCapType::MM, 2500, rho, 1000);
        EXPECT_NEAR(Sum(s.P), 1, 1e-12);
        EXPECT_LT(s.accuracy, 1e-9);
        const FinCapStatistics st = FinCapStatisticsOf(s);
        EXPECT_TRUE(std::isfinite(st.StdLq) && std::isfinite(st.StdWq));
    }
    // At five times the capacity four fifths are turned away.
    EXPECT_NEAR(FinCapStatisticsOf(SolveFinCap(FinCapType::MM, 2500, 5.0, 1000)).Prej, 0.8, 1e-9);
}

// ---- D/M/c/c+N ----

class DMcN : public ::testing::TestWithParam<Case> {};

TEST_P(DMcN, EmbeddedChainMatchesADenseSolveOfTheChainBuiltDirectly) {
    const auto [c, rho, N] = GetParam();
    const FinCapSolution s = SolveFinCap(FinCapType::DM, c, rho, N);
    const auto Q = DMcChain(c, rho, c + N);
    for (const auto& row : Q)
        ASSERT_NEAR(static_cast<double>(std::accumulate(row.begin(), row.end(), 0.0L)), 1, 1e-10);
    const auto pi = StationaryByElimination(Q);
    for (int j = 0; j <= c + N; ++j)
        EXPECT_NEAR(s.P[j], pi[j], 1e-10) << j;
    EXPECT_NEAR(Sum(s.Ptime), 1, 1e-12);
    EXPECT_LT(s.accuracy, 1e-9);
    EXPECT_LT(BusyServersMismatch(s), 1e-10);

    ExpectTailMatchesMoments(s, FinCapStatisticsOf(s));
}

INSTANTIATE_TEST_SUITE_P(Grid, DMcN,
                         ::testing::Values(Case{1, 0.5, 0}, Case{1, 0.9, 6}, Case{1, 1.5, 10},
                                           Case{1, 0.05, 3}, Case{2, 0.8, 5}, Case{3, 0.6, 0},
                                           Case{3, 1.2, 8}, Case{6, 0.95, 12}));

// GI/M/c: beyond the servers what arrivals find falls geometrically with the root sigma of
// sigma = exp(-(1 - sigma) / rho), and the wait of those who wait is exponential at c(1 - sigma).
TEST(DMcN, LongWaitingRoomIsTheDMcQueue) {
    for (const auto& [c, rho] : {std::pair{1, 0.5}, {1, 0.9}, {4, 0.7}, {30, 0.96}}) {
        const FinCapSolution s = SolveFinCap(FinCapType::DM, c, rho, 400);
        double sigma = 0.5;
        for (int k = 0; k < 2000; ++k)
            sigma = std::exp(-(1 - sigma) / rho);
        for (int j = c; j < c + 10; ++j)
            EXPECT_REL_NEAR(s.P[j + 1] / s.P[j], sigma, 1e-9) << c << " " << j;
        const FinCapStatistics st = FinCapStatisticsOf(s);
        if (c == 1) {
            EXPECT_REL_NEAR(st.Pwait, sigma, 1e-9);
        }
        EXPECT_REL_NEAR(st.EWq, st.Pwait / (c * (1 - sigma)), 1e-7) << c;
        EXPECT_REL_NEAR(FinCapWaitingTail(s, 2.0), st.Pwait * std::exp(-2 * c * (1 - sigma)), 1e-7);
    }
}

TEST(DMcN, LargestCaseSolvesAndConserves) {
    const FinCapSolution s = SolveFinCap(FinCapType::DM, 500, 0.99, 500);
    EXPECT_NEAR(Sum(s.P), 1, 1e-10);
    EXPECT_NEAR(Sum(s.Ptime), 1, 1e-10);
    EXPECT_LT(s.accuracy, 1e-8);
    // The solve is accurate to about 1e-11 absolute: states far below c, whose probabilities
    // are astronomically small, come out as rounding noise of either sign.
    for (const double p : s.P)
        EXPECT_GE(p, -1e-10);
}

// ---- M/D/c/c+N ----

TEST(MDcN, NoWaitingRoomIsErlangsLossSystem) {
    // The loss system does not depend on the service distribution beyond its mean.
    for (const auto& [c, rho] : {std::pair{1, 0.5}, {7, 0.9}, {100, 1.1}, {500, 0.4}}) {
        const FinCapStatistics st = FinCapStatisticsOf(SolveFinCap(FinCapType::MD, c, rho, 0));
        EXPECT_REL_NEAR(st.Prej, ErlangB(c, static_cast<Extended>(c) * rho), 1e-12) << c;
        EXPECT_EQ(st.Pwait, 0);
    }
}

TEST(MDcN, SingleServerIsTheMD1Queue) {
    for (const double rho : {0.3, 0.8}) {
        const int NEff = FinCapEffectiveN(FinCapType::MD, rho, 1000);
        const FinCapSolution s = SolveFinCap(FinCapType::MD, 1, rho, NEff);
        const auto reference = MDcByIteration(1, rho, NEff + 1);
        for (int j = 0; j <= 20; ++j)
            EXPECT_NEAR(s.P[j], reference[j], 1e-9) << j;
        const FinCapStatistics st = FinCapStatisticsOf(s);
        EXPECT_REL_NEAR(st.Pwait, rho, 1e-8);
        EXPECT_REL_NEAR(st.ELq, rho * rho / (2 * (1 - rho)), 1e-7);  // Pollaczek-Khinchine
    }
}

// With a long waiting room the recursion keeps M/M/c's states below c, so the delay probability
// is Erlang's, and against M/D/c (computed here by its own chain) it is an approximation:
// over c = 2..100 and rho = 0.5..0.95 it overstates Pwait by up to 12 % and misses E(Lq) by up
// to 15 % (Pwait above 1e-3).
TEST(MDcN, LongWaitingRoomApproximatesTheMDcQueue) {
    for (const auto& [c, rho] : {std::pair{2, 0.8}, {5, 0.5}, {10, 0.95}, {20, 0.8}}) {
        const int NEff = FinCapEffectiveN(FinCapType::MD, rho, 1000);
        const FinCapSolution s = SolveFinCap(FinCapType::MD, c, rho, NEff);
        const FinCapStatistics st = FinCapStatisticsOf(s);
        EXPECT_REL_NEAR(st.Pwait, ErlangC(c, rho), 1e-8) << c;
        EXPECT_LT(s.accuracy, 1e-10);

        const auto reference = MDcByIteration(c, rho, c + 400);
        double Pwait = 0, ELq = 0;
        for (int j = c; j < static_cast<int>(reference.size()); ++j) {
            Pwait += reference[j];
            ELq += (j - c) * reference[j];
        }
        EXPECT_REL_NEAR(st.Pwait, Pwait, 0.12) << c << " " << rho;
        EXPECT_REL_NEAR(st.ELq, ELq, 0.15) << c << " " << rho;
        EXPECT_GT(st.Pwait, Pwait);  // the known direction of the error
    }
}

TEST(MDcN, WaitingTailAtWholeAndFractionalTimes) {
    const int c = 3, N = 7, K = c + N;
    const FinCapSolution s = SolveFinCap(FinCapType::MD, c, 0.9, N);
    const FinCapStatistics st = FinCapStatisticsOf(s);
    const double admitted = 1 - s.P[K];
    EXPECT_REL_NEAR(FinCapWaitingTail(s, 0), st.Pwait, 1e-15);
    // At a whole t = m only the customers behind c (m + 1) or more are still waiting.
    for (int m = 1; m <= 2; ++m) {
        double behind = 0;
        for (int j = c * (m + 1); j < K; ++j)
            behind += s.P[j];
        EXPECT_REL_NEAR(FinCapWaitingTail(s, m), behind / admitted, 1e-14) << m;
        // The tail is continuous from the right at whole times.
        EXPECT_NEAR(FinCapWaitingTail(s, m + 1e-9), FinCapWaitingTail(s, m), 1e-8);
    }
    EXPECT_EQ(FinCapWaitingTail(s, (K - 1.0) / c), 0);
    EXPECT_EQ(FinCapWaitingTail(s, 50), 0);
    double previous = 1;
    for (double t = 0; t < 3.1; t += 0.05) {
        const double tail = FinCapWaitingTail(s, t);
        EXPECT_LE(tail, previous + 1e-15) << t;
        previous = tail;
    }
    // The block formula of the second moment is the same wait as the tail.
    const double second = Simpson([&](double t) { return 2 * t * FinCapWaitingTail(s, t); }, 4);
    EXPECT_NEAR(std::sqrt(second - st.EWq * st.EWq), st.StdWq, 1e-6);
}

TEST(MDcN, LargestCaseStaysNormalised) {
    for (const double rho : {0.96, 5.0}) {
        const FinCapSolution s = SolveFinCap(FinCapType::MD, 500, rho, 1000);
        EXPECT_NEAR(Sum(s.P), 1, 1e-12);
        EXPECT_LT(s.accuracy, 1e-8);
    }
}

// ---- Graph points ----

TEST(FinCapGraphs, WaitingCurveEndsWhereTheConditionalTailReachesOnePerMille) {
    for (const FinCapType type : {FinCapType::MM, FinCapType::DM, FinCapType::MD}) {
        const FinCapSolution s = SolveFinCap(type, 4, 0.9, 40);
        const FinCapStatistics st = FinCapStatisticsOf(s);
        const auto points = FinCapWaitingGraphPoints(s, st.Pwait);
        ASSERT_GE(points.size(), 12u);
        EXPECT_LE(points.back().y, 0.001 + 1e-9);
        EXPECT_GT(points[points.size() - 2].y, 0.001);
        for (const auto& point : points)
            EXPECT_DOUBLE_EQ(point.y, FinCapWaitingTail(s, point.x) / st.Pwait);
    }
}

TEST(FinCapGraphs, StateCurveIsTheConditionalStateTail) {
    const FinCapSolution s = SolveFinCap(FinCapType::DM, 2, 0.95, 30);
    const auto points = FinCapStateGraphPoints(s);
    ASSERT_FALSE(points.empty());
    EXPECT_LE(points.back().y, 0.001);
    for (const auto& point : points) {
        double above = 0;
        for (int j = static_cast<int>(point.x) + 1; j <= s.K(); ++j)
            above += s.P[j];
        EXPECT_NEAR(point.y, above / (1 - s.P[0]), 1e-12);
    }
}

// ---- The run ----

TEST(FinCapGraphs, OneWindowWithBothCurvesAndTheModelLabels) {
    RecordingHost host;
    testing::RunRecorded(host, "fincap type=2 c=3 rho=0.9 N=10 output=4");
    ASSERT_EQ(host.windows.size(), 1u);
    const auto& window = host.windows[0];
    EXPECT_EQ(window.kind, GraphWindowKind::MG1);
    EXPECT_EQ(window.labels, (std::vector<std::string>{"Logarithmic Graphs of the D/M/c/c+N queue",
                                                       "rho = 0.9", "c = 3", "n = 10"}));
    ASSERT_EQ(window.charts.size(), 2u);
    const ChartPlot& waiting = window.charts.at(0);
    EXPECT_TRUE(waiting.drawLine);
    EXPECT_LE(waiting.points.back().y, 0.001);
    // The state tail ends at exactly 0 beyond K = 13, drawn at 1e-6.
    const ChartPlot& states = window.charts.at(1);
    EXPECT_TRUE(states.drawPoints);
    EXPECT_EQ(states.points.back().x, 13);
    EXPECT_EQ(states.points.back().y, 1e-6);
}

TEST(FinCapGraphs, NegligibleWaitingLeavesTheWindowHidden) {
    RecordingHost host;
    testing::RunRecorded(host, "fincap type=0 c=30 rho=0.2 N=10 output=3");  // golden message
    ASSERT_EQ(host.windows.size(), 1u);
    EXPECT_FALSE(host.windows[0].shown);
}

}  // namespace
}  // namespace wachtrix
