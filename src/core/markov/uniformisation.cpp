#include "core/markov/uniformisation.h"

#include <algorithm>

namespace wachtrix {
namespace {

// Keeps every self-transition of the uniformised chain positive.
constexpr double kRateMargin = 0.0001;

}  // namespace

UniformisedChain Uniformise(const Matrix& q, int n) {
    std::vector<double> rowSum(n + 1, 0.0);
    double largest = 0;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            rowSum[i] += q[i][j];
        largest = std::max(largest, rowSum[i]);
    }
    UniformisedChain chain;
    chain.nu = largest + kRateMargin;
    chain.w.assign(n + 1, std::vector<double>(n + 1, 0.0));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            chain.w[i][j] = q[i][j] / chain.nu;
        chain.w[i][i] = 1 - rowSum[i] / chain.nu;
    }
    return chain;
}

std::vector<double> ContinuousCostRates(const ChainData& chain) {
    const int n = chain.StateCount;
    std::vector<double> c(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        // Extended precision holds every product of two numbers, so only the sum can leave the
        // range, and then it becomes infinite rather than not a number.
        long double rate = chain.CostMatrix[i][1];
        for (int j = 1; j <= n; ++j)
            rate += static_cast<long double>(chain.CostMatrix[j][2]) * chain.TransitionMatrix[i][j];
        c[i] = static_cast<double>(rate);
    }
    return c;
}

std::vector<double> StateCosts(const ChainData& chain) {
    if (chain.Kind == ChainKind::Continuous) return ContinuousCostRates(chain);
    std::vector<double> costs(chain.StateCount + 1, 0.0);
    for (int i = 1; i <= chain.StateCount; ++i)
        costs[i] = chain.CostMatrix[i][1];
    return costs;
}

}  // namespace wachtrix
