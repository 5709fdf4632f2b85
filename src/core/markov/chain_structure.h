#pragma once
// Classification of a chain's states into recurrent subchains (closed communicating classes)
// and transient states, by a path search that merges the states of every cycle it closes into
// one representative. Only the positivity of the entries matters.
//
//   identity of 2 states -> subchains {1} and {2}, no transient states
//   1 -> 2 -> 3, 3 absorbing -> subchain {3}, transient 1 and 2

#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix {

struct RecurrentSubchain {
    std::vector<int> states;  // increasing
    bool absorbing = false;   // found by the first pass over single absorbing states
};

struct ChainStructure {
    std::vector<RecurrentSubchain> subchains;  // numbered 1.. in the order found
    std::vector<int> classOf;                  // 1-based: subchain number, 0 for transient
    std::vector<int> transientStates;          // increasing
};

// p is 1-based, n states.
ChainStructure ClassifyChain(const Matrix& p, int n);

// The entered chain's classification: a continuous chain's on its uniformised matrix.
ChainStructure ClassifyChain(const ChainData& chain);

// At most one recurrent subchain; the search stops at the second one it finds.
bool IsUnichained(const Matrix& p, int n);

// The "CHAIN STRUCTURE" report; a continuous chain is classified on its uniformised matrix.
std::vector<std::string> ChainStructureReport(const ChainData& chain);

}  // namespace wachtrix
