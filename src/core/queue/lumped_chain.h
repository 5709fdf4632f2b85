#pragma once
// The stationary distribution of an embedded chain on 0..N whose state N lumps every state from
// N on, with geometric weights (1 - eta) eta^m in state N + m, solved by state reduction from
// the top (Grassmann-Taksar-Heyman): only sums and products of probabilities, no subtraction,
// so every state probability keeps its relative digits, also those of 1e-40 at light loads
// where an elimination of the balance equations leaves round-off of the largest ones.
//
//   p: the transition probabilities of rows `same`..N, each N + 1 long, reduced in place; rows
//      0..same-1 equal row `same` (as in M/D/c, where the arrivals alone move every state up to
//      c). A reduction changes equal rows alike, so they are reduced once as that one row, the
//      very same sums and products, and the work falls from all N rows to the N - same others;
//   firstColumn(m): the lowest state row m reaches (after the states above m are reduced too);
//   the result: pi_0..pi_(N-1), and pi_N the probability of state N itself.

#include <algorithm>
#include <string>
#include <vector>

#include "core/numeric/dense_solver.h"
#include "core/numeric/numerical_failure.h"

namespace wachtrix {

template <class Entry, class FirstColumn>
std::vector<double> LumpedChainSolution(std::vector<Entry>& p, int N, int same, double eta,
                                        FirstColumn firstColumn) {
    using Real = long double;
    const int n = N + 1;
    const auto row = [&](int i) {
        return &p[static_cast<std::size_t>(std::max(i, same) - same) * n];
    };
    std::vector<Real> down(n, 0.0L);
    for (int m = N; m >= 1; --m) {
        const int first = firstColumn(m);
        const Entry* source = row(m);
        Real S = 0;
        for (int j = first; j < m; ++j)
            S += source[j];
        if (!(S > 0)) throw NumericalFailure({std::string(kLudeco.singularText)});
        down[m] = S;
        const Entry inverse = static_cast<Entry>(1 / S);
        // Rows below `same` are row `same`: once below m, the one row left to reduce.
        for (int i = std::min(same, m - 1); i < m; ++i) {
            Entry* target = row(i);
            const Entry f = target[m] * inverse;
            if (f == 0) continue;
            for (int j = first; j < m; ++j)
                target[j] += f * source[j];
        }
    }
    std::vector<Real> x(n, 0.0L);
    x[0] = 1;
    Real total = 1;
    for (int m = 1; m <= N; ++m) {
        Real in = 0;
        for (int i = 0; i < m; ++i)
            in += x[i] * row(i)[m];
        x[m] = in / down[m];
        total += x[m];
    }
    std::vector<double> pi(n);
    for (int j = 0; j < N; ++j)
        pi[j] = static_cast<double>(x[j] / total);
    pi[N] = static_cast<double>(x[N] * (1 - static_cast<Real>(eta)) / total);
    return pi;
}

}  // namespace wachtrix
