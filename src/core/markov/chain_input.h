#pragma once
// The chain as the input grids hold it: cell texts. Validation gives the first fault as the
// message the dialog shows, its second line saying where, and the cell for the grid's cursor;
// the hand-over turns validated texts into ChainData.
//
//   rows {"0.5","0.5"},{"1","0"}, costs {"1"},{"2"}  -> valid, p(1,2) = 0.5, c(2) = 2
//   rows {"0.5","0.49999"},...                        -> "Sum of rows not 1 in transitionmatrix.
//                                                         Row 1 sums to 0.99999.", cell (0, 0)

#include <optional>
#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

// How far a row of probabilities may sum from 1 and still count as summing to 1: the round-off
// of typed decimals (0.35 + 0.25 + 0.40), not a user's slip.
inline constexpr double kRowSumTolerance = 1e-5;

struct ChainInput {
    ChainKind kind = ChainKind::Discrete;
    // 0-based like the grids: matrix[i][j] is the cell of state i+1 to state j+1 (N x N);
    // costs[i] holds the 1 (discrete) or 2 (continuous) cost texts of state i+1.
    std::vector<std::vector<std::string>> matrix;
    std::vector<std::vector<std::string>> costs;

    int StateCount() const { return static_cast<int>(matrix.size()); }
};

// A chain's cells as numbers, as the dialog's checks see them: the chain data, and which cells
// read as numbers at all (the others hold 0). Validation and the hand-over work on this; the
// texts of the grids and the numbers of a chain file both become one.
struct ChainNumbers {
    ChainData data;                       // Kind and StateCount set; matrices sized
    std::vector<char> matrixRead;         // row by row, n x n
    std::vector<char> costRead;           // state by state, CostColumnCount(kind) each
    std::vector<char> plainZeroDiagonal;  // per state: the diagonal cell reads "0"

    // Sized for n states of the kind, every cell 0 and unread.
    static ChainNumbers Empty(int n, ChainKind kind);
    // Cell (i, j) and cost k of state i, all 0-based.
    void SetCell(int i, int j, std::optional<double> value);
    void SetCost(int i, int k, std::optional<double> value);
};

// The cells read as numbers (ParseReal).
ChainNumbers ChainNumbersFromInput(const ChainInput& input);

// The first fault of a chain: the message, and the cell (0-based) of the matrix or the cost
// vector it concerns.
struct ChainFault {
    std::string message;
    bool inCosts = false;
    int row = 0;
    int column = 0;
    bool operator==(const ChainFault&) const = default;
};

// The first fault, in the order ValidateChainInput gives.
std::optional<ChainFault> FindChainFault(const ChainNumbers& numbers);

// The message of the first fault, as ValidateChainInput gives it.
std::optional<std::string> ValidateChainNumbers(const ChainNumbers& numbers);

// Validated numbers as chain data (CostVectorRead and DataLoaded set).
ChainData ChainDataFromNumbers(ChainNumbers numbers);

// A chain of n states with every cell "0".
ChainInput ZeroChainInput(ChainKind kind, int n);

// The message of the first fault, in the dialog's order: unreadable matrix cells, unreadable
// costs, the kind's matrix rules row by row, costs below -100000, cost rates of a continuous
// chain beyond the range of numbers. A fault of a cell or a row names it on a second line.
// Nothing when the chain is fine.
std::optional<std::string> ValidateChainInput(const ChainInput& input);

// The validated texts as numbers, with CostVectorRead and DataLoaded set. Throws
// std::invalid_argument for a text that ValidateChainInput would have refused.
ChainData ChainDataFromInput(const ChainInput& input);

// The chain as the grids show it, for the head of a kept report: kind and size, then the matrix
// and the cost columns, the cell texts as typed, each column right-aligned.
//   discrete, {"0.5","0.5"},{"1","0"}, costs {"1"},{"22"} ->
//   "Discrete-time Markov chain, 2 states", "", "Transition matrix P", "  0.5  0.5",
//   "    1    0", "", "Cost vector", "  c(j)", "     1", "    22"
std::vector<std::string> ChainListing(const ChainInput& input);

}  // namespace wachtrix
