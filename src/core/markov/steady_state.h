#pragma once
// The equilibrium distribution of a unichained chain: the balance equations of states 1..N-1
// with the normalisation in place of the balance equation of state N, solved by LU
// decomposition. The equation left out gives the accuracy check.
//
//   p(1,2) = a, p(2,1) = b -> x(1) = b / (a + b), x(2) = a / (a + b)

#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

struct SteadyState {
    bool unichained = false;
    bool solved = false;    // false: the decomposition found the system ill-conditioned
    std::vector<double> x;  // 1-based, when solved
    double accuracy = 0;    // |x(N) - sum over i of x(i) p(i,N)|, when solved
};

// p: a stochastic matrix, 1-based, n states.
SteadyState SolveSteadyState(const Matrix& p, int n);

// sum over i of cost[i] x[i], both 1-based.
double AverageCost(const std::vector<double>& x, const std::vector<double>& cost);

// The "STEADY-STATE BEHAVIOUR" report; a continuous chain is solved on its uniformised matrix
// and its costs are the rates r(i) plus the transition costs F(j) q(i,j).
std::vector<std::string> SteadyStateReport(const ChainData& chain);

}  // namespace wachtrix
