#include "core/markov/steady_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "core/markov/chain_builders.h"
#include "core/text/markov_format.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::MakeChain;
using testing::OneBased;
using testing::Rows;
using Lines = std::vector<std::string>;

// Whole reports of chains a file can hold are golden data (tests/data/reports/markov_*.txt),
// transient states without mass among them.
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

// Two blocks that hardly meet: the first left with probability eps, the second with eps2, each
// time into the other block's own equilibrium. The blocks then keep their equilibria, weighted
// eps2 / (eps + eps2) and eps / (eps + eps2).
struct NearlyDecomposable {
    double eps, eps2;
    // Block A: p(1,2) = 0.5, p(2,1) = 0.25, equilibrium (1/3, 2/3); block B: p(3,4) = 0.8,
    // p(4,3) = 0.6, equilibrium (3/7, 4/7).
    Rows rows() const {
        const double a[2] = {1.0 / 3, 2.0 / 3}, b[2] = {3.0 / 7, 4.0 / 7};
        return {{(1 - eps) * 0.5, (1 - eps) * 0.5, eps * b[0], eps * b[1]},
                {(1 - eps) * 0.25, (1 - eps) * 0.75, eps * b[0], eps * b[1]},
                {eps2 * a[0], eps2 * a[1], (1 - eps2) * 0.2, (1 - eps2) * 0.8},
                {eps2 * a[0], eps2 * a[1], (1 - eps2) * 0.6, (1 - eps2) * 0.4}};
    }
    std::vector<long double> pi() const {
        const long double wA = eps2 / (static_cast<long double>(eps) + eps2), wB = 1 - wA;
        return {wA / 3, 2 * wA / 3, 3 * wB / 7, 4 * wB / 7};
    }
};

TEST(SolveSteadyState, NearlyDecomposableChainsKeepTheirClosedForm) {
    for (double eps = 1e-3; eps > 5e-15; eps /= 10) {
        for (const double ratio : {3.0, 1.0 / 7, 1e-3}) {
            const NearlyDecomposable chain{eps, eps * ratio};
            const SteadyState s = SolveSteadyState(OneBased(chain.rows()), 4);
            ASSERT_TRUE(s.unichained && s.solved) << eps;
            const auto pi = chain.pi();
            for (int i = 1; i <= 4; ++i)
                EXPECT_REL_NEAR(s.x[i], pi[i - 1], 1e-13)
                    << "eps " << eps << " ratio " << ratio << " state " << i;
            EXPECT_LT(s.accuracy, 1e-16) << eps;
        }
    }
}

// Continuous chains whose equilibrium is known, with every rate multiplied by a scale.
struct ScaledRates {
    const char* name;
    Rows rates;                  // at scale 1
    std::vector<long double> p;  // the equilibrium
    double largestScale;         // the rates stay finite up to it
};

ScaledRates Cycle(const char* name, const std::vector<double>& exitRates) {
    // Around a cycle the flow p(i) q(i) is the same everywhere: p(i) is proportional to 1 / q(i).
    const int n = static_cast<int>(exitRates.size());
    Rows rates(n, std::vector<double>(n, 0.0));
    std::vector<long double> p(n);
    long double total = 0;
    double largest = 0;
    for (int i = 0; i < n; ++i) {
        rates[i][(i + 1) % n] = exitRates[i];
        p[i] = 1 / static_cast<long double>(exitRates[i]);
        total += p[i];
        largest = std::max(largest, exitRates[i]);
    }
    for (auto& v : p)
        v /= total;
    return {name, rates, p, 1e307 / largest};
}

std::vector<ScaledRates> ScaledRateChains() {
    std::vector<double> hundred(100, 1.0);
    hundred[41] = 1e20;
    for (int i = 0; i < 100; i += 7)
        hundred[i] = 1 + i / 10.0;
    return {{"two states", {{0, 1}, {2, 0}}, {2.0L / 3, 1.0L / 3}, 1e307},
            Cycle("3-cycle", {1, 1, 1e16}),
            Cycle("100-cycle", hundred)};
}

TEST(SteadyStateReport, ContinuousEquilibriumDoesNotDependOnTheScaleOfTheRates) {
    for (const ScaledRates& chain : ScaledRateChains()) {
        for (int decade = -24; std::pow(10.0, decade) <= chain.largestScale; decade += 4) {
            const double scale = std::pow(10.0, decade);
            const int n = static_cast<int>(chain.rates.size());
            Rows rates = chain.rates;
            for (auto& row : rates)
                for (auto& q : row)
                    q *= scale;
            // Cost rates r(i) = i, no transition costs: g = sum of i p(i).
            std::vector<double> r(n);
            long double g = 0;
            for (int i = 0; i < n; ++i) {
                r[i] = i + 1;
                g += (i + 1) * chain.p[i];
            }
            const auto lines = SteadyStateReport(
                MakeChain(rates, ChainKind::Continuous, {r, std::vector<double>(n, 0.0)}));
            Lines expected{"The solution is: ", " "};
            for (int i = 1; i <= n; ++i)
                expected.push_back("State " + std::to_string(i) + ": p[" + std::to_string(i) +
                                   "] = " + FormatSignificant(chain.p[i - 1], 10));
            expected.insert(expected.end(),
                            {"", "Average cost per unit time: " + FormatFixedPrecision(g, 14, 10),
                             " ", "Accuracy check: 0.0000000000"});
            EXPECT_EQ(lines, WithHeader(expected)) << chain.name << " at scale " << scale;
        }
    }
}

TEST(BalanceResidual, LooksAtEveryBalanceEquation) {
    // Around the cycle 1 -> 2 -> 3 -> 1 the equilibrium is uniform; this x satisfies the balance
    // equation of state 3 but not those of states 1 and 2.
    const Matrix cycle = OneBased({{0, 1, 0}, {0, 0, 1}, {1, 0, 0}});
    EXPECT_DOUBLE_EQ(BalanceResidual(cycle, 3, {0, 0.5, 0.25, 0.25}), 0.25);
    EXPECT_EQ(BalanceResidual(cycle, 3, {0, 1.0 / 3, 1.0 / 3, 1.0 / 3}), 0);
    // A row that does not quite sum to one leaves a residual that no vector can remove.
    const Matrix shortRow = OneBased({{0.5, 0.5}, {0.5, 0.499999}});
    EXPECT_NEAR(SolveSteadyState(shortRow, 2).accuracy, 0.5e-6, 1e-12);
}

TEST(RateBalanceResidual, IsRelativeToTheLargestRateOut) {
    for (const double scale : {1e-250, 1.0, 1e250}) {
        // Rates 1 and 3 between two states: the flows balance at x = (3/4, 1/4); x = (1/2, 1/2)
        // leaves 1/2 - 3/2 = -1 per unit of rate against the largest rate out, 3.
        const Matrix q = OneBased({{0, scale}, {3 * scale, 0}});
        EXPECT_DOUBLE_EQ(RateBalanceResidual(q, 2, {0, 0.5, 0.5}), 1.0 / 3) << scale;
        EXPECT_EQ(RateBalanceResidual(q, 2, {0, 0.75, 0.25}), 0) << scale;
    }
    EXPECT_EQ(RateBalanceResidual(OneBased({{0}}), 1, {0, 1}), 0) << "no rates at all";
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

TEST(SteadyStateReport, CostsNearTheLimitOfNumbersGiveAFiniteAverage) {
    const double largest = std::numeric_limits<double>::max();
    // p(1,2) = 0.9, p(2,1) = 0.1: pi = (0.1, 0.9), whose doubles add up to just above 1.
    const ChainData discrete =
        MakeChain({{0.1, 0.9}, {0.1, 0.9}}, ChainKind::Discrete, {{largest, largest}});
    EXPECT_EQ(SteadyStateReport(discrete).at(9),
              "Average cost per unit time: 1.7976931348623E+308");
    // Cost rates c = (1e8 * 1e300, 1e7 * 2e300) at p = (2/3, 1/3): g = 2.2e308 / 3.
    const ChainData continuous =
        MakeChain({{0, 1e300}, {2e300, 0}}, ChainKind::Continuous, {{0, 0}, {1e7, 1e8}});
    EXPECT_EQ(SteadyStateReport(continuous).at(9),
              "Average cost per unit time: 7.3333333333333E+307");
}

TEST(SolveContinuousSteadyState, RatiosBeyondTheRangeOfNumbersLeaveAllMassAtTheTop) {
    // Birth-death rates up 1e300, down 1e-300: p(k+1) / p(k) = 1e600.
    const int n = 12;
    Rows rates(n, std::vector<double>(n, 0.0));
    for (int i = 0; i + 1 < n; ++i) {
        rates[i][i + 1] = 1e300;
        rates[i + 1][i] = 1e-300;
    }
    const SteadyState s = SolveContinuousSteadyState(OneBased(rates), n);
    ASSERT_TRUE(s.solved);
    for (int i = 1; i < n; ++i)
        EXPECT_EQ(s.x[i], 0) << i;
    EXPECT_EQ(s.x[n], 1);
    EXPECT_LT(s.accuracy, 1e-300);
}

}  // namespace
}  // namespace wachtrix
