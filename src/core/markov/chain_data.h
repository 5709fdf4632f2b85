#pragma once
// The chain handed from the input dialog to the analyses: 1-based matrices, row and column 0
// unused.

#include <vector>

namespace wachtrix {

struct ChainData {
    int StateCount = 0;
    std::vector<std::vector<double>> TransitionMatrix;  // (N+1) x (N+1)
    std::vector<std::vector<double>> CostMatrix;        // (N+1) x 2 or 3
    bool CostVectorRead = false;
    bool DataLoaded = false;

    // Sized for n states, all zero; costColumns is 1 (discrete) or 2 (continuous).
    static ChainData Zero(int n, int costColumns);
};

}  // namespace wachtrix
