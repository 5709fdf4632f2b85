#pragma once
// Poisson probabilities a_j = e^-m m^j / j!, j = 0..count-1, built from their logarithms: a term
// whose logarithm is at most -100 is 0, yet the terms after it are still exact, so a large mean
// (where e^-m itself underflows) gives the right bell around m.
//
//   PoissonTable(2, 3) -> {0.135335, 0.270671, 0.270671}
//   PoissonTable(495, 750)[0] -> 0, [495] -> 0.01792...

#include <vector>

namespace wachtrix {

std::vector<double> PoissonTable(double mean, int count);

}  // namespace wachtrix
