#include "core/markov/lu_decomposition.h"

#include <gtest/gtest.h>

#include <random>

#include "core/markov/chain_builders.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::OneBased;
using testing::Rows;

constexpr double kTolerance = 1e-20;

std::vector<double> OneBasedVector(const std::vector<double>& v) {
    std::vector<double> w{0.0};
    w.insert(w.end(), v.begin(), v.end());
    return w;
}

std::vector<double> Multiply(const Matrix& a, const std::vector<double>& x, int n) {
    std::vector<double> b(n + 1, 0.0);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            b[i] += a[i][j] * x[j];
    return b;
}

TEST(LUDecomposition, SolvesASystemThatNeedsRowExchanges) {
    // Zero in the first pivot position; solution (1, 2, 3).
    const Matrix a = OneBased({{0, 2, 1}, {1, 1, 1}, {3, 0, -1}});
    const auto lu = DecomposeLU(a, 3, kTolerance);
    ASSERT_TRUE(lu);
    const std::vector<double> x = SolveLU(*lu, OneBasedVector({7, 6, 0}));
    EXPECT_REL_NEAR(x[1], 1, 1e-14);
    EXPECT_REL_NEAR(x[2], 2, 1e-14);
    EXPECT_REL_NEAR(x[3], 3, 1e-14);
}

TEST(LUDecomposition, PivotsOnTheLargestEntryRelativeToItsRowNorm) {
    // Plain partial pivoting would take row 1 (2 > 1); relative to the row norms row 2 wins.
    const auto lu = DecomposeLU(OneBased({{2, 100000}, {1, 1}}), 2, kTolerance);
    ASSERT_TRUE(lu);
    EXPECT_EQ(lu->permutation, (std::vector<int>{0, 2, 1}));
    // Equal ratios: the first row stays.
    const auto tie = DecomposeLU(OneBased({{1, 1}, {1, -1}}), 2, kTolerance);
    ASSERT_TRUE(tie);
    EXPECT_EQ(tie->permutation, (std::vector<int>{0, 1, 2}));
}

TEST(LUDecomposition, RowScalesStayWithTheirPositionsAfterAnExchange) {
    // Column 1 brings row 3 to the top and row 1 to position 3, which keeps row 3's small
    // scale; so row 1's remainder outranks row 2 in column 2 (with row 1's own scale it would
    // not). The solution is right either way.
    const Matrix a = OneBased({{1, 1, 1000}, {0, 1, 10}, {2, 0, 1}});
    const auto lu = DecomposeLU(a, 3, kTolerance);
    ASSERT_TRUE(lu);
    EXPECT_EQ(lu->permutation, (std::vector<int>{0, 3, 1, 2}));
    const std::vector<double> x = SolveLU(*lu, Multiply(a, OneBasedVector({1, -2, 0.5}), 3));
    EXPECT_REL_NEAR(x[1], 1, 1e-12);
    EXPECT_REL_NEAR(x[2], -2, 1e-12);
    EXPECT_REL_NEAR(x[3], 0.5, 1e-12);
}

TEST(LUDecomposition, RefusesSingularMatrices) {
    EXPECT_FALSE(DecomposeLU(OneBased({{1, 2}, {2, 4}}), 2, kTolerance)) << "dependent rows";
    EXPECT_FALSE(DecomposeLU(OneBased({{0, 0}, {0, 0}}), 2, kTolerance)) << "zero matrix";
    EXPECT_FALSE(DecomposeLU(OneBased({{1, 1, 1}, {0, 0, 0}, {2, 0, 1}}), 3, kTolerance))
        << "zero row";
    // Only the last pivot is zero.
    EXPECT_FALSE(DecomposeLU(OneBased({{1, 0}, {0, 0}}), 2, kTolerance));
    // Nearly dependent rows: the last pivot is 2^-40, its ratio 2^-40 / sqrt(2).
    const Matrix nearly = OneBased({{1, 1}, {1, 1 + 0x1p-40}});
    EXPECT_TRUE(DecomposeLU(nearly, 2, kTolerance));
    EXPECT_FALSE(DecomposeLU(nearly, 2, 1e-12)) << "below the tolerance";
}

TEST(LUDecomposition, SolvesRandomSystemsToRoundOff) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> entry(-1, 1);
    for (int trial = 0; trial < 50; ++trial) {
        const int n = 1 + trial * 2;
        Matrix a(n + 1, std::vector<double>(n + 1, 0.0));
        std::vector<double> expected(n + 1, 0.0);
        for (int i = 1; i <= n; ++i) {
            expected[i] = entry(rng);
            for (int j = 1; j <= n; ++j)
                a[i][j] = entry(rng) + (i == j ? 2.0 : 0.0);
        }
        const auto lu = DecomposeLU(a, n, kTolerance);
        ASSERT_TRUE(lu);
        const std::vector<double> x = SolveLU(*lu, Multiply(a, expected, n));
        for (int i = 1; i <= n; ++i)
            EXPECT_NEAR(x[i], expected[i], 1e-11) << "n = " << n << ", i = " << i;
    }
}

}  // namespace
}  // namespace wachtrix
