#pragma once
// Linear systems of a chain left open: the unknowns x(i) live on a set S of states, every state
// i of S leaves at rate (or probability) a(i,j) to each other state j, and
//
//   out(i) x(i) - sum over j in S, j != i, of a(i,j) x(j) = b(i),   out(i) = sum over j != i
//
// of a(i,j). Mean times to leave S, probabilities of where S is left and expected visits all
// solve such a system. Gaussian elimination in the order of S, with each new diagonal taken as
// the sum of what its state still leaves to (never as a difference), keeps every intermediate
// value a sum of nonnegative terms: nothing cancels, however close the chain comes to never
// leaving S. The diagonal of a is not read, so probabilities and rates are treated alike.
//
//   a(1,2) = 0.5, a(1,3) = 0.5, S = {1}, b = 1 -> x(1) = 1 (one step to leave)
//   a(1,2) = 1, a(2,1) = 1, a(2,3) = 1, S = {1, 2}, b = (1, 1) -> x = (3, 2)

#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

class SubtractionFreeSolver {
public:
    using Real = long double;

    // a: 1-based, n states; free: the states of S (each once). NumericalFailure when a state of
    // S leaves S at a rate too small for extended precision (it would never leave).
    SubtractionFreeSolver(const Matrix& a, const std::vector<int>& free);

    // x in the order of S for the right-hand side b in that order.
    std::vector<Real> Solve(std::vector<Real> b) const;

    int size() const { return static_cast<int>(out_.size()); }

private:
    // Row i: left of the diagonal the multipliers of elimination, right of it the reduced
    // transitions; the diagonal is never read.
    std::vector<std::vector<Real>> a_;
    std::vector<Real> out_;  // the reduced diagonal
};

}  // namespace wachtrix
