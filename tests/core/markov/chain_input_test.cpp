#include "core/markov/chain_input.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace wachtrix {
namespace {

using Cells = std::vector<std::vector<std::string>>;

ChainInput Discrete(Cells matrix, Cells costs) {
    return {ChainKind::Discrete, std::move(matrix), std::move(costs)};
}
ChainInput Continuous(Cells matrix, Cells costs) {
    return {ChainKind::Continuous, std::move(matrix), std::move(costs)};
}

struct ValidationCase {
    const char* name;
    ChainInput input;
    std::optional<std::string> message;
};

void ExpectMessages(const std::vector<ValidationCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(ValidateChainInput(c.input), c.message) << c.name;
    }
}

TEST(ValidateChainInput, RefusesTextsThatAreNoNumbers) {
    ExpectMessages({
        {"fine", Discrete({{"0.5", "0.5"}, {"1", "0"}}, {{"1"}, {"2"}}), std::nullopt},
        {"letters", Discrete({{"0.5", "x"}, {"1", "0"}}, {{"1"}, {"2"}}),
         "Illegal value in transitionmatrix.\nRow 1, column 2."},
        {"empty cell", Discrete({{"0.5", "0.5"}, {"", "1"}}, {{"1"}, {"2"}}),
         "Illegal value in transitionmatrix.\nRow 2, column 1."},
        {"decimal comma", Discrete({{"0,5", "0.5"}, {"1", "0"}}, {{"1"}, {"2"}}),
         "Illegal value in transitionmatrix.\nRow 1, column 1."},
        {"cost", Discrete({{"1"}}, {{"1.2.3"}}),
         "Illegal value in cost vector.\nRow 1, column c(j)."},
        {"matrix before costs", Discrete({{"a"}}, {{"b"}}),
         "Illegal value in transitionmatrix.\nRow 1, column 1."},
        // Every text is read before any value is judged.
        {"costs before negative entries", Discrete({{"-1", "2"}, {"1", "0"}}, {{"1"}, {"?"}}),
         "Illegal value in cost vector.\nRow 2, column c(j)."},
        {"second cost column of a continuous chain",
         Continuous({{"0", "1"}, {"1", "0"}}, {{"1", "2"}, {"3", "F"}}),
         "Illegal value in cost vector.\nRow 2, column F(k)."},
    });
}

TEST(ValidateChainInput, DiscreteRowsMustBeProbabilitiesSummingToOne) {
    ExpectMessages({
        {"0.999995 is close enough", Discrete({{"0.5", "0.499995"}, {"0", "1"}}, {{"0"}, {"0"}}),
         std::nullopt},
        {"0.99999 is not", Discrete({{"0.5", "0.49999"}, {"0", "1"}}, {{"0"}, {"0"}}),
         "Sum of rows not 1 in transitionmatrix.\nRow 1 sums to 0.99999."},
        {"1.00002 is not", Discrete({{"0", "1"}, {"0.5", "0.50002"}}, {{"0"}, {"0"}}),
         "Sum of rows not 1 in transitionmatrix.\nRow 2 sums to 1.00002."},
        {"single state", Discrete({{"0.999995"}}, {{"0"}}), std::nullopt},
        {"negative", Discrete({{"-0.5", "1.5"}, {"0", "1"}}, {{"0"}, {"0"}}),
         "Negative value in transitionmatrix\nRow 1, column 1."},
        {"rows in order", Discrete({{"0.5", "0.4"}, {"-1", "2"}}, {{"0"}, {"0"}}),
         "Sum of rows not 1 in transitionmatrix.\nRow 1 sums to 0.9."},
        {"a negative value before its row's sum",
         Discrete({{"1", "0"}, {"-1", "3"}}, {{"0"}, {"0"}}),
         "Negative value in transitionmatrix\nRow 2, column 1."},
    });
}

TEST(ValidateChainInput, ContinuousDiagonalIsAPlainZeroAndRatesAreNotNegative) {
    ExpectMessages({
        {"fine", Continuous({{"0", "2.5"}, {"1e3", "0"}}, {{"1", "0"}, {"0", "5"}}), std::nullopt},
        {"0.0 on the diagonal", Continuous({{"0", "1"}, {"1", "0.0"}}, {{"0", "0"}, {"0", "0"}}),
         "Diagonal values must be zero in transitionMatrix\nRow 2, column 2."},
        {"cell by cell: negative rate first",
         Continuous({{"0", "1"}, {"-1", "2"}}, {{"0", "0"}, {"0", "0"}}),
         "Negative value in transitionmatrix\nRow 2, column 1."},
        {"cell by cell: diagonal first",
         Continuous({{"0.0", "-1"}, {"1", "0"}}, {{"0", "0"}, {"0", "0"}}),
         "Diagonal values must be zero in transitionMatrix\nRow 1, column 1."},
        {"rows in order", Continuous({{"0", "-1"}, {"1", "1"}}, {{"0", "0"}, {"0", "0"}}),
         "Negative value in transitionmatrix\nRow 1, column 2."},
        {"rows need not sum to anything",
         Continuous({{"0", "7"}, {"0", "0"}}, {{"0", "0"}, {"0", "0"}}), std::nullopt},
        {"a row of legal rates whose total overflows",
         Continuous({{"0", "1e308", "1e308"}, {"1", "0", "0"}, {"1", "0", "0"}},
                    {{"0", "0"}, {"0", "0"}, {"0", "0"}}),
         "The rates out of state 1 add up to more than 1E308: measure time in a longer unit."},
        {"a rate beyond the range of numbers",
         Continuous({{"0", "1e309"}, {"1", "0"}}, {{"0", "0"}, {"0", "0"}}),
         "Illegal value in transitionmatrix.\nRow 1, column 2."},
    });
}

TEST(ValidateChainInput, CostsMayGoDownToMinusOneHundredThousand) {
    ExpectMessages({
        {"-100000", Discrete({{"1"}}, {{"-100000"}}), std::nullopt},
        {"below", Discrete({{"1"}}, {{"-100000.01"}}),
         "Value in cost vector must be above -100000.\nRow 1, column c(j)."},
        {"F column", Continuous({{"0"}}, {{"0", "-2e5"}}),
         "Value in cost vector must be above -100000.\nRow 1, column F(k)."},
        {"after the matrix rules", Discrete({{"0.5"}}, {{"-2e5"}}),
         "Sum of rows not 1 in transitionmatrix.\nRow 1 sums to 0.5."},
    });
}

TEST(ValidateChainInput, ContinuousCostRatesMustStayWithinTheRangeOfNumbers) {
    // c(j) = r(j) + sum over k of F(k) q(j,k); the analyses add these up.
    const Cells rates{{"0", "1e300"}, {"2e300", "0"}};
    ExpectMessages({
        {"1e308 at the limit", Continuous(rates, {{"0", "1e7"}, {"0", "1e8"}}), std::nullopt},
        {"fixed cost times rate", Continuous(rates, {{"0", "1e7"}, {"0", "1e9"}}),
         "Cost rate of state 1 too large: r(j) + sum of F(k) q(j,k) exceeds 1E308."},
        {"rate cost plus fixed costs",
         Continuous({{"0", "1"}, {"1", "0"}}, {{"1e308", "0"}, {"1.7e308", "1e308"}}),
         "Cost rate of state 1 too large: r(j) + sum of F(k) q(j,k) exceeds 1E308."},
        {"negative fixed cost",
         Continuous({{"0", "1"}, {"1e305", "0"}}, {{"0", "-100000"}, {"0", "0"}}),
         "Cost rate of state 2 too large: r(j) + sum of F(k) q(j,k) exceeds 1E308."},
        {"after the cost bound", Continuous(rates, {{"0", "-2e5"}, {"0", "1e300"}}),
         "Value in cost vector must be above -100000.\nRow 1, column F(k)."},
        {"discrete costs are rates already", Discrete({{"1"}}, {{"1.7e308"}}), std::nullopt},
    });
}

// Where the values go, 1-based, is seen in every run of the Markov dialog (ui.MarkovKeuzeDialoog);
// a text that is no number is the caller's fault.
TEST(ChainDataFromInput, WantsCheckedInput) {
    EXPECT_THROW(ChainDataFromInput(Discrete({{"x"}}, {{"0"}})), std::invalid_argument);
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
