#pragma once
// P{L > n} of a state table from its probabilities P{L = n}. A tail below one half is summed
// from above, so that it keeps its digits however small it is; a larger one is the complement
// of the cumulative sum, which the sum from above could round past 1.
//
//   equal = {0.5, 0.3, 0.15}, beyond = 0.05 -> {0.5, 0.2, 0.05}
//   equal = {1 - 3e-12, 2e-12}, beyond = 1e-12 -> {3e-12, 1e-12}, to every digit

#include <vector>

#include "core/queue/queue_statistics.h"

namespace wachtrix {

// equal: P{L = n} for n = 0..N; beyond: P{L > N}. The tails for n = 0..N.
std::vector<double> StateTails(const std::vector<double>& equal, long double beyond);

// The rows P{L = n}, P{L > n} for n = 0..N, with the tails of StateTails.
std::vector<StateProbability> StatesWithTails(const std::vector<double>& equal, long double beyond);

}  // namespace wachtrix
