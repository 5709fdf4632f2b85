#include "core/queue/state_tails.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/queue/output_tables.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

TEST(StateTails, GeometricTailsKeepEveryDigit) {
    // P{L = n} = (1 - r) r^n for n = 0..N, P{L > n} = r^(n + 1): the tails below 1e-16 are lost
    // entirely by 1 - P{L <= n}.
    for (const double r : {1e-3, 0.1, 0.6, 0.9}) {
        const int N = 40;
        std::vector<double> equal(N + 1);
        for (int n = 0; n <= N; ++n)
            equal[n] = (1 - r) * std::pow(r, n);
        const std::vector<double> tails = StateTails(equal, std::pow(r, N + 1));
        ASSERT_EQ(tails.size(), equal.size());
        for (int n = 0; n <= N; ++n)
            EXPECT_REL_NEAR(tails[n], std::pow(r, n + 1), 1e-13) << r << " " << n;
    }
}

TEST(StateTails, LargeTailsAreTheComplementOfTheCumulativeSum) {
    const std::vector<double> tails = StateTails({0.1, 0.2, 0.7}, 0.0);
    ASSERT_EQ(tails.size(), 3u);
    EXPECT_DOUBLE_EQ(tails[0], 0.9);
    EXPECT_DOUBLE_EQ(tails[1], 0.7);
    EXPECT_EQ(tails[2], 0);
    // At one half exactly the complement is taken, below it the sum from above.
    EXPECT_EQ(StateTails({0.5, 0.25}, 0.25), (std::vector<double>{0.5, 0.25}));
    EXPECT_EQ(StateTails({0.75, 0.25}, 0.0), (std::vector<double>{0.25, 0.0}));
}

// The state tables of the finite models: the same tails at the asked states, 0 beyond the last.
TEST(StateRowsOf, SmallTailsOfAFiniteDistributionKeepTheirDigits) {
    const std::vector<double> p = {1 - 3e-14, 2e-14, 1e-14};
    const StateTable table = StateRowsOf(p, {2, 0, 1, 5});
    ASSERT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[0].equal, 1e-14);
    EXPECT_EQ(table.rows[0].greater, 0);
    EXPECT_REL_NEAR(table.rows[1].greater, 3e-14, 1e-15);
    EXPECT_REL_NEAR(table.rows[2].greater, 1e-14, 1e-15);
    EXPECT_EQ(table.rows[3].equal, 0);
    EXPECT_EQ(table.rows[3].greater, 0);
}

}  // namespace
}  // namespace wachtrix
