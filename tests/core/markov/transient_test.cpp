#include "core/markov/transient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "core/markov/chain_builders.h"
#include "core/markov/poisson_weights.h"
#include "core/markov/settling.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::Dense;
using testing::OneBased;
using testing::RandomRates;
using testing::RandomStochastic;
using testing::RecordingProgress;

TransientRun Discrete(const Matrix& p, int initial, const std::vector<double>& times) {
    NoProgress none;
    auto run =
        RunDiscreteTransient(SparseMatrix(p, static_cast<int>(p.size()) - 1), initial, times, none);
    EXPECT_TRUE(run.has_value());
    return run.value_or(TransientRun{});
}

TransientRun Continuous(const Matrix& q, int initial, const std::vector<double>& times) {
    NoProgress none;
    auto run =
        RunContinuousTransient(Uniformise(q, static_cast<int>(q.size()) - 1), initial, times, none);
    EXPECT_TRUE(run.has_value());
    return run.value_or(TransientRun{});
}

TEST(DiscreteTransient, AbsorbingInitialStateStaysPutForEveryPeriod) {
    const Matrix p = OneBased({{0.5, 0.5, 0}, {0, 1, 0}, {0.2, 0.3, 0.5}});
    const TransientRun run = Discrete(p, 2, {1, 7, 5000});
    for (std::size_t k = 0; k < run.times.size(); ++k) {
        EXPECT_EQ(run.probabilities[k][2], 1);
        EXPECT_EQ(run.probabilities[k][1], 0);
        EXPECT_EQ(run.sojourn[k][2], run.times[k]);
    }
}

// tau = 1 - the least overlap of two rows; the cheap bound never falls below it.
TEST(Settling, CoefficientOfErgodicity) {
    EXPECT_EQ(ErgodicCoefficient(SparseMatrix(OneBased({{0.5, 0.5}, {0.5, 0.5}}), 2)), 0);
    EXPECT_EQ(ErgodicCoefficient(SparseMatrix(OneBased({{0, 1}, {1, 0}}), 2)), 1);
    std::mt19937 rng(43);
    for (const double density : {0.2, 1.0}) {
        const int n = 12;
        const Matrix p = RandomStochastic(rng, n, density);
        double largest = 0;
        for (int i = 1; i <= n; ++i) {
            for (int k = 1; k <= n; ++k) {
                double distance = 0;
                for (int j = 1; j <= n; ++j)
                    distance += std::fabs(p[i][j] - p[k][j]);
                largest = std::max(largest, distance / 2);
            }
        }
        const SparseMatrix sparse(p, n);
        EXPECT_NEAR(ErgodicCoefficient(sparse), largest, 1e-15) << density;
        EXPECT_GE(DoeblinCoefficient(sparse), ErgodicCoefficient(sparse) - 1e-15);
    }
}

// Two states, q(1,2) = lambda, q(2,1) = mu, s = lambda + mu:
//   P_12(t) = lambda/s (1 - e^{-s t}),  time in 2 by t = lambda t/s - lambda/s^2 (1 - e^{-s t}).
// The stiff rows (nu t up to 5e8 and 5e12) settle or square instead of stepping through the
// series, and must meet the closed forms as well.
TEST(ContinuousTransient, TwoStatesFollowTheirClosedForms) {
    const struct {
        double lambda, mu, absolute, relative;
    } rows[] = {{1, 3, 1e-10, 1e-9}, {0.02, 0.05, 1e-10, 1e-9}, {5, 0.5, 1e-10, 1e-9},
                {2, 0, 1e-10, 1e-9}, {1e5, 1, 1e-13, 1e-11},    {1e9, 3, 1e-13, 1e-11}};
    for (const auto& r : rows) {
        const std::vector<double> times{1, 2.5, 2.5, 40, 5000};
        const TransientRun run = Continuous(OneBased({{0, r.lambda}, {r.mu, 0}}), 1, times);
        const double s = r.lambda + r.mu;
        for (std::size_t k = 0; k < times.size(); ++k) {
            const double t = times[k], settled = -std::expm1(-s * t);
            const double p12 = r.lambda / s * settled;
            const double time2 = r.lambda * t / s - r.lambda / (s * s) * settled;
            EXPECT_NEAR(run.probabilities[k][2], p12, r.absolute) << r.lambda << " " << t;
            EXPECT_NEAR(run.probabilities[k][1], 1 - p12, r.absolute) << r.lambda << " " << t;
            EXPECT_REL_NEAR(run.sojourn[k][2], time2, r.relative);
            EXPECT_REL_NEAR(run.sojourn[k][1] + run.sojourn[k][2], t, 1e-12);
        }
    }
}

// Against row `initial` of e^{Q t} and its integral, by scaling and squaring in extended
// precision: a random chain, and a stiff one of two blocks at nu t = 5e4, squared from the
// series of an eighth of a jump.
TEST(ContinuousTransient, AgreesWithTheMatrixExponential) {
    std::mt19937 rng(5);
    const Matrix random = RandomRates(rng, 12, 0.3, 1.7);
    std::mt19937 blocks(31);
    const Matrix stiff = testing::TwoBlocks(blocks, 10, 2, 1e-3, ChainKind::Continuous);
    ASSERT_GT(Uniformise(stiff, 10).nu * 5000, 1e4);
    for (const auto& [q, times] : {std::pair{&random, std::vector<double>{1, 3.75, 20}},
                                   std::pair{&stiff, std::vector<double>{5000}}}) {
        const TransientRun run = Continuous(*q, 3, times);
        for (std::size_t k = 0; k < times.size(); ++k) {
            const testing::ExponentialRow e = testing::MatrixExponentialRow(*q, 3, times[k]);
            for (std::size_t j = 1; j < q->size(); ++j) {
                EXPECT_NEAR(run.probabilities[k][j], e.probabilities[j], 1e-11) << times[k] << j;
                EXPECT_REL_NEAR(run.sojourn[k][j], e.sojourn[j], 1e-10);
            }
        }
    }
}

// The time points of one run share the steps of the chain; each must come out exactly as in a
// run of its own.
TEST(ContinuousTransient, EachTimePointAsIfRunAlone) {
    std::mt19937 rng(17);
    const Matrix q = RandomRates(rng, 20, 0.2, 3);
    const std::vector<double> times{1, 2.5, 2.5, 40, 777.25};
    const TransientRun together = Continuous(q, 2, times);
    for (std::size_t k = 0; k < times.size(); ++k) {
        const TransientRun alone = Continuous(q, 2, {times[k]});
        EXPECT_EQ(together.probabilities[k], alone.probabilities[0]) << times[k];
        EXPECT_EQ(together.sojourn[k], alone.sojourn[0]) << times[k];
    }
}

TEST(ContinuousTransient, ChainWithoutRatesStaysInItsState) {
    const TransientRun run = Continuous(OneBased({{0, 0}, {0, 0}}), 2, {1, 5000});
    EXPECT_NEAR(run.probabilities[1][2], 1, 1e-15);
    EXPECT_REL_NEAR(run.sojourn[1][2], 5000, 1e-12);
}

// Rates near 1e19 beside rates near 1: nu t near 1e23 takes some 75 squarings, each of which
// doubles the rounding of the row sums unless the levels are held to them; the run must reach
// the stationary distribution (by the matrix-tree theorem: all terms positive) and stay there.
TEST(ContinuousTransient, SeventyFiveSquaringsKeepTheRowSums) {
    const double q12 = 9.2e18, q13 = 1, q21 = 3.3e19, q23 = 71, q31 = 0, q32 = 40;
    const std::vector<double> times{6, 256, 5000};
    const TransientRun run =
        Continuous(OneBased({{0, q12, q13}, {q21, 0, q23}, {q31, q32, 0}}), 1, times);
    const double tree[] = {0, q21 * q31 + q23 * q31 + q32 * q21, q12 * q32 + q13 * q32 + q31 * q12,
                           q13 * q23 + q12 * q23 + q21 * q13};
    const double total = tree[1] + tree[2] + tree[3];
    for (std::size_t k = 0; k < times.size(); ++k) {
        for (int j = 1; j <= 3; ++j)
            EXPECT_REL_NEAR(run.probabilities[k][j], tree[j] / total, 1e-9) << times[k];
        EXPECT_REL_NEAR(run.sojourn[k][1] + run.sojourn[k][2] + run.sojourn[k][3], times[k], 1e-12);
    }
}

// A state 1e20 times faster than the others: the uniformised chain's self-transitions of the
// slow states would round to 1, so the run squares the exponential of the generator instead.
// From 1 the chain passes at once to 2, then alternates between 2 and 3 at rates 1 and 2.
TEST(ContinuousTransient, RatesFarApartKeepTheSlowStates) {
    const Matrix q = OneBased({{0, 1e20, 0}, {0, 0, 1}, {0, 2, 0}});
    const std::vector<double> times{1, 2.5, 5000};
    const TransientRun run = Continuous(q, 1, times);
    for (std::size_t k = 0; k < times.size(); ++k) {
        const double t = times[k];
        const double p3 = -std::expm1(-3 * t) / 3;
        const double time3 = t / 3 + std::expm1(-3 * t) / 9;
        EXPECT_NEAR(run.probabilities[k][3], p3, 1e-13) << t;
        EXPECT_NEAR(run.probabilities[k][2], 1 - p3, 1e-13) << t;
        EXPECT_REL_NEAR(run.sojourn[k][3], time3, 1e-11);
        EXPECT_REL_NEAR(run.sojourn[k][2], t - time3, 1e-11);
    }
}

// Row `initial` of P^t, and of P + P^2 + ... + P^t, by the plain steps in extended precision,
// against the run period by period: random chains, sparse and dense; two dense blocks that
// hardly exchange (the distribution does not settle, so that long runs take the powers of the
// matrix by squaring); and a chain that settles within a few dozen periods (the later periods
// are the settled distribution, and the sojourn times grow by it).
TEST(DiscreteTransient, ProbabilitiesArePowersAndSojournsTheirRunningSum) {
    std::mt19937 sparse(11), blocks(23), dense(29);
    const Matrix settles = RandomStochastic(dense, 20, 1.0);
    const struct {
        Matrix p;
        std::vector<double> times;
        double tolerance;
    } chains[] = {{RandomStochastic(sparse, 30, 0.1), {1, 2, 2, 17, 60}, 1e-14},
                  {RandomStochastic(sparse, 30, 1.0), {1, 2, 2, 17, 60}, 1e-14},
                  {testing::TwoBlocks(blocks, 20, 1, 1e-4, ChainKind::Discrete),
                   {2, 7, 300, 4600, 5000},
                   1e-12},
                  {settles, {2, 7, 300, 4600, 5000}, 1e-14}};
    for (const auto& c : chains) {
        const int n = static_cast<int>(c.p.size()) - 1;
        RecordingProgress progress;
        const auto run = RunDiscreteTransient(SparseMatrix(c.p, n), 4, c.times, progress);
        ASSERT_TRUE(run);
        ASSERT_EQ(run->times, c.times);
        if (&c == &chains[3]) {
            EXPECT_LT(progress.eventRounds, 300);  // it stopped stepping
        }
        std::vector<long double> state(n + 1, 0.0L), next(n + 1), sum(n + 1, 0.0L);
        state[4] = 1;
        std::size_t k = 0;
        for (int t = 1; k < c.times.size(); ++t) {
            std::fill(next.begin(), next.end(), 0.0L);
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    next[j] += state[i] * c.p[i][j];
            state.swap(next);
            // The rows of P sum to one only to the last bit: that drift is no chance of anything.
            const long double mass = std::accumulate(state.begin(), state.end(), 0.0L);
            for (int j = 1; j <= n; ++j)
                sum[j] += state[j] /= mass;
            for (; k < c.times.size() && c.times[k] == t; ++k) {
                long double total = 0;
                for (int j = 1; j <= n; ++j) {
                    EXPECT_NEAR(run->probabilities[k][j], state[j], c.tolerance) << t << " " << j;
                    EXPECT_REL_NEAR(run->sojourn[k][j], sum[j], 1e-11);
                    total += run->probabilities[k][j];
                }
                EXPECT_NEAR(total, 1, 1e-13) << t;
            }
        }
    }
}

// A periodic chain never settles: every step is taken.
TEST(TransientProgress, DiscreteRunMovesTheBarEveryStepAndHidesItAfterwards) {
    RecordingProgress progress;
    NoProgress none;
    const Matrix p = OneBased({{0, 1}, {1, 0}});
    ASSERT_TRUE(RunDiscreteTransient(SparseMatrix(p, 2), 1, {4}, progress));
    EXPECT_EQ(progress.resets, 1);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.eventRounds, 4);
    EXPECT_EQ(progress.positions, (std::vector<int>{25, 50, 75, 100}));
}

TEST(TransientProgress, StopEndsTheRunAtTheNextStep) {
    const Matrix p = OneBased({{0, 1}, {1, 0}});
    RecordingProgress discrete(3);
    EXPECT_FALSE(RunDiscreteTransient(SparseMatrix(p, 2), 1, {1000}, discrete));
    EXPECT_EQ(discrete.eventRounds, 3);
    EXPECT_FALSE(discrete.visible);
    RecordingProgress continuous(2);
    EXPECT_FALSE(
        RunContinuousTransient(Uniformise(OneBased({{0, 1}, {1, 0}}), 2), 1, {100}, continuous));
    EXPECT_EQ(continuous.eventRounds, 2);
    EXPECT_FALSE(continuous.visible);
}

// Up to 100 steps every step is a round of events; from 101 on, one round per block of ten.
TEST(TransientProgress, ContinuousRunWorksInBlocksOfTenFromAHundredAndOneSteps) {
    const Matrix q = OneBased({{0, 1}, {1, 0}});
    const UniformisedChain chain = Uniformise(q, 2);
    struct Row {
        double t;
        int lastTerm, rounds;
    };
    // nu = 1.0001: nu t = 40.004 -> steps 0..109 in 11 blocks; 24.0024 -> 0..70 one by one.
    for (const Row r : {Row{40, 109, 11}, Row{24, 70, 71}}) {
        ASSERT_EQ(TruncationPoint(chain.nu * r.t), r.lastTerm);
        RecordingProgress progress;
        ASSERT_TRUE(RunContinuousTransient(chain, 1, {r.t}, progress));
        EXPECT_EQ(progress.eventRounds, r.rounds) << r.t;
        EXPECT_EQ(progress.positions.back(), 100);
    }
}

}  // namespace
}  // namespace wachtrix
