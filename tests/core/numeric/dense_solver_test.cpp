// The scaled-pivoting solver against a textbook elimination written here, residuals and the
// singular cases.

#include "core/numeric/dense_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/failure_lines.h"

namespace wachtrix {
namespace {

SquareMatrix<double> FromRows(std::initializer_list<std::initializer_list<double>> rows) {
    SquareMatrix<double> a(static_cast<int>(rows.size()));
    int i = 0;
    for (const auto& r : rows) {
        int j = 0;
        for (const double v : r)
            a(i, j++) = v;
        ++i;
    }
    return a;
}

// The plain right-looking elimination, one row update after another.
ScaledLU TextbookElimination(SquareMatrix<double> a) {
    const int n = a.size();
    std::vector<double> scale(n);
    std::vector<int> permutation(n);
    for (int i = 0; i < n; ++i) {
        long double squares = 0;
        for (int j = 0; j < n; ++j)
            squares += static_cast<long double>(a(i, j)) * a(i, j);
        scale[i] = static_cast<double>(std::sqrt(squares));
        permutation[i] = i;
    }
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(a(i, k)) / scale[i] > std::fabs(a(pivot, k)) / scale[pivot]) pivot = i;
        for (int j = 0; j < n; ++j)
            std::swap(a(k, j), a(pivot, j));
        std::swap(scale[k], scale[pivot]);
        std::swap(permutation[k], permutation[pivot]);
        for (int i = k + 1; i < n; ++i) {
            a(i, k) /= a(k, k);
            for (int j = k + 1; j < n; ++j)
                a(i, j) -= a(i, k) * a(k, j);
        }
    }
    return {std::move(a), std::move(permutation)};
}

// A random matrix, about a third of its entries zero, with a reinforced diagonal.
SquareMatrix<double> RandomMatrix(int n, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1, 1);
    SquareMatrix<double> a(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a(i, j) = uniform(generator) > 0.33 ? uniform(generator) : 0;
    for (int i = 0; i < n; ++i)
        a(i, i) += 2;
    return a;
}

using testing::FailureLines;

TEST(ScaledPivoting, SolvesASmallSystemExactly) {
    const auto x = SolveScaledPivoting(FromRows({{0, 2}, {4, 3}}), {3, 7}, kLudeco);
    ASSERT_EQ(x.size(), 2u);
    EXPECT_DOUBLE_EQ(x[0], 0.625);
    EXPECT_DOUBLE_EQ(x[1], 1.5);
}

TEST(ScaledPivoting, ChoosesThePivotRelativeToEachRowsNorm) {
    // Plain partial pivoting would take row 0 (|100| > |1|); scaled, row 1 is far larger.
    const auto lu = DecomposeScaledPivoting(FromRows({{100, 1e6}, {1, 1}}), kLudeco);
    EXPECT_EQ(lu.permutation, (std::vector<int>{1, 0}));
    const auto x = SolveDecomposed(lu, {1e6 + 100, 2});
    EXPECT_NEAR(x[0], 1, 1e-12);
    EXPECT_NEAR(x[1], 1, 1e-12);
}

TEST(ScaledPivoting, MatchesTheTextbookLoopBitForBitAcrossPanelBoundaries) {
    for (const int n : {1, 3, 23, 24, 25, 48, 49, 97, 200}) {
        const SquareMatrix<double> a = RandomMatrix(n, 17u + n);
        const ScaledLU fast = DecomposeScaledPivoting(a, kLudeco);
        const ScaledLU plain = TextbookElimination(a);
        EXPECT_EQ(fast.permutation, plain.permutation) << n;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                ASSERT_EQ(fast.lu(i, j), plain.lu(i, j)) << n << ": " << i << ", " << j;
    }
}

TEST(ScaledPivoting, LeavesASmallResidual) {
    const int n = 150;
    const SquareMatrix<double> a = RandomMatrix(n, 5);
    std::vector<double> b(n);
    for (int i = 0; i < n; ++i)
        b[i] = std::sin(i + 1.0);
    const auto x = SolveScaledPivoting(a, b, kLudeco);
    for (int i = 0; i < n; ++i) {
        long double r = -b[i];
        for (int j = 0; j < n; ++j)
            r += static_cast<long double>(a(i, j)) * x[j];
        EXPECT_LT(std::fabs(static_cast<double>(r)), 1e-12) << i;
    }
}

TEST(ScaledPivoting, RefusesSingularMatricesWithItsText) {
    const std::vector<std::string> text{"Er is iets mis in LUDECO"};
    EXPECT_EQ(
        FailureLines([] {
            SolveScaledPivoting(FromRows({{1, 2, 3}, {1, 2, 3}, {0, 1, 5}}), {1, 1, 1}, kLudeco);
        }),
        text);
    for (const auto& rows : {
             // Two equal rows: the second column vanishes after the first step.
             FromRows({{1, 2, 3}, {1, 2, 3}, {0, 1, 5}}),
             // A zero row has no scale at all.
             FromRows({{1, 2}, {0, 0}}),
             // Only the last pivot vanishes; it is tested like the others, so no division by 0.
             FromRows({{2, 1, 1}, {0, 3, 1}, {2, 4, 2}}),
             // A pivot of relative size 1e-13 is below the threshold 1e-12.
             FromRows({{1, 1}, {1, 1 + 1e-13}}),
         })
        EXPECT_EQ(FailureLines([&] { DecomposeScaledPivoting(rows, kLudeco); }), text);
    EXPECT_TRUE(FailureLines([] {
                    DecomposeScaledPivoting(FromRows({{1, 1}, {1, 1 + 1e-9}}), kLudeco);
                }).empty());
}

}  // namespace
}  // namespace wachtrix
