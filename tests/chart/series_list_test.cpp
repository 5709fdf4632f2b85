#include "chart/series_list.h"

#include <gtest/gtest.h>

#include "chart/series_csv.h"

namespace wachtrix::chart {
namespace {

class RecordingOwner : public SeriesOwner {
public:
    std::vector<int> changed;
    std::vector<int> tooMany;
    void SeriesChanged(TSeries& s) override { changed.push_back(s.Number()); }
    void SeriesTooManyPoints(TSeries& s) override { tooMany.push_back(s.Number()); }
};

std::vector<int> Numbers(const SeriesList& list) {
    std::vector<int> numbers;
    for (const auto& s : list)
        numbers.push_back(s->Number());
    return numbers;
}

// Series n is found, or made and reported, in ascending order of n; the highest number given
// stays recorded when that series goes.
TEST(SeriesList, FindsOrCreatesInAscendingOrderAndDeletes) {
    RecordingOwner owner;
    SeriesList list(owner);
    std::vector<int> created;
    const auto onNew = [&](TSeries& s) { created.push_back(s.Number()); };
    for (int n : {2, 1, 7, 4})
        list.Series(n, false, onNew);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 4, 7}));
    TSeries& first = list.Series(7, false, onNew);
    first.AddPoint(1, 1);
    TSeries& again = list.Series(7, false, onNew);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(again.Count(), 1);
    EXPECT_EQ(created, (std::vector<int>{2, 1, 7, 4}));
    EXPECT_EQ(list.HighestNumber(), 7);

    int told = 0;
    EXPECT_TRUE(list.Delete(7, [&](TSeries& s) { told = s.Number(); }));
    EXPECT_EQ(told, 7);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 4}));
    EXPECT_FALSE(list.Delete(7));
    EXPECT_EQ(list.HighestNumber(), 7);
}

TEST(TSeries, TellsTheGraphOnlyOfChanges) {
    RecordingOwner owner;
    TSeries s(&owner, 2, false);
    s.DrawLine = true;  // unchanged
    s.Color = 0xFF0000;
    EXPECT_TRUE(owner.changed.empty());
    s.Color = 0x0000FF;
    s.Axis = SeriesAxis::YAxis_Second;
    s.AddPoint(1, 1);
    EXPECT_EQ(owner.changed, (std::vector<int>{2, 2, 2}));
    s.MaxPoints = 1;
    s.AddPoint(2, 2);
    EXPECT_EQ(owner.tooMany, (std::vector<int>{2}));
}

TEST(TSeries, MarksTakeTheLineColourUnlessGivenTheirOwn) {
    RecordingOwner owner;
    TSeries s(&owner, 1, false);
    s.Color = 0xFF0000;
    EXPECT_EQ(s.MarkColor(), 0xFF0000u);
    s.PointColor = TColor{0x00FFFF};
    EXPECT_EQ(s.MarkColor(), 0x00FFFFu);
}

TEST(SeriesCsv, OneLinePerPointInSeriesOrder) {
    RecordingOwner owner;
    SeriesList list(owner);
    TSeries& two = list.Series(2, false);
    two.AddPoint(1, 0.1);
    TSeries& one = list.Series(1, false);
    one.AddPoint(0.5, 1.0 / 3);
    one.AddPoint(0.25, 1e-300);
    EXPECT_EQ(SeriesCsv(list),
              "series,x,y\n"
              "1,0.25,1e-300\n"
              "1,0.5,0.3333333333333333\n"
              "2,1,0.1\n");
    EXPECT_EQ(SeriesCsv(SeriesList(owner)), "series,x,y\n");
}

}  // namespace
}  // namespace wachtrix::chart
