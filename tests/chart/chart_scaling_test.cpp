#include "chart/chart_scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/reference_table.h"

namespace wachtrix::chart {
namespace {

using testing::CheckReferenceTable;
using testing::Numbers;

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

// The worked examples of every rule: the rows of tests/data/chart/scaling.txt.
TEST(Scaling, ReferenceRows) {
    const auto limits = [](const LinearLimits& l) { return Numbers{l.min, l.max, l.step}; };
    CheckReferenceTable(
        "chart/scaling.txt",
        {{"GetStep", [](const Numbers& a) { return Numbers{GetStep(a[0], a[1], int(a[2]))}; }},
         {"SetMinMax",
          [&](const Numbers& a) { return limits(SetMinMax(a[0], a[1], a[2], a[3] != 0, {})); }},
         {"FixedLinearLimits",
          [&](const Numbers& a) { return limits(FixedLinearLimits(a[0], a[1], int(a[2]))); }},
         {"RepairLogLimits",
          [](const Numbers& a) {
              const LogLimits l = RepairLogLimits(a[0], a[1]);
              return Numbers{l.min, l.max};
          }},
         {"NormalLogDivisions",
          [](const Numbers& a) { return Numbers{double(NormalLogDivisions(int(a[0])))}; }},
         {"LogDivisionTable", [](const Numbers& a) { return LogDivisionTable(int(a[0])); }},
         {"ChooseLogDivisions",
          [](const Numbers& a) {
              return Numbers{double(ChooseLogDivisions(a[0], a[1], int(a[2])))};
          }},
         {"LabelEveryLogTick",
          [](const Numbers& a) {
              return Numbers{double(LabelEveryLogTick(a[0], a[1], int(a[2])))};
          }},
         {"TimeStep",
          [](const Numbers& a) {
              return Numbers{TimeStep(Dateticks(int(a[0])), a[1], a[2], int(a[3]))};
          }},
         {"LogAutoSize", [](const Numbers& a) {
              LogSizeRules rules;
              if (a.size() > 2)
                  rules = {.autoStepping = false,
                           .logCycleDivisions = int(a[2]),
                           .stepSize = 0,
                           .limits = {}};
              const LogSizing s = LogAutoSize(a[0], a[1], rules);
              return Numbers{s.min, s.max, double(s.divisions)};
          }}});
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
    for (const auto& range : {std::pair{1.0, 1.0}, {2.0, 1.0}, {0.0, kInf}, {kNaN, 1.0}})
        EXPECT_EQ(ErrorText([&] { GetStep(range.first, range.second, 5); }),
                  "GetStep entered with bad range")
            << range.first << ".." << range.second;
}

TEST(SetMinMax, AlwaysEnclosesTheDataOnWholeSteps) {
    for (double lo = -50; lo < 50; lo += 2.5)
        for (double span = 0.013; span < 400; span *= 2.3) {
            const double hi = lo + span;
            const LinearLimits l = SetMinMax(lo, hi, 0, true, {});
            EXPECT_LE(l.min, lo) << lo << ".." << hi;
            if (lo >= 0) {
                EXPECT_GE(l.min, 0) << lo << ".." << hi;
            }
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
