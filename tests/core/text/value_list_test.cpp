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

TEST(ReadValueList, TrimsSortsMarksAndReturnsTheValidRun) {
    TEditArray edits = Texts({" 3", "", "1", "1.2.3", "2"});
    const ValueList list = ReadRealValues(edits, 10);
    EXPECT_EQ(edits, Texts({"1", "2", "3", "1.2.3**"}));
    EXPECT_EQ(Values(list), (std::vector<double>{1, 2, 3}));
}

TEST(ReadValueList, MarksAnOutOfRangeValueOnlyOnce) {
    TEditArray edits = Texts({"0.5", "1", "0.25"});
    ReadProbValues(edits);
    const ValueList again = ReadProbValues(edits);
    EXPECT_EQ(edits, Texts({"0.25", "0.5", "1**"}));
    EXPECT_EQ(Values(again), (std::vector<double>{0.25, 0.5}));
}

TEST(ReadValueList, IntegerGroupsRefuseFractions) {
    TEditArray edits = Texts({"3", "2.5", "1"});
    const ValueList list = ReadIntValues(edits, 100);
    EXPECT_EQ(edits, Texts({"1", "3", "2.5**"}));
    EXPECT_EQ(Values(list), (std::vector<double>{1, 3}));
}

TEST(ReadValueList, KeepsAValidValueThatFollowsAnInvalidOne) {
    TEditArray edits = Texts({"abc", "", "4"});
    const ValueList list = ReadRealValues(edits, 10);
    EXPECT_EQ(edits, Texts({"4", "abc**"}));
    EXPECT_EQ(Values(list), (std::vector<double>{4}));
}

TEST(ReadValueList, IncludesBothBounds) {
    TEditArray edits = Texts({"2500", "0", "2500.001", "-1"});
    const ValueList list = ReadRealValues(edits, 2500);
    EXPECT_EQ(Values(list), (std::vector<double>{0, 2500}));
    EXPECT_EQ(edits, Texts({"0", "2500", "2500.001**", "-1**"}));
}

TEST(ReadValueList, LeavesATextEndingInAStarUnmarked) {
    TEditArray edits = Texts({"5*"});
    const ValueList list = ReadRealValues(edits, 10);
    EXPECT_EQ(edits[0], "5*");
    EXPECT_EQ(list.Count, 0);
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

TEST(ReadValueList, EmptyGroupGivesNoValues) {
    TEditArray edits;
    EXPECT_EQ(ReadRealValues(edits, 10).Count, 0);
    EXPECT_EQ(edits, TEditArray{});
}

}  // namespace
}  // namespace wachtrix
