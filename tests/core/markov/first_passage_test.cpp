#include "core/markov/first_passage.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/markov/chain_builders.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::Dense;
using testing::OneBased;
using testing::RandomRates;
using testing::RandomStochastic;
using testing::RecordingProgress;

std::vector<double> Discrete(const Matrix& p, int start, ReturnSet set,
                             const std::vector<double>& times) {
    NoProgress none;
    const auto tails = RunDiscreteFirstPassage(SparseMatrix(p, static_cast<int>(p.size()) - 1),
                                               start, set, times, none);
    EXPECT_TRUE(tails.has_value());
    return tails.value_or(std::vector<double>{});
}

std::vector<double> Continuous(const Matrix& q, int start, ReturnSet set,
                               const std::vector<double>& times) {
    NoProgress none;
    const auto tails = RunContinuousFirstPassage(Uniformise(q, static_cast<int>(q.size()) - 1),
                                                 start, set, times, none);
    EXPECT_TRUE(tails.has_value());
    return tails.value_or(std::vector<double>{});
}

// The three kinds of return set, by name and by the tails they give, are in the golden passage
// reports (tests/data/reports/markov_*passage*.txt).

TEST(DiscreteFirstPassage, AStateThatOnlyStaysReturnsAtOnce) {
    const Matrix p = OneBased({{1, 0}, {0.5, 0.5}});
    EXPECT_EQ(Discrete(p, 1, {1, 1}, {1, 2, 9}), (std::vector<double>{0, 0, 0}));
    // From 2 the chain reaches 1 at each period with chance 1/2.
    EXPECT_EQ(Discrete(p, 2, {1, 1}, {1, 2, 9}),
              (std::vector<double>{0.5, 0.25, std::ldexp(1.0, -9)}));
}

// Two states, q(1,2) = lambda, q(2,1) = mu. Leaving 1 for good: e^{-lambda t}. Returning to 1:
// the chain must leave (rate lambda) and come back (rate mu) by t:
//   P(T > t) = e^{-lambda t} + lambda/(mu - lambda) (e^{-lambda t} - e^{-mu t}).
TEST(ContinuousFirstPassage, TwoStatesFollowTheirClosedForms) {
    const double lambda = 0.7, mu = 2.2;
    const Matrix q = OneBased({{0, lambda}, {mu, 0}});
    const std::vector<double> times{1, 2.5, 10};
    const std::vector<double> leave = Continuous(q, 1, {2, 2}, times);
    const std::vector<double> back = Continuous(q, 1, {1, 1}, times);
    for (std::size_t k = 0; k < times.size(); ++k) {
        const double t = times[k];
        EXPECT_REL_NEAR(leave[k], std::exp(-lambda * t), 1e-10);
        EXPECT_REL_NEAR(back[k],
                        std::exp(-lambda * t) +
                            lambda / (mu - lambda) * (std::exp(-lambda * t) - std::exp(-mu * t)),
                        1e-10);
    }
}

// A state 1e20 times faster than the others (see the transient tests): from 1 the chain passes
// at once to 2 and leaves it for 3 at rate 1, P(T({3}) > t) = e^-t; back to 1 it never comes.
TEST(ContinuousFirstPassage, RatesFarApartKeepTheSlowStates) {
    const Matrix q = OneBased({{0, 1e20, 0}, {0, 0, 1}, {0, 2, 0}});
    const std::vector<double> times{1, 2.5, 30};
    const std::vector<double> toThree = Continuous(q, 1, {3, 3}, times);
    const std::vector<double> backToOne = Continuous(q, 1, {1, 1}, times);
    for (std::size_t k = 0; k < times.size(); ++k) {
        EXPECT_NEAR(toThree[k], std::exp(-times[k]), 1e-14) << times[k];
        EXPECT_NEAR(backToOne[k], 1, 1e-13);
    }
}

// Two states swap at rates near 1e19 and leak into 3 at 1 and 71: the pair is in 1 a share
// b / (a + b) of the time and leaks like one state at the mean rate (b + 71 a) / (a + b), so
// P(T({3}) > t) = e^(-rate t) to within 1e-18 (the slow leaks are 1e-17 of the row's rates).
TEST(ContinuousFirstPassage, SlowLeaksBesideFastRatesAreKept) {
    const double a = 9.2233720368547758e18, b = 3.3333333333333333e19;
    const Matrix q = OneBased({{0, a, 1}, {b, 0, 71}, {0, 40, 0}});
    const double rate = (b * 1 + a * 71) / (a + b);
    const std::vector<double> times{0.1, 0.5, 1};
    const std::vector<double> tails = Continuous(q, 1, {3, 3}, times);
    for (std::size_t k = 0; k < times.size(); ++k)
        EXPECT_NEAR(tails[k] / std::exp(-rate * times[k]), 1, 1e-11) << times[k];
}

// P(T > t) from e^{Q' t} of the chain that is killed on entering A, with a copy s' of the
// starting state that keeps only the way out of s (so that a start in A counts only a real
// return).
long double KilledSurvival(const Matrix& q, ReturnSet set, int start, double t) {
    const int n = static_cast<int>(q.size()) - 1, copy = n + 1;
    const Dense generator = testing::Generator(q);
    Dense killed(n + 2, std::vector<long double>(n + 2, 0.0L));
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (!set.contains(j) || i == j) killed[i][j] = generator[i][j];
    for (int j = 1; j <= n; ++j)
        if (!set.contains(j) && j != start) killed[copy][j] = generator[start][j];
    killed[copy][copy] = generator[start][start];
    const Dense e = testing::MatrixExponential(killed, t);
    long double survive = e[copy][copy];
    for (int j = 1; j <= n; ++j)
        if (!set.contains(j)) survive += e[copy][j];
    return survive;
}

TEST(ContinuousFirstPassage, AgreesWithTheMatrixExponentialOfTheKilledChain) {
    std::mt19937 rng(9);
    const int n = 10;
    const Matrix q = RandomRates(rng, n, 0.3, 1.3);
    const std::vector<double> times{1, 4.5, 12};
    for (const ReturnSetType type :
         {ReturnSetType::Single, ReturnSetType::FromOne, ReturnSetType::ToLast}) {
        const ReturnSet set = ReturnSetOf(type, 4, n);
        for (const int start : {1, 4, 9}) {
            const std::vector<double> tails = Continuous(q, start, set, times);
            for (std::size_t k = 0; k < times.size(); ++k)
                EXPECT_NEAR(tails[k], KilledSurvival(q, set, start, times[k]), 1e-11)
                    << static_cast<int>(type) << " " << start << " " << times[k];
        }
    }
    // Two blocks that hardly exchange at nu t of about 1e4 and more: squared from the series of
    // an eighth of a jump.
    std::mt19937 blocks(41);
    const Matrix stiff = testing::TwoBlocks(blocks, 8, 3, 1e-4, ChainKind::Continuous);
    const std::vector<double> longTimes{3000, 5000};
    const std::vector<double> tails = Continuous(stiff, 1, {8, 8}, longTimes);
    for (std::size_t k = 0; k < longTimes.size(); ++k)
        EXPECT_NEAR(tails[k], KilledSurvival(stiff, {8, 8}, 1, longTimes[k]), 1e-11);
}

TEST(ContinuousFirstPassage, AStateWithoutRatesNeverReturns) {
    // The uniformised self-loop of state 2 is no jump of the chain.
    const Matrix q = OneBased({{0, 1}, {0, 0}});
    for (const double tail : Continuous(q, 2, {2, 2}, {1, 250, 5000}))
        EXPECT_NEAR(tail, 1, 1e-12);
}

// Leaving 1 slowly enough that the tails neither settle nor fade quickly: a round for every
// step, until what is left of the series (to its truncation point 109) weighs below 1e-14.
TEST(FirstPassageProgress, ContinuousRunTestsStopEveryStep) {
    const UniformisedChain chain = Uniformise(OneBased({{0, 0.01}, {1, 0}}), 2);
    RecordingProgress progress;
    ASSERT_TRUE(RunContinuousFirstPassage(chain, 1, {2, 2}, {40}, progress));
    EXPECT_GE(progress.eventRounds, 90);
    EXPECT_LE(progress.eventRounds, 110);
    EXPECT_EQ(progress.eventRounds, progress.stopTests);
    EXPECT_FALSE(progress.visible);
    RecordingProgress stopped(5);
    EXPECT_FALSE(RunContinuousFirstPassage(chain, 1, {2, 2}, {40}, stopped));
    EXPECT_EQ(stopped.eventRounds, 5);
    RecordingProgress discrete(5);
    EXPECT_FALSE(RunDiscreteFirstPassage(SparseMatrix(chain.w, 2), 1, {2, 2}, {40}, discrete));
    EXPECT_EQ(discrete.eventRounds, 5);
    EXPECT_FALSE(discrete.visible);
}

// P(X(1..t) outside A | X(0) = s) step by step: u_t = M u_{t-1} with M = P without the columns
// of A, in extended precision.
std::vector<double> StepByStep(const Matrix& p, int start, ReturnSet set,
                               const std::vector<double>& times) {
    const int n = static_cast<int>(p.size()) - 1;
    std::vector<long double> u(n + 1, 1.0L), next(n + 1);
    for (int j = set.first; j <= set.last; ++j)
        u[j] = 0;
    std::vector<double> tails;
    std::size_t k = 0;
    for (int t = 0; k < times.size(); ++t) {
        for (; k < times.size() && times[k] == t; ++k)
            tails.push_back(static_cast<double>(u[start]));
        for (int j = set.first; j <= set.last; ++j)
            u[j] = 0;
        for (int i = 1; i <= n; ++i) {
            next[i] = 0;
            for (int j = 1; j <= n; ++j)
                next[i] += p[i][j] * u[j];
        }
        u.swap(next);
    }
    return tails;
}

// Against the steps, that is the tails of the powers of the taboo matrix: a sparse random chain
// for every kind of return set, and three ways a run ends early or differently: tails that fade
// below anything printed (a dense chain), tails that settle on the chance of never reaching A (a
// closed pair that avoids it), and tails that do neither for long, squared (two blocks that
// hardly exchange).
TEST(DiscreteFirstPassage, TailsAgreeWithTheSteps) {
    const auto expect = [](const Matrix& p, int start, ReturnSet set,
                           const std::vector<double>& times, double tolerance) {
        const std::vector<double> tails = Discrete(p, start, set, times);
        const std::vector<double> steps = StepByStep(p, start, set, times);
        for (std::size_t k = 0; k < times.size(); ++k)
            EXPECT_NEAR(tails[k], steps[k], tolerance) << times[k] << " " << start;
    };
    std::mt19937 rng(3);
    const Matrix random = RandomStochastic(rng, 15, 0.25);
    for (const ReturnSetType type :
         {ReturnSetType::Single, ReturnSetType::FromOne, ReturnSetType::ToLast})
        for (const int start : {2, 6, 15})
            expect(random, start, ReturnSetOf(type, 6, 15), {1, 3, 3, 10, 44}, 1e-14);
    const int n = 20;
    const Matrix dense = RandomStochastic(rng, n, 1.0);
    Matrix closedPair = RandomStochastic(rng, n, 0.3);
    for (int s : {19, 20}) {
        for (int j = 1; j <= n; ++j)
            closedPair[s][j] = 0;
        closedPair[s][19] = closedPair[s][20] = 0.5;
    }
    const Matrix blocks = testing::TwoBlocks(rng, n, 1, 1e-4, ChainKind::Discrete);
    for (const Matrix* p : std::initializer_list<const Matrix*>{&dense, &closedPair, &blocks})
        for (const ReturnSet set : {ReturnSet{1, 1}, ReturnSet{5, 7}})
            for (const int start : {1, 12})
                expect(*p, start, set, {1, 40, 4999, 5000}, 1e-13);
}

}  // namespace
}  // namespace wachtrix
