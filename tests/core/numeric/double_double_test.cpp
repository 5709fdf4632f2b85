#include "core/numeric/double_double.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace wachtrix {
namespace {

// The row kernel, in whichever build the loader picked for this machine, against the operators
// one entry at a time: the same roundings, bit for bit, through the vector body and its tail.
TEST(DoubleDoubleRows, AddScaledRoundsAsTheOperatorsDo) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> unit(0.5, 1);
    for (int length = 0; length <= 37; ++length) {
        std::vector<double> yHi(length), yLo(length), xHi(length), xLo(length);
        std::vector<DoubleDouble> expected(length);
        const DoubleDouble s = DoubleDouble(1) / (1 + 1e3 * unit(rng));
        for (int k = 0; k < length; ++k) {
            // Thirds and sevenths have low parts; the scales make some sums carry and some not.
            const DoubleDouble y = DoubleDouble(std::ldexp(unit(rng), k % 9 - 4)) / 3;
            const DoubleDouble x = DoubleDouble(std::ldexp(unit(rng), k % 7 - 3)) / 7;
            yHi[k] = y.hi;
            yLo[k] = y.lo;
            xHi[k] = x.hi;
            xLo[k] = x.lo;
            expected[k] = s * x + y;
        }
        dd::AddScaled(yHi.data(), yLo.data(), s, xHi.data(), xLo.data(), length);
        for (int k = 0; k < length; ++k) {
            EXPECT_EQ(yHi[k], expected[k].hi) << length << ", " << k;
            EXPECT_EQ(yLo[k], expected[k].lo) << length << ", " << k;
        }
    }
}

}  // namespace
}  // namespace wachtrix
