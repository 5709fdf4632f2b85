#include "core/markov/markov_analysis.h"

#include "core/markov/chain_builders.h"
#include "core/markov/recording_progress.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace wachtrix {
namespace {

namespace fs = std::filesystem;

MarkovChoice Choice(MarkovAnalysis analysis) {
    MarkovChoice choice;
    choice.analysis = analysis;
    return choice;
}

class MarkovFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("wachtrix-markov-run-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path.string();
    }

    fs::path dir_;
};

// The file errors and the whole reports of other chains are seen through wachtrix-report in the
// CLI tests.

TEST_F(MarkovFileTest, RunsTheChosenAnalysisOnTheFilesChain) {
    const std::string path = Write("two.txt", "99\n2\n0.75 0.25\n0.75 0.25\n1 2\n");
    const MarkovFileReport structure = RunMarkovFile(path, Choice(MarkovAnalysis::ChainStructure));
    EXPECT_EQ(structure.error, "");
    EXPECT_EQ(structure.lines,
              (std::vector<std::string>{"=====================", "   CHAIN STRUCTURE",
                                        "=====================", " ", "Recurrent subchain 1: 1 2 ",
                                        " ", "There is a single recurrent class.", "",
                                        "Transient states      : None   "}));
    const MarkovFileReport steady = RunMarkovFile(path, Choice(MarkovAnalysis::SteadyState));
    EXPECT_EQ(steady.error, "");
    ASSERT_EQ(steady.lines.size(), 12u);
    EXPECT_EQ(steady.lines[6], "State 1: pi[1] = 0.7500000000");
    EXPECT_EQ(steady.lines[9], "Average cost per unit time: 1.2500000000");
}

TEST_F(MarkovFileTest, TimeAnalysesCheckTheirInputsAgainstTheFilesChain) {
    const std::string path = Write("rates.txt", "88\n2\n0 1\n3 0\n1 2\n0 10\n");
    MarkovChoice choice = Choice(MarkovAnalysis::Transient);
    choice.transient = {"1", {"2.5", "1"}, TransientChoice::Probabilities, {"2"}};
    const MarkovFileReport transient = RunMarkovFile(path, choice);
    EXPECT_EQ(transient.error, "");
    ASSERT_EQ(transient.lines.size(), 13u);
    EXPECT_EQ(transient.lines[9], "At t = 1.000      0.245421090");
    choice.transient.endStates = {"3"};
    EXPECT_EQ(RunMarkovFile(path, choice).error, "End state 1 doesn't exist.");
    choice.analysis = MarkovAnalysis::FirstPassage;
    choice.firstPassage = {"1", {"0.5"}, ReturnSetType::Single, "2"};
    EXPECT_EQ(RunMarkovFile(path, choice).error,
              "Time points must be between 1 and 5000\nTime point 1 is 0.5.");
}

TEST(MarkovAnalysisNamed, KnowsTheBatchNames) {
    EXPECT_EQ(MarkovAnalysisNamed("structure"), MarkovAnalysis::ChainStructure);
    EXPECT_EQ(MarkovAnalysisNamed("steady"), MarkovAnalysis::SteadyState);
    EXPECT_EQ(MarkovAnalysisNamed("transient"), MarkovAnalysis::Transient);
    EXPECT_EQ(MarkovAnalysisNamed("passage"), MarkovAnalysis::FirstPassage);
    EXPECT_EQ(MarkovAnalysisNamed("first"), std::nullopt);
}

// Only the chosen analysis's inputs are read: the others may hold anything.
TEST(CheckMarkovChoice, ChecksOnlyTheChosenAnalysis) {
    const ChainData chain = testing::MakeChain(testing::Identity(3), ChainKind::Discrete);
    MarkovChoice choice;
    choice.transient = {"9", {"0"}, TransientChoice::Probabilities, {"x"}};
    choice.firstPassage = {"1", {"7", "3", "7"}, ReturnSetType::ToLast, "2"};
    for (const MarkovAnalysis analysis :
         {MarkovAnalysis::ChainStructure, MarkovAnalysis::SteadyState,
          MarkovAnalysis::FirstPassage}) {
        choice.analysis = analysis;
        const auto request = CheckMarkovChoice(choice, chain);
        ASSERT_TRUE(request.ok()) << request.error;
        EXPECT_EQ(request.value.analysis, analysis);
    }
    EXPECT_EQ(CheckMarkovChoice(choice, chain).value.firstPassage.timePoints,
              (std::vector<double>{3, 7, 7}));
    choice.analysis = MarkovAnalysis::Transient;
    EXPECT_EQ(CheckMarkovChoice(choice, chain).error, "Initial state doesn't exist ");
}

TEST(RunMarkovAnalysis, DispatchesOnTheRequestAndTheChainsOwnKind) {
    NoProgress none;
    MarkovRequest request;
    request.analysis = MarkovAnalysis::FirstPassage;
    request.firstPassage = {1, {1}, ReturnSetType::Single, 2};
    // The same matrix read as probabilities and as rates.
    const ChainData discrete = testing::MakeChain({{0.5, 0.5}, {0.5, 0.5}}, ChainKind::Discrete);
    const ChainData continuous = testing::MakeChain({{0, 0.5}, {0.5, 0}}, ChainKind::Continuous);
    EXPECT_EQ(RunMarkovAnalysis(request, discrete, none).lines.back(),
              "At t = 1:       0.50000000 ");
    EXPECT_EQ(RunMarkovAnalysis(request, continuous, none).lines.back(),
              "At t = 1.000:     0.60653066 ");  // e^{-1/2}
    request.analysis = MarkovAnalysis::ChainStructure;
    EXPECT_EQ(RunMarkovAnalysis(request, continuous, none).lines.back(),
              "Transient states      : None   ");
    ChainData unloaded = discrete;
    unloaded.DataLoaded = false;
    EXPECT_TRUE(RunMarkovAnalysis(request, unloaded, none).lines.empty());
}

TEST(RunMarkovAnalysis, AStopLeavesTheHeaderAndSaysSo) {
    testing::RecordingProgress progress(1);
    MarkovRequest request;
    request.analysis = MarkovAnalysis::Transient;
    request.transient = {1, {50}, TransientChoice::Costs, {}};
    const MarkovReport report = RunMarkovAnalysis(
        request, testing::MakeChain({{0.5, 0.5}, {0.5, 0.5}}, ChainKind::Discrete), progress);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.lines.size(), 4u);
}

// Rates so fast that nu t is 5e303: the passage is answered all the same.
TEST(RunMarkovAnalysis, AnyNuTIsAnswered) {
    NoProgress none;
    MarkovRequest request;
    request.analysis = MarkovAnalysis::FirstPassage;
    request.firstPassage = {1, {5000}, ReturnSetType::Single, 2};
    const ChainData chain = testing::MakeChain({{0, 1e300}, {1, 0}}, ChainKind::Continuous);
    const MarkovReport report = RunMarkovAnalysis(request, chain, none);
    EXPECT_TRUE(report.failure.empty());
    EXPECT_EQ(report.lines.back(), "At t = 5000.000:  0.00000000 ");
}

// Mean times beyond the range of numbers: the report says the computation failed and hands the
// lines over for standard output.
TEST(RunMarkovAnalysis, ATimeBeyondTheRangeOfNumbersEndsWithANotice) {
    NoProgress none;
    MarkovRequest request;
    request.analysis = MarkovAnalysis::MeanPassage;
    const ChainData chain = testing::MakeChain({{1, 1e-310}, {0.5, 0.5}}, ChainKind::Discrete);
    const MarkovReport report = RunMarkovAnalysis(request, chain, none);
    EXPECT_FALSE(report.stopped);
    ASSERT_EQ(report.failure.size(), 1u);
    EXPECT_EQ(report.failure[0], "The mean times are beyond the range of numbers");
    ASSERT_EQ(report.lines.size(), 5u);
    EXPECT_EQ(report.lines[1], "   MEAN PASSAGE AND ABSORPTION");
    EXPECT_EQ(report.lines[4],
              "The computation failed: The mean times are beyond the range of numbers.");
}

}  // namespace
}  // namespace wachtrix
