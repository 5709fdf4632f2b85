#pragma once
// Chains for the Markov tests, written as 0-based rows and turned into the 1-based ChainData
// the analyses read.

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
    ChainData data = ChainData::Zero(n, CostColumnCount(kind));
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

}  // namespace wachtrix::testing
