#pragma once
// When a chain's distribution has settled: the coefficient of ergodicity
//
//   tau(P) = max over rows i, k of (1/2) sum over j of |p(i,j) - p(k,j)|
//          = 1 - min over rows i, k of sum over j of min(p(i,j), p(k,j))
//
// bounds how much a step can change a difference of two distributions: |d P| <= tau |d| (sums of
// absolute values). With tau < 1, the steps after one that changed the distribution by delta
// change it by at most delta tau / (1 - tau) in all, so that a run can stop stepping once that is
// below the printed digits, for any number of steps still to come.
//
//   P = {{0.5, 0.5}, {0.5, 0.5}}: tau = 0 (settled after one step)
//   P = {{0, 1}, {1, 0}}: tau = 1 (never settles)

#include "core/markov/sparse_matrix.h"

namespace wachtrix {

// 1 - sum over j of min over i of p(i,j): at least tau, in O(entries).
double DoeblinCoefficient(const SparseMatrix& p);

// tau itself, in O(n^3).
double ErgodicCoefficient(const SparseMatrix& p);

// The work of ErgodicCoefficient, in multiply-adds.
double ErgodicCoefficientCost(const SparseMatrix& p);

// A certified bound of the change still to come: the run may extrapolate once
// SettledBound(tau, |last step|) is at most kSettled. Infinite for tau of 1 or more.
double SettledBound(double tau, double lastStep);

// Far below the last printed digit of a probability (1e-9), and above the rounding noise of
// the steps of a distribution (about 1e-16 in all).
constexpr double kSettled = 1e-14;

}  // namespace wachtrix
