#include "core/queue/mmc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/queue/queue_statistics.h"

#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"
#include "support/reference_table.h"

namespace wachtrix {
namespace {

using testing::ErlangC;

class MmcAgainstErlangC : public ::testing::TestWithParam<std::pair<int, double>> {};

TEST_P(MmcAgainstErlangC, DelayWaitingTimeAndTailAgree) {
    const auto [c, rho] = GetParam();
    ASSERT_FALSE(MmcRhoTooSmall(c, rho));
    const MmcSolution s = SolveMMC(c, rho);
    const long double C = ErlangC(c, rho);
    EXPECT_REL_NEAR(s.Pdelay, C, 1e-11);
    EXPECT_REL_NEAR(s.EWq, C / (c * (1 - rho)), 1e-11);
    EXPECT_REL_NEAR(s.ELq, C * rho / (1 - rho), 1e-11);
    // E(Wq^2) = 2 C / (c (1 - rho))^2.
    EXPECT_REL_NEAR(s.StdWq, std::sqrt(2 * C - C * C) / (c * (1 - rho)), 1e-11);
    for (const double t : {0.0, 0.1, 1.0, 10.0}) {
        // The exponential is guarded: beyond e^-100 the tail is taken as 0.
        const double exponent = -c * (1 - rho) * t;
        const long double expected = exponent <= -100 ? 0 : C * std::exp(exponent);
        EXPECT_REL_NEAR_FLOOR(MmcWaitingTail(s, t), expected, 1e-10, 1e-300);
    }
    // M/M/1: P{L = n} = (1 - rho) rho^n.
    for (int n = 0; n <= 30 && c == 1; ++n) {
        EXPECT_REL_NEAR_FLOOR(MmcStateProbability(s, n), (1 - rho) * std::pow(rho, n), 1e-13,
                              1e-40);
        EXPECT_REL_NEAR_FLOOR(MmcStateTail(s, n), std::pow(rho, n + 1), 1e-13, 1e-40) << n;
    }
    // Both solutions of the model agree, and the busy servers average c rho.
    EXPECT_LT(MmcAccuracy(s, MmcClosedFormTerm(c, rho)), 1e-9 * c);
    EXPECT_REL_NEAR(MmcClosedFormTerm(c, rho) * rho / (1 - rho), C, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, MmcAgainstErlangC,
    ::testing::Values(std::pair{1, 0.01}, std::pair{1, 0.5}, std::pair{1, 0.999}, std::pair{2, 0.8},
                      std::pair{5, 0.5}, std::pair{10, 0.9}, std::pair{25, 0.2},
                      std::pair{50, 0.95}, std::pair{100, 0.31}, std::pair{500, 0.99},
                      std::pair{1000, 0.8}, std::pair{2500, 0.75}, std::pair{2500, 0.999}));

TEST(MmcStateProbabilities, SumToOneAndTailsAreComplements) {
    for (const auto& [c, rho] : {std::pair{3, 0.6}, std::pair{40, 0.9}, std::pair{200, 0.5}}) {
        const MmcSolution s = SolveMMC(c, rho);
        testing::ExpectDistribution(
            [&](int n) {
                return StateProbability{MmcStateProbability(s, n), MmcStateTail(s, n)};
            },
            2000, 1e-12);
    }
}

// The rows of tests/data/queue/mmc.txt.
TEST(MmcStateProbabilities, SmallOnesBelowTheServersKeepTheirDigits) {
    testing::CheckReferenceTable("queue/mmc.txt",
                                 {{"MmcStates",
                                   [](const testing::Numbers& a) {
                                       const MmcSolution s = SolveMMC(int(a[0]), a[1]);
                                       return testing::Numbers{MmcStateProbability(s, int(a[2])),
                                                               MmcStateTail(s, int(a[2]))};
                                   }}},
                                 1e-10);
}

TEST(MmcPercentile, InvertsTheTailAndIsUndefinedUpToTheNoWaitMass) {
    const MmcSolution s = SolveMMC(4, 0.7);
    testing::ExpectPercentiles([&](double p) { return MmcPercentile(s, p); },
                               [&](double t) { return MmcWaitingTail(s, t); }, 1 - s.Pdelay,
                               testing::AtNoWaitMass::Undefined, 1e-12);
}

// Given a wait, it is exponential at rate c (1 - rho); beyond c - 1 the queue is geometric:
// P{L > n | L > 0} = C rho^(n - c + 1) / (1 - p0).
TEST(MmcGraphs, AreTheConditionalTailsOfTheQueue) {
    const MmcSolution s = SolveMMC(2, 0.8);
    testing::ExpectConditionalCurve(
        MmcWaitingGraphPoints(s), [](double t) { return std::exp(-0.4 * t); }, 1e-14);
    const double C = static_cast<double>(ErlangC(2, 0.8)), busy = 1 - 1.0 / 9;
    testing::ExpectConditionalCurve(
        MmcQueueGraphPoints(s), [&](double n) { return C * std::pow(0.8, n - 1) / busy; }, 1e-12);
}

}  // namespace
}  // namespace wachtrix
