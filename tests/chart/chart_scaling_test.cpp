#include "chart/chart_scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/expect_near.h"

namespace wachtrix::chart {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string ErrorText(auto&& call) {
    try {
        call();
    } catch (const ScalingError& e) {
        return e.what();
    }
    return "(no error)";
}

bool IsRoundNumber(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-12));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (std::fabs(mantissa - m) < 1e-9) return true;
    return false;
}

TEST(GetStep, WorkedExamples) {
    EXPECT_DOUBLE_EQ(GetStep(0, 1, 5), 0.2);   // 1 < 5, 2 < 5, 5 >= 5
    EXPECT_DOUBLE_EQ(GetStep(0, 37, 5), 5);    // base 10: 3.7 < 5, 7.4 >= 5
    EXPECT_DOUBLE_EQ(GetStep(-1, 1, 5), 0.2);  // base 1: 2, 4, 10
    EXPECT_DOUBLE_EQ(GetStep(0, 100, 5), 20);
    EXPECT_DOUBLE_EQ(GetStep(0, 0.5, 5), 0.1);
    EXPECT_DOUBLE_EQ(GetStep(0, 45, 5), 5);
    EXPECT_DOUBLE_EQ(GetStep(0, 5, 5), 1);
    // More steps wanted: finer.
    EXPECT_DOUBLE_EQ(GetStep(0, 1, 10), 0.1);
    EXPECT_DOUBLE_EQ(GetStep(0, 1, 20), 0.05);
    // Just above a decade below one, 1.001 e passes the next integer: base 0.001, ten steps.
    EXPECT_DOUBLE_EQ(GetStep(0, 0.010016, 5), 0.001);
}

TEST(GetStep, GivesARoundStepAndFiveToTwelveSteps) {
    for (double range = 1e-6; range < 1e7; range *= 1.0137) {
        const double step = GetStep(0, range, 5);
        EXPECT_TRUE(IsRoundNumber(step)) << "range " << range << " step " << step;
        EXPECT_GE(range / step, 5 * (1 - 1e-12)) << "range " << range;
        // Successive candidates differ by at most 2.5.
        EXPECT_LT(range / step, 12.5) << "range " << range;
    }
}

TEST(GetStep, RefusesEmptyReversedAndUnboundedRanges) {
    for (const auto& [lo, hi] : {std::pair{1.0, 1.0}, {2.0, 1.0}, {0.0, kInf}, {kNaN, 1.0}})
        EXPECT_EQ(ErrorText([&] { GetStep(lo, hi, 5); }), "GetStep entered with bad range")
            << lo << ".." << hi;
}

TEST(TimeStep, FollowsTheTickTypes) {
    EXPECT_DOUBLE_EQ(TimeStep(Dateticks::dt_minute, 0, 1, 5), 1.0 / 1440);
    EXPECT_DOUBLE_EQ(TimeStep(Dateticks::dt_hourly, 0, 1, 5), 1.0 / 24);
    EXPECT_DOUBLE_EQ(TimeStep(Dateticks::dt_weekly, 0, 1, 5), 7);
    EXPECT_DOUBLE_EQ(TimeStep(Dateticks::dt_century, 0, 1, 5), 36540);
    EXPECT_DOUBLE_EQ(TimeStep(Dateticks::dt_custom, 0, 37, 5), 5);
}

struct MinMaxCase {
    double lo, hi, stepSize;
    bool autoStepping;
    LinearLimits expected;
};

class SetMinMaxCases : public ::testing::TestWithParam<MinMaxCase> {};

TEST_P(SetMinMaxCases, GiveTheLimits) {
    const MinMaxCase& c = GetParam();
    const LinearLimits got = SetMinMax(c.lo, c.hi, c.stepSize, c.autoStepping, {});
    EXPECT_DOUBLE_EQ(got.min, c.expected.min) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(got.max, c.expected.max) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(got.step, c.expected.step) << c.lo << ".." << c.hi;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetMinMaxCases,
    ::testing::Values(
        // A data minimum lying on a tick still gets a step below it: 0 - 0.05 < 0.
        MinMaxCase{0, 37, 0, true, {-5, 40, 5}},
        // Far from zero: whole steps around the data.
        MinMaxCase{100, 137, 0, true, {95, 140, 5}},
        // Close to zero compared with the span: the axis starts at zero.
        MinMaxCase{8, 37, 0, true, {0, 40, 5}},
        // Negative data ending near zero: the axis ends at zero.
        MinMaxCase{-37, -1, 0, true, {-40, 0, 5}},
        // One value: zero, positive, negative.
        MinMaxCase{0, 0, 0, true, {-1, 1, 0.2}}, MinMaxCase{3, 3, 0, true, {0, 3.5, 0.5}},
        MinMaxCase{-2, -2, 0, true, {-2.4, 0, 0.2}},
        // A usable step is kept without auto-stepping...
        MinMaxCase{0, 37, 10, false, {-10, 40, 10}},
        // ...a step giving more than MaxSteps steps is not.
        MinMaxCase{0, 37, 0.1, false, {-5, 40, 5}}, MinMaxCase{0, 37, -1, false, {-5, 40, 5}}));

TEST(SetMinMax, AlwaysEnclosesTheDataOnWholeSteps) {
    for (double lo = -50; lo < 50; lo += 3.7)
        for (double span = 0.013; span < 400; span *= 2.3) {
            const double hi = lo + span;
            const LinearLimits l = SetMinMax(lo, hi, 0, true, {});
            EXPECT_LE(l.min, lo) << lo << ".." << hi;
            EXPECT_GE(l.max, hi) << lo << ".." << hi;
            const double steps = (l.max - l.min) / l.step;
            EXPECT_NEAR(steps, std::round(steps), 1e-6) << lo << ".." << hi;
            EXPECT_LE(steps, 50) << lo << ".." << hi;
        }
}

TEST(SetMinMax, ReportsImpossibleRanges) {
    EXPECT_EQ(ErrorText([] { SetMinMax(2, 1, 0, true, {}); }),
              "Impossible: oMin > oMax in SetMinMax!");
    EXPECT_EQ(ErrorText([] { SetMinMax(kNaN, 1, 0, true, {}); }), "SetMinMax failed");
    EXPECT_EQ(ErrorText([] { SetMinMax(0, kInf, 0, true, {}); }), "SetMinMax failed");
}

TEST(FixedLinearLimits, WidenEqualLimitsAndExchangeReversedOnes) {
    EXPECT_EQ(FixedLinearLimits(0, 0, 5), (LinearLimits{-1, 1, 0.2}));
    EXPECT_EQ(FixedLinearLimits(3, 3, 5), (LinearLimits{0, 3, 0.5}));
    EXPECT_EQ(FixedLinearLimits(-3, -3, 5), (LinearLimits{-3, 0, 0.5}));
    EXPECT_EQ(FixedLinearLimits(5, 1, 5), (LinearLimits{1, 5, 0.5}));
}

TEST(RepairLogLimits, MakesEveryPairUsable) {
    EXPECT_EQ(RepairLogLimits(0.001, 1), (LogLimits{0.001, 1}));
    EXPECT_EQ(RepairLogLimits(1, 0.01), (LogLimits{0.01, 1}));
    EXPECT_EQ(RepairLogLimits(-5, 2), (LogLimits{0.2, 2}));
    EXPECT_EQ(RepairLogLimits(0, 2), (LogLimits{0.2, 2}));
    EXPECT_EQ(RepairLogLimits(0, -1), (LogLimits{1, 10}));
    EXPECT_EQ(RepairLogLimits(-3, -1), (LogLimits{1, 10}));
    EXPECT_EQ(RepairLogLimits(3, 3), (LogLimits{0.3, 3}));
}

TEST(LogDivisions, OddCountsMapOntoTheTables) {
    const std::pair<int, int> mapping[] = {{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 5},
                                           {5, 5},  {6, 5}, {7, 7}, {8, 7}, {9, 9}, {12, 9}};
    for (const auto& [given, used] : mapping)
        EXPECT_EQ(NormalLogDivisions(given), used) << given;
    EXPECT_EQ(LogDivisionTable(0), (std::vector<double>{1, 10}));
    EXPECT_EQ(LogDivisionTable(1), (std::vector<double>{1, 5, 10}));
    EXPECT_EQ(LogDivisionTable(3), (std::vector<double>{1, 2, 5, 10}));
    EXPECT_EQ(LogDivisionTable(6), (std::vector<double>{1, 1.5, 2, 3, 5, 7, 10}));
    EXPECT_EQ(LogDivisionTable(8), (std::vector<double>{1, 1.5, 2, 3, 4, 5, 6, 8, 10}));
    EXPECT_EQ(LogDivisionTable(99), (std::vector<double>{1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10}));
}

TEST(LogDivisions, ChosenFromStepsPerDecade) {
    // v = MinSteps / decades
    EXPECT_EQ(ChooseLogDivisions(0.001, 1, 5), 0);               // v = 1.67
    EXPECT_EQ(ChooseLogDivisions(1, 100, 5), 1);                 // v = 2.5
    EXPECT_EQ(ChooseLogDivisions(1, 10, 5), 2);                  // v = 5
    EXPECT_EQ(ChooseLogDivisions(1, std::pow(10, 0.7), 5), 5);   // v = 7.1
    EXPECT_EQ(ChooseLogDivisions(1, std::pow(10, 0.55), 5), 7);  // v = 9.1
    EXPECT_EQ(ChooseLogDivisions(1, std::pow(10, 0.4), 5), 9);   // v = 12.5
    EXPECT_EQ(ChooseLogDivisions(2, 2, 5), 9);                   // no extent at all
}

TEST(LogDivisions, EveryTickLabelledOnlyWhenFew) {
    EXPECT_TRUE(LabelEveryLogTick(0.001, 1, 2));   // 3 x 2 = 6
    EXPECT_FALSE(LabelEveryLogTick(1e-6, 1, 2));   // 6 x 2 = 12
    EXPECT_FALSE(LabelEveryLogTick(0.01, 10, 5));  // 3 x 5 = 15
}

TEST(LogAutoSize, WideRangesTakeWholeDecades) {
    const LogSizing s = LogAutoSize(0.003, 0.9, {});
    EXPECT_FALSE(s.linear);
    EXPECT_DOUBLE_EQ(s.min, 0.001);
    EXPECT_DOUBLE_EQ(s.max, 1);
    // The decade above the largest value, even when that value is a decade itself.
    EXPECT_DOUBLE_EQ(LogAutoSize(0.001, 1, {}).max, 10);
}

TEST(LogAutoSize, MiddleRangesRoundToTheDivisionTable) {
    // 13:1 gives v = 4.5, two divisions: 1, 2, 5, 10.
    LogSizing s = LogAutoSize(0.013, 0.17, {});
    EXPECT_EQ(s.divisions, 2);
    EXPECT_DOUBLE_EQ(s.min, 0.01);
    EXPECT_DOUBLE_EQ(s.max, 0.2);
    s = LogAutoSize(0.025, 0.4, {});
    EXPECT_DOUBLE_EQ(s.min, 0.02);
    EXPECT_DOUBLE_EQ(s.max, 0.5);
    // Values on the table stay.
    s = LogAutoSize(0.02, 0.5, {});
    EXPECT_DOUBLE_EQ(s.min, 0.02);
    EXPECT_DOUBLE_EQ(s.max, 0.5);
    // Without auto-stepping the axis's own divisions round.
    s = LogAutoSize(0.013, 0.17, {.autoStepping = false, .logCycleDivisions = 0, .limits = {}});
    EXPECT_DOUBLE_EQ(s.min, 0.01);
    EXPECT_DOUBLE_EQ(s.max, 1);
}

TEST(LogAutoSize, NarrowRangesAreSizedLinearlyAndStayPositive) {
    LogSizing s = LogAutoSize(1, 3, {});
    EXPECT_TRUE(s.linear);
    EXPECT_LE(s.min, 1);
    EXPECT_GE(s.max, 3);
    EXPECT_GT(s.min, 0);
    // A single value spans half of it up to it.
    s = LogAutoSize(0.5, 0.5, {});
    EXPECT_TRUE(s.linear);
    EXPECT_GT(s.min, 0);
    EXPECT_LE(s.min, 0.25);
    EXPECT_GE(s.max, 0.5);
}

TEST(ScaleAxis, FixedLogAxisOfTheGraphWindows) {
    const AxisSettings a{
        .logScale = true, .autoSizing = false, .autoStepping = false, .min = 0.001, .max = 1};
    const AxisScale s = ScaleAxis(a, DataRange{0.002, 0.9}, {}, 0);
    ASSERT_TRUE(s.valid) << s.error;
    EXPECT_TRUE(s.logTicks);
    EXPECT_EQ(s.divisions, 2);
    EXPECT_FALSE(s.labelEveryTick);  // decades only
    EXPECT_DOUBLE_EQ(s.min, 0.001);
    EXPECT_DOUBLE_EQ(s.max, 1);
}

TEST(ScaleAxis, AutoSizedLogAxisWithThreeDecades) {
    const AxisScale s = ScaleAxis({.logScale = true}, DataRange{0.003, 0.9}, {}, 0);
    ASSERT_TRUE(s.valid) << s.error;
    EXPECT_EQ(s.divisions, 0);
    EXPECT_TRUE(s.labelEveryTick);
}

TEST(ScaleAxis, WithoutDataTheFixedLimitsApply) {
    const AxisScale s = ScaleAxis({.min = 4, .max = 4}, std::nullopt, {}, 0);
    ASSERT_TRUE(s.valid);
    EXPECT_DOUBLE_EQ(s.min, 0);
    EXPECT_DOUBLE_EQ(s.max, 4);
}

TEST(ScaleAxis, MinScaleLengthWidensANarrowRange) {
    const AxisScale s = ScaleAxis({.minScaleLength = 10}, DataRange{1, 1}, {}, 0);
    ASSERT_TRUE(s.valid);
    EXPECT_LE(s.min, 1);
    EXPECT_GE(s.max, 11);
}

TEST(ScaleAxis, FailuresGiveAnInvalidScaleWithTheReason) {
    AxisScale s = ScaleAxis({.logScale = true}, DataRange{0, 1}, {}, 0);
    EXPECT_FALSE(s.valid);
    EXPECT_FALSE(s.error.empty());

    EXPECT_FALSE(ScaleAxis({.autoSizing = false, .min = kNaN}, std::nullopt, {}, 0).valid);

    s = ScaleAxis({}, DataRange{-1e308, 1e308}, {}, 0);
    EXPECT_FALSE(s.valid);
    EXPECT_EQ(s.error, "GetStep entered with bad range");
}

TEST(ScaleAxis, TimeAxisWithoutUsableLimitsEndsNow) {
    const AxisSettings a{
        .showAsTime = true, .autoSizing = false, .dateTickType = Dateticks::dt_daily};
    const double now = 45000.5;
    const AxisScale s = ScaleAxis(a, std::nullopt, {}, now);
    ASSERT_TRUE(s.valid) << s.error;
    EXPECT_DOUBLE_EQ(s.max, now);
    EXPECT_DOUBLE_EQ(s.min, now - 5);
    EXPECT_DOUBLE_EQ(s.step, 1);
}

}  // namespace
}  // namespace wachtrix::chart
