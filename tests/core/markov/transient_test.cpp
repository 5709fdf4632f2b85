#include "core/markov/transient.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/markov/chain_builders.h"
#include "core/markov/dense_reference.h"
#include "core/markov/poisson_weights.h"
#include "core/markov/recording_progress.h"
#include "core/numeric/numerical_failure.h"
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

// Row `initial` of P^t, and of P + P^2 + ... + P^t, against the run at every time point.
TEST(DiscreteTransient, ProbabilitiesArePowersAndSojournsTheirRunningSum) {
    std::mt19937 rng(11);
    for (const double density : {0.1, 1.0}) {
        const int n = 30;
        const Matrix p = RandomStochastic(rng, n, density);
        const std::vector<double> times{1, 2, 2, 17, 60};
        const int initial = 4;
        const TransientRun run = Discrete(p, initial, times);
        ASSERT_EQ(run.times, times);
        const Dense dense = testing::ToDense(p);
        Dense power = testing::IdentityDense(n), sum(n + 1, std::vector<long double>(n + 1, 0.0L));
        std::size_t k = 0;
        for (int t = 1; t <= 60; ++t) {
            power = testing::Product(power, dense);
            sum = testing::Sum(sum, power);
            for (; k < times.size() && times[k] == t; ++k) {
                for (int j = 1; j <= n; ++j) {
                    EXPECT_NEAR(run.probabilities[k][j], power[initial][j], 1e-14) << t << " " << j;
                    EXPECT_NEAR(run.sojourn[k][j], sum[initial][j], 1e-12) << t << " " << j;
                }
            }
        }
        EXPECT_EQ(k, times.size());
    }
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

// Two states, q(1,2) = lambda, q(2,1) = mu:
//   P_11(t) = mu/s + lambda/s e^{-s t},  time in 1 by t = mu t/s + lambda/s^2 (1 - e^{-s t}),
// s = lambda + mu.
TEST(ContinuousTransient, TwoStatesFollowTheirClosedForms) {
    struct Row {
        double lambda, mu;
    };
    for (const Row r : {Row{1, 3}, Row{0.02, 0.05}, Row{5, 0.5}, Row{2, 0}}) {
        const std::vector<double> times{1, 2.5, 2.5, 40, 5000};
        const TransientRun run = Continuous(OneBased({{0, r.lambda}, {r.mu, 0}}), 1, times);
        const double s = r.lambda + r.mu;
        for (std::size_t k = 0; k < times.size(); ++k) {
            const double t = times[k];
            const double p11 = r.mu / s + r.lambda / s * std::exp(-s * t);
            const double time1 = r.mu * t / s + r.lambda / (s * s) * -std::expm1(-s * t);
            EXPECT_NEAR(run.probabilities[k][1], p11, 1e-10) << r.lambda << " " << t;
            EXPECT_NEAR(run.probabilities[k][2], 1 - p11, 1e-10) << r.lambda << " " << t;
            EXPECT_REL_NEAR(run.sojourn[k][1], time1, 1e-9);
            EXPECT_REL_NEAR(run.sojourn[k][2], t - time1, 1e-9);
        }
    }
}

// A 12-state chain against e^{Q t} by scaling and squaring, and its expected sojourn times
// against the integral of e^{Q s} over [0, t]: the upper right block of e^{M t} with
// M = [[Q, I], [0, 0]].
TEST(ContinuousTransient, AgreesWithTheMatrixExponential) {
    std::mt19937 rng(5);
    const int n = 12;
    const Matrix q = RandomRates(rng, n, 0.3, 1.7);
    const Dense generator = testing::Generator(q);
    const std::vector<double> times{1, 3.75, 20};
    const int initial = 3;
    const TransientRun run = Continuous(q, initial, times);
    Dense block(2 * n + 1, std::vector<long double>(2 * n + 1, 0.0L));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            block[i][j] = generator[i][j];
        block[i][n + i] = 1;
    }
    for (std::size_t k = 0; k < times.size(); ++k) {
        const Dense e = testing::MatrixExponential(generator, times[k]);
        const Dense integral = testing::MatrixExponential(block, times[k]);
        for (int j = 1; j <= n; ++j) {
            EXPECT_NEAR(run.probabilities[k][j], e[initial][j], 1e-11) << times[k] << " " << j;
            EXPECT_NEAR(run.sojourn[k][j], integral[initial][n + j], 1e-10) << times[k] << " " << j;
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

TEST(ContinuousTransient, RefusesRatesTooFastToCount) {
    NoProgress none;
    EXPECT_THROW(
        RunContinuousTransient(Uniformise(OneBased({{0, 1e6}, {1, 0}}), 2), 1, {5000}, none),
        NumericalFailure);
}

TEST(TransientProgress, DiscreteRunMovesTheBarEveryStepAndHidesItAfterwards) {
    RecordingProgress progress;
    NoProgress none;
    const Matrix p = OneBased({{0.5, 0.5}, {0.5, 0.5}});
    ASSERT_TRUE(RunDiscreteTransient(SparseMatrix(p, 2), 1, {4}, progress));
    EXPECT_EQ(progress.resets, 1);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.eventRounds, 4);
    EXPECT_EQ(progress.positions, (std::vector<int>{25, 50, 75, 100}));
}

TEST(TransientProgress, StopEndsTheRunAtTheNextStep) {
    const Matrix p = OneBased({{0.5, 0.5}, {0.5, 0.5}});
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
