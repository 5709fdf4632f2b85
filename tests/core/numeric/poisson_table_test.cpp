#include "core/numeric/poisson_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/expect_near.h"

namespace wachtrix {
namespace {

// ln of e^-m m^j / j! by the log-gamma function.
double LogPoisson(double m, int j) {
    return -m + j * std::log(m) - std::lgamma(j + 1.0);
}

TEST(PoissonTable, MatchesTheClosedFormForASmallMean) {
    const auto a = PoissonTable(2.0, 12);
    ASSERT_EQ(a.size(), 12u);
    for (int j = 0; j < 12; ++j)
        EXPECT_REL_NEAR(a[j], std::exp(LogPoisson(2.0, j)), 1e-14) << j;
}

TEST(PoissonTable, KeepsTheBellOfALargeMeanWhereTheFirstTermsUnderflow) {
    const double m = 495;  // 500 servers at rho = 0.99
    const auto a = PoissonTable(m, 751);
    // ln a_0 = -495: the first terms fall below the guard at -100 and are 0, the rest exact.
    EXPECT_EQ(a[0], 0.0);
    long double sum = 0;
    for (int j = 0; j < 751; ++j) {
        sum += a[j];
        const double logTerm = LogPoisson(m, j);
        if (logTerm < -100.01) {
            EXPECT_EQ(a[j], 0.0) << j;
        } else if (logTerm > -99.99) {
            EXPECT_REL_NEAR(a[j], std::exp(logTerm), 1e-11) << j;
        }
    }
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-12);
}

TEST(PoissonTable, DegenerateArguments) {
    EXPECT_TRUE(PoissonTable(3, 0).empty());
    EXPECT_EQ(PoissonTable(0, 3), (std::vector<double>{1, 0, 0}));
}

}  // namespace
}  // namespace wachtrix
