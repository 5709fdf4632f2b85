#include "chart/chart_view.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chart/series_csv.h"
#include "support/expect_near.h"
#include "support/reference_table.h"

namespace wachtrix::chart {
namespace {

class Graph : public PropertyOwner, public SeriesOwner {
public:
    void PropertyChanged() override {}
    void SeriesChanged(TSeries&) override {}
    void SeriesTooManyPoints(TSeries&) override {}
};

AxisMetrics Metrics(double min, double max, bool log, double pixels) {
    AxisScale scale;
    scale.valid = true;
    scale.min = min;
    scale.max = max;
    scale.log = log;
    return CalcMetrics(scale, pixels);
}

// A third of a three-decade axis is one decade: the zoom follows the ratios, in either order;
// a rectangle no wider than rounding is refused, never turned into an empty axis.
TEST(ChartView, ZoomFollowsTheAxisSpaceAndRefusesEmptyRanges) {
    const std::optional<AxisRange> linear = ZoomedRange(Metrics(0, 10, false, 100), 50, 20);
    ASSERT_TRUE(linear);
    EXPECT_REL_NEAR(linear->min, 2, 1e-12);
    EXPECT_REL_NEAR(linear->max, 5, 1e-12);
    const std::optional<AxisRange> log = ZoomedRange(Metrics(0.001, 1, true, 300), 100, 200);
    ASSERT_TRUE(log);
    EXPECT_REL_NEAR(log->min, 0.01, 1e-12);
    EXPECT_REL_NEAR(log->max, 0.1, 1e-12);
    EXPECT_FALSE(ZoomedRange(Metrics(0.001, 1, true, 300), 120, 120));
    EXPECT_FALSE(ZoomedRange(Metrics(1e8, 1e8 + 1e-6, false, 100), 10, 11));
}

// The ranges of tests/data/chart/view.txt.
TEST(ChartView, RangeErrorsSayWhatIsWrong) {
    testing::CheckReferenceTable("chart/view.txt",
                                 {{"AxisRangeError", [](const testing::Numbers& a) {
                                       return testing::Texts{AxisRangeError(a[0], a[1], a[2] != 0)};
                                   }}});
}

// The ranges as the chart's owner gave them come back after zooming and switching the y axis:
// the given log range for a log axis, the data's range for the kind it was not given as.
TEST(ChartView, ResetAndScaleSwitchReturnToTheGivenRanges) {
    Graph g;
    TAxis x(g, AxisKind::X), y(g, AxisKind::Y);
    ApplyView(y, {true, false, false, 0.001, 1});
    const AxisView givenX = ViewOf(x), givenY = ViewOf(y);
    ChartView view(x, y);
    view.Reset();  // nothing changed yet: nothing to go back to
    EXPECT_EQ(ViewOf(y), givenY);
    EXPECT_FALSE(view.Zoomed());

    view.Zoom({2, 3}, {0.01, 0.1});
    EXPECT_EQ(ViewOf(x), (AxisView{false, false, true, 2, 3}));
    EXPECT_EQ(ViewOf(y), (AxisView{true, false, true, 0.01, 0.1}));
    EXPECT_TRUE(view.Zoomed());

    view.SetYLog(false);
    EXPECT_FALSE(y.LogScale);
    EXPECT_TRUE(y.AutoSizing && y.AutoStepping);
    view.Reset();
    EXPECT_EQ(ViewOf(x), givenX);
    EXPECT_FALSE(y.LogScale);  // the kind stays as switched
    EXPECT_TRUE(y.AutoSizing);
    EXPECT_FALSE(view.Zoomed());
    view.SetYLog(true);
    EXPECT_EQ(ViewOf(y), givenY);
}

TEST(ChartView, NearestPointOfEachSeriesWithinTheAxis) {
    Graph g;
    SeriesList list(g);
    TSeries& one = list.Series(1, false);
    for (const double x : {0.5, 1.0, 2.0, 4.0})
        one.AddPoint(x, x / 10);
    TSeries& two = list.Series(2, false);
    two.AddPoint(8, 1);  // beyond the axis: no point to read
    TSeries& three = list.Series(3, false);
    three.AddPoint(0.25, 3);
    three.AddPoint(3, 5);
    // Log x 0.25..4 over 400 px: 1.45 lies nearer 2 than 1 on the screen (in value, nearer 1).
    const AxisMetrics x = Metrics(0.25, 4, true, 400);
    const std::vector<NearestPoint> at = NearestPoints(list, x, x.Offset(1.45));
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0].series, &one);
    EXPECT_EQ(at[0].x, 2.0);
    EXPECT_EQ(at[0].y, 0.2);
    EXPECT_EQ(at[1].series, &three);
    EXPECT_EQ(at[1].x, 3.0);
}

TEST(ChartView, CsvNamesItsColumnsAfterTheTitles) {
    Graph g;
    SeriesList list(g);
    list.Series(2, false).AddPoint(0.5, 0.25);
    EXPECT_EQ(SeriesCsv(list, {"P(Wq>t | Wq>0)", "Time t", "Probability"}),
              "# P(Wq>t | Wq>0)\n"
              "series,Time t,Probability\n"
              "2,0.5,0.25\n");
    // Quoted where a spreadsheet would split or end the name; the title stays one line.
    EXPECT_EQ(SeriesCsv(list, {"a\nb", "c, servers", "say \"P\""}),
              "# a b\n"
              "series,\"c, servers\",\"say \"\"P\"\"\"\n"
              "2,0.5,0.25\n");
}

}  // namespace
}  // namespace wachtrix::chart
