#include "core/markov/settling.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace wachtrix {

double DoeblinCoefficient(const SparseMatrix& p) {
    const int n = p.size();
    std::vector<int> count(n + 1, 0);
    std::vector<double> smallest(n + 1, std::numeric_limits<double>::infinity());
    for (int i = 1; i <= n; ++i) {
        const auto columns = p.columns(i);
        const auto values = p.values(i);
        for (std::size_t e = 0; e < columns.size(); ++e) {
            ++count[columns[e]];
            smallest[columns[e]] = std::min(smallest[columns[e]], values[e]);
        }
    }
    double common = 0;
    for (int j = 1; j <= n; ++j)
        if (count[j] == n) common += smallest[j];
    return 1 - common;
}

double ErgodicCoefficient(const SparseMatrix& p) {
    const int n = p.size();
    // Row i spread out over the states (a full row is that already); rows k after it are gone
    // through entry by entry, or side by side when full.
    std::vector<double> spread(n + 1, 0.0);
    double least = 1;
    for (int i = 1; i <= n && least > 0; ++i) {
        const auto columns = p.columns(i);
        const auto values = p.values(i);
        const bool full = static_cast<int>(columns.size()) == n;
        if (!full) {
            std::fill(spread.begin(), spread.end(), 0.0);
            for (std::size_t e = 0; e < columns.size(); ++e)
                spread[columns[e]] = values[e];
        }
        const double* row = full ? values.data() - 1 : spread.data();  // 1-based
        for (int k = i + 1; k <= n; ++k) {
            const auto kColumns = p.columns(k);
            const auto kValues = p.values(k);
            double overlap = 0;
            if (static_cast<int>(kColumns.size()) == n) {
                for (int j = 1; j <= n; ++j)
                    overlap += std::min(row[j], kValues[j - 1]);
            } else {
                for (std::size_t e = 0; e < kColumns.size(); ++e)
                    overlap += std::min(row[kColumns[e]], kValues[e]);
            }
            least = std::min(least, overlap);
        }
    }
    return 1 - least;
}

double ErgodicCoefficientCost(const SparseMatrix& p) {
    const double n = p.size();
    return n * n * n / 2;
}

double SettledBound(double tau, double lastStep) {
    if (!(tau < 1)) return std::numeric_limits<double>::infinity();
    // From the distribution before the last step: at most lastStep / (1 - tau) still to come;
    // from the one after it, that and the last step itself.
    return lastStep / (1 - tau) + lastStep;
}

}  // namespace wachtrix
