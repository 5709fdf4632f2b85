#pragma once
// The chain handed from the input dialog to the analyses: 1-based matrices, row and column 0
// unused.

#include <cstdint>
#include <vector>

namespace wachtrix {

// 1-based square matrix: entry (i, j) at m[i][j], row 0 and column 0 unused.
using Matrix = std::vector<std::vector<double>>;

// Also the first line of a chain file.
enum class ChainKind : std::int16_t {
    Discrete = 99,    // TransitionMatrix holds probabilities p(i,j)
    Continuous = 88,  // TransitionMatrix holds rates q(i,j), zero diagonal
};

// A chain file's kind code: 99 is discrete, any other code continuous.
//   ChainKindFromCode(99) -> Discrete   ChainKindFromCode(88) -> Continuous
//   ChainKindFromCode(7)  -> Continuous
ChainKind ChainKindFromCode(int code);
int ChainKindCode(ChainKind kind);

// Number of cost columns: 1 (c(j)) for discrete chains, 2 (r(j), F(k)) for continuous ones.
int CostColumnCount(ChainKind kind);

struct ChainData {
    ChainKind Kind = ChainKind::Discrete;
    int StateCount = 0;
    Matrix TransitionMatrix;  // (N+1) x (N+1)
    Matrix CostMatrix;        // (N+1) x 2 or 3
    bool CostVectorRead = false;
    bool DataLoaded = false;

    // Sized for n states of the kind, all zero.
    static ChainData Zero(int n, ChainKind kind);
};

}  // namespace wachtrix
