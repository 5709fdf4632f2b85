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

TEST(SparseMatrix, MixedRowsOfStretchesAndSingleEntries) {
    // Row 1: one long stretch; row 2: scattered; row 3: a stretch and a lone entry.
    const int n = 12;
    Matrix p(n + 1, std::vector<double>(n + 1, 0.0));
    for (int j = 2; j <= 11; ++j)
        p[1][j] = j;
    for (int j = 1; j <= n; j += 3)
        p[2][j] = j;
    for (int j = 1; j <= 6; ++j)
        p[3][j] = 1;
    p[3][12] = 5;
    const SparseMatrix m(p, n);
    std::vector<double> x(n + 1, 0.0), out;
    for (int j = 1; j <= n; ++j)
        x[j] = j;
    m.MultiplyRight(x, out);
    EXPECT_EQ(out[1], 505);  // 2^2 + ... + 11^2
    EXPECT_EQ(out[2], 1 + 16 + 49 + 100);
    EXPECT_EQ(out[3], 21 + 60);
    std::vector<double> unit3(n + 1, 0.0);
    unit3[3] = 2;
    m.MultiplyLeft(unit3, out);
    EXPECT_EQ(out[6], 2);
    EXPECT_EQ(out[7], 0);
    EXPECT_EQ(out[12], 10);
}

}  // namespace
}  // namespace wachtrix
