#pragma once
// Solves an upper-Hessenberg system A x = b (A(i, j) = 0 for j < i - 1) by 2 x 2 Householder
// reflections of neighbouring rows followed by back substitution: n^2 work instead of the n^3 of
// a dense elimination, and no pivoting is needed for stability. The embedded Markov chains of
// the models with deterministic interarrival or service times have this shape.
//
// A and b are overwritten. A pivot that vanishes against the largest entry (relative 1e-15 times
// its row number) means the matrix is singular: NumericalFailure with singularText.

#include <cmath>
#include <string>
#include <vector>

#include "core/numeric/numerical_failure.h"
#include "core/numeric/square_matrix.h"

namespace wachtrix {

template <class Real>
std::vector<Real> HouseholderSolve(SquareMatrix<Real>& A, std::vector<Real>& b,
                                   const std::string& singularText) {
    const int n = A.size();
    Real largest = 0;
    for (int i = 0; i < n; ++i)
        for (int j = i > 0 ? i - 1 : 0; j < n; ++j)
            largest = std::fmax(largest, std::fabs(A(i, j)));

    std::vector<Real> diagonal(n > 0 ? n - 1 : 0);
    for (int k = 0; k + 1 < n; ++k) {
        Real* upper = A.row(k);
        Real* lower = A.row(k + 1);
        const Real a = upper[k], s = lower[k];
        const Real s2 = a * a + s * s;
        const Real tiny = (k + 1) * Real(1e-15) * largest;
        if (s2 <= tiny * tiny) throw NumericalFailure({singularText});
        const Real sigma = a >= 0 ? -std::sqrt(s2) : std::sqrt(s2);
        diagonal[k] = sigma;
        const Real beta = 1 / (sigma * a - s2);
        upper[k] = a - sigma;  // the reflection vector is (upper[k], s)
        const Real v0 = upper[k];
        const Real fb = (v0 * b[k] + s * b[k + 1]) * beta;
        b[k] += v0 * fb;
        b[k + 1] += s * fb;
        for (int j = k + 1; j < n; ++j) {
            const Real f = (v0 * upper[j] + s * lower[j]) * beta;
            upper[j] += v0 * f;
            lower[j] += s * f;
        }
    }
    if (n > 0 && std::fabs(A(n - 1, n - 1)) <= n * Real(1e-15) * largest)
        throw NumericalFailure({singularText});
    for (int k = 0; k + 1 < n; ++k)
        A(k, k) = diagonal[k];

    std::vector<Real> x(n);
    for (int i = n - 1; i >= 0; --i) {
        const Real* row = A.row(i);
        Real sum = b[i];
        for (int j = i + 1; j < n; ++j)
            sum -= row[j] * x[j];
        x[i] = sum / row[i];
    }
    return x;
}

}  // namespace wachtrix
