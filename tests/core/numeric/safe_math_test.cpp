#include "core/numeric/safe_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/expect_near.h"

namespace wachtrix {
namespace {

TEST(SafeExp, IsZeroFromMinusOneHundredDown) {
    EXPECT_EQ(SafeExp(-100), 0);
    EXPECT_EQ(SafeExp(-1e6), 0);
    EXPECT_GT(SafeExp(-99.9L), 0);
    EXPECT_REL_NEAR(SafeExp(1), std::exp(1.0L), 1e-18L);
}

TEST(SafeLn, IsMinus750ForNonPositiveArguments) {
    EXPECT_EQ(SafeLn(0), -750);
    EXPECT_EQ(SafeLn(-1), -750);
    EXPECT_REL_NEAR(SafeLn(std::exp(1.0L)), 1.0L, 1e-18L);
}

TEST(SafePower, IsZeroForZeroBaseWhateverTheExponent) {
    EXPECT_EQ(SafePower(0, 0), 0);
    EXPECT_EQ(SafePower(0, -1), 0);
    EXPECT_REL_NEAR(SafePower(2, 10), 1024.0L, 1e-17L);
    EXPECT_REL_NEAR(SafePower(10, -9), 1e-9L, 1e-17L);
    // Far below the exponent guard: zero instead of an underflowing power.
    EXPECT_EQ(SafePower(0.5L, 200), 0);
}

TEST(IsSignificant, ComparesWithTheExtendedConstant) {
    EXPECT_TRUE(IsSignificant(1e-6L));
    EXPECT_FALSE(IsSignificant(static_cast<double>(1e-6)));  // the double lies just below
    EXPECT_TRUE(IsSignificant(0.5));
    EXPECT_FALSE(IsSignificant(0));
}

}  // namespace
}  // namespace wachtrix
