#include "core/markov/poisson_weights.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/expect_near.h"

namespace wachtrix {
namespace {

TEST(TruncationPoint, FixedPointsUpToOneHundredSixtyThenTheNormalBound) {
    struct Row {
        double lambda;
        int point;
    };
    const Row rows[] = {{1e-4, 16}, {1, 16},      {1.0001, 29}, {5, 29},      {10, 41},
                        {15, 51},   {25, 70},     {50, 109},    {80, 153},    {120, 207},
                        {160, 259}, {160.5, 261}, {200, 313},   {5000, 5565}, {1e5, 102529}};
    for (const Row& r : rows)
        EXPECT_EQ(TruncationPoint(r.lambda), r.point) << r.lambda;
}

TEST(TruncationPoint, CountsLongSeriesAndMarksTheEndlessOnes) {
    EXPECT_EQ(TruncationPoint(5e8), 500178885);  // trunc(5e8 + 8 sqrt(5e8))
    EXPECT_EQ(TruncationPoint(3e9), 3000438178);
    // Beyond 2^62 no run steps through the series: it is squared.
    EXPECT_EQ(TruncationPoint(1e300), 1LL << 62);
    EXPECT_EQ(TruncationPoint(INFINITY), 1LL << 62);
}

// Against the weights computed directly, e^-lambda lambda^n / n!, through the log-gamma
// function; their sum up to the truncation point leaves only the far tail.
TEST(PoissonWeights, AreThePoissonProbabilitiesAndTheirRunningSum) {
    const std::vector<double> lambdas{0.5, 7.25, 200, 1e5};
    PoissonWeights weights(1, lambdas);
    const int last = weights.lastTerm();
    EXPECT_EQ(weights.lastTerm(0), 16);
    EXPECT_EQ(last, TruncationPoint(1e5));
    long double sums[4] = {};
    for (int n = 0; n <= last; ++n) {
        for (std::size_t k = 0; k < lambdas.size(); ++k) {
            const long double logExact = -lambdas[k] +
                                         n * std::log(static_cast<long double>(lambdas[k])) -
                                         std::lgamma(n + 1.0L);
            const long double exact = logExact < -700 ? 0 : std::exp(logExact);
            sums[k] += exact;
            if (exact > 1e-250)
                EXPECT_REL_NEAR(weights.weight(k), exact, 1e-9) << k << " " << n;
            else
                EXPECT_LT(weights.weight(k), 1e-240) << k << " " << n;
            EXPECT_REL_NEAR(weights.cumulative(k), sums[k], 1e-9) << k << " " << n;
        }
        weights.Next();
    }
    for (std::size_t k = 0; k < lambdas.size(); ++k)
        EXPECT_NEAR(weights.cumulative(k), 1, 1e-12) << k;
}

}  // namespace
}  // namespace wachtrix
