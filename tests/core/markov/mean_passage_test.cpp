#include "core/markov/mean_passage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/markov/chain_builders.h"
#include "core/markov/first_passage.h"
#include "core/markov/steady_state.h"
#include "core/markov/subtraction_free_solver.h"
#include "core/markov/uniformisation.h"
#include "core/numeric/dense_solver.h"
#include "core/numeric/numerical_failure.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::OneBased;
using testing::RandomRates;
using testing::RandomStochastic;
using testing::Rows;

// The symmetric random walk on a cycle of n states, or the walk with probability up of a step
// up on the path 0..n-1 (with both ends absorbing when absorbing is set).
Rows Cycle(int n) {
    Rows rows(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        rows[i][(i + 1) % n] += 0.5;
        rows[i][(i + n - 1) % n] += 0.5;
    }
    return rows;
}

Rows GamblersRuin(int n, double up) {
    Rows rows(n + 1, std::vector<double>(n + 1, 0.0));
    rows[0][0] = rows[n][n] = 1;
    for (int i = 1; i < n; ++i) {
        rows[i][i + 1] = up;
        rows[i][i - 1] = 1 - up;
    }
    return rows;
}

TEST(SubtractionFreeSolver, AgreesWithGaussianEliminationOnRandomOpenChains) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int n : {2, 5, 12}) {
        const Matrix a = RandomRates(rng, n + 1, 0.5, 3.0);
        std::vector<int> free;
        for (int i = 1; i <= n; ++i)
            free.push_back(i);  // state n + 1 is outside
        SquareMatrix<double> dense(n);
        std::vector<double> b(n);
        std::vector<long double> bl(n);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j <= n; ++j)
                if (j != i) dense(i, i) += a[i + 1][j + 1];
            for (int j = 0; j < n; ++j)
                if (j != i) dense(i, j) = -a[i + 1][j + 1];
            b[i] = unit(rng);
            bl[i] = b[i];
        }
        const std::vector<double> expected = SolveScaledPivoting(dense, b, kLudeco);
        const std::vector<long double> x = SubtractionFreeSolver(a, free).Solve(bl);
        for (int i = 0; i < n; ++i)
            EXPECT_REL_NEAR(x[i], expected[i], 1e-12) << n << " " << i;
    }
}

TEST(SubtractionFreeSolver, RefusesAStateThatNeverLeaves) {
    // State 2 goes only to itself and state 1 only to 2: the set {1, 2} is closed.
    const Matrix a = OneBased({{0, 1, 0}, {0, 1, 0}, {0, 0, 1}});
    EXPECT_THROW(SubtractionFreeSolver(a, {1, 2}), NumericalFailure);
}

TEST(MeanPassageTimes, TwoStateChainsMeetTheirClosedForms) {
    // Discrete: m(1,2) = 1/a, m(2,1) = 1/b, m(1,1) = 1/pi(1) = (a + b)/b. Continuous with rates a
    // and b: the return time is the stay plus the passage back, 1/a + 1/b. The tiny rates would
    // lose every digit in 1 - p(1,1).
    struct Row {
        double a, b;
    };
    // 1e-200 lies beyond the range of double-double products: the extended path.
    for (const Row r :
         {Row{0.25, 0.75}, Row{1, 1}, Row{1e-15, 0.5}, Row{0.3, 1e-12}, Row{1e-200, 0.5}}) {
        const PassageTimes d =
            MeanPassageTimes(OneBased({{1 - r.a, r.a}, {r.b, 1 - r.b}}), 2, ChainKind::Discrete);
        EXPECT_REL_NEAR(d.m[1][2], 1 / r.a, 1e-14) << r.a;
        EXPECT_REL_NEAR(d.m[2][1], 1 / r.b, 1e-14) << r.b;
        EXPECT_REL_NEAR(d.m[1][1], (r.a + r.b) / r.b, 1e-14) << r.a;
        EXPECT_REL_NEAR(d.m[2][2], (r.a + r.b) / r.a, 1e-14) << r.a;
        const PassageTimes c =
            MeanPassageTimes(OneBased({{0, r.a}, {r.b, 0}}), 2, ChainKind::Continuous);
        EXPECT_REL_NEAR(c.m[1][2], 1 / r.a, 1e-14);
        EXPECT_REL_NEAR(c.m[1][1], 1 / r.a + 1 / r.b, 1e-14);
        EXPECT_REL_NEAR(c.m[2][2], 1 / r.a + 1 / r.b, 1e-14);
        EXPECT_LT(c.accuracy, 1e-14);
    }
}

// All targets from one censoring against one system per target (the solver of the absorption
// analyses), on chains whose sizes split unevenly.
TEST(MeanPassageTimes, AgreeWithOneSystemPerTarget) {
    std::mt19937 rng(13);
    for (const int n : {3, 7, 37}) {
        for (const ChainKind kind : {ChainKind::Discrete, ChainKind::Continuous}) {
            const Matrix a = kind == ChainKind::Discrete ? RandomStochastic(rng, n, 0.3)
                                                         : RandomRates(rng, n, 0.3, 4.0);
            const PassageTimes times = MeanPassageTimes(a, n, kind);
            for (int j = 1; j <= n; ++j) {
                std::vector<int> others;
                for (int i = 1; i <= n; ++i)
                    if (i != j) others.push_back(i);
                const std::vector<long double> x =
                    SubtractionFreeSolver(a, others).Solve(std::vector<long double>(n - 1, 1));
                for (int k = 0; k < n - 1; ++k)
                    EXPECT_REL_NEAR(times.m[others[k]][j], x[k], 1e-14) << n << " " << j;
            }
            EXPECT_LT(times.accuracy, 1e-13);
        }
    }
}

TEST(MeanPassageTimes, RandomWalksOnGraphs) {
    // On a cycle of n states: m(i,j) = k (n - k) for k steps apart, and m(i,i) = n. On the
    // complete graph of n states (no loops): m(i,j) = n - 1, m(i,i) = n.
    for (int n : {3, 6, 11}) {
        const PassageTimes cycle = MeanPassageTimes(OneBased(Cycle(n)), n, ChainKind::Discrete);
        Rows complete(n, std::vector<double>(n, 1.0 / (n - 1)));
        for (int i = 0; i < n; ++i)
            complete[i][i] = 0;
        const PassageTimes full = MeanPassageTimes(OneBased(complete), n, ChainKind::Discrete);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                const int k = std::abs(i - j);
                EXPECT_REL_NEAR(cycle.m[i][j], i == j ? n : k * (n - k), 1e-13) << i << " " << j;
                EXPECT_REL_NEAR(full.m[i][j], i == j ? n : n - 1, 1e-13) << i << " " << j;
            }
        }
        EXPECT_LT(cycle.accuracy, 1e-13);
    }
}

TEST(MeanPassageTimes, StrongDriftAwayFromTheTargetKeepsItsDigits) {
    // Birth-death chain with p(i,i+1) = 0.9, p(i,i-1) = 0.1: the passage one step down from i
    // takes (sum over k >= i of pi(k)) / (pi(i) p(i,i-1)) steps, with pi(k) proportional to 9^k;
    // from the top down to state 1 these add to about 1e17.
    const int n = 20;
    Rows rows(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        if (i + 1 < n) rows[i][i + 1] = 0.9;
        if (i > 0) rows[i][i - 1] = 0.1;
        rows[i][i] = 1 - (i + 1 < n ? 0.9 : 0) - (i > 0 ? 0.1 : 0);
    }
    const PassageTimes t = MeanPassageTimes(OneBased(rows), n, ChainKind::Discrete);
    long double expected = 0;
    for (int i = 1; i < n; ++i) {
        long double above = 0;
        for (int k = i; k < n; ++k)
            above += std::pow(9.0L, k - i);
        expected += above / 0.1L;
        EXPECT_REL_NEAR(t.m[i + 1][1], expected, 1e-13) << i;
    }
    EXPECT_GT(t.m[n][1], 1e17);
}

TEST(MeanPassageTimes, ReturnTimesAreTheInverseEquilibrium) {
    std::mt19937 rng(5);
    for (int n : {4, 9, 30}) {
        const Matrix p = RandomStochastic(rng, n, 0.3);
        const PassageTimes d = MeanPassageTimes(p, n, ChainKind::Discrete);
        const SteadyState pi = SolveSteadyState(p, n);
        const Matrix q = RandomRates(rng, n, 0.3, 5.0);
        const PassageTimes c = MeanPassageTimes(q, n, ChainKind::Continuous);
        const SteadyState pc = SolveContinuousSteadyState(q, n);
        for (int j = 1; j <= n; ++j) {
            EXPECT_REL_NEAR(d.m[j][j] * pi.x[j], 1, 1e-12) << n << " " << j;
            long double out = 0;
            for (int k = 1; k <= n; ++k)
                if (k != j) out += q[j][k];
            EXPECT_REL_NEAR(c.m[j][j] * pc.x[j] * out, 1, 1e-12) << n << " " << j;
        }
        EXPECT_LT(d.accuracy, 1e-12);
        EXPECT_LT(c.accuracy, 1e-12);
    }
}

TEST(MeanPassageTimes, AreTheSumsOfTheFirstPassageTails) {
    // E T = sum over t >= 0 of P(T > t), with P(T > 0) = 1 as T >= 1 (also for a return); the
    // tails of this chain fall fast enough that 2000 terms leave nothing.
    std::mt19937 rng(11);
    const int n = 6;
    const Matrix p = RandomStochastic(rng, n, 0.6);
    const PassageTimes t = MeanPassageTimes(p, n, ChainKind::Discrete);
    std::vector<double> times;
    for (int k = 1; k <= 2000; ++k)
        times.push_back(k);
    NoProgress none;
    for (int start : {1, 4}) {
        for (int target : {1, 3, 6}) {
            const auto tails =
                RunDiscreteFirstPassage(SparseMatrix(p, n), start, {target, target}, times, none);
            ASSERT_TRUE(tails.has_value());
            long double sum = 1;
            for (double tail : *tails)
                sum += tail;
            EXPECT_LT(tails->back(), 1e-30);
            EXPECT_REL_NEAR(t.m[start][target], sum, 1e-11) << start << " " << target;
        }
    }
}

// A single state and times beyond the range of numbers are golden data
// (tests/data/reports/markov_means_*.txt).

TEST(SolveAbsorption, GamblersRuinMeetsItsClosedForms) {
    // States 0..n as 1..n+1; ruin is class 1 (state 0), the win class 2 (state n). With
    // r = (1-up)/up: P(win from i) = (1 - r^i) / (1 - r^n), duration
    // i / (1 - 2 up) - n / (1 - 2 up) P(win); for up = 1/2: i / n and i (n - i).
    struct Row {
        int n;
        double up;
    };
    for (const Row r : {Row{4, 0.5}, Row{10, 0.5}, Row{10, 0.4}, Row{25, 0.7}}) {
        const Rows rows = GamblersRuin(r.n, r.up);
        const ChainStructure classes = ClassifyChain(OneBased(rows), r.n + 1);
        ASSERT_EQ(classes.subchains.size(), 2u);
        const std::vector<double> cost(r.n + 2, 1.0);
        const Absorption a =
            SolveAbsorption(OneBased(rows), r.n + 1, ChainKind::Discrete, classes, cost);
        ASSERT_EQ(a.transient.size(), static_cast<std::size_t>(r.n - 1));
        const double ratio = (1 - r.up) / r.up;
        for (int i = 1; i < r.n; ++i) {
            const double win = r.up == 0.5 ? double(i) / r.n
                                           : (1 - std::pow(ratio, i)) / (1 - std::pow(ratio, r.n));
            const double duration =
                r.up == 0.5 ? double(i) * (r.n - i) : (i - r.n * win) / (1 - 2 * r.up);
            EXPECT_REL_NEAR(a.probability[i - 1][1], win, 1e-13) << r.n << " " << i;
            EXPECT_REL_NEAR(a.probability[i - 1][0] + a.probability[i - 1][1], 1, 1e-15);
            EXPECT_REL_NEAR(a.time[i - 1], duration, 1e-13) << r.n << " " << i;
            // Every step costs 1: the cost is the duration.
            EXPECT_REL_NEAR(a.cost[i - 1], duration, 1e-13);
            if (r.up != 0.5) continue;
            // Visits to j from i, the start counted: 2 min(i,j) (n - max(i,j)) / n.
            for (int j = 1; j < r.n; ++j)
                EXPECT_REL_NEAR(a.visits[i - 1][j - 1],
                                2.0 * std::min(i, j) * (r.n - std::max(i, j)) / r.n, 1e-13);
        }
        EXPECT_LT(a.accuracy, 1e-13);
    }
}

TEST(SolveAbsorption, ContinuousCompetingExitsAndTransitionCosts) {
    // State 1 leaves at rate l to 2 and m to 3, both absorbing: P = l / (l + m), time 1/(l + m).
    // State 4 goes to 1 at rate 2: time 1/2 more, the same probabilities. A cost rate r(1) and
    // a cost F(2) per entry into 2 give r(1) / (l + m) + F(2) l / (l + m) from state 1.
    const double l = 3, m = 0.5;
    const Rows rates{{0, l, m, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 0, 0, 0}};
    const Matrix q = OneBased(rates);
    const ChainStructure classes = ClassifyChain(Uniformise(q, 4).w, 4);
    ASSERT_EQ(classes.transientStates, (std::vector<int>{1, 4}));
    ChainData chain =
        testing::MakeChain(rates, ChainKind::Continuous, {{7, 0, 0, 1}, {0, 10, 0, 0}});
    const Absorption a =
        SolveAbsorption(q, 4, ChainKind::Continuous, classes, ContinuousCostRates(chain));
    for (std::size_t i : {0u, 1u}) {
        EXPECT_REL_NEAR(a.probability[i][0], l / (l + m), 1e-15);
        EXPECT_REL_NEAR(a.probability[i][1], m / (l + m), 1e-15);
    }
    EXPECT_REL_NEAR(a.time[0], 1 / (l + m), 1e-15);
    EXPECT_REL_NEAR(a.time[1], 0.5 + 1 / (l + m), 1e-15);
    EXPECT_REL_NEAR(a.visits[1][0], 1 / (l + m), 1e-15);  // time in 1 from 4
    EXPECT_REL_NEAR(a.visits[1][1], 0.5, 1e-15);
    EXPECT_EQ(a.visits[0][1], 0);
    const double fromOne = 7 / (l + m) + 10 * l / (l + m);
    EXPECT_REL_NEAR(a.cost[0], fromOne, 1e-15);
    EXPECT_REL_NEAR(a.cost[1], 0.5 * 1 + fromOne, 1e-15);
    EXPECT_LT(a.accuracy, 1e-15);
}

// Every right-hand side from one censoring against a solve of its own: random transient states
// feeding two closed pairs of states.
TEST(SolveAbsorption, AgreesWithASolvePerRightHandSide) {
    std::mt19937 rng(3);
    const int n = 24;
    Matrix p = RandomStochastic(rng, n, 0.4);
    for (int s : {1, 2, 3, 4}) {
        for (int j = 1; j <= n; ++j)
            p[s][j] = 0;
        const int partner = s % 2 ? s + 1 : s - 1;
        p[s][s] = p[s][partner] = 0.5;
    }
    const ChainStructure classes = ClassifyChain(p, n);
    ASSERT_EQ(classes.subchains.size(), 2u);
    ASSERT_EQ(classes.transientStates.size(), static_cast<std::size_t>(n - 4));
    std::vector<double> cost(n + 1, 0.0);
    for (int i = 1; i <= n; ++i)
        cost[i] = i;
    const Absorption a = SolveAbsorption(p, n, ChainKind::Discrete, classes, cost);
    const std::vector<int>& free = classes.transientStates;
    const SubtractionFreeSolver solver(p, free);
    const int m = n - 4;
    std::vector<long double> rates(m);
    for (int i = 0; i < m; ++i)
        rates[i] = cost[free[i]];
    const std::vector<long double> costs = solver.Solve(rates);
    const std::vector<long double> time = solver.Solve(std::vector<long double>(m, 1));
    for (int j = 0; j < m; ++j) {
        std::vector<long double> unit(m, 0.0L);
        unit[j] = 1;
        const std::vector<long double> visits = solver.Solve(unit);
        for (int i = 0; i < m; ++i)
            EXPECT_REL_NEAR(a.visits[i][j], visits[i], 1e-14) << i << " " << j;
    }
    for (int i = 0; i < m; ++i) {
        EXPECT_REL_NEAR(a.time[i], time[i], 1e-14);
        EXPECT_REL_NEAR(a.cost[i], costs[i], 1e-14);
        EXPECT_NEAR(a.probability[i][0] + a.probability[i][1], 1, 1e-14);
    }
    EXPECT_LT(a.accuracy, 1e-13);
}

}  // namespace
}  // namespace wachtrix
