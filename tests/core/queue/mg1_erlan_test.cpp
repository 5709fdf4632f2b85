#include "core/queue/mg1_erlan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "core/queue/graph_points.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"
#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/recording_host.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::ME21;
using testing::MM1;
using testing::Simpson;

// E(S^3) of the Erlang mixture, from the moments of Erlang(m, mu): m(m+1)(m+2)/mu^3.
double ThirdMoment(const ErlangianFit& f) {
    const double k = f.k, mu3 = f.mu * f.mu * f.mu;
    return (f.p * (k - 1) * k * (k + 1) + (1 - f.p) * k * (k + 1) * (k + 2)) / mu3;
}

// As a report shows it: seven decimals from 1e-6 on, four digits down to 1e-12, 0 below. The
// six-standard-deviation Poisson window costs a few 1e-6 of relative accuracy near 1e-12.
::testing::AssertionResult PrintsAlike(double actual, double expected) {
    if (expected < 1e-12) {
        if (actual < 2e-12) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << actual << " where about 0 is expected";
    }
    return testing::RelNear(actual, expected, expected >= 1e-6 ? 1e-8 : 1e-5);
}

// The mean and CS2 the fits keep are the renewal times' (core.RenewalTime).
TEST(FitErlangian, TakesThePhasesTheCoefficientOfVariationNeeds) {
    const struct {
        double cs2;
        int k;
    } rows[] = {{1.0, 1}, {0.99, 2},  {0.5, 2},   {0.4, 3},    {1.0 / 3, 3},
                {0.3, 4}, {0.07, 15}, {0.02, 50}, {0.011, 91}, {0.01, 100}};
    for (const auto& row : rows) {
        const ErlangianFit f = FitErlangian(row.cs2);
        EXPECT_EQ(f.k, row.k) << row.cs2;
        EXPECT_GE(f.p, 0) << row.cs2;
        EXPECT_LT(f.p, 1) << row.cs2;
    }
    EXPECT_THROW(FitErlangian(0.009), std::invalid_argument);
    EXPECT_THROW(FitErlangian(1.01), std::invalid_argument);
}

// Over the whole parameter range the phase distribution with its geometric tail sums to one, and
// the mean wait it implies agrees with Pollaczek-Khinchine.
class ErlangianGrid : public ::testing::TestWithParam<std::tuple<double, double>> {};

TEST_P(ErlangianGrid, PhasesSumToOneAndGiveThePollaczekKhinchineMean) {
    const auto [cs2, rho] = GetParam();
    const ErlangianSolution s = SolveErlangian(cs2, rho);
    ASSERT_FALSE(s.rhoTooSmall);
    long double total = 0;
    for (int j = 0; j <= s.N; ++j)
        total += s.q[j];
    total += s.q[s.N] * s.tau / (1 - s.tau);
    EXPECT_NEAR(static_cast<double>(total), 1, 1e-9);
    EXPECT_LT(s.statistics.accuracy, 1e-8);
    EXPECT_REL_NEAR(s.statistics.Pwait, rho, 1e-12);
    EXPECT_REL_NEAR(s.statistics.EWq, testing::PollaczekKhinchineMean(rho, cs2), 1e-14);
    EXPECT_REL_NEAR(s.statistics.ELq, rho * s.statistics.EWq, 1e-14);  // Little
    EXPECT_REL_NEAR(WaitingTail(s, 0), rho, 1e-12);
    EXPECT_LT(std::fabs(SolveErlangianStates(s).meanCheck), 1e-8);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErlangianGrid,
    ::testing::Combine(::testing::Values(0.01, 0.015, 0.03, 0.07, 0.15, 0.3, 0.6, 0.95, 1.0),
                       ::testing::Values(2e-7, 1e-4, 0.05, 0.3, 0.5, 0.85, 0.97, 0.99)));

// Exponential service is the M/M/1 queue, Erlang-2 service the M/E2/1 queue: either side of
// t = 10 and far beyond, where a probability is still printable.
TEST(ErlangianMG1, ExponentialAndErlangTwoServicesMeetTheirClosedForms) {
    const auto expect = [](double cs2, double rho, const auto& reference) {
        const ErlangianSolution s = SolveErlangian(cs2, rho);
        for (const double t : {0.0, 1e-9, 0.1, 0.5, 3.0, 9.9, 9.99, 10.0, 40.0, 600.0, 1000.0})
            EXPECT_TRUE(PrintsAlike(WaitingTail(s, t), reference.tail(t))) << rho << " " << t;
        const StateTable table = StateProbabilities(s, testing::UpTo(200));
        for (int i = 0; i <= 200; ++i) {
            EXPECT_TRUE(PrintsAlike(table.rows[i].equal, reference.state(i))) << rho << " " << i;
            EXPECT_TRUE(PrintsAlike(table.rows[i].greater, reference.stateTail(i)))
                << rho << " " << i;
        }
        return s;
    };
    for (const double rho : {0.001, 0.05, 0.5, 0.9, 0.95, 0.99}) {
        const MM1 mm1{rho};
        const ErlangianSolution s = expect(1.0, rho, mm1);
        EXPECT_REL_NEAR(s.tau, rho, 1e-12);
        for (const double p : {0.9, 0.99, 0.9999, 0.999999}) {
            if (p <= 1 - rho) continue;
            EXPECT_REL_NEAR(WaitingPercentile(s, p), mm1.percentile(p), 1e-6) << rho << " " << p;
        }
        expect(0.5, rho, ME21(rho));
    }
}

TEST(ErlangianMG1, TailIntegratesToThePollaczekKhinchineMoments) {
    for (const auto& [cs2, rho] :
         {std::pair{0.3, 0.5}, std::pair{0.07, 0.9}, std::pair{0.01, 0.9}, std::pair{0.6, 0.05}}) {
        const ErlangianSolution s = SolveErlangian(cs2, rho);
        const double EWq = testing::PollaczekKhinchineMean(rho, cs2);
        const double EWq2 = testing::PollaczekKhinchineSecond(rho, cs2, ThirdMoment(s.fit));
        const double horizon = 60 * EWq / rho + 20;
        const auto tail = [&](double t) { return WaitingTail(s, t); };
        EXPECT_REL_NEAR(Simpson(tail, 0.0, horizon, 8000), EWq, 1e-6) << cs2 << " " << rho;
        EXPECT_REL_NEAR(Simpson([&](double t) { return 2 * t * tail(t); }, 0.0, horizon, 8000),
                        EWq2, 1e-6)
            << cs2 << " " << rho;
        EXPECT_REL_NEAR(s.statistics.StdWq, std::sqrt(EWq2 - EWq * EWq), 1e-12);
    }
}

TEST(ErlangianMG1, TailIsMonotoneAcrossTheSwitchToTheAsymptote) {
    for (const auto& [cs2, rho] : {std::pair{0.9, 0.001}, std::pair{0.5, 0.01}, std::pair{0.2, 0.3},
                                   std::pair{0.01, 0.3}, std::pair{0.01, 0.001}}) {
        const ErlangianSolution s = SolveErlangian(cs2, rho);
        double previous = WaitingTail(s, 0);
        for (double t = 0.25; t <= 40; t += 0.25) {
            const double w = WaitingTail(s, t);
            EXPECT_LE(w, previous * (1 + 1e-7)) << cs2 << " " << rho << " " << t;
            previous = w;
        }
        // Just below and at t = 10 the two methods agree wherever the value is printable.
        const double below = WaitingTail(s, 10 - 1e-9), at = WaitingTail(s, 10);
        if (below > 1e-12) {
            EXPECT_REL_NEAR(at, below, 1e-6) << cs2 << " " << rho;
        }
    }
}

// Within 1e-9 of the no-wait mass the percentile is taken as 0.
TEST(ErlangianPercentile, UndefinedBelowOneMinusRhoAndZeroAtIt) {
    const ErlangianSolution s = SolveErlangian(0.3, 0.4);
    const auto percentile = [&](double p) { return WaitingPercentile(s, p); };
    testing::ExpectPercentiles(percentile, [&](double t) { return WaitingTail(s, t); }, 0.6,
                               testing::AtNoWaitMass::Zero, 1e-5, {0.9, 0.999999});
    EXPECT_EQ(percentile(0.6 - 2e-9), -1);
    EXPECT_EQ(percentile(0.6 - 0.5e-9), 0);
    EXPECT_EQ(percentile(0.6 + 0.5e-9), 0);
}

TEST(ErlangianPercentile, InvertsTheTailByBrentOrByTheAsymptote) {
    const struct {
        double cs2, rho, p, tolerance;  // relative, on 1 - p
    } cases[] = {
        {0.01, 0.3, 0.99, 1e-5}, {0.05, 0.65, 0.98, 1e-5},      // Brent
        {0.01, 0.99, 0.5, 1e-4}, {0.01, 0.99, 0.999999, 1e-4},  // asymptote
        {0.2, 0.85, 0.8, 1e-3},  {0.01, 0.55, 0.999, 1e-3},     // asymptote, lighter load
    };
    for (const auto& k : cases) {
        const ErlangianSolution s = SolveErlangian(k.cs2, k.rho);
        const double w = WaitingPercentile(s, k.p);
        ASSERT_GT(w, 0);
        EXPECT_REL_NEAR(WaitingTail(s, w), 1 - k.p, k.tolerance) << k.cs2 << " " << k.rho;
    }
}

TEST(ErlangianStateProbabilities, SumToOneAndMeetLittlesMean) {
    for (const auto& [cs2, rho] : {std::pair{0.3, 0.7}, std::pair{0.07, 0.4},
                                   std::pair{0.015, 0.95}, std::pair{0.8, 1e-5}}) {
        const ErlangianSolution s = SolveErlangian(cs2, rho);
        const StateTable table = StateProbabilities(s, testing::UpTo(2500));
        const long double mean =
            testing::ExpectDistribution([&](int n) { return table.rows[n]; }, 2500, 1e-12);
        EXPECT_REL_NEAR(mean, s.statistics.ELq + rho, 1e-8);
        EXPECT_EQ(table.check, static_cast<double>(SolveErlangianStates(s).meanCheck));
        EXPECT_DOUBLE_EQ(table.rows[0].equal, 1 - rho);
    }
}

// The curves are the model's conditional tails (M/E2/1 and M/M/1 here); the thinning of the long
// state tail at 0.99 is the shared rule.
TEST(ErlangianGraphs, AreTheConditionalTails) {
    const ErlangianSolution s = SolveErlangian(0.5, 0.5);
    const ME21 reference(0.5);
    const auto waiting = WaitingGraph(s);
    EXPECT_DOUBLE_EQ(waiting[0].x, GraphTimeStep(WaitingPercentile(s, 1 - 0.001 * 0.5)));
    testing::ExpectConditionalCurve(
        waiting, [&](double t) { return reference.tail(t) / 0.5; }, 1e-8);
    const auto states = StateGraph(SolveErlangian(1.0, 0.99));
    EXPECT_EQ(std::fmod(states[1].x - states[0].x, 10.0), 0);
    testing::ExpectConditionalCurve(
        states, [](double n) { return std::pow(0.99, n); }, 1e-8);
}

// The golden reports only bound the accuracy line; its sum is checked here.
TEST(Mg1Report, StateRunAccuracyAddsTheStateCheckToTheWaitingTimeCheck) {
    testing::RecordingHost host;
    testing::RunRecorded(host, "mg1 service=0 cs2=0.3 rho=0.7 output=3 n=5");
    const ErlangianSolution s = SolveErlangian(0.3, 0.7);
    const double expected = std::fabs(s.statistics.accuracy) +
                            std::fabs(static_cast<double>(SolveErlangianStates(s).meanCheck));
    const auto texts = host.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], Format("Accuracy Check = %s", {FormatShortG(expected)}));
}

}  // namespace
}  // namespace wachtrix
