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
//   firstColumn(m): the lowest state row m reaches (after the states above m are reduced too; it
//      holds zeros left of it), never below that of a lower row; the entries are never negative;
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
    // State m's probability of leaving downward once the states above are reduced, and the
    // inverse its row's share of every other row is taken with.
    std::vector<Real> down(n, 0.0L);
    std::vector<Entry> inverse(n, 0);
    const auto pivot = [&](int m) {
        const Entry* source = row(m);
        Real S = 0;
        for (int j = firstColumn(m); j < m; ++j)
            S += source[j];
        if (!(S > 0)) throw NumericalFailure({std::string(kLudeco.singularText)});
        down[m] = S;
        inverse[m] = static_cast<Entry>(1 / S);
    };
    // Row i with state m reduced out of it.
    const auto reduce = [&](int i, int m) {
        Entry* target = row(i);
        const Entry f = target[m] * inverse[m];
        if (f == 0) return;
        const Entry* source = row(m);
        for (int j = firstColumn(m); j < m; ++j)
            target[j] += f * source[j];
    };
    // Row i with the four states top..top-3 reduced out of it at once: their shares one by one
    // first (each after the ones above), then the columns below them, each once through every
    // share in turn, where state by state would read and write the row four times. Every entry
    // takes the same steps in the same order. Taking a share of 0 or an entry left of a row's
    // first column (0 there) as well only adds +0 to entries that are +0 or more.
    const auto reduceFour = [&](int i, int top) {
        Entry* target = row(i);
        const Entry *s0 = row(top), *s1 = row(top - 1), *s2 = row(top - 2), *s3 = row(top - 3);
        const Entry f0 = target[top] * inverse[top];
        target[top - 1] += f0 * s0[top - 1];
        target[top - 2] += f0 * s0[top - 2];
        target[top - 3] += f0 * s0[top - 3];
        const Entry f1 = target[top - 1] * inverse[top - 1];
        target[top - 2] += f1 * s1[top - 2];
        target[top - 3] += f1 * s1[top - 3];
        const Entry f2 = target[top - 2] * inverse[top - 2];
        target[top - 3] += f2 * s2[top - 3];
        const Entry f3 = target[top - 3] * inverse[top - 3];
        if (f0 == 0 && f1 == 0 && f2 == 0 && f3 == 0) return;
        for (int j = firstColumn(top - 3); j < top - 3; ++j)
            target[j] = target[j] + f0 * s0[j] + f1 * s1[j] + f2 * s2[j] + f3 * s3[j];
    };
    // Above `same`, four states at a time: reduced among their own rows, then out of every row
    // below.
    int top = N;
    for (; top - 4 >= same; top -= 4) {
        for (int m = top; m > top - 4; --m) {
            pivot(m);
            for (int i = top - 3; i < m; ++i)
                reduce(i, m);
        }
        for (int i = same; i <= top - 4; ++i)
            reduceFour(i, top);
    }
    // The rest one by one; rows below `same` are row `same`, once below m the one row left.
    for (int m = top; m >= 1; --m) {
        pivot(m);
        for (int i = std::min(same, m - 1); i < m; ++i)
            reduce(i, m);
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
