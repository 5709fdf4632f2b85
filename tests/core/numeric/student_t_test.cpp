// The 95% Student t quantile behind the simulation's error bars: the table and the expansion
// beyond it against quantiles computed by integrating the t density (six digits).

#include "core/numeric/student_t.h"

#include <gtest/gtest.h>

namespace wachtrix {
namespace {

struct Quantile {
    int degrees;
    double t;
};

// 31 and up come from the expansion; 30 is the table's last row.
constexpr Quantile kQuantiles[] = {{1, 12.706205}, {2, 4.302653},   {5, 2.570582},
                                   {9, 2.262157},  {30, 2.042272},  {31, 2.039513},
                                   {40, 2.021075}, {120, 1.979930}, {1000, 1.962339}};

TEST(StudentT, QuantilesToSixDigits) {
    for (const Quantile& q : kQuantiles)
        EXPECT_NEAR(StudentT975(q.degrees), q.t, 1e-5) << q.degrees << " degrees of freedom";
}

}  // namespace
}  // namespace wachtrix
