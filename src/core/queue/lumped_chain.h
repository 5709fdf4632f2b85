#pragma once
// The stationary distribution of an embedded chain on 0..N whose state N lumps every state from
// N on, with geometric weights (1 - eta) eta^m in state N + m, solved by state reduction from
// the top (Grassmann-Taksar-Heyman): only sums and products of probabilities, no subtraction,
// so every state probability keeps its relative digits, also those of 1e-40 at light loads
// where an elimination of the balance equations leaves round-off of the largest ones.
//
//   p: the (N + 1) x (N + 1) transition probabilities row by row, reduced in place;
//   firstColumn(m): the lowest state row m reaches (after the states above m are reduced too);
//   the result: pi_0..pi_(N-1), and pi_N the probability of state N itself.

#include <string>
#include <vector>

#include "core/numeric/dense_solver.h"
#include "core/numeric/numerical_failure.h"

namespace wachtrix {

template <class Entry, class FirstColumn>
std::vector<double> LumpedChainSolution(std::vector<Entry>& p, int N, double eta,
                                        FirstColumn firstColumn) {
    using Real = long double;
    const int n = N + 1;
    const auto at = [&](int i, int j) -> Entry& { return p[static_cast<std::size_t>(i) * n + j]; };
    std::vector<Real> down(n, 0.0L);
    for (int m = N; m >= 1; --m) {
        const int first = firstColumn(m);
        Real S = 0;
        for (int j = first; j < m; ++j)
            S += at(m, j);
        if (!(S > 0)) throw NumericalFailure({std::string(kLudeco.singularText)});
        down[m] = S;
        const Entry* row = &at(m, 0);
        const Entry inverse = static_cast<Entry>(1 / S);
        for (int i = 0; i < m; ++i) {
            const Entry f = at(i, m) * inverse;
            if (f == 0) continue;
            Entry* target = &at(i, 0);
            for (int j = first; j < m; ++j)
                target[j] += f * row[j];
        }
    }
    std::vector<Real> x(n, 0.0L);
    x[0] = 1;
    Real total = 1;
    for (int m = 1; m <= N; ++m) {
        Real in = 0;
        for (int i = 0; i < m; ++i)
            in += x[i] * at(i, m);
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
