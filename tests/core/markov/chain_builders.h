#pragma once
// Chains for the Markov tests, written as 0-based rows and turned into the 1-based ChainData
// the analyses read.

#include <random>
#include <string>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix::testing {

using Rows = std::vector<std::vector<double>>;

// 1-based copy of 0-based rows.
inline Matrix OneBased(const Rows& rows) {
    const int n = static_cast<int>(rows.size());
    Matrix m(n + 1, std::vector<double>(n + 1, 0.0));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m[i + 1][j + 1] = rows[i][j];
    return m;
}

// A loaded chain as the dialog hands it over; missing costs are 0.
inline ChainData MakeChain(const Rows& rows, ChainKind kind,
                           const std::vector<std::vector<double>>& costColumns = {}) {
    const int n = static_cast<int>(rows.size());
    ChainData data = ChainData::Zero(n, kind);
    data.TransitionMatrix = OneBased(rows);
    for (std::size_t k = 0; k < costColumns.size(); ++k)
        for (int i = 0; i < n; ++i)
            data.CostMatrix[i + 1][k + 1] = costColumns[k][i];
    data.CostVectorRead = true;
    data.DataLoaded = true;
    return data;
}

inline Rows Identity(int n) {
    Rows rows(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i)
        rows[i][i] = 1;
    return rows;
}

// A random stochastic matrix (1-based) with about `density` of its entries positive; every row
// has at least its entry to the next state, so that the chain is irreducible.
inline Matrix RandomStochastic(std::mt19937& rng, int n, double density) {
    std::uniform_real_distribution<double> unit(0, 1);
    Matrix p(n + 1, std::vector<double>(n + 1, 0.0));
    for (int i = 1; i <= n; ++i) {
        p[i][i % n + 1] = 0.05 + unit(rng);
        for (int j = 1; j <= n; ++j)
            if (unit(rng) < density) p[i][j] += unit(rng);
        double sum = 0;
        for (int j = 1; j <= n; ++j)
            sum += p[i][j];
        for (int j = 1; j <= n; ++j)
            p[i][j] /= sum;
    }
    return p;
}

// Random rates (1-based, zero diagonal) with about `density` of the entries positive, each row
// summing to about `rowRate`.
inline Matrix RandomRates(std::mt19937& rng, int n, double density, double rowRate) {
    Matrix q = RandomStochastic(rng, n, density);
    for (int i = 1; i <= n; ++i) {
        q[i][i] = 0;
        for (int j = 1; j <= n; ++j)
            q[i][j] *= rowRate;
    }
    return q;
}

// Two blocks of n/2 states that hardly exchange, the entries `inside` or `across` times a uniform
// number: rows normalised to probabilities, or rates with a zero diagonal.
inline Matrix TwoBlocks(std::mt19937& rng, int n, double inside, double across, ChainKind kind) {
    std::uniform_real_distribution<double> unit(0, 1);
    Matrix p(n + 1, std::vector<double>(n + 1, 0.0));
    for (int i = 1; i <= n; ++i) {
        double sum = 0;
        for (int j = 1; j <= n; ++j)
            if (kind == ChainKind::Discrete || i != j)
                sum += p[i][j] = ((i <= n / 2) == (j <= n / 2) ? inside : across) * unit(rng);
        for (int j = 1; j <= n && kind == ChainKind::Discrete; ++j)
            p[i][j] /= sum;
    }
    return p;
}

}  // namespace wachtrix::testing
