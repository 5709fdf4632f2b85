#include "core/markov/chain_data.h"

namespace wachtrix {

ChainData ChainData::Zero(int n, int costColumns) {
    ChainData data;
    data.StateCount = n;
    data.TransitionMatrix.assign(n + 1, std::vector<double>(n + 1, 0.0));
    data.CostMatrix.assign(n + 1, std::vector<double>(costColumns + 1, 0.0));
    return data;
}

}  // namespace wachtrix
