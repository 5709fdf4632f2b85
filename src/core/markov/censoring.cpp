#include "core/markov/censoring.h"

#include <cmath>

#include "core/numeric/numerical_failure.h"

namespace wachtrix {
namespace {

// Products and quotients of two weights stay normal doubles, with room for the sums of paths.
constexpr double kSmallestWeight = 0x1p-450;
constexpr double kLargestWeight = 0x1p450;

[[noreturn]] void NoWayOut() {
    throw NumericalFailure({"A state's way out is too small or too large to compute"});
}

// Censors out states 0..count-1 of w in that order. The states are columns 0..rows-1; the way
// out of state k is the sum of its columns k+1..outEnd-1 (later states, and what stands for
// leaving altogether); what goes from a later row into k is sent on along k's row, columns
// k+1..updateEnd(k)-1. Afterwards row k holds k's transitions at its censoring, and column k of
// the later rows the shares they sent on. Returns each censored state's way out.
template <class UpdateEnd>
std::vector<DoubleDouble> Censor(ExtendedMatrix& w, int count, int outEnd, UpdateEnd updateEnd) {
    std::vector<DoubleDouble> out(count);
    for (int k = 0; k < count; ++k) {
        const DoubleDouble total = dd::Sum(w.hi(k) + k + 1, w.lo(k) + k + 1, outEnd - k - 1);
        if (!(total.hi > 0) || !IsFinite(total)) NoWayOut();
        out[k] = total;
        const int length = updateEnd(k) - k - 1;
        for (int i = k + 1; i < w.rows(); ++i) {
            const DoubleDouble toK = w.at(i, k);
            if (toK.hi == 0) continue;
            const DoubleDouble share = toK / total;
            w.set(i, k, share);
            dd::AddScaled(w.hi(i) + k + 1, w.lo(i) + k + 1, share, w.hi(k) + k + 1, w.lo(k) + k + 1,
                          length);
        }
    }
    return out;
}

// Rows and columns in `order`; the last column (the reward) stays last.
ExtendedMatrix Permuted(const ExtendedMatrix& block, const std::vector<int>& order) {
    const int m = block.rows();
    ExtendedMatrix p(m, m + 1);
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j)
            p.set(i, j, block.at(order[i], order[j]));
        p.set(i, m, block.at(order[i], m));
    }
    return p;
}

// Rows and columns from..m-1 and the reward column.
ExtendedMatrix Tail(const ExtendedMatrix& w, int from) {
    const int m = w.rows() - from;
    ExtendedMatrix t(m, m + 1);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j <= m; ++j)
            t.set(i, j, w.at(from + i, from + j));
    return t;
}

// x[i][j] for the block: m x (m + 1), the weights and then each state's reward.
ExtendedMatrix Passages(const ExtendedMatrix& block) {
    const int m = block.rows();
    ExtendedMatrix x(m, m);
    if (m == 1) return x;
    const int half = m / 2;
    // First the targets of the second half, with the first half censored out; then the other
    // way round.
    for (const bool firstHalfOut : {true, false}) {
        const int r = firstHalfOut ? half : m - half;  // states censored out
        std::vector<int> order;
        for (int k = 0; k < m; ++k)
            order.push_back(firstHalfOut ? k : (k + half) % m);
        ExtendedMatrix w = Permuted(block, order);
        const std::vector<DoubleDouble> out = Censor(w, r, m, [&](int) { return m + 1; });
        const ExtendedMatrix rest = Passages(Tail(w, r));
        const int targets = m - r;
        // From a censored state k: its reward, then on to where it goes, the target ending it.
        ExtendedMatrix from(r, targets);
        for (int k = r - 1; k >= 0; --k) {
            const DoubleDouble reward = w.at(k, m);
            for (int c = 0; c < targets; ++c)
                from.set(k, c, reward);
            for (int l = k + 1; l < r; ++l) {
                const DoubleDouble to = w.at(k, l);
                if (to.hi != 0)
                    dd::AddScaled(from.hi(k), from.lo(k), to, from.hi(l), from.lo(l), targets);
            }
            for (int c = 0; c < targets; ++c) {
                const DoubleDouble to = w.at(k, r + c);
                if (to.hi != 0)
                    dd::AddScaled(from.hi(k), from.lo(k), to, rest.hi(c), rest.lo(c), targets);
            }
            for (int c = 0; c < targets; ++c)
                from.set(k, c, from.at(k, c) / out[k]);
        }
        for (int c = 0; c < targets; ++c) {
            const int target = order[r + c];
            for (int k = 0; k < r; ++k)
                x.set(order[k], target, from.at(k, c));
            for (int a = 0; a < targets; ++a)
                x.set(order[r + a], target, rest.at(a, c));
        }
    }
    return x;
}

}  // namespace

bool WithinDoubleDoubleRange(const Matrix& a, int n) {
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (i != j && a[i][j] != 0 &&
                !(a[i][j] >= kSmallestWeight && a[i][j] <= kLargestWeight))
                return false;
    return true;
}

ExtendedMatrix PassageRewards(const Matrix& a, int n, const std::vector<double>& reward) {
    ExtendedMatrix block(n, n + 1);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            if (i != j) block.set(i, j, a[i + 1][j + 1]);
        block.set(i, n, reward[i]);
    }
    return Passages(block);
}

std::vector<DoubleDouble> ReducedEquilibrium(const Matrix& a, int n) {
    ExtendedMatrix w(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (i != j) w.set(i, j, a[i + 1][j + 1]);
    // Censored down to the last state; each state's weight then follows from the later ones
    // as what they send into it over its way out.
    const std::vector<DoubleDouble> out = Censor(w, n - 1, n, [&](int) { return n; });
    std::vector<DoubleDouble> x(n);
    x[n - 1] = 1;
    DoubleDouble total = 1;
    for (int k = n - 2; k >= 0; --k) {
        DoubleDouble inflow;
        for (int i = k + 1; i < n; ++i)
            if (w.hi(i)[k] != 0) inflow += x[i] * w.at(i, k);
        x[k] = inflow;
        total += inflow;
    }
    for (DoubleDouble& v : x)
        v = v / total;
    (void)out;
    return x;
}

ExtendedMatrix SolveOpen(const Matrix& a, const std::vector<int>& free, const ExtendedMatrix& rhs,
                         bool identity) {
    const int m = static_cast<int>(free.size());
    const int n = static_cast<int>(a.size()) - 1;
    const int given = rhs.columns();
    const int exitColumn = m;
    const int firstRhs = m + 1;
    const int firstUnit = firstRhs + given;
    const int solutions = given + (identity ? m : 0);
    std::vector<char> inside(n + 1, 0);
    for (int s : free)
        inside[s] = 1;
    // Row i: the weights to the other free states, the weight of leaving them, the right-hand
    // sides.
    ExtendedMatrix w(m, firstUnit + (identity ? m : 0));
    for (int i = 0; i < m; ++i) {
        const int s = free[i];
        for (int j = 0; j < m; ++j)
            if (j != i) w.set(i, j, a[s][free[j]]);
        DoubleDouble exit;
        for (int t = 1; t <= n; ++t)
            if (t != s && !inside[t]) exit += a[s][t];
        w.set(i, exitColumn, exit);
        for (int c = 0; c < given; ++c)
            w.set(i, firstRhs + c, rhs.at(i, c));
        if (identity) w.set(i, firstUnit + i, 1.0);
    }
    // A unit vector's column is zero above its own row, so state k's row carries only the
    // columns of the units 0..k.
    const std::vector<DoubleDouble> out =
        Censor(w, m, firstRhs, [&](int k) { return identity ? firstUnit + k + 1 : firstUnit; });
    // Back from the last state, each solution in place of its right-hand side.
    for (int k = m - 1; k >= 0; --k) {
        double* hi = w.hi(k) + firstRhs;
        double* lo = w.lo(k) + firstRhs;
        for (int l = k + 1; l < m; ++l) {
            const DoubleDouble to = w.at(k, l);
            if (to.hi != 0)
                dd::AddScaled(hi, lo, to, w.hi(l) + firstRhs, w.lo(l) + firstRhs, solutions);
        }
        for (int c = 0; c < solutions; ++c) {
            const DoubleDouble v = DoubleDouble(hi[c], lo[c]) / out[k];
            hi[c] = v.hi;
            lo[c] = v.lo;
        }
    }
    return w;
}

}  // namespace wachtrix
