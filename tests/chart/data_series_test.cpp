#include "chart/data_series.h"

#include <gtest/gtest.h>

#include <limits>

namespace wachtrix::chart {
namespace {

// Counts what the series tells its owner.
class CountingSeries : public TDataSeries {
public:
    int notifications = 0;
    int tooMany = 0;

protected:
    void Notify() override { ++notifications; }
    void TooManyPoints() override { ++tooMany; }
};

using XY = std::vector<std::pair<double, double>>;

XY PointsOf(const TDataSeries& s) {
    XY xy;
    for (const TDataPoint& p : s.Points())
        xy.emplace_back(p.X, p.Y);
    return xy;
}

TEST(AddPoint, KeepsAscendingX) {
    TDataSeries s;
    s.AddPoint(3, 30);
    s.AddPoint(1, 10);
    s.AddPoint(2, 20);
    EXPECT_EQ(PointsOf(s), (XY{{1, 10}, {2, 20}, {3, 30}}));
    s.AddPoint(0.5, 5);  // new head
    s.AddPoint(4, 40);   // new tail
    EXPECT_EQ(PointsOf(s), (XY{{0.5, 5}, {1, 10}, {2, 20}, {3, 30}, {4, 40}}));
}

TEST(AddPoint, ReplacesAnXAlreadyPresentUnlessDuplicatesAreAllowed) {
    TDataSeries s;
    s.AddPoint(1, 4);
    s.AddPoint(1, 5);
    EXPECT_EQ(PointsOf(s), (XY{{1, 5}}));
    s.AddPoint(2, 0);
    s.AddPoint(1, 6);  // an inner point
    EXPECT_EQ(PointsOf(s), (XY{{1, 6}, {2, 0}}));

    TDataSeries d("d", true);
    d.AddPoint(1, 4);
    d.AddPoint(1, 5);  // at the tail: appended
    d.AddPoint(3, 0);
    d.AddPoint(1, 9);  // before the first point of that x
    EXPECT_EQ(PointsOf(d), (XY{{1, 9}, {1, 4}, {1, 5}, {3, 0}}));
}

TEST(AddPoint, XsWithinTheToleranceAreOneX) {
    TDataSeries s;
    s.NumericalTolerance = 0.01;
    s.AddPoint(1, 4);
    s.AddPoint(1.005, 5);
    EXPECT_EQ(PointsOf(s), (XY{{1.005, 5}}));
    s.AddPoint(2, 0);
    s.AddPoint(0.996, 7);
    EXPECT_EQ(PointsOf(s), (XY{{0.996, 7}, {2, 0}}));
    s.AddPoint(1.02, 8);  // beyond the tolerance
    EXPECT_EQ(s.Count(), 3);
}

TEST(AddPoint, RefusesPointsThatCannotBePlaced) {
    TDataSeries s;
    EXPECT_FALSE(s.AddPoint(std::numeric_limits<double>::quiet_NaN(), 1));
    EXPECT_FALSE(s.AddPoint(1, std::numeric_limits<double>::infinity()));
    EXPECT_EQ(s.Count(), 0);
    EXPECT_TRUE(s.AddPoint(1, 1));
}

TEST(AddPoint, NumbersEveryPointAdded) {
    TDataSeries s;
    s.AddPoint(2, 0);
    s.AddPoint(1, 0);
    ASSERT_EQ(s.Count(), 2);
    EXPECT_EQ(s.Points()[0].Number, 2);
    EXPECT_EQ(s.Points()[1].Number, 1);
}

TEST(Bounds, FollowThePoints) {
    TDataSeries s;
    EXPECT_EQ(s.XMin(), 0);
    s.AddPoint(2, 5);
    EXPECT_EQ(s.XMin(), 2);
    EXPECT_EQ(s.XMax(), 2);
    EXPECT_EQ(s.YMin(), 5);
    EXPECT_EQ(s.YMax(), 5);
    s.AddPoint(-1, 7);
    s.AddPoint(4, -3);
    EXPECT_EQ(s.XMin(), -1);
    EXPECT_EQ(s.XMax(), 4);
    EXPECT_EQ(s.YMin(), -3);
    EXPECT_EQ(s.YMax(), 7);
    // Replacing the extreme point (here the last) shrinks the bounds.
    s.AddPoint(4, 1);
    EXPECT_EQ(s.YMin(), 1);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.YMax(), 0);
}

TEST(Bounds, MeasureYFromTheZero) {
    TDataSeries s;
    s.AddPoint(1, 5);
    s.AddPoint(2, 8);
    s.SetZeroValue(2);
    EXPECT_EQ(s.YMin(), 3);
    EXPECT_EQ(s.YMax(), 6);
}

TEST(AutoZero, FollowsTheSmallestY) {
    TDataSeries s;
    s.SetAutoZero(true);
    s.AddPoint(1, 5);
    EXPECT_EQ(s.ZeroValue(), 5);
    s.AddPoint(2, 3);
    s.AddPoint(3, 4);
    EXPECT_EQ(s.ZeroValue(), 3);
    EXPECT_EQ(s.YMin(), 0);
    EXPECT_EQ(s.YMax(), 2);
    // Setting a zero ends the following.
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
