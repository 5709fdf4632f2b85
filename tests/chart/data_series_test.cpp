#include "chart/data_series.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/reference_table.h"

namespace wachtrix::chart {
namespace {

using testing::Numbers;

// Counts what the series tells its owner.
class CountingSeries : public TDataSeries {
public:
    int notifications = 0;
    int tooMany = 0;

protected:
    void Notify() override { ++notifications; }
    void TooManyPoints() override { ++tooMany; }
};

Numbers PointsOf(const TDataSeries& s) {
    Numbers xy;
    for (const TDataPoint& p : s.Points())
        xy.insert(xy.end(), {p.X, p.Y});
    return xy;
}

// Adds the points x y, x y ... from `first` on.
void Add(TDataSeries& s, const Numbers& xy, std::size_t first = 0) {
    for (std::size_t i = first; i + 1 < xy.size(); i += 2)
        s.AddPoint(xy[i], xy[i + 1]);
}

// The worked examples: the rows of tests/data/chart/data_series.txt.
TEST(TDataSeries, ReferenceRows) {
    testing::CheckReferenceTable("chart/data_series.txt",
                                 {{"AddPoint",
                                   [](const Numbers& a) {
                                       TDataSeries s("s", a[1] != 0);
                                       s.NumericalTolerance = a[0];
                                       Add(s, a, 2);
                                       return PointsOf(s);
                                   }},
                                  {"Bounds",
                                   [](const Numbers& a) {
                                       TDataSeries s;
                                       Add(s, a);
                                       return Numbers{s.XMin(), s.XMax(), s.YMin(), s.YMax()};
                                   }},
                                  {"AutoZero", [](const Numbers& a) {
                                       TDataSeries s;
                                       s.SetAutoZero(true);
                                       Add(s, a);
                                       return Numbers{s.ZeroValue(), s.YMin(), s.YMax()};
                                   }}});
}

TEST(AddPoint, TellsWhetherThePointWasPlacedAndNumbersIt) {
    TDataSeries s;
    EXPECT_FALSE(s.AddPoint(std::numeric_limits<double>::quiet_NaN(), 1));
    EXPECT_FALSE(s.AddPoint(1, std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(s.AddPoint(2, 0));
    EXPECT_TRUE(s.AddPoint(1, 0));
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Points()[0].Number, 2);
    EXPECT_EQ(s.Points()[1].Number, 1);
}

TEST(Bounds, MeasureYFromTheZeroAndGoWithClear) {
    TDataSeries s;
    Add(s, {1, 5, 2, 8});
    s.SetZeroValue(2);
    EXPECT_EQ(s.YMin(), 3);
    EXPECT_EQ(s.YMax(), 6);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.YMax(), 0);
}

TEST(AutoZero, EndsWhenAZeroIsSet) {
    TDataSeries s;
    s.SetAutoZero(true);
    Add(s, {1, 5, 2, 3});
    s.SetZeroValue(0);
    EXPECT_FALSE(s.AutoZero());
    s.AddPoint(4, -1);
    EXPECT_EQ(s.ZeroValue(), 0);
    EXPECT_EQ(s.YMin(), -1);
}
TEST(Notification, OnEveryChangeAndOnlyOnChange) {
    CountingSeries s;
    s.AddPoint(1, 1);
    EXPECT_EQ(s.notifications, 1);
    s.SetAutoZero(false);  // already off
    s.SetZeroValue(0);     // already 0
    EXPECT_EQ(s.notifications, 1);
    s.SetAutoZero(true);
    s.SetZeroValue(0);  // switches AutoZero off: a change
    EXPECT_EQ(s.notifications, 3);
    s.DuplicatesAllowed = false;  // unchanged
    EXPECT_EQ(s.notifications, 3);
    s.Clear();
    EXPECT_EQ(s.notifications, 4);
    EXPECT_TRUE(s.Changed());
    s.ClearChanged();
    EXPECT_FALSE(s.Changed());
}

TEST(Notification, TooManyPointsBeyondTheMaximum) {
    CountingSeries s;
    s.MaxPoints = 2;
    s.AddPoint(1, 1);
    s.AddPoint(2, 1);
    EXPECT_EQ(s.tooMany, 0);
    s.AddPoint(3, 1);
    EXPECT_EQ(s.tooMany, 1);
    s.MaxPoints = 0;  // unlimited
    s.AddPoint(4, 1);
    EXPECT_EQ(s.tooMany, 1);
}

}  // namespace
}  // namespace wachtrix::chart
