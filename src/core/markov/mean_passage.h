#pragma once
// Mean first-passage and absorption quantities of a chain, discrete (a step counts 1) or
// continuous (in units of time), by censoring without cancellation in double-double arithmetic
// (censoring.h), one censoring serving every target or right-hand side; chains whose weights
// lie beyond 2^-450 .. 2^450 take one extended-precision system per target (SubtractionFreeSolver):
// - an irreducible chain: the mean first-passage times m(i,j) for all pairs, m(j,j) the mean
//   return time (in a discrete chain 1 / pi(j); in a continuous one the time to leave j and come
//   back, 1 / (p(j) q(j)));
// - a chain with transient states: for each transient state the probability of absorption in
//   each recurrent class, the mean steps (time) until absorption, the expected visits to (time
//   in) each transient state, the fundamental matrix, with the visit at the start counted, and
//   the expected total cost until absorption.
//
//   p(1,2) = a, p(2,1) = b       -> m(1,2) = 1/a, m(2,1) = 1/b, m(1,1) = (a + b) / b
//   gambler's ruin on 0..4, p = 1/2, start 1 -> ruin 3/4, duration 1 * 3 = 3 steps

#include <vector>

#include "core/markov/chain_data.h"
#include "core/markov/chain_structure.h"

namespace wachtrix {

struct PassageTimes {
    Matrix m;             // 1-based, m[i][j]; 0 where not defined (a continuous single state)
    double accuracy = 0;  // the largest relative residual of the equations, or |pi m - 1|
};

// a: the transition matrix (discrete) or the rates (continuous) of an irreducible chain,
// 1-based, n states. NumericalFailure when the times leave the range of numbers.
PassageTimes MeanPassageTimes(const Matrix& a, int n, ChainKind kind);

struct Absorption {
    std::vector<int> transient;                    // the transient states, increasing
    std::vector<std::vector<double>> probability;  // [transient][class]: absorbed in that class
    std::vector<double> time;                      // [transient]: steps or time until absorbed
    std::vector<std::vector<double>> visits;       // [transient][transient]: the fundamental matrix
    std::vector<double> cost;                      // [transient]: total cost until absorbed
    double accuracy = 0;  // the largest of |row sum - 1| and the relative residuals of time
};

// classes: the chain's classification (at least one transient state); cost: 1-based, the cost
// per step (discrete) or per unit time (continuous) of each state. A cost may leave the range of
// numbers and come out infinite or not a number; NumericalFailure when the rest does.
Absorption SolveAbsorption(const Matrix& a, int n, ChainKind kind, const ChainStructure& classes,
                           const std::vector<double>& cost);

// The largest relative residual of x(i) = 1 + sum over j of p(i,j) x(j) (discrete, the entered
// diagonal included) or q(i) x(i) = 1 + sum over j != i of q(i,j) x(j) (continuous) over the
// states i of S; x is 1-based and 0 outside S.
double MeanTimeResidual(const Matrix& a, int n, ChainKind kind, const std::vector<int>& free,
                        const std::vector<long double>& x);

}  // namespace wachtrix
