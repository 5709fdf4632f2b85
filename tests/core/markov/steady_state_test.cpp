#include "core/markov/steady_state.h"

#include <gtest/gtest.h>

#include <random>

#include "core/markov/chain_builders.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::Identity;
using testing::MakeChain;
using testing::OneBased;
using testing::Rows;
using Lines = std::vector<std::string>;

const Lines kHeader{"============================", "   STEADY-STATE BEHAVIOUR",
                    "============================", " "};

Lines WithHeader(const Lines& body) {
    Lines all = kHeader;
    all.insert(all.end(), body.begin(), body.end());
    return all;
}

TEST(SolveSteadyState, TwoStatesGiveBOverAPlusB) {
    struct Row {
        double a, b;
    };
    for (const Row r :
         {Row{0.25, 0.75}, Row{0.5, 0.5}, Row{1, 1}, Row{1e-6, 0.9}, Row{0.3, 1e-9}}) {
        const SteadyState s = SolveSteadyState(OneBased({{1 - r.a, r.a}, {r.b, 1 - r.b}}), 2);
        ASSERT_TRUE(s.solved) << r.a << " " << r.b;
        EXPECT_REL_NEAR(s.x[1], r.b / (r.a + r.b), 1e-12);
        EXPECT_REL_NEAR(s.x[2], r.a / (r.a + r.b), 1e-9);
    }
}

TEST(SolveSteadyState, BirthDeathChainMeetsDetailedBalance) {
    // pi(i+1) / pi(i) = up(i) / down(i+1) for a birth-death chain.
    const int n = 40;
    Rows rows(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        const double up = i + 1 < n ? 0.3 + 0.01 * i : 0;
        const double down = i > 0 ? 0.5 - 0.005 * i : 0;
        if (i + 1 < n) rows[i][i + 1] = up;
        if (i > 0) rows[i][i - 1] = down;
        rows[i][i] = 1 - up - down;
    }
    const SteadyState s = SolveSteadyState(OneBased(rows), n);
    ASSERT_TRUE(s.solved);
    for (int i = 0; i + 1 < n; ++i)
        EXPECT_REL_NEAR(s.x[i + 2] / s.x[i + 1], rows[i][i + 1] / rows[i + 1][i], 1e-10) << i;
}

TEST(SolveSteadyState, RandomIrreducibleChainsSatisfyPiPEqualsPi) {
    std::mt19937 rng(1234);
    for (int n = 2; n <= 100; n += 7) {
        const Matrix p = testing::RandomStochastic(rng, n, 0.1);
        const SteadyState s = SolveSteadyState(p, n);
        ASSERT_TRUE(s.unichained && s.solved) << n;
        long double total = 0;
        for (int j = 1; j <= n; ++j) {
            long double inflow = 0;
            for (int i = 1; i <= n; ++i)
                inflow += static_cast<long double>(s.x[i]) * p[i][j];
            EXPECT_NEAR(static_cast<double>(inflow), s.x[j], 1e-14) << "n = " << n << ", j = " << j;
            EXPECT_GT(s.x[j], 0);
            total += s.x[j];
        }
        EXPECT_NEAR(static_cast<double>(total), 1, 1e-13);
        EXPECT_LT(s.accuracy, 1e-14);
    }
}

TEST(SolveSteadyState, TransientStatesGetNoMass) {
    // 1 -> {2 <-> 3}, 4 -> 1.
    const SteadyState s = SolveSteadyState(
        OneBased({{0, 0.5, 0.5, 0}, {0, 0.2, 0.8, 0}, {0, 0.4, 0.6, 0}, {1, 0, 0, 0}}), 4);
    ASSERT_TRUE(s.solved);
    EXPECT_NEAR(s.x[1], 0, 1e-15);
    EXPECT_NEAR(s.x[4], 0, 1e-15);
    EXPECT_REL_NEAR(s.x[2], 1.0 / 3, 1e-14);  // 0.4 / (0.8 + 0.4)
    EXPECT_REL_NEAR(s.x[3], 2.0 / 3, 1e-14);
}

TEST(SteadyStateReport, TwoStateChainWithCosts) {
    const ChainData chain = MakeChain({{0.75, 0.25}, {0.75, 0.25}}, ChainKind::Discrete, {{1, 2}});
    EXPECT_EQ(
        SteadyStateReport(chain),
        WithHeader({"The solution is: ", " ", "State 1: pi[1] = 0.7500000000",
                    "State 2: pi[2] = 0.2500000000", "", "Average cost per unit time: 1.2500000000",
                    " ", "Accuracy check: 0.0000000000"}));
}

TEST(SteadyStateReport, SingleStateIsOneWithNineDecimals) {
    const ChainData chain = MakeChain({{1}}, ChainKind::Discrete, {{-100000}});
    EXPECT_EQ(SteadyStateReport(chain),
              WithHeader({"The solution is: ", " ", "State 1: pi[1] = 1.000000000", "",
                          "Average cost per unit time: -100000.0000000000", " ",
                          "Accuracy check: 0.0000000000"}));
}

TEST(SteadyStateReport, NotUnichainedGetsOnlyTheTwoLines) {
    const ChainData chain = MakeChain(Identity(2), ChainKind::Discrete, {{1, 1}});
    EXPECT_EQ(SteadyStateReport(chain),
              WithHeader({"This Markov chain is not unichained",
                          "and thus has no unique equilibrium distribution."}));
}

TEST(SteadyStateReport, LeavesOutTheCostWhenNoCostsWereHandedOver) {
    ChainData chain = MakeChain({{0.5, 0.5}, {0.5, 0.5}}, ChainKind::Discrete);
    chain.CostVectorRead = false;
    EXPECT_EQ(SteadyStateReport(chain),
              WithHeader({"The solution is: ", " ", "State 1: pi[1] = 0.5000000000",
                          "State 2: pi[2] = 0.5000000000", " ", "Accuracy check: 0.0000000000"}));
    chain.DataLoaded = false;
    EXPECT_TRUE(SteadyStateReport(chain).empty());
}

TEST(SteadyStateReport, ContinuousTwoStateRatesGiveMuOverLambdaPlusMu) {
    // lambda = 1 out of state 1, mu = 3 out of state 2: p[1] = 3/4. Cost rates r = (1, 2); each
    // entry into state 2 costs F(2) = 10, and entries into 2 happen at rate lambda in state 1:
    // g = 0.75 (1 + 10) + 0.25 (2) = 8.75.
    const ChainData chain = MakeChain({{0, 1}, {3, 0}}, ChainKind::Continuous, {{1, 2}, {0, 10}});
    EXPECT_EQ(
        SteadyStateReport(chain),
        WithHeader({"The solution is: ", " ", "State 1: p[1] = 0.7500000000",
                    "State 2: p[2] = 0.2500000000", "", "Average cost per unit time: 8.7500000000",
                    " ", "Accuracy check: 0.0000000000"}));
}

TEST(SteadyStateReport, IllConditionedSystemPrintsNoSolution) {
    // Rates so small that the uniformised chain holds almost nothing but self-transitions.
    const ChainData chain = MakeChain({{0, 1e-25}, {1e-25, 0}}, ChainKind::Continuous, {{1, 1}});
    EXPECT_EQ(SteadyStateReport(chain), WithHeader({"Problem ill-conditioned."}));
}

}  // namespace
}  // namespace wachtrix
