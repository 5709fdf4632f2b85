#include "core/markov/chain_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace wachtrix {
namespace {

namespace fs = std::filesystem;
using Cells = std::vector<std::vector<std::string>>;

using ChainFileTest = testing::TempFolder;
using testing::ReadFile;
using testing::WriteFile;

const ChainInput kDiscrete{ChainKind::Discrete, {{"0.5", "0.5"}, {"1", "0"}}, {{"3"}, {"-1"}}};
const ChainInput kContinuous{
    ChainKind::Continuous, {{"0", "2"}, {"0.25", "0"}}, {{"1", "10"}, {"2", "20"}}};

TEST(ChainFileText, WritesKindSizeRowsAndCostLines) {
    EXPECT_EQ(ChainFileText(kDiscrete), "99\n2\n0.5 0.5\n1 0\n3 -1\n");
    EXPECT_EQ(ChainFileText(kContinuous), "88\n2\n0 2\n0.25 0\n1 2\n10 20\n");
}

TEST(ChainFileText, KeepsTheCellTextsAsTheyStand) {
    const ChainInput typed{ChainKind::Discrete, {{"1.000"}}, {{"+2e0"}}};
    EXPECT_EQ(ChainFileText(typed), "99\n1\n1.000\n+2e0\n");
}

// Reading back what was written is seen through the files in SaveThenOpenGivesTheSameChain.
TEST(ParseChainFileText, WritesTheNumbersBackInGeneralFormat) {
    const auto read = ParseChainFileText("99\n2\n0.50 .5\n1.0E0 0e3\n2.5e-7 1234567.125\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->matrix, (Cells{{"0.5", "0.5"}, {"1", "0"}}));
    EXPECT_EQ(read->costs, (Cells{{"2.5E-007"}, {"1234567.125"}}));
}

TEST(ParseChainFileText, ReadsAnyCodeButNinetyNineAsAContinuousChain) {
    const auto other = ParseChainFileText("7\n1\n0\n5\n6\n");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->kind, ChainKind::Continuous);
    EXPECT_EQ(other->costs, (Cells{{"5", "6"}}));
    // Such a file needs both cost lines.
    EXPECT_FALSE(ParseChainFileText("7\n1\n0\n5\n"));
}

TEST(ParseChainFileText, ToleratesWhatFollowsTheExpectedItems) {
    const auto read =
        ParseChainFileText("99 discrete chain\r\n1 state\r\n  1\t 9 \r\n4 5\r\ntrailing words\r\n");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, ChainKind::Discrete);
    EXPECT_EQ(read->matrix, (Cells{{"1"}}));
    EXPECT_EQ(read->costs, (Cells{{"4"}}));
}

// Read straight into numbers, a file gives what its texts in the grids would give: numbers of
// more than 15 digits as their general format, a diagonal "-0" as a plain zero, a text whose
// 15 digits leave the range of numbers as unreadable.
TEST(ParseChainNumbers, GivesWhatTheGridTextsGive) {
    for (const std::string& text :
         {std::string("88\n3\n-0 0.12345678901234567 2\n1 0 1e-320\n3 4 0\n1 2 3\n4 5 6\n"),
          std::string("99\n2\n0.33333333333333331 0.66666666666666674\n1 0\n5 -1.0e+2\n"),
          std::string("88\n2\n0 1.7976931348623157e308\n1 0\n0 0\n0 0\n")}) {
        const auto numbers = ParseChainNumbersWithReason(text);
        const auto texts = ParseChainFileText(text);
        ASSERT_TRUE(numbers.chain && texts) << text;
        const ChainNumbers expected = ChainNumbersFromInput(*texts);
        EXPECT_EQ(numbers.chain->matrixRead, expected.matrixRead) << text;
        EXPECT_EQ(numbers.chain->costRead, expected.costRead) << text;
        EXPECT_EQ(numbers.chain->plainZeroDiagonal, expected.plainZeroDiagonal) << text;
        EXPECT_EQ(numbers.chain->data.TransitionMatrix, expected.data.TransitionMatrix) << text;
        EXPECT_EQ(numbers.chain->data.CostMatrix, expected.data.CostMatrix) << text;
        EXPECT_EQ(ValidateChainNumbers(*numbers.chain), ValidateChainInput(*texts)) << text;
    }
}

// A kind, a size, a row, a cell or a cost line that is not there or no number: the reasons are
// golden data (tests/data/reports/markov_fault_*.txt); here the others.
TEST(ParseChainFileText, RefusesWhatIsNoChain) {
    const char* faulty[] = {
        "",                   // empty
        "99\n",               // no size
        "99\n0\n",            // no states
        "99\n1.5\n1\n0\n",    // size not whole
        "99\n1\n1,0\n0\n",    // decimal comma
        "99\n1\n1\ninf\n",    // no number
        "99\n1\n1\n1e999\n",  // out of range
    };
    for (const char* text : faulty)
        EXPECT_FALSE(ParseChainFileText(text)) << text;
}

TEST_F(ChainFileTest, SaveThenOpenGivesTheSameChain) {
    const std::string path = (dir_ / "chain.txt").string();
    for (const ChainInput& chain : {kDiscrete, kContinuous}) {
        ASSERT_TRUE(WriteChainFile(path, chain));
        const auto read = ReadChainFile(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->kind, chain.kind);
        EXPECT_EQ(read->matrix, chain.matrix);
        EXPECT_EQ(read->costs, chain.costs);
    }
    EXPECT_EQ(Listing(), std::vector<std::string>{"chain.txt"}) << "no temporary file stays";
}

TEST_F(ChainFileTest, ReplacesTheOldFileInsteadOfWritingIntoIt) {
    const fs::path target = dir_ / "chain.txt";
    WriteFile(target, "old content\n");
    // The old file stays reachable through a second name: a write into it would show there.
    fs::create_hard_link(target, dir_ / "old.txt");
    ASSERT_TRUE(WriteChainFile(target.string(), kDiscrete));
    EXPECT_EQ(ReadFile(target), ChainFileText(kDiscrete));
    EXPECT_EQ(ReadFile(dir_ / "old.txt"), "old content\n");
}

// A failed write is the file writer's (core.FileWriter); the dialog says so
// (ui.MarkovKeuzeDialoog).

TEST_F(ChainFileTest, ReadingFailsForMissingUnreadableAndForeignFiles) {
    EXPECT_FALSE(ReadChainFile((dir_ / "missing.txt").string()));
    EXPECT_FALSE(ReadChainFile(dir_.string()));
    WriteFile(dir_ / "picture.txt", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    EXPECT_FALSE(ReadChainFile((dir_ / "picture.txt").string()));
}

}  // namespace
}  // namespace wachtrix
