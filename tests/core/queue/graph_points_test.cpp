#include "core/queue/graph_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numeric/numerical_failure.h"

namespace wachtrix {
namespace {

TEST(GraphTimeStep, ChoosesAQuarterHalfOneOrTwoTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(GraphTimeStep(4.6), 0.1);   // 47 tenths
    EXPECT_DOUBLE_EQ(GraphTimeStep(150), 5);     // 16 tens
    EXPECT_DOUBLE_EQ(GraphTimeStep(0.5), 0.02);  // 51 hundredths
    EXPECT_DOUBLE_EQ(GraphTimeStep(1.0), 0.02);  // 101 hundredths
    EXPECT_DOUBLE_EQ(GraphTimeStep(30), 1);      // 31 units
}

TEST(TimeGraphPoints, EndAtTheFirstTimeAtOrBeyondTmax) {
    for (const double tmax : {0.37, 1.0, 4.6, 150.0, 7321.0}) {
        const auto points = TimeGraphPoints(tmax, [](double t) { return std::exp(-t); });
        ASSERT_GE(points.size(), 2u);
        EXPECT_GE(points.back().x, tmax * (1 - 1e-12));
        EXPECT_LT(points[points.size() - 2].x, tmax);
        // Between about a dozen and a hundred steps, whatever the scale.
        EXPECT_GE(points.size(), 11u) << tmax;
        EXPECT_LE(points.size(), 101u) << tmax;
        EXPECT_DOUBLE_EQ(points.front().y, std::exp(-points.front().x));
    }
}

// A geometric tail q^n: the conditional probability falls below 0.001 at n* = ln 0.001 / ln q.
std::vector<ChartPoint> GeometricStateGraph(double q) {
    double y = 1;
    return StateGraphPoints([&](int) { return y *= q; });
}

TEST(StateGraphPoints, KeepEveryStateForAShortTail) {
    const auto points = GeometricStateGraph(0.5);  // 0.5^10 < 0.001: ten points
    ASSERT_EQ(points.size(), 10u);
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_EQ(points[i].x, i + 1.0);
    EXPECT_LE(points.back().y, 0.001);
}

TEST(StateGraphPoints, ThinALongTailToAboutFiftyEvenlySpacedPoints) {
    const auto points = GeometricStateGraph(0.995);  // falls to 0.001 near n = 1378
    ASSERT_GE(points.size(), 40u);
    ASSERT_LE(points.size(), 60u);
    const double spacing = points[1].x - points[0].x;
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_DOUBLE_EQ(points[i].x - points[i - 1].x, spacing);
    EXPECT_LE(points.back().y, 0.001);
    for (const auto& p : points)
        EXPECT_NEAR(p.y, std::pow(0.995, p.x), 1e-9 * p.y);
}

TEST(StateGraphPoints, StopAtTenThousandStatesWhenTheTailNeverFalls) {
    const auto points = GeometricStateGraph(1.0);
    ASSERT_FALSE(points.empty());
    EXPECT_LE(points.back().x, 10000);
    EXPECT_GE(points.back().x, 9000);
    EXPECT_LE(points.size(), 60u);
}

// P{L > n} of a geometric tail P{L = n} = anchor ratio^n from n = 0 on.
auto GeometricTail(double anchor, double ratio) {
    return [=](int n) { return anchor * std::pow(ratio, n + 1) / (1 - ratio); };
}

TEST(ServerStateGraphPoints, EveryStateWhileTheTailIsShort) {
    // P{L > n | L > 0} = 0.5^n reaches 0.001 at n = 10.
    const GeometricStateTail g{0.5, 0, 0.5};
    const auto tail = GeometricTail(0.5, 0.5);
    const auto points = ServerStateGraphPoints(1, tail(0), g, tail);
    ASSERT_EQ(points.size(), 10u);
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_DOUBLE_EQ(points[i].y, std::pow(0.5, i + 1.0));
}

TEST(ServerStateGraphPoints, AboutFiftyEvenStepsForALongTail) {
    const struct {
        double ratio;
        int step;
    } rows[] = {{0.99, 14},       // n_max = 687: step 686 div 50 + 1
                {0.99999, 200}};  // n_max far beyond 10000: step 200, cut at 10000
    for (const auto& r : rows) {
        const GeometricStateTail g{1 - r.ratio, 0, r.ratio};
        const auto tail = GeometricTail(1 - r.ratio, r.ratio);
        EXPECT_EQ(ServerStateGraphStep(1, tail(0), g, tail), r.step);
        const auto points = ServerStateGraphPoints(1, tail(0), g, tail);
        ASSERT_GE(points.size(), 45u);
        ASSERT_LE(points.size(), 51u);
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(points[i].x, r.step * (i + 1.0));
        EXPECT_TRUE(points.back().y <= 0.001 || points.back().x + r.step > 10000);
    }
}

TEST(ServerStateGraphPoints, ScanBelowTheServersWhenTheTailIsGoneBeforeC) {
    // Conditional tail 0.1^n: below 0.001 from n = 4 on, well before c - 1 = 299.
    const auto tail = [](int n) { return 0.5 * std::pow(0.1, n); };
    const GeometricStateTail unused{1e-300, 299, 0.5};
    EXPECT_EQ(ServerStateGraphStep(300, tail(0), unused, tail), 1);
    const auto points = ServerStateGraphPoints(300, tail(0), unused, tail);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_DOUBLE_EQ(points.back().y, 1e-4);
    // A slower fall: the first n below 0.001 is 151, so the step is 150 div 50 + 1 = 4.
    const auto slow = [](int n) { return std::pow(0.955, n); };
    EXPECT_EQ(ServerStateGraphStep(300, slow(0), unused, slow), 4);
}

TEST(ServerStateGraphPoints, AnAnchorOfZeroOrRoundOffBelowGivesStepOne) {
    // ln of 0 or of a negative number: no integer conversion of an infinity or NaN.
    EXPECT_EQ(GeometricGraphStep(0.5, {0, 10, 0.5}), 1);
    EXPECT_EQ(GeometricGraphStep(0.5, {-1e-18, 10, 0.5}), 1);
}

TEST(ConditionalWaitingCurve, EndsWhereTheTailHasFallenToOnePerMille) {
    // P{Wq > t} = 0.4 e^(-t / 3): the conditional tail reaches 0.001 at 3 ln 1000.
    const auto tail = [](double t) { return 0.4 * std::exp(-t / 3); };
    const double end = ConditionalTailEnd(tail, 0.4);
    EXPECT_NEAR(end, 3 * std::log(1000.0), 1e-9);
    const auto points = ConditionalWaitingCurve(tail, 0.4);
    const auto expected = TimeGraphPoints(end, [](double t) { return std::exp(-t / 3); });
    ASSERT_EQ(points.size(), expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x, expected[i].x);
        EXPECT_DOUBLE_EQ(points[i].y, expected[i].y);
    }
}

TEST(ConditionalWaitingCurve, NothingToPlotWhenTheWaitIsGoneAtOnce) {
    // A tail that has already fallen below 0.001 Pwait at t = 1e-10.
    const auto tail = [](double t) { return t > 0 ? 1e-12 : 0.5; };
    EXPECT_EQ(ConditionalTailEnd(tail, 0.5), 0);
    EXPECT_TRUE(ConditionalWaitingCurve(tail, 0.5).empty());
}

TEST(ConditionalWaitingCurve, ATailThatNeverFallsIsANumericalFailure) {
    EXPECT_THROW(ConditionalTailEnd([](double) { return 1.0; }, 1.0), NumericalFailure);
}

TEST(StateTailCurve, ConditionalTailOfAFiniteDistribution) {
    const std::vector<double> p = {0.5, 0.25, 0.125, 0.0625, 0.0625};
    const auto points = StateTailCurve(p);
    // P{L > n | L > 0} = 0.5, 0.25, 0.125, then 0 beyond the last state.
    ASSERT_EQ(points.size(), 4u);
    const double expected[] = {0.5, 0.25, 0.125, 0};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(points[n - 1].x, n);
        EXPECT_NEAR(points[n - 1].y, expected[n - 1], 1e-15);
    }
}

}  // namespace
}  // namespace wachtrix
