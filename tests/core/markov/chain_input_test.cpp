#include "core/markov/chain_input.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "support/data_file.h"

namespace wachtrix {
namespace {

using Cells = std::vector<std::vector<std::string>>;

// Grid texts row by row: "0.5 x / '' 1" -> {{"0.5", "x"}, {"", "1"}}.
Cells Grid(const std::string& text) {
    Cells rows(1);
    std::istringstream words(text);
    for (std::string w; words >> w;)
        if (w == "/")
            rows.emplace_back();
        else
            rows.back().push_back(w == "''" ? "" : w);
    return rows;
}

// The rules, each a section of tests/data/chain_input.txt.
TEST(ValidateChainInput, HoldsTheGridsToTheRules) {
    const testing::DataSections rules = testing::ReadDataFile("chain_input.txt");
    EXPECT_EQ(rules.size(), 5u);
    for (const auto& [rule, rows] : rules) {
        for (const testing::DataLine& row : rows) {
            const std::vector<std::string> f = testing::Fields(row.text);
            ASSERT_EQ(f.size(), 5u) << row.where;
            const ChainKind kind = f[1] == "D" ? ChainKind::Discrete : ChainKind::Continuous;
            std::string message = f[4];
            for (auto at = message.find("\\n"); at != std::string::npos; at = message.find("\\n"))
                message.replace(at, 2, "\n");
            EXPECT_EQ(ValidateChainInput({kind, Grid(f[2]), Grid(f[3])}),
                      f[4] == "-" ? std::nullopt : std::optional(message))
                << row.where << ": " << f[0];
        }
    }
}

// Where the values go, 1-based, is seen in every run of the Markov dialog (ui.MarkovKeuzeDialoog);
// a text that is no number is the caller's fault.
TEST(ChainDataFromInput, WantsCheckedInput) {
    EXPECT_THROW(ChainDataFromInput({ChainKind::Discrete, {{"x"}}, {{"0"}}}),
                 std::invalid_argument);
}

TEST(ZeroChainInput, HoldsZerosInTheKindsShape) {
    const ChainInput input = ZeroChainInput(ChainKind::Continuous, 3);
    EXPECT_EQ(input.StateCount(), 3);
    EXPECT_EQ(input.costs, Cells(3, {"0", "0"}));
    EXPECT_EQ(ValidateChainInput(input), std::nullopt);
    EXPECT_EQ(ValidateChainInput(ZeroChainInput(ChainKind::Discrete, 2)),
              "Sum of rows not 1 in transitionmatrix.\nRow 1 sums to 0.");
}

}  // namespace
}  // namespace wachtrix
