#include "core/text/value_list.h"

#include <gtest/gtest.h>

#include "support/report_expectations.h"

namespace wachtrix {
namespace {

using testing::Texts;

std::vector<double> Values(const ValueList& list) {
    std::vector<double> out;
    for (int i = 1; i <= list.Count; ++i)
        out.push_back(list[i]);
    return out;
}

// Each group is trimmed and sorted, invalid or out-of-range texts marked "**" at the end; the
// values are the valid run before them.
TEST(ReadValueList, TrimsSortsMarksAndReturnsTheValidRun) {
    const struct {
        TEditArray given;
        ValueList (*read)(TEditArray&);
        TEditArray after;
        std::vector<double> values;
    } cases[] = {
        {Texts({" 3", "", "1", "1.2.3", "2"}),
         [](TEditArray& e) { return ReadRealValues(e, 10); },
         Texts({"1", "2", "3", "1.2.3**"}),
         {1, 2, 3}},
        {Texts({"3", "2.5", "1"}),
         [](TEditArray& e) { return ReadIntValues(e, 100); },
         Texts({"1", "3", "2.5**"}),
         {1, 3}},
        {Texts({"abc", "", "4"}),
         [](TEditArray& e) { return ReadRealValues(e, 10); },
         Texts({"4", "abc**"}),
         {4}},
        // Both bounds are included.
        {Texts({"2500", "0", "2500.001", "-1"}),
         [](TEditArray& e) { return ReadRealValues(e, 2500); },
         Texts({"0", "2500", "2500.001**", "-1**"}),
         {0, 2500}},
        // A text ending in a star is left as it is.
        {Texts({"5*"}), [](TEditArray& e) { return ReadRealValues(e, 10); }, Texts({"5*"}), {}},
        {TEditArray{}, [](TEditArray& e) { return ReadRealValues(e, 10); }, TEditArray{}, {}},
    };
    for (const auto& k : cases) {
        TEditArray edits = k.given;
        const ValueList list = k.read(edits);
        EXPECT_EQ(edits, k.after) << k.given[0];
        EXPECT_EQ(Values(list), k.values) << k.given[0];
    }
}

TEST(ReadValueList, MarksAnOutOfRangeValueOnlyOnce) {
    TEditArray edits = Texts({"0.5", "1", "0.25"});
    ReadProbValues(edits);
    const ValueList again = ReadProbValues(edits);
    EXPECT_EQ(edits, Texts({"0.25", "0.5", "1**"}));
    EXPECT_EQ(Values(again), (std::vector<double>{0.25, 0.5}));
}

TEST(ReadValueList, ReadsAllTwelveWhenAllAreValid) {
    TEditArray edits = Texts({"12", "11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1"});
    const ValueList list = ReadIntValues(edits, 5000);
    ASSERT_EQ(list.Count, 12);
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(list[i], i);
    EXPECT_EQ(edits[0], "1");
    EXPECT_EQ(edits[11], "12");
}

}  // namespace
}  // namespace wachtrix
