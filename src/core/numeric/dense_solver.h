#pragma once
// Gaussian elimination with scaled partial pivoting for the dense systems of the embedded-chain
// models. Each row's scale is its Euclidean norm, taken once before elimination and moved with
// the row; in column k the row with the largest |a(i, k)| / scale(i), i >= k, becomes the pivot
// (the first on ties). A largest ratio below the copy's threshold, the last column included,
// means the matrix is singular: NumericalFailure with the copy's text.
//
//   SolveScaledPivoting({{0, 2}, {4, 3}}, {3, 7}, kLudeco) -> {0.625, 1.5}

#include <string_view>
#include <vector>

#include "core/numeric/square_matrix.h"

namespace wachtrix {

struct PivotingCopy {
    double singularThreshold;
    std::string_view singularText;
};

// The copy M/D/c and D/G/1 share.
inline constexpr PivotingCopy kLudeco{1e-12, "Er is iets mis in LUDECO"};

struct ScaledLU {
    SquareMatrix<double> lu;       // multipliers below the diagonal, U on and above it
    std::vector<int> permutation;  // permutation[k]: the original row now at position k
};

ScaledLU DecomposeScaledPivoting(SquareMatrix<double> a, const PivotingCopy& copy);

// Forward and back substitution, inner products in extended precision.
std::vector<double> SolveDecomposed(const ScaledLU& factors, const std::vector<double>& b);

// Both in one: x with a x = b.
std::vector<double> SolveScaledPivoting(SquareMatrix<double> a, const std::vector<double>& b,
                                        const PivotingCopy& copy);

}  // namespace wachtrix
