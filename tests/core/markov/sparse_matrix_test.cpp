#include "core/markov/sparse_matrix.h"

#include <gtest/gtest.h>

#include "core/markov/chain_builders.h"

namespace wachtrix {
namespace {

using testing::OneBased;
using testing::RandomStochastic;

TEST(SparseMatrix, KeepsOnlyThePositiveEntriesInColumnOrder) {
    const SparseMatrix m(OneBased({{0, 0.5, 0.5}, {0, 0, 0}, {0.25, 0, 0.75}}), 3);
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(std::vector<int>(m.columns(1).begin(), m.columns(1).end()), (std::vector<int>{2, 3}));
    EXPECT_EQ(std::vector<double>(m.values(1).begin(), m.values(1).end()),
              (std::vector<double>{0.5, 0.5}));
    EXPECT_TRUE(m.columns(2).empty());
    EXPECT_EQ(std::vector<int>(m.columns(3).begin(), m.columns(3).end()), (std::vector<int>{1, 3}));
}

// Both products against the dense sums, for rows made of long stretches of consecutive columns
// (worked stretch by stretch), of scattered entries (worked entry by entry), and of both.
TEST(SparseMatrix, ProductsEqualTheDenseSums) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (const double density : {0.0, 0.03, 0.1, 0.3, 0.7, 1.0}) {
        for (const int n : {1, 2, 5, 37, 100}) {
            Matrix p = RandomStochastic(rng, n, density);
            if (n > 2) p[1].assign(n + 1, 0.0);  // an empty row
            const SparseMatrix m(p, n);
            std::vector<double> x(n + 1, 0.0), left, right;
            for (int i = 1; i <= n; ++i)
                x[i] = unit(rng) < 0.2 ? 0 : unit(rng);  // zeros: rows that add nothing
            m.MultiplyLeft(x, left);
            m.MultiplyRight(x, right);
            ASSERT_EQ(left.size(), static_cast<std::size_t>(n + 1));
            ASSERT_EQ(right.size(), static_cast<std::size_t>(n + 1));
            for (int j = 1; j <= n; ++j) {
                long double byColumn = 0, byRow = 0;
                for (int i = 1; i <= n; ++i) {
                    byColumn += static_cast<long double>(x[i]) * p[i][j];
                    byRow += static_cast<long double>(p[j][i]) * x[i];
                }
                EXPECT_NEAR(left[j], static_cast<double>(byColumn), 1e-15) << density << " " << n;
                EXPECT_NEAR(right[j], static_cast<double>(byRow), 1e-15) << density << " " << n;
            }
        }
    }
}

}  // namespace
}  // namespace wachtrix
