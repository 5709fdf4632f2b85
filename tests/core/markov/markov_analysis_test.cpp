#include "core/markov/markov_analysis.h"

#include "core/markov/chain_builders.h"

#include <gtest/gtest.h>

namespace wachtrix {
namespace {

// Running a chain file, the names of the analyses, the file's and the inputs' refusals, the
// answers at any nu t and the notice of mean times beyond the range of numbers are golden data
// (tests/data/reports/markov_*.txt), run through wachtrix-report; a stopped run is the Markov
// dialog's (ui.MarkovKeuzeDialoog).

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

// The analysis follows the chain's own kind: the golden reports of discrete and continuous
// chains. Before a chain is loaded there is nothing to report.
TEST(RunMarkovAnalysis, WritesNothingBeforeAChainIsLoaded) {
    NoProgress none;
    MarkovRequest request;
    request.analysis = MarkovAnalysis::FirstPassage;
    request.firstPassage = {1, {1}, ReturnSetType::Single, 2};
    ChainData unloaded = testing::MakeChain({{0.5, 0.5}, {0.5, 0.5}}, ChainKind::Discrete);
    unloaded.DataLoaded = false;
    EXPECT_TRUE(RunMarkovAnalysis(request, unloaded, none).lines.empty());
}

}  // namespace
}  // namespace wachtrix
