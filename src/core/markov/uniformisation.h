#pragma once
// A continuous-time chain as a discrete one: with nu a little above the largest total outflow
// rate, w(i,j) = q(i,j) / nu off the diagonal and w(i,i) = 1 - rowsum(i) / nu, so that every
// state keeps a positive self-transition.
//
//   q(1,2) = 2, q(2,1) = 1 -> nu = 2.0001, w(1,1) = 0.0001 / 2.0001, w(2,2) = 1.0001 / 2.0001

#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

struct UniformisedChain {
    double nu = 0;  // the uniformisation rate
    Matrix w;       // 1-based, (n+1) x (n+1)
};

// q: the rates, 1-based, zero diagonal.
UniformisedChain Uniformise(const Matrix& q, int n);

// The cost rate of each state, 1-based: c(i) = r(i) + sum over j of F(j) q(i,j), with r and F
// the two cost columns; infinite where it exceeds the range of doubles.
std::vector<double> ContinuousCostRates(const ChainData& chain);

// The cost of each state, 1-based: per step c(j) (discrete) or per unit time as above
// (continuous).
std::vector<double> StateCosts(const ChainData& chain);

}  // namespace wachtrix
