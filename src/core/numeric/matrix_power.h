#pragma once
// Products of dense square matrices of doubles, row by row (entry (i, j) at i n + j), for the
// powers of a chain's matrix: c = a b with each entry summed over k in increasing order, so
// that the result does not depend on the instructions chosen for this processor.
//
//   a = {{0.5, 0.5}, {0, 1}}: a a = {{0.25, 0.75}, {0, 1}}

#include <vector>

namespace wachtrix {

// c = a b for n x n matrices; c may not be a or b.
void MultiplyDense(const double* a, const double* b, double* c, int n);

inline std::vector<double> MultiplyDense(const std::vector<double>& a, const std::vector<double>& b,
                                         int n) {
    std::vector<double> c(static_cast<std::size_t>(n) * n);
    MultiplyDense(a.data(), b.data(), c.data(), n);
    return c;
}

// out = v a for a row vector v of n entries.
void MultiplyRowVector(const double* v, const double* a, double* out, int n);

}  // namespace wachtrix
