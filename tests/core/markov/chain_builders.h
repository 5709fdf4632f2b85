#pragma once
// What the Markov tests share: chains written as 0-based rows and turned into the 1-based
// ChainData the analyses read; plain dense arithmetic in long double, the reference the sparse,
// step-by-step runs are checked against; and a Progress that records what a run asked of it.

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/markov/chain_data.h"
#include "core/markov/progress.h"

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

// ---- Dense references, 1-based like the chain data ----

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

// Records what the run asked of it and presses Stop on request.
class RecordingProgress : public Progress {
public:
    // stopAfter: Stop is pressed during the processEvents call with that number (1-based);
    // 0 never.
    explicit RecordingProgress(int stopAfter = 0) : stopAfter_(stopAfter) {}

    void reset() override {
        ++resets;
        positions.clear();
    }
    void show() override { visible = true; }
    void position(int percent) override { positions.push_back(percent); }
    void processEvents() override {
        ++eventRounds;
        if (eventRounds == stopAfter_) stop_ = true;
    }
    bool stopRequested() const override {
        ++stopTests;
        return stop_;
    }
    void hide() override { visible = false; }

    int resets = 0;
    bool visible = false;
    std::vector<int> positions;
    int eventRounds = 0;
    mutable int stopTests = 0;

private:
    int stopAfter_;
    bool stop_ = false;
};

}  // namespace wachtrix::testing
