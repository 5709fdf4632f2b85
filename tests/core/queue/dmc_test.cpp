#include "core/queue/dmc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/queue/dmc_beta.h"
#include "core/text/delphi_format.h"
#include "support/expect_near.h"
#include "support/gimc_reference.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::DeterministicEvents;
using testing::DM1Sigma;
using testing::GimcReference;
using testing::SolveGimcReference;

// Enough states that the truncated tail is below 1e-25 of the chain.
GimcReference Reference(int c, double rho) {
    const long double beta = DM1Sigma(rho);
    const int tail = static_cast<int>(std::log(1e-25L) / std::log(beta)) + 10;
    return SolveGimcReference(c, c + tail, DeterministicEvents(c, 1.0L / (c * rho)));
}

TEST(DmcRoot, SolvesTheRootEquationBelowRho) {
    for (const double rho : {0.05, 0.2, 0.5, 0.9, 0.99, 0.999}) {
        const double beta = DmcRoot(rho);
        EXPECT_GT(beta, 0.0) << rho;
        EXPECT_LT(beta, rho) << rho;
        // The bisection stops within 1e-14; near rho = 1 the root is flat, 1 - beta ~ 2(1 - rho).
        EXPECT_NEAR(beta, static_cast<double>(DM1Sigma(rho)), 2e-14) << rho;
    }
    // At the lightest loads beta is near e^(-1/rho): 1.9e-22 at 0.02, far below any absolute
    // step of a bisection in x; it keeps its relative digits.
    for (const double rho : {0.0185, 0.02, 0.03, 0.05})
        EXPECT_REL_NEAR(DmcRoot(rho), DM1Sigma(rho), 1e-14) << rho;
}

struct ChainCase {
    int c;
    double rho;
};

struct ReferenceCase {
    int c;
    double rho;
    int n = -1;  // a state whose table rows are held against the printed ones, -1: none
};

class DmcAgainstUniformisedChain : public ::testing::TestWithParam<ReferenceCase> {};

// The embedded and time-average distributions against the uniformised death process solved by
// elimination: no root, no integral, no Hessenberg system in common with the model. Every printed
// figure right to its last digit too, from the reference's distributions: behind n >= c an
// arrival waits Erlang(n - c + 1) at rate c.
TEST_P(DmcAgainstUniformisedChain, StatesStatisticsAndPrintedFiguresAgree) {
    const auto [c, rho, state] = GetParam();
    ASSERT_FALSE(DmcRhoTooSmall(c, rho));
    const DmcSolution s = SolveDMC(c, rho);
    const GimcReference r = Reference(c, rho);
    EXPECT_REL_NEAR(s.Pwait, r.Pwait, 1e-9);
    // Tails summed from above: the small ones keep their digits.
    std::vector<long double> found(r.embedded.size() + 1, 0.0L), time(r.timeAverage.size(), 0.0L);
    for (std::size_t n = r.embedded.size(); n-- > 0;) {
        found[n] = found[n + 1] + r.embedded[n];
        time[n] = time[n + 1] + r.timeAverage[n];
    }
    long double queue = 0;
    for (int n = 0; n < static_cast<int>(r.embedded.size()); ++n) {
        queue += (n > c ? n - c : 0) * r.timeAverage[n];
        if (n > c + 60) continue;
        // Below c the tables are differences of cumulative doubles: 1e-16 absolute at best.
        const StateProbability a = DmcCustomerAverageState(s, n), t = DmcTimeAverageState(s, n);
        EXPECT_REL_NEAR_FLOOR(a.equal, r.embedded[n], 1e-9, 1e-15) << "c=" << c << " n=" << n;
        EXPECT_REL_NEAR_FLOOR(a.greater, found[n + 1], 1e-9, 1e-15) << "c=" << c << " n=" << n;
        EXPECT_REL_NEAR_FLOOR(t.equal, r.timeAverage[n], 1e-9, 1e-15) << "c=" << c << " n=" << n;
        EXPECT_REL_NEAR_FLOOR(t.greater, time[n + 1], 1e-9, 1e-15) << "c=" << c << " n=" << n;
    }
    const long double busyOverTime = time[c];
    EXPECT_REL_NEAR(s.Pbusy, busyOverTime, 1e-9);
    EXPECT_REL_NEAR(s.ELq, queue, 1e-9);
    EXPECT_LT(s.balanceResidual, 1e-9);

    const std::string call = "dmc c=" + std::to_string(c) + " rho=" + Format("%.6g", {rho});
    SCOPED_TRACE(call);
    const std::vector<std::string> lines = testing::ReportOf(call);
    testing::ExpectPrintedStatistics(lines, testing::ErlangWaitOf(r.embedded, c),
                                     testing::QueueOf(r.timeAverage, c));
    if (state < 0) return;
    for (const auto& [output, states] : {std::pair{3, &r.timeAverage}, std::pair{4, &r.embedded}})
        testing::ExpectStateRow(testing::ReportOf(call + " output=" + std::to_string(output) +
                                                  " n=" + std::to_string(state)),
                                state, *states);
}

// Besides the grid, one server (D/M/1), the lightest loads (beta near e^(-1/rho), 1.9e-22 at one
// server and 0.02), long queues and the far states.
INSTANTIATE_TEST_SUITE_P(
    Grid, DmcAgainstUniformisedChain,
    ::testing::Values(ReferenceCase{1, 0.3}, ReferenceCase{1, 0.5}, ReferenceCase{1, 0.9},
                      ReferenceCase{2, 0.05}, ReferenceCase{2, 0.5}, ReferenceCase{2, 0.95},
                      ReferenceCase{3, 0.8}, ReferenceCase{5, 0.2}, ReferenceCase{5, 0.9},
                      ReferenceCase{10, 0.7}, ReferenceCase{20, 0.95}, ReferenceCase{50, 0.3},
                      ReferenceCase{50, 0.6}, ReferenceCase{100, 0.9}, ReferenceCase{130, 0.99},
                      ReferenceCase{200, 0.61}, ReferenceCase{500, 0.95}, ReferenceCase{1, 0.02},
                      ReferenceCase{1, 0.025, 2}, ReferenceCase{2, 0.03, 3},
                      ReferenceCase{10, 0.06, 12}, ReferenceCase{5, 0.95, 60},
                      ReferenceCase{1, 0.99, 300}, ReferenceCase{50, 0.3, 52}));

class DmcIdentities : public ::testing::TestWithParam<ChainCase> {};

TEST_P(DmcIdentities, BetweenTheTablesAndTheStatistics) {
    const auto [c, rho] = GetParam();
    const DmcSolution s = SolveDMC(c, rho);
    // Both tables sum to one with tails that are the complements; the queue's moments from the
    // time-average table agree with the statistics (Little: E(Lq) = c rho E(Wq)), and the busy
    // servers average c rho.
    long double time = 0, customer = 0, lq = 0, lq2 = 0, busy = 0;
    for (int n = 0; n < 100000; ++n) {
        const StateProbability t = DmcTimeAverageState(s, n), a = DmcCustomerAverageState(s, n);
        time += t.equal;
        customer += a.equal;
        lq += (n > c ? n - c : 0) * static_cast<long double>(t.equal);
        lq2 += (n > c ? (n - c) * (n - c) : 0) * static_cast<long double>(t.equal);
        busy += std::min(n, c) * static_cast<long double>(t.equal);
        EXPECT_NEAR(t.greater, 1 - time, 1e-12) << n;
        EXPECT_NEAR(a.greater, 1 - customer, 1e-12) << n;
        if (n > c && t.greater < 1e-20 * s.Pbusy) break;
    }
    EXPECT_NEAR(static_cast<double>(time), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(customer), 1.0, 1e-12);
    EXPECT_REL_NEAR(s.ELq, lq, 1e-10);
    EXPECT_REL_NEAR(s.StdLq, std::sqrt(lq2 - lq * lq), 1e-9);
    EXPECT_REL_NEAR(busy, c * rho, 1e-10);
    EXPECT_NEAR(DmcBusyServerDeviation(s), 0.0, 1e-10 * c);
}

INSTANTIATE_TEST_SUITE_P(Grid, DmcIdentities,
                         ::testing::Values(ChainCase{1, 0.4}, ChainCase{2, 0.8}, ChainCase{7, 0.5},
                                           ChainCase{40, 0.9}, ChainCase{250, 0.7},
                                           ChainCase{500, 0.999}, ChainCase{50, 0.3},
                                           ChainCase{130, 0.5}));

TEST(DmcKernel, ServiceIntegralsMatchAFineQuadratureWhereTheyCount) {
    for (const ChainCase k :
         {ChainCase{2, 0.05}, ChainCase{10, 0.2}, ChainCase{60, 0.9}, ChainCase{300, 0.999}}) {
        const double beta = DmcRoot(k.rho);
        const DmcKernel kernel(k.c, k.rho, beta);
        const long double D = 1.0L / (k.c * k.rho), cb = k.c * static_cast<long double>(beta);
        const int K = static_cast<int>(cb);
        for (int j = 0; j <= k.c; ++j) {
            // Below 40 and from trunc(c beta) up: the recursion's start and its longest run.
            if (j > 40 && j < K) continue;
            // Composite Simpson in extended precision on 4000 panels.
            const long double expected = testing::Simpson(
                [&](long double t) {
                    return std::exp(cb * t) * std::pow(std::exp(-t) - std::exp(-D), j);
                },
                0.0L, D, 8000);
            const long double I = kernel.serviceIntegrals()[j];
            // Where the integral's weight in the tail contribution is negligible, the 24-point
            // rule need not resolve its sharp peak.
            const long double weight =
                cb * std::exp(std::lgamma(k.c + 1.0L) - std::lgamma(k.c - j + 1.0L) -
                              std::lgamma(j + 1.0L) - (k.c - j) * D);
            EXPECT_REL_NEAR_FLOOR(I, expected, 1e-10, 1e-13 / weight) << "c=" << k.c << " j=" << j;
        }
    }
}

TEST(DmcPercentile, ZeroAtTheNoWaitMassUndefinedBelowAndInvertsTheTail) {
    const DmcSolution s = SolveDMC(4, 0.7);
    testing::ExpectPercentiles([&](double p) { return DmcPercentile(s, p); },
                               [&](double t) { return DmcWaitingTail(s, t); }, 1 - s.Pwait,
                               testing::AtNoWaitMass::Zero, 1e-12);
    EXPECT_EQ(DmcPercentile(s, 1 - s.Pwait + 5e-11), 0.0);  // within 1e-10 of the mass: 0
    EXPECT_LT(DmcPercentile(s, 1 - s.Pwait - 1e-9), 0.0);
}

// The waiting curve is the exponential at c (1 - beta); the state curves are the tables'
// conditional tails at a regular step, loaded (about 50 points to where the geometric tail
// reaches 0.001) and light (ending long before c - 1 = 399).
TEST(DmcGraphs, AreTheConditionalTails) {
    const long double beta = DM1Sigma(0.8);
    testing::ExpectConditionalCurve(
        DmcWaitingGraphPoints(SolveDMC(3, 0.8)),
        [&](double t) { return std::exp(-3 * (1 - beta) * t); }, 1e-12);
    for (const auto& [c, rho] : {ChainCase{10, 0.95}, ChainCase{400, 0.61}}) {
        const DmcSolution s = SolveDMC(c, rho);
        for (const auto table : {DmcTimeAverageState, DmcCustomerAverageState}) {
            const auto points = table == DmcTimeAverageState ? DmcTimeAverageGraphPoints(s)
                                                             : DmcCustomerAverageGraphPoints(s);
            const double busy = table(s, 0).greater;
            testing::ExpectConditionalCurve(
                points, [&](double n) { return table(s, static_cast<int>(n)).greater / busy; },
                1e-14);
            for (std::size_t i = 0; i < points.size(); ++i)
                EXPECT_EQ(points[i].x, points[0].x * (i + 1));
            EXPECT_LE(points.size(), c == 10 ? 52u : 60u);
            EXPECT_TRUE(c == 10 ? points.size() > 25 && points.back().x > 10
                                : points.back().x < 399);
        }
    }
}

}  // namespace
}  // namespace wachtrix
