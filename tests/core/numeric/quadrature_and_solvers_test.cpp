// The shared quadrature, log-gamma and Hessenberg solver against closed forms and a plain
// elimination (tests/support/reference_math.h).

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/numeric/gauss_legendre.h"
#include "core/numeric/householder.h"
#include "core/numeric/log_gamma.h"
#include "support/expect_near.h"
#include "support/failure_lines.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

TEST(GaussLegendre, IsExactForPolynomialsUpToDegreeTwoNMinusOne) {
    for (const int n : {2, 5, 24, 32}) {
        const auto rule = GaussLegendre<double>(n, 1.0, 3.0, 1e-14);
        for (int degree = 0; degree <= 2 * n - 1; degree += 3) {
            const double exact = (std::pow(3.0, degree + 1) - 1) / (degree + 1);
            EXPECT_REL_NEAR(rule.integrate([&](double x) { return std::pow(x, degree); }), exact,
                            1e-13)
                << "n = " << n << ", degree " << degree;
        }
    }
}

TEST(GaussLegendre, NodesAscendInsideTheIntervalWhicheverWayItIsGiven) {
    const auto forward = GaussLegendre<double>(7, 0.0, 2.0, 1e-14);
    const auto reversed = GaussLegendre<double>(7, 2.0, 0.0, 1e-14);
    EXPECT_EQ(forward.nodes, reversed.nodes);
    for (std::size_t i = 0; i < forward.nodes.size(); ++i) {
        EXPECT_GT(forward.nodes[i], 0.0);
        EXPECT_LT(forward.nodes[i], 2.0);
        if (i > 0) {
            EXPECT_GT(forward.nodes[i], forward.nodes[i - 1]);
        }
    }
    EXPECT_DOUBLE_EQ(forward.nodes[3], 1.0);  // an odd rule has the midpoint as a node
}

TEST(GaussLegendre, ExtendedPrecisionRuleIntegratesTheExponentialToItsResolution) {
    const auto rule = GaussLegendre<long double>(275, 0.0L, 3.14159265358979323846L, 1e-14L);
    const long double integral = rule.integrate([](long double x) { return std::sin(x); });
    EXPECT_NEAR(static_cast<double>(integral - 2.0L), 0.0, 1e-15);
}

// c (1 - x)^(c - 1) integrates to 1: beyond c = 200 one 32-point rule over [0, 1] misses it in
// the third digit, the doubling panels keep it to round-off.
TEST(GaussLegendrePanels, IntegrateAFactorConcentratedAtTheLeftEnd) {
    for (const int c : {2, 50, 500, 2500}) {
        const auto rule = GaussLegendrePanels<double>(32, 0.0, 1.0, 1.0 / c, 1e-14);
        EXPECT_NEAR(rule.integrate([c](double x) { return c * std::pow(1 - x, c - 1); }), 1.0,
                    1e-13)
            << c;
    }
    EXPECT_EQ(GaussLegendrePanels<double>(4, 0.0, 1.0, 0.25, 1e-14).nodes.size(), 12u);
}

TEST(LogGamma, AgreesWithTheLibraryAndFactorials) {
    for (double x = 0.1; x <= 3000; x *= 1.13)
        EXPECT_NEAR(LogGamma(x), std::lgamma(x), 2e-10 * std::max(1.0, std::fabs(std::lgamma(x))))
            << x;
    EXPECT_NEAR(LogGamma(11.0L), std::log(3628800.0L), 1e-9L);
}

TEST(LogFactorialTable, HoldsLnKFactorialFromZero) {
    const auto table = LogFactorialTable<long double>(1000);
    ASSERT_EQ(table.size(), 1001u);
    EXPECT_EQ(table[0], 0.0L);
    EXPECT_EQ(table[1], 0.0L);
    for (const int k : {2, 10, 170, 1000})
        EXPECT_NEAR(static_cast<double>(table[k]), std::lgamma(k + 1.0), 1e-12 * k) << k;
}

TEST(HouseholderSolve, AgreesWithEliminationOnRandomHessenbergSystems) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> entry(-1, 1);
    for (const int n : {1, 2, 3, 10, 60}) {
        SquareMatrix<double> A(n);
        std::vector<std::vector<double>> copy(n, std::vector<double>(n, 0));
        std::vector<double> b(n);
        for (int i = 0; i < n; ++i) {
            for (int j = std::max(i - 1, 0); j < n; ++j)
                copy[i][j] = A(i, j) = entry(random) + (i == j ? 3 : 0);
            b[i] = entry(random);
        }
        const std::vector<double> expected = testing::DenseSolve(copy, b);
        const std::vector<double> x = HouseholderSolve(A, b, "singular");
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(x[i], expected[i], 1e-12) << "n = " << n << ", x" << i;
    }
}

TEST(HouseholderSolve, SolvesAStochasticBalanceSystemInExtendedPrecision) {
    // A birth-death chain's balance equations with the first row replaced by normalisation:
    // p(j) proportional to r^j.
    const int n = 40;
    const long double up = 0.3L, down = 0.5L, r = up / down;
    SquareMatrix<long double> A(n);
    std::vector<long double> b(n, 0);
    for (int j = 0; j < n; ++j)
        A(0, j) = 1;
    b[0] = 1;
    for (int j = 1; j < n; ++j) {
        A(j, j - 1) = up;
        A(j, j) = -(down + (j + 1 < n ? up : 0));
        if (j + 1 < n) A(j, j + 1) = down;
    }
    const auto p = HouseholderSolve(A, b, "singular");
    const long double p0 = (1 - r) / (1 - std::pow(r, n));
    for (int j = 0; j < n; ++j)
        EXPECT_TRUE(testing::RelNear(p[j], p0 * std::pow(r, j), 1e-15L)) << j;
}

TEST(HouseholderSolve, RefusesASingularMatrixWithTheCallersText) {
    SquareMatrix<double> A(3);
    A(0, 0) = 1, A(0, 1) = 2, A(0, 2) = 3;
    A(1, 0) = 2, A(1, 1) = 4, A(1, 2) = 6;
    A(2, 1) = 1, A(2, 2) = 2;
    std::vector<double> b{1, 2, 3};
    EXPECT_EQ(
        testing::FailureLines([&] { HouseholderSolve(A, b, "householder matrix is singulier"); }),
        std::vector<std::string>{"householder matrix is singulier"});
}

}  // namespace
}  // namespace wachtrix
