#include "core/queue/dmg1_cox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "support/expect_near.h"
#include "support/queue_expectations.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::DM1;
using testing::ME21;
using testing::MM1;

constexpr CoxianKind kMG1Kinds[] = {CoxianKind::MG1Gamma, CoxianKind::MG1Balanced};
constexpr CoxianKind kDG1Kinds[] = {CoxianKind::DG1Gamma, CoxianKind::DG1Balanced};

// Moments of the Coxian-2 service S = X1 + B X2, X_i exponential(mu_i), B Bernoulli(b).
struct CoxianMoments {
    long double m1, m2, m3;
};
CoxianMoments Moments(const CoxianFit& f) {
    const long double a = 1 / f.mu1, c = 1 / f.mu2;
    return {a + f.b * c, 2 * a * a + f.b * (2 * a * c + 2 * c * c),
            6 * a * a * a + f.b * (6 * a * a * c + 6 * a * c * c + 6 * c * c * c)};
}

TEST(FitCoxian, BothFitsKeepTheMeanAndTheCoefficientOfVariation) {
    for (const CoxianKind kind : kMG1Kinds) {
        for (const double cs2 : {0.5, 0.51, 0.75, 0.999, 1.0, 1.001, 1.5, 2.0, 8.0, 37.0, 100.0}) {
            const CoxianFit f = FitCoxian(kind, cs2);
            const CoxianMoments m = Moments(f);
            // At 0.5 the fit is taken at 0.5 + 1e-15.
            EXPECT_REL_NEAR(m.m1, 1.0L, 1e-12) << cs2;
            EXPECT_REL_NEAR(m.m2 - 1, cs2, 1e-9) << cs2;
            // The root brackets rely on mu1 > mu2; at 0.5 it keeps them apart, off the degenerate
            // Erlang-2 the tail coefficients would divide by.
            EXPECT_GT(f.mu1, f.mu2) << cs2;
            EXPECT_GT(f.b, 0) << cs2;
            EXPECT_LE(f.b, 1) << cs2;
        }
    }
}

// The two-exponential tail must reproduce the Pollaczek-Khinchine moments, which depend on the
// service only through its first three moments: a check of the roots and the coefficients.
class CoxianMG1Moments : public ::testing::TestWithParam<std::tuple<CoxianKind, double, double>> {};

TEST_P(CoxianMG1Moments, TailMatchesPollaczekKhinchine) {
    const auto [kind, cs2, rho] = GetParam();
    const CoxianSolution s = SolveCoxian(kind, cs2, rho);
    ASSERT_FALSE(s.rhoTooSmall);
    const long double ES3 = Moments(s.fit).m3;
    const double EWq = testing::PollaczekKhinchineMean(rho, cs2);
    const double EWq2 = testing::PollaczekKhinchineSecond(rho, cs2, static_cast<double>(ES3));

    EXPECT_REL_NEAR(s.A1 / s.r1 + s.A2 / s.r2, EWq, 1e-8);
    EXPECT_REL_NEAR(2 * s.A1 / (s.r1 * s.r1) + 2 * s.A2 / (s.r2 * s.r2), EWq2, 1e-8);
    EXPECT_REL_NEAR(s.statistics.Pwait, rho, 1e-8);  // PASTA: an arrival waits when busy
    EXPECT_LT(s.statistics.accuracy, 1e-8 * rho);

    const QueueStatistics& st = s.statistics;
    EXPECT_REL_NEAR(st.EWq, EWq, 1e-12);
    EXPECT_REL_NEAR(st.ELq, rho * EWq, 1e-12);  // Little
    EXPECT_REL_NEAR(st.StdWq, std::sqrt(EWq2 - EWq * EWq), 1e-10);
    const double ELq = rho * EWq;
    EXPECT_REL_NEAR(st.StdLq, std::sqrt(rho * rho * EWq2 + ELq - ELq * ELq), 1e-10);
}

INSTANTIATE_TEST_SUITE_P(Grid, CoxianMG1Moments,
                         ::testing::Combine(::testing::ValuesIn(kMG1Kinds),
                                            ::testing::Values(0.5, 0.7, 1.0, 2.0, 10.0, 100.0),
                                            ::testing::Values(1e-6, 0.05, 0.5, 0.9, 0.99)));

TEST(CoxianMG1, ExponentialServiceIsTheMM1Queue) {
    for (const CoxianKind kind : kMG1Kinds) {
        for (const double rho : {0.01, 0.5, 0.99}) {
            const CoxianSolution s = SolveCoxian(kind, 1.0, rho);
            const MM1 mm1{rho};
            for (const double t : {0.0, 0.3, 1.0, 10.0, 150.0, 2000.0}) {
                // Beyond e^-100 the exponential is taken as 0.
                const double expected = (1 - rho) * t >= 100 ? 0 : mm1.tail(t);
                EXPECT_REL_NEAR_FLOOR(WaitingTail(s, t), expected, 1e-9, 1e-300) << t;
            }
            for (const double p : {0.995, 0.999, 0.999999})
                EXPECT_REL_NEAR(WaitingPercentile(s, p), mm1.percentile(p), 1e-7) << p;

            const std::vector<int> n = {0, 1, 2, 7, 30};
            const StateTable table = StateProbabilities(s, n);
            ASSERT_EQ(table.rows.size(), n.size());
            EXPECT_EQ(table.check, 0);
            for (std::size_t i = 0; i < n.size(); ++i) {
                // Once the cumulative sum is within 1e-16 of 1 the rest is written as 0.
                EXPECT_REL_NEAR_FLOOR(table.rows[i].equal, mm1.state(n[i]), 1e-9, 1e-16) << n[i];
                EXPECT_REL_NEAR_FLOOR(table.rows[i].greater, mm1.stateTail(n[i]), 1e-9, 1e-16)
                    << n[i];
            }
        }
    }
}

// At CS2 = 0.5 the queue is M/E2/1, down to the lightest loads. The nudge of 1e-15 in CS2 moves
// the rates by about 1e-7.
TEST(CoxianMG1, Cs2OneHalfIsTheErlang2Queue) {
    for (const CoxianKind kind : kMG1Kinds) {
        for (const double rho : {5e-11, 1e-10, 1e-9, 0.1, 0.5, 0.9}) {
            const CoxianSolution s = SolveCoxian(kind, 0.5, rho);
            const ME21 reference(rho);
            for (const double t : {0.0, 0.1, 0.2, 0.5, 1.0, 3.0, 4.0, 20.0})
                EXPECT_REL_NEAR(WaitingTail(s, t), reference.tail(t), 1e-6) << rho << " " << t;
            if (rho < 0.1) continue;
            const std::vector<int> n = {0, 1, 2, 5};
            const StateTable table = StateProbabilities(s, n);
            for (std::size_t i = 0; i < n.size(); ++i)
                EXPECT_REL_NEAR(table.rows[i].equal, reference.state(n[i]), 1e-6) << n[i];
        }
    }
}

TEST(CoxianMG1, LightestLoadsKeepTheDelayProbabilityAndTheTail) {
    // Near CS2 = 0.5 both rates lie near 2 and the two tail weights are some 3e4 times rho, of
    // opposite signs; they must still add up to rho, which is P{Wq > 0} of every M/G/1 queue.
    for (const CoxianKind kind : kMG1Kinds) {
        for (const double cs2 : {0.5, 0.5000001, 0.7, 2.0, 100.0}) {
            for (const double rho : {5e-11, 1e-10, 3e-10, 1e-9, 1e-8, 1e-6}) {
                const CoxianSolution s = SolveCoxian(kind, cs2, rho);
                ASSERT_FALSE(s.rhoTooSmall);
                EXPECT_EQ(s.statistics.Pwait, rho) << cs2 << " " << rho;
                EXPECT_REL_NEAR(s.A1 + s.A2, rho, 1e-12) << cs2 << " " << rho;
                EXPECT_REL_NEAR(WaitingTail(s, 0), rho, 1e-12) << cs2 << " " << rho;
                EXPECT_LT(s.statistics.accuracy, 1e-12 * rho) << cs2 << " " << rho;
            }
        }
    }
}

// Within 1e-10 of the no-wait mass the percentile is taken as 0.
TEST(CoxianPercentile, UndefinedBelowTheNoWaitMassAndZeroAtIt) {
    const CoxianSolution s = SolveCoxian(CoxianKind::MG1Gamma, 3.0, 0.6);
    const auto percentile = [&](double p) { return WaitingPercentile(s, p); };
    testing::ExpectPercentiles(
        percentile, [&](double t) { return WaitingTail(s, t); }, 0.4, testing::AtNoWaitMass::Zero,
        1e-4);
    EXPECT_EQ(percentile(0.4 - 2e-10), -1);
    EXPECT_EQ(percentile(0.4 + 0.5e-10), 0);
    EXPECT_EQ(percentile(0.4 - 0.5e-10), 0);
}

// Brent stops within 6e-8 |w| + 5e-10 of the root; the tail's slope turns that into 1 - p.
TEST(CoxianPercentile, InvertsTheTailEvenWhereTheUsualBracketIsTooShort) {
    // A balanced high-variance fit has a slow second phase: the tail outlasts the usual bound.
    const struct {
        CoxianKind kind;
        double cs2, rho;
    } cases[] = {{CoxianKind::MG1Balanced, 10, 0.3},  {CoxianKind::MG1Balanced, 100, 0.01},
                 {CoxianKind::DG1Balanced, 100, 0.3}, {CoxianKind::MG1Gamma, 100, 0.99},
                 {CoxianKind::MG1Gamma, 0.5, 0.001},  {CoxianKind::DG1Gamma, 2, 0.5}};
    for (const auto& k : cases) {
        const CoxianSolution s = SolveCoxian(k.kind, k.cs2, k.rho);
        for (const double p : {0.99, 0.9999, 0.999999}) {
            const double w = WaitingPercentile(s, p);
            if (p <= 1 - s.statistics.Pwait) continue;
            ASSERT_GT(w, 0) << k.cs2 << " " << k.rho << " " << p;
            EXPECT_REL_NEAR(WaitingTail(s, w), 1 - p, 1e-4) << k.cs2 << " " << k.rho << " " << p;
        }
    }
}

TEST(CoxianStateProbabilities, SumToOneWithTailsAsComplementsAndLittlesMean) {
    for (const CoxianKind kind : kMG1Kinds) {
        for (const auto& [cs2, rho] :
             {std::pair{2.0, 0.7}, std::pair{0.6, 0.3}, std::pair{20.0, 0.5}}) {
            const CoxianSolution s = SolveCoxian(kind, cs2, rho);
            const StateTable table = StateProbabilities(s, testing::UpTo(2500));
            ASSERT_LT(table.rows[2500].greater, 1e-13);  // the rest is negligible
            const long double mean =
                testing::ExpectDistribution([&](int n) { return table.rows[n]; }, 2500, 1e-12);
            EXPECT_REL_NEAR(mean, s.statistics.ELq + rho, 1e-9) << cs2 << " " << rho;
            EXPECT_DOUBLE_EQ(table.rows[0].equal, 1 - rho);
        }
    }
}

TEST(CoxianStateProbabilities, SmallTailsOfHeavyLoadsKeepTheirDigits) {
    // Tens of thousands of states before the tail falls to 1e-12: a complement of the running
    // sum would be off in the fourth printed digit there.
    for (const CoxianKind kind : kMG1Kinds) {
        for (const double rho : {0.99, 0.999}) {
            const CoxianSolution exponential = SolveCoxian(kind, 1.0, rho);
            const CoxianSolution erlang2 = SolveCoxian(kind, 0.5, rho);
            const ME21 reference(rho);
            std::vector<int> n;
            for (int i = 0; i <= 27000; i += 25)
                n.push_back(i);
            const StateTable mm1 = StateProbabilities(exponential, n);
            const StateTable me21 = StateProbabilities(erlang2, n);
            for (std::size_t i = 0; i < n.size(); ++i) {
                const long double tail = std::pow(static_cast<long double>(rho), n[i] + 1);
                if (tail < 1e-12) break;
                EXPECT_REL_NEAR(mm1.rows[i].greater, tail, 1e-7) << rho << " " << n[i];
                // The nudge of 1e-15 in CS2 moves the rates by about 1e-7.
                EXPECT_REL_NEAR(me21.rows[i].greater, reference.stateTail(n[i]), 2e-6)
                    << rho << " " << n[i];
            }
        }
    }
}

TEST(CoxianStateProbabilities, NeedPoissonArrivals) {
    const CoxianSolution s = SolveCoxian(CoxianKind::DG1Balanced, 2, 0.5);
    EXPECT_THROW(StateProbabilities(s, {1}), std::invalid_argument);
    EXPECT_THROW(StateGraph(s), std::invalid_argument);
}

TEST(CoxianDG1, ExponentialServiceIsTheDM1Queue) {
    for (const CoxianKind kind : kDG1Kinds) {
        for (const double rho : {0.05, 0.5, 0.95}) {
            const CoxianSolution s = SolveCoxian(kind, 1.0, rho);
            const DM1 dm1(rho);
            EXPECT_REL_NEAR(s.statistics.Pwait, dm1.sigma, 1e-9) << rho;
            EXPECT_REL_NEAR(s.statistics.EWq, dm1.meanWait(), 1e-8) << rho;
            EXPECT_REL_NEAR(s.statistics.ELq, rho * dm1.meanWait(), 1e-8) << rho;
            EXPECT_REL_NEAR(s.statistics.StdWq, dm1.stdWait(), 1e-8) << rho;
            EXPECT_REL_NEAR(s.statistics.StdLq, dm1.stdQueue(), 1e-8) << rho;
            EXPECT_EQ(s.statistics.accuracy, 0);
            for (const double t : {0.0, 1.0, 10.0, 100.0})
                EXPECT_REL_NEAR_FLOOR(WaitingTail(s, t), dm1.tail(t), 1e-8, 1e-300) << t;
        }
    }
}

TEST(CoxianDG1, MeanWaitAgreesWithTheIntegralOfTheTail) {
    // E(Wq) has its own formula for constant arrivals; the tail integrates to it.
    for (const CoxianKind kind : kDG1Kinds) {
        for (const auto& [cs2, rho] :
             {std::pair{0.5, 0.3}, std::pair{4.0, 0.8}, std::pair{100.0, 0.5}}) {
            const CoxianSolution s = SolveCoxian(kind, cs2, rho);
            EXPECT_REL_NEAR(s.A1 / s.r1 + s.A2 / s.r2, s.statistics.EWq, 1e-9);
            EXPECT_LT(s.statistics.Pwait, rho);  // regular arrivals wait less often
            EXPECT_TRUE(std::isfinite(s.statistics.StdLq));
        }
    }
}

// Exponential service: the conditional tails are e^(-(1 - rho) t) and rho^n; at 0.99 the state
// curve is thinned by the shared rule.
TEST(CoxianGraphs, AreTheConditionalTails) {
    const std::pair<CoxianKind, double> cases[] = {{CoxianKind::MG1Balanced, 0.5},
                                                   {CoxianKind::MG1Gamma, 0.99}};
    for (const auto& k : cases) {
        const double rho = k.second;
        const CoxianSolution s = SolveCoxian(k.first, 1.0, rho);
        testing::ExpectConditionalCurve(
            WaitingGraph(s), [&](double t) { return std::exp(-(1 - rho) * t); }, 1e-8);
        testing::ExpectConditionalCurve(
            StateGraph(s), [&](double n) { return std::pow(rho, n); }, 1e-8);
    }
}

}  // namespace
}  // namespace wachtrix
