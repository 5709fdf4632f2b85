#pragma once
// Dense LU decomposition with scaled partial pivoting, and the solve that uses it. Matrices and
// vectors are 1-based.
//
//   DecomposeLU({{},{0,2,1},{0,4,3}}, 2, 1e-20) then SolveLU(lu, {0,3,7}) -> x = {_, 1, 1}
//   a singular matrix -> DecomposeLU gives nothing

#include <optional>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

struct LUFactors {
    Matrix a;                      // multipliers below the diagonal, U on and above it
    std::vector<int> permutation;  // permutation[k]: the original row now at position k
};

// Each row's scale is its Euclidean norm, taken once at the start and kept with the row
// position. In column k the row with the largest |a(r,k)| / scale(r), r >= k, becomes the pivot
// row (the first on ties); when that ratio is below the tolerance, the matrix counts as singular
// and nothing is returned. The last pivot is tested like the others.
std::optional<LUFactors> DecomposeLU(Matrix a, int n, double tolerance);

// Forward and back substitution with extended-precision inner products.
std::vector<double> SolveLU(const LUFactors& lu, const std::vector<double>& b);

}  // namespace wachtrix
