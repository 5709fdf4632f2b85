#include "core/queue/finqueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <tuple>
#include <vector>

#include "core/text/delphi_format.h"
#include "support/expect_near.h"
#include "support/gimc_reference.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"
#include "support/reference_table.h"
#include "support/single_server_reference.h"

namespace wachtrix {
namespace {

using Extended = long double;
using testing::ErlangB;
using testing::ErlangC;
using testing::Simpson;

// ---- References computed here, independently of the unit ----

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

// The D/M/c/K chain at arrival epochs, by the uniformised death process of the GI/M/c reference
// (one that finds K is turned away).
testing::GimcReference DMcK(int c, Extended rho, int K) {
    return testing::SolveGimcReference(c, K + 1, testing::DeterministicEvents(c, 1 / (c * rho)),
                                       true);
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
    const double tEnd = 60.0 * (s.N + 1) / s.c + 10;
    const auto tail = [&](double t) { return FinCapWaitingTail(s, t); };
    EXPECT_NEAR(Simpson(tail, 0.0, tEnd, 20000), st.EWq, 1e-9);
    const double second = Simpson([&](double t) { return 2 * t * tail(t); }, 0.0, tEnd, 20000);
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

TEST_P(MMcN, ProbabilitiesLoadAndTailAgreeWithTheClosedForms) {
    const auto [c, rho, N] = GetParam();
    const FinCapSolution s = SolveFinCap(FinCapType::MM, c, rho, N);
    const int K = c + N;
    const auto p = BirthDeath(c, rho, K);
    for (int j = 0; j <= K; ++j)
        EXPECT_REL_NEAR_FLOOR(s.P[j], p[j], 1e-12, 1e-300) << j;
    EXPECT_LT(s.accuracy, 1e-12);
    EXPECT_LT(BusyServersMismatch(s), 1e-12);

    // The other statistics from this reference are the printed-figure corners' (below).
    const FinCapStatistics st = FinCapStatisticsOf(s);
    EXPECT_REL_NEAR(st.Utilization, rho * (1 - p[K]), 1e-12);

    EXPECT_REL_NEAR(FinCapWaitingTail(s, 0), st.Pwait, 1e-12);
    ExpectTailMatchesMoments(s, st);
}

INSTANTIATE_TEST_SUITE_P(Grid, MMcN,
                         ::testing::Values(Case{1, 0.5, 5}, Case{1, 1.0, 1}, Case{1, 2.5, 8},
                                           Case{3, 0.7, 10}, Case{10, 0.9, 20}, Case{10, 1.3, 15},
                                           Case{40, 0.95, 60}, Case{4, 0.6, 0}));

// The loss system does not depend on the service distribution beyond its mean.
TEST(FinCap, NoWaitingRoomIsErlangsLossSystem) {
    for (const FinCapType type : {FinCapType::MM, FinCapType::MD}) {
        for (const auto& [c, rho] : {std::pair{1, 0.5}, {7, 0.9}, {100, 1.1}, {2500, 0.99}}) {
            if (type == FinCapType::MD && c > 500) continue;
            const FinCapSolution s = SolveFinCap(type, c, rho, 0);
            const FinCapStatistics st = FinCapStatisticsOf(s);
            EXPECT_REL_NEAR(st.Prej, ErlangB(c, static_cast<Extended>(c) * rho), 1e-12) << c;
            EXPECT_EQ(st.Pwait, 0);
            EXPECT_EQ(st.EWq, 0);
            EXPECT_EQ(st.ELq, 0);
            EXPECT_EQ(st.StdWq, 0);
            EXPECT_EQ(FinCapWaitingTail(s, 0.5), 0);
        }
    }
}

TEST(MMcN, LongWaitingRoomBelowSaturationIsErlangsDelaySystem) {
    for (const auto& [c, rho] : {std::pair{2, 0.8}, {20, 0.7}, {300, 0.95}}) {
        const FinCapStatistics st = FinCapStatisticsOf(SolveFinCap(FinCapType::MM, c, rho, 1000));
        const Extended C = ErlangC(c, rho);
        // The waiting room leaves out a tail of rho^1000: nothing at these loads.
        EXPECT_REL_NEAR(st.Pwait, C, 1e-12) << c;
        EXPECT_REL_NEAR(st.EWq, C / (c * (1 - rho)), 1e-12) << c;
    }
}

// The largest systems of each type, from light loads to five times the capacity, at which four
// fifths are turned away. (The D/M/c solve is accurate to about 1e-11 absolute: states far below
// c come out as rounding noise of either sign.)
TEST(FinCap, LargestCasesStayNormalised) {
    const struct {
        FinCapType type;
        int c;
        double rho;
        int N;
        double accuracy;
    } cases[] = {
        {FinCapType::MM, 2500, 0.1000001, 1000, 1e-9}, {FinCapType::MM, 2500, 1, 1000, 1e-9},
        {FinCapType::MM, 2500, 5, 1000, 1e-9},         {FinCapType::DM, 500, 0.99, 500, 1e-8},
        {FinCapType::MD, 500, 0.96, 1000, 1e-8},       {FinCapType::MD, 500, 5, 1000, 1e-8}};
    for (const auto& k : cases) {
        const FinCapSolution s = SolveFinCap(k.type, k.c, k.rho, k.N);
        EXPECT_NEAR(Sum(s.P), 1, k.type == FinCapType::DM ? 1e-10 : 1e-12) << k.c << " " << k.rho;
        EXPECT_NEAR(Sum(s.Ptime), 1, 1e-10) << k.c << " " << k.rho;
        EXPECT_LT(s.accuracy, k.accuracy) << k.c << " " << k.rho;
        for (const double p : s.P)
            EXPECT_GE(p, -1e-10);
        const FinCapStatistics st = FinCapStatisticsOf(s);
        EXPECT_TRUE(std::isfinite(st.StdLq) && std::isfinite(st.StdWq));
        if (k.rho == 5) {
            EXPECT_NEAR(st.Prej, 0.8, 1e-9);
        }
    }
}

// ---- D/M/c/c+N ----

class DMcN : public ::testing::TestWithParam<Case> {};

TEST_P(DMcN, EmbeddedAndTimeAverageChainsMatchTheReference) {
    const auto [c, rho, N] = GetParam();
    const FinCapSolution s = SolveFinCap(FinCapType::DM, c, rho, N);
    const testing::GimcReference r = DMcK(c, rho, c + N);
    for (int j = 0; j <= c + N; ++j) {
        EXPECT_NEAR(s.P[j], r.embedded[j], 1e-10) << j;
        EXPECT_NEAR(s.Ptime[j], r.timeAverage[j], 1e-10) << j;
    }
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
        const double sigma = static_cast<double>(testing::DM1Sigma(rho));
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

// ---- M/D/c/c+N ----

TEST(MDcN, SingleServerIsTheMD1Queue) {
    for (const auto& [rho, N] : {std::pair{0.3, 20}, {0.8, 50}}) {
        const FinCapSolution s = SolveFinCap(FinCapType::MD, 1, rho, N);
        const auto reference = testing::MDcIteratedChain(1, rho, N + 200);
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
    for (const auto& [c, rho, N] :
         {std::tuple{2, 0.8, 50}, {5, 0.5, 20}, {10, 0.95, 200}, {20, 0.8, 50}}) {
        const FinCapSolution s = SolveFinCap(FinCapType::MD, c, rho, N);
        const FinCapStatistics st = FinCapStatisticsOf(s);
        EXPECT_REL_NEAR(st.Pwait, ErlangC(c, rho), 1e-8) << c;
        EXPECT_LT(s.accuracy, 1e-10);

        const auto reference = testing::MDcIteratedChain(c, rho, c + 401);
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

// The approximating chain's full state: the rejection probability against the rows of
// tests/data/queue/finqueue.txt, and a small accuracy check.
TEST(MDcN, FullStateAgreesWithTheBusyServersBalance) {
    testing::CheckReferenceTable("queue/finqueue.txt",
                                 {{"MDcNRejection",
                                   [](const testing::Numbers& a) {
                                       const FinCapSolution s =
                                           SolveFinCap(FinCapType::MD, int(a[0]), a[1], int(a[2]));
                                       EXPECT_LT(s.accuracy, 1e-15 * a[0]);
                                       return testing::Numbers{s.P.back()};
                                   }}},
                                 1e-9);
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
    const double second =
        Simpson([&](double t) { return 2 * t * FinCapWaitingTail(s, t); }, 0.0, 4.0, 20000);
    EXPECT_NEAR(std::sqrt(second - st.EWq * st.EWq), st.StdWq, 1e-6);
}

// ---- Graph points ----

TEST(FinCapGraphs, WaitingCurveIsTheConditionalTail) {
    for (const FinCapType type : {FinCapType::MM, FinCapType::DM, FinCapType::MD}) {
        const FinCapSolution s = SolveFinCap(type, 4, 0.9, 40);
        const double Pwait = FinCapStatisticsOf(s).Pwait;
        testing::ExpectConditionalCurve(
            FinCapWaitingGraphPoints(s, Pwait),
            [&](double t) { return FinCapWaitingTail(s, t) / Pwait; }, 1e-15);
    }
}

// ---- every printed figure to its last digit ----

// Light loads, long waiting rooms (N = 1000 with nothing cut), overloads and far states, of
// each type: M/M by its closed form in logarithms, D/M by its chain at arrivals iterated to its
// fixed point, M/D/1 by the supplementary variable (single_server_reference.h).
TEST(FinCapPrintedFigures, RightToTheLastDigitAtEveryCorner) {
    const struct {
        int type, c;
        double rho;
        int N, n;  // a state for the table, -1: none
        double t;  // a t-value, -1: none
    } cases[] = {
        {0, 1, 0.8, 1000, 102, 3.5}, {0, 3, 1.1e-7, 5, 4, -1},   {0, 30, 0.2, 10, 31, 0.01},
        {0, 2, 5, 50, 40, 20},       {2, 15, 1.4, 10, 20, 0.3},  {2, 1, 1.352, 40, 2, 5.5},
        {2, 3, 0.05, 6, 4, 0.1},     {2, 120, 0.31, 5, 121, -1}, {2, 1, 5, 10, 0, 1},
        {2, 4, 3, 20, 1, 2},         {1, 1, 5, 10, 3, 8.5},      {1, 1, 0.5, 5, 4, 0.5},
        {1, 1, 0.001, 3, 2, 0.25},   {1, 1, 1, 20, 15, 3.3},
    };
    for (const auto& k : cases) {
        const int K = k.c + k.N;
        std::string call = "fincap type=" + std::to_string(k.type) + " c=" + std::to_string(k.c) +
                           " rho=" + Format("%.6g", {k.rho}) + " N=" + std::to_string(k.N);
        SCOPED_TRACE(call);
        std::vector<Extended> time, found;  // found: what arrivals find, the turned away included
        testing::WaitFigures w;
        if (k.type == 0) {
            time = BirthDeath(k.c, k.rho, K);
            found = time;
        } else if (k.type == 2) {
            const testing::GimcReference r = DMcK(k.c, k.rho, K);
            found = r.embedded;
            time = r.timeAverage;
        } else {
            std::vector<Extended> rate(K + 1, static_cast<Extended>(k.rho));
            rate[K] = 0;
            const testing::SingleServerReference r = testing::SolveSingleServer(rate);
            time = r.time;
            found = time;
            const testing::SingleServerWait wait = testing::WaitOf(r);
            for (int j = 1; j < K; ++j)
                w.Pwait += time[j] / (1 - time[K]);
            w.EWq = wait.mean;
            w.StdWq = std::sqrt(wait.variance);
            if (k.t >= 0) testing::ExpectTailRow(call, k.t, testing::WaitTailOf(r, k.t));
        }
        if (k.type != 1) {
            // The admitted arrivals wait at c exponential servers.
            std::vector<Extended> admitted(found.begin(), found.begin() + K);
            const Extended total = std::accumulate(admitted.begin(), admitted.end(), 0.0L);
            for (Extended& a : admitted)
                a /= total;
            w = testing::ErlangWaitOf(admitted, k.c);
        }
        const testing::QueueFigures q = testing::QueueOf(time, k.c);
        const std::vector<std::string> lines = testing::ReportOf(call);
        EXPECT_PRINTED(lines, "Prej", found[K]);
        EXPECT_PRINTED(lines, "Pbusy", q.Pbusy);
        testing::ExpectPrintedStatistics(lines, w, q);
        if (k.n < 0) continue;
        // D/M: over time (2) and what arrivals find (3); the others: their one table (2).
        for (const int output : k.type == 2 ? std::vector<int>{2, 3} : std::vector<int>{2})
            testing::ExpectStateRow(testing::ReportOf(call + " output=" + std::to_string(output) +
                                                      " n=" + std::to_string(k.n)),
                                    k.n, output == 3 ? found : time);
    }
}

}  // namespace
}  // namespace wachtrix
