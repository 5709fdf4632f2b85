#include "chart/axis_ticks.h"

#include <gtest/gtest.h>

#include "support/reference_table.h"

namespace wachtrix::chart {
namespace {

using testing::CheckReferenceTable;
using testing::Numbers;
using testing::Texts;

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

Texts Labels(const std::vector<AxisTick>& ticks) {
    Texts labels;
    for (const AxisTick& t : ticks)
        if (t.labelled) labels.push_back(FormatTickLabel(t.value, t.decimals));
    return labels;
}

// The worked examples: the rows of tests/data/chart/axis_ticks.txt. In the locale runs the
// labels must keep their decimal point.
TEST(AxisTicks, ReferenceRows) {
    const auto number = [](auto value) { return Numbers{double(value)}; };
    CheckReferenceTable(
        "chart/axis_ticks.txt",
        {{"LogTicks",
          [](const Numbers& a) {
              Numbers values;
              for (const AxisTick& t : AxisTicks(LogScale(a[0], a[1], int(a[2]), false), {}))
                  values.push_back(t.value);
              return values;
          }},
         {"LogLabels",
          [](const Numbers& a) {
              return Labels(AxisTicks(LogScale(a[0], a[1], int(a[2]), a[3] != 0), {}));
          }},
         {"LogLabelDecimals",
          [&](const Numbers& a) { return number(LogLabelDecimals(a[0], int(a[1]))); }},
         {"LinearTickValues", [](const Numbers& a) { return LinearTickValues(a[0], a[1], a[2]); }},
         {"LinearLabels",
          [](const Numbers& a) {
              const LabelRule rule = a.size() > 3 ? LabelRule{int(a[3]), false} : LabelRule{};
              return Labels(AxisTicks(LinearScale(a[0], a[1], a[2]), rule));
          }},
         {"StepDecimals", [&](const Numbers& a) { return number(StepDecimals(a[0])); }},
         {"FormatTickLabel",
          [](const Numbers& a) { return Texts{FormatTickLabel(a[0], int(a[1]))}; }}});
}

// Every tick but the one on the axis line gets a grid line.
TEST(AxisTicks, GridLeavesOutTheLineOnTheAxis) {
    for (const AxisScale& scale : {LogScale(0.001, 1, 0, true), LinearScale(-5, 40, 5)}) {
        const std::vector<AxisTick> ticks = AxisTicks(scale, {});
        ASSERT_GE(ticks.size(), 4u);
        EXPECT_DOUBLE_EQ(ticks[0].value, scale.min);
        EXPECT_FALSE(ticks[0].gridline);
        for (std::size_t i = 1; i < ticks.size(); ++i)
            EXPECT_TRUE(ticks[i].gridline) << ticks[i].value;
    }
    EXPECT_EQ(AxisTicks(LinearScale(-5, 40, 5), {})[1].value, 0.0);  // exactly, not 1e-16
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
