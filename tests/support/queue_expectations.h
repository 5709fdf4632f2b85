#pragma once
// Shapes every queue model's results share, checked in one line per model.

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "core/queue/chart_plot.h"
#include "support/expect_near.h"

namespace wachtrix::testing {

enum class AtNoWaitMass { Zero, Undefined };

// A waiting-time percentile is undefined (negative) below P{Wq = 0} = noWait, zero or undefined
// at it as the model says, and above it the time where the tail has fallen to 1 - p.
template <class Percentile, class Tail>
void ExpectPercentiles(Percentile&& percentile, Tail&& tail, double noWait, AtNoWaitMass atMass,
                       double relative, std::initializer_list<double> ps = {0.9, 0.99, 0.999999}) {
    EXPECT_LT(percentile(noWait / 2), 0);
    EXPECT_LT(percentile(noWait - 1e-6), 0);
    if (atMass == AtNoWaitMass::Zero) {
        EXPECT_EQ(percentile(noWait), 0);
    } else {
        EXPECT_LT(percentile(noWait), 0);
    }
    for (const double p : ps) {
        if (p <= noWait) continue;
        const double x = percentile(p);
        ASSERT_GT(x, 0) << p;
        EXPECT_REL_NEAR(tail(x), 1 - p, relative) << p;
    }
}

// A conditional curve of a model: every point is y(x) and the list ends at its first point at or
// below 0.001.
template <class Y>
void ExpectConditionalCurve(const std::vector<ChartPoint>& points, Y&& y, double relative) {
    ASSERT_GE(points.size(), 2u);
    for (const ChartPoint& p : points)
        EXPECT_REL_NEAR(p.y, y(p.x), relative) << "x = " << p.x;
    EXPECT_LE(points.back().y, 0.001 * (1 + 1e-6));
    EXPECT_GT(points[points.size() - 2].y, 0.001);
}

// The states 0, 1, ..., last, for a table of them.
inline std::vector<int> UpTo(int last) {
    std::vector<int> n(static_cast<std::size_t>(last) + 1);
    for (int i = 0; i <= last; ++i)
        n[static_cast<std::size_t>(i)] = i;
    return n;
}

// A distribution given as P{L = n} and P{L > n} (`state(n)` returns a StateProbability) over
// n = 0..last: it sums to one and every tail is what the sum so far leaves. Returns the mean.
template <class State>
long double ExpectDistribution(State&& state, int last, double tolerance) {
    long double sum = 0, mean = 0;
    for (int n = 0; n <= last; ++n) {
        const auto p = state(n);
        sum += p.equal;
        mean += n * static_cast<long double>(p.equal);
        EXPECT_NEAR(p.greater, static_cast<double>(1 - sum), tolerance) << "n = " << n;
    }
    EXPECT_NEAR(static_cast<double>(sum), 1, tolerance);
    return mean;
}

}  // namespace wachtrix::testing
