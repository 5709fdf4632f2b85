#pragma once
// The equilibrium distribution of a unichained chain, by state reduction on its one recurrent
// class (transient states get nothing): the states are censored out one by one and the
// distribution is built back from the first, with only sums of nonnegative terms, so that no
// digits cancel even when the chain nearly falls apart. A continuous chain is reduced on its
// rates as entered, which leaves the result independent of their scale. The accuracy check is
// the largest residual of all balance equations.
//
//   p(1,2) = a, p(2,1) = b -> x(1) = b / (a + b), x(2) = a / (a + b)
//   q(1,2) = 1e-20, q(2,1) = 2e-20 -> x = (2/3, 1/3), as for q(1,2) = 1, q(2,1) = 2

#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

struct SteadyState {
    bool unichained = false;
    bool solved = false;    // false: the reduction broke down (out of the range of numbers)
    std::vector<double> x;  // 1-based, when solved
    double accuracy = 0;    // the largest balance residual, when solved
};

// p: a stochastic matrix, 1-based, n states.
SteadyState SolveSteadyState(const Matrix& p, int n);

// q: the rates of a continuous chain, 1-based, n states, zero diagonal. Its recurrent class is
// the one of the uniformised chain.
SteadyState SolveContinuousSteadyState(const Matrix& q, int n);

// The largest |sum over i of x(i) p(i,j) - x(j)| over all states j, in extended precision.
double BalanceResidual(const Matrix& p, int n, const std::vector<double>& x);

// The largest |flow into j - flow out of j| over all states j, relative to the largest total
// rate out of a state (the residual of the uniformised chain), in extended precision.
double RateBalanceResidual(const Matrix& q, int n, const std::vector<double>& x);

// sum over i of cost[i] x[i], both 1-based, in extended precision.
long double AverageCost(const std::vector<double>& x, const std::vector<double>& cost);

// The "STEADY-STATE BEHAVIOUR" report; the costs of a continuous chain are the rates r(i) plus
// the transition costs F(j) q(i,j).
std::vector<std::string> SteadyStateReport(const ChainData& chain);

}  // namespace wachtrix
