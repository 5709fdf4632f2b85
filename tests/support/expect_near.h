#pragma once
// Relative comparison with an absolute floor, for values computed two different ways.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace wachtrix::testing {

inline ::testing::AssertionResult RelNear(long double actual, long double expected,
                                          long double relative,
                                          long double absoluteFloor = 1e-300L) {
    const long double allowed = std::max(relative * std::fabs(expected), absoluteFloor);
    if (std::fabs(actual - expected) <= allowed) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "actual " << static_cast<double>(actual) << " differs from expected "
           << static_cast<double>(expected) << " by more than " << static_cast<double>(allowed);
}

}  // namespace wachtrix::testing

#define EXPECT_REL_NEAR(actual, expected, rel) \
    EXPECT_TRUE(::wachtrix::testing::RelNear((actual), (expected), (rel)))
#define EXPECT_REL_NEAR_FLOOR(actual, expected, rel, floor) \
    EXPECT_TRUE(::wachtrix::testing::RelNear((actual), (expected), (rel), (floor)))
