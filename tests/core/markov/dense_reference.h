#pragma once
// Plain dense arithmetic for the Markov tests: the references the sparse, step-by-step runs are
// checked against. 1-based like the chain data; long double throughout.

#include <cmath>
#include <vector>

#include "core/markov/chain_data.h"

namespace wachtrix::testing {

using Dense = std::vector<std::vector<long double>>;

inline Dense ToDense(const Matrix& m) {
    Dense d(m.size(), std::vector<long double>(m.size(), 0.0L));
    for (std::size_t i = 1; i < m.size(); ++i)
        for (std::size_t j = 1; j < m.size(); ++j)
            d[i][j] = m[i][j];
    return d;
}

inline Dense IdentityDense(int n) {
    Dense d(n + 1, std::vector<long double>(n + 1, 0.0L));
    for (int i = 1; i <= n; ++i)
        d[i][i] = 1;
    return d;
}

inline Dense Product(const Dense& a, const Dense& b) {
    const std::size_t n = a.size();
    Dense c(n, std::vector<long double>(n, 0.0L));
    for (std::size_t i = 1; i < n; ++i)
        for (std::size_t k = 1; k < n; ++k)
            for (std::size_t j = 1; j < n; ++j)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

inline Dense Sum(const Dense& a, const Dense& b) {
    Dense c = a;
    for (std::size_t i = 1; i < a.size(); ++i)
        for (std::size_t j = 1; j < a.size(); ++j)
            c[i][j] += b[i][j];
    return c;
}

// e^{Q t} for a generator Q (off-diagonal rates, diagonal minus the row sums) by scaling and
// squaring: a Taylor series of Q t / 2^s with the norm below 1/2, then s squarings.
inline Dense MatrixExponential(const Dense& q, long double t) {
    const int n = static_cast<int>(q.size()) - 1;
    long double norm = 0;
    for (int i = 1; i <= n; ++i) {
        long double row = 0;
        for (int j = 1; j <= n; ++j)
            row += std::fabs(q[i][j] * t);
        norm = std::max(norm, row);
    }
    int s = 0;
    while (norm > 0.5L) {
        norm /= 2;
        ++s;
    }
    Dense a = q;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            a[i][j] *= std::ldexp(t, -s);
    Dense sum = IdentityDense(n), term = IdentityDense(n);
    for (int k = 1; k <= 30; ++k) {
        term = Product(term, a);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                term[i][j] /= k;
        sum = Sum(sum, term);
    }
    for (int k = 0; k < s; ++k)
        sum = Product(sum, sum);
    return sum;
}

// The generator of the rates q (zero diagonal): the diagonal becomes minus each row's sum.
inline Dense Generator(const Matrix& rates) {
    Dense q = ToDense(rates);
    for (std::size_t i = 1; i < q.size(); ++i) {
        long double out = 0;
        for (std::size_t j = 1; j < q.size(); ++j)
            if (j != i) out += q[i][j];
        q[i][i] = -out;
    }
    return q;
}

// Row `initial` of e^{Q t} and of its integral over [0, t], the upper right block of e^{M t}
// with M = [[Q, I], [0, 0]], for the rates q.
struct ExponentialRow {
    std::vector<long double> probabilities, sojourn;
};
inline ExponentialRow MatrixExponentialRow(const Matrix& rates, int initial, long double t) {
    const Dense generator = Generator(rates);
    const int n = static_cast<int>(rates.size()) - 1;
    Dense block(2 * n + 1, std::vector<long double>(2 * n + 1, 0.0L));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            block[i][j] = generator[i][j];
        block[i][n + i] = 1;
    }
    const Dense e = MatrixExponential(block, t);
    ExponentialRow row{std::vector<long double>(n + 1), std::vector<long double>(n + 1)};
    for (int j = 1; j <= n; ++j) {
        row.probabilities[j] = e[initial][j];
        row.sojourn[j] = e[initial][n + j];
    }
    return row;
}

}  // namespace wachtrix::testing
