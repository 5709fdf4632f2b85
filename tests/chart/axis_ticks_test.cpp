#include "chart/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/expect_near.h"

namespace wachtrix::chart {
namespace {

AxisScale LogScale(double min, double max, int divisions, bool labelEveryTick) {
    return {.valid = true,
            .error = {},
            .min = min,
            .max = max,
            .log = true,
            .logTicks = true,
            .divisions = divisions,
            .labelEveryTick = labelEveryTick};
}

AxisScale LinearScale(double min, double max, double step) {
    return {.valid = true, .error = {}, .min = min, .max = max, .step = step};
}

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
    std::vector<std::string> labels;
    for (const AxisTick& t : ticks)
        if (t.labelled) labels.push_back(FormatTickLabel(t.value, t.decimals));
    return labels;
}

using Texts = std::vector<std::string>;

TEST(LogTicks, ThreeDecadesWithoutDivisionsAreTheDecades) {
    // 0.001..1 with MinSteps 5 chooses 0 divisions (v = 1.67).
    ASSERT_EQ(ChooseLogDivisions(0.001, 1, 5), 0);
    const std::vector<double> ticks = LogTickValues(0.001, 1, 0);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_DOUBLE_EQ(ticks[0], 0.001);
    EXPECT_DOUBLE_EQ(ticks[1], 0.01);
    EXPECT_DOUBLE_EQ(ticks[2], 0.1);
    EXPECT_DOUBLE_EQ(ticks[3], 1);
    EXPECT_EQ(Labels(AxisTicks(LogScale(0.001, 1, 0, true), {})),
              (Texts{"0.001", "0.01", "0.1", "1"}));
}

TEST(LogTicks, DivisionsBetweenDecadesLabelledOnlyAtDecadesByDefault) {
    const std::vector<AxisTick> ticks = AxisTicks(LogScale(0.001, 1, 2, false), {});
    std::vector<double> values;
    for (const AxisTick& t : ticks)
        values.push_back(t.value);
    const std::vector<double> expected = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1};
    ASSERT_EQ(values.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_REL_NEAR(values[i], expected[i], 1e-12);
    EXPECT_EQ(Labels(ticks), (Texts{"0.001", "0.01", "0.1", "1"}));
    EXPECT_EQ(Labels(AxisTicks(LogScale(0.001, 1, 2, true), {})),
              (Texts{"0.001", "0.002", "0.005", "0.01", "0.02", "0.05", "0.1", "0.2", "0.5", "1"}));
}

TEST(LogTicks, StartAtTheFirstTableValueReachingTheMinimum) {
    const std::vector<double> ticks = LogTickValues(0.003, 0.9, 2);
    const std::vector<double> expected = {0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5};
    ASSERT_EQ(ticks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_REL_NEAR(ticks[i], expected[i], 1e-12);
}

TEST(LogTicks, EachDecadeValueOnceAcrossManyDecades) {
    const std::vector<double> ticks = LogTickValues(1e-5, 1e5, 1);
    ASSERT_EQ(ticks.size(), 21u);  // 1 and 5 in ten decades, and the closing 1e5
    for (std::size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GT(ticks[i], ticks[i - 1] * 1.5);
}

TEST(LogTicks, GridLeavesOutTheLineOnTheAxis) {
    const std::vector<AxisTick> ticks = AxisTicks(LogScale(0.001, 1, 0, true), {});
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_FALSE(ticks[0].gridline);
    EXPECT_TRUE(ticks[1].gridline);
    EXPECT_TRUE(ticks[3].gridline);
}

TEST(LogLabelDecimals, DecadeDecimalsAndOneMoreForHalfMantissas) {
    EXPECT_EQ(LogLabelDecimals(0.001, 2), 3);
    EXPECT_EQ(LogLabelDecimals(0.005, 2), 3);
    EXPECT_EQ(LogLabelDecimals(0.0015, 5), 4);
    EXPECT_EQ(LogLabelDecimals(1.5, 5), 1);
    EXPECT_EQ(LogLabelDecimals(100, 2), 0);
    EXPECT_EQ(LogLabelDecimals(150, 9), 0);
    EXPECT_EQ(Labels(AxisTicks(LogScale(1, 10, 5, true), {})),
              (Texts{"1.0", "1.5", "2.0", "3.0", "5.0", "7.0", "10"}));
}

TEST(LinearTicks, WholeStepsFromTheMinimum) {
    const std::vector<AxisTick> ticks = AxisTicks(LinearScale(-5, 40, 5), {});
    EXPECT_EQ(Labels(ticks), (Texts{"-5", "0", "5", "10", "15", "20", "25", "30", "35", "40"}));
    EXPECT_FALSE(ticks.front().gridline);  // on the axis line
    EXPECT_TRUE(ticks[1].gridline);
    EXPECT_TRUE(ticks.back().gridline);
    EXPECT_EQ(ticks[1].value, 0.0);
}

TEST(LinearTicks, FirstTickRules) {
    EXPECT_EQ(LinearTickValues(0.5, 3, 1), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(LinearTickValues(-7.5, 5, 5), (std::vector<double>{-5, 0, 5}));
    EXPECT_EQ(LinearTickValues(-10, 0, 5), (std::vector<double>{-10, -5, 0}));
    EXPECT_TRUE(LinearTickValues(0, 1, 0).empty());
}

TEST(LinearTicks, DecimalsFollowTheStepUnlessFixed) {
    EXPECT_EQ(Labels(AxisTicks(LinearScale(0, 1, 0.2), {})),
              (Texts{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    EXPECT_EQ(Labels(AxisTicks(LinearScale(-0.3, 0.3, 0.1), {})),
              (Texts{"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2", "0.3"}));
    EXPECT_EQ(Labels(AxisTicks(LinearScale(0, 1, 0.5), LabelRule{3, false})),
              (Texts{"0.000", "0.500", "1.000"}));
}

TEST(StepDecimals, FewestThatWriteTheStep) {
    EXPECT_EQ(StepDecimals(5), 0);
    EXPECT_EQ(StepDecimals(0.2), 1);
    EXPECT_EQ(StepDecimals(0.25), 2);
    EXPECT_EQ(StepDecimals(0.05), 2);
    EXPECT_EQ(StepDecimals(1e-4), 4);
}

TEST(FormatTickLabel, FixedAndShortExponent) {
    EXPECT_EQ(FormatTickLabel(0.001, 3), "0.001");
    EXPECT_EQ(FormatTickLabel(-0.0, 1), "0.0");
    EXPECT_EQ(FormatTickLabel(-1e-17, 1), "0.0");
    EXPECT_EQ(FormatTickLabel(40, 0), "40");
    EXPECT_EQ(FormatTickLabel(1e-12, 12), "1E-12");
    EXPECT_EQ(FormatTickLabel(1.5e-12, 13), "1.5E-12");
    EXPECT_EQ(FormatTickLabel(2.5e10, 0), "2.5E10");
}

TEST(CalcMetrics, PixelsPerUnitAndPerDecade) {
    const AxisMetrics linear = CalcMetrics(LinearScale(0, 1, 0.2), 235);
    EXPECT_DOUBLE_EQ(linear.Offset(0.5), 117.5);
    EXPECT_DOUBLE_EQ(linear.Offset(0), 0);
    // Every decade of a log axis has the same length.
    const AxisMetrics log = CalcMetrics(LogScale(0.001, 1, 0, true), 138);
    EXPECT_NEAR(log.Offset(0.01), 46, 1e-9);
    EXPECT_NEAR(log.Offset(0.1), 92, 1e-9);
    EXPECT_NEAR(log.Offset(1), 138, 1e-9);
}

TEST(CalcMetrics, RefusesAScaleWithoutExtent) {
    for (const AxisScale& s : {LinearScale(1, 1, 0.2), LinearScale(2, 1, 0.2),
                               LogScale(0, 1, 0, true), LogScale(-1, 1, 0, true)}) {
        try {
            CalcMetrics(s, 100);
            ADD_FAILURE() << "no error for " << s.min << ".." << s.max;
        } catch (const ScalingError& e) {
            EXPECT_NE(std::string(e.what()).find("CalcMetrics: XMin>=XMax"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace wachtrix::chart
