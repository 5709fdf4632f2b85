#include "core/queue/mmc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/queue/queue_statistics.h"

#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::ErlangC;

// M/M/1 to the last digit: Pdelay = rho, E(Wq) = rho / (1 - rho), P{L = n} = (1 - rho) rho^n.
TEST(MmcSingleServer, MatchesTheMM1ClosedForms) {
    const MmcSolution s = SolveMMC(1, 0.5);
    EXPECT_REL_NEAR(s.Pdelay, 0.5, 1e-15);
    EXPECT_REL_NEAR(s.EWq, 1.0, 1e-15);
    EXPECT_REL_NEAR(s.ELq, 0.5, 1e-15);
    EXPECT_REL_NEAR(s.StdWq, std::sqrt(3.0), 1e-15);
    EXPECT_LT(MmcAccuracy(s, MmcClosedFormTerm(1, 0.5)), 1e-15);
    for (int n = 0; n <= 30; ++n) {
        EXPECT_REL_NEAR(MmcStateProbability(s, n), 0.5 * std::pow(0.5, n), 1e-13) << n;
        EXPECT_REL_NEAR(MmcStateTail(s, n), std::pow(0.5, n + 1), 1e-13) << n;
    }
}

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
    // Both solutions of the model agree, and the busy servers average c rho.
    EXPECT_LT(MmcAccuracy(s, MmcClosedFormTerm(c, rho)), 1e-9 * c);
    EXPECT_REL_NEAR(MmcClosedFormTerm(c, rho) * rho / (1 - rho), C, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Grid, MmcAgainstErlangC,
                         ::testing::Values(std::pair{1, 0.01}, std::pair{1, 0.999},
                                           std::pair{2, 0.8}, std::pair{5, 0.5}, std::pair{10, 0.9},
                                           std::pair{25, 0.2}, std::pair{50, 0.95},
                                           std::pair{100, 0.31}, std::pair{500, 0.99},
                                           std::pair{1000, 0.8}, std::pair{2500, 0.75},
                                           std::pair{2500, 0.999}));

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

TEST(MmcStateProbabilities, SmallOnesBelowTheServersKeepTheirDigits) {
    // P{L = n} and P{L > n} for n < c from the closed form p(n) = p(0) a^n / n! in 50-digit
    // arithmetic.
    const struct {
        int c;
        double rho;
        int n;
        double equal, greater;
    } rows[] = {
        {50, 0.3, 30, 2.21136518639434e-4, 1.97313149698799e-4},
        {50, 0.3, 40, 4.14560639441738e-8, 2.34344353591377e-8},
        {50, 0.3, 48, 6.98319899554606e-12, 3.05387711175484e-12},
        {50, 0.3, 49, 2.13771397822839e-12, 9.16163133526451e-13},
        {100, 0.35, 60, 3.33888103255421e-5, 4.29686243199522e-5},
        {100, 0.35, 80, 2.95398957914739e-11, 2.21281367364233e-11},
        {100, 0.35, 95, 2.96522688794357e-17, 1.6862360354407e-17},
        {100, 0.35, 99, 4.9252226649697e-19, 2.65204297344522e-19},
        {2500, 0.75, 2000, 1.51265542684219e-4, 2.04818674848361e-3},
        {2500, 0.75, 2100, 1.98698233182597e-8, 1.59385205364285e-7},
        {2500, 0.75, 2200, 2.22992175648819e-14, 1.26108157533142e-13},
    };
    for (const auto& r : rows) {
        const MmcSolution s = SolveMMC(r.c, r.rho);
        EXPECT_REL_NEAR(MmcStateProbability(s, r.n), r.equal, 1e-10) << r.c << " " << r.n;
        EXPECT_REL_NEAR(MmcStateTail(s, r.n), r.greater, 1e-10) << r.c << " " << r.n;
    }
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
