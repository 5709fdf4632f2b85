#pragma once
// Binomial and Poisson probabilities for a whole range of counts, in extended precision: one
// exp at the mode, the rest by products outwards, so no term is lost to the underflow of a
// running product started at an end, and a row costs a multiplication per term.
//
//   PoissonTerms(2.0L, 3) -> {0.135335, 0.270671, 0.270671, 0.180447}
//   BinomialTerms(LogFactorialTable<long double>(2), 2, 1.0L, ln 0.5, ln 0.5) -> {0.25, 0.5, 0.25}

#include <vector>

namespace wachtrix {

// ln C(n, k) from a table of ln k! (exact sums of logarithms; the Lanczos series would put its
// 1e-10 into every term).
long double LnBinomial(const std::vector<long double>& lnFactorial, int n, int k);

// The binomial(n, u) probabilities b(0..n): r = u / (1 - u), lnU = ln u, ln1U = ln(1 - u); every
// term times e^lnScale. lnFactorial reaches n at least.
std::vector<long double> BinomialTerms(const std::vector<long double>& lnFactorial, int n,
                                       long double r, long double lnU, long double ln1U,
                                       long double lnScale = 0);

// The Poisson(mean) probabilities p(0..last); mean 0 puts everything at 0. lnFactorial reaches
// last at least.
std::vector<long double> PoissonTerms(const std::vector<long double>& lnFactorial, long double mean,
                                      int last);

}  // namespace wachtrix
