#pragma once
// One server with services of length 1 and arrivals at rate r(n) with n present (r(K) = 0),
// by the supplementary variable: f_n(x), the density of n present with x of the service done,
// solves f' = A f with (A f)_n = r(n-1) f_(n-1) - r(n) f_n; a service starts with n when one
// ends leaving n, or (n = 1) when an arrival finds the server idle. f(x) = e^(Ax) f(0) by
// uniformisation at rate r(0) (nonnegative terms), f(0) and p(0) from those boundary equations
// and the normalisation, solved densely. A method of its own against the models' level crossing
// and integration by parts.

#include <cmath>
#include <vector>

#include "support/reference_math.h"

namespace wachtrix::testing {

struct SingleServerReference {
    int K = 1;
    long double Lambda = 1;                   // the uniformisation rate r(0)
    std::vector<long double> rate;            // r(0..K)
    std::vector<std::vector<long double>> g;  // B^m f(0), m = 0.., B = I + A / Lambda; [m][n]
    long double p0 = 0;
    std::vector<long double> time;   // p(0..K)
    std::vector<long double> found;  // what arrivals find, 0..K-1, normalised

    // P{Poisson(mean) >= m}, m = 0..count.
    static std::vector<long double> AtLeast(long double mean, int count) {
        const int top = count + 60 + static_cast<int>(mean + 12 * std::sqrt(mean));
        std::vector<long double> tail(top + 2, 0.0L);
        for (int m = top; m >= 0; --m) {
            const long double term =
                mean > 0 ? std::exp(-mean + m * std::log(mean) - std::lgamma(m + 1.0L))
                         : (m == 0 ? 1.0L : 0.0L);
            tail[m] = tail[m + 1] + term;
        }
        tail.resize(count + 2);
        return tail;
    }

    // Integral over [0, u] of x^power f_n(x), n = 1..K ([0] unused).
    std::vector<long double> Integral(long double u, int power) const {
        const int terms = static_cast<int>(g.size());
        const std::vector<long double> tail = AtLeast(Lambda * u, terms + 3);
        std::vector<long double> out(K + 1, 0.0L);
        for (int m = 0; m < terms; ++m) {
            // Integral of x^power e^(-L x) (L x)^m / m! over [0, u].
            long double w = tail[m + power + 1] / Lambda;
            for (int k = 1; k <= power; ++k)
                w *= (m + k) / Lambda;
            for (int n = 1; n <= K; ++n)
                out[n] += w * g[m][n];
        }
        return out;
    }
};

inline SingleServerReference SolveSingleServer(const std::vector<long double>& rate) {
    SingleServerReference s;
    s.rate = rate;
    s.K = static_cast<int>(rate.size()) - 1;
    const int K = s.K;
    s.Lambda = rate[0];
    const int terms = static_cast<int>(s.Lambda + 12 * std::sqrt(s.Lambda) + 60);
    // B^m e_k for each unit vector: the columns of B^m.
    const auto step = [&](const std::vector<long double>& v) {
        std::vector<long double> w(K + 1, 0.0L);
        for (int n = 1; n <= K; ++n) {
            w[n] += v[n] * (1 - rate[n] / s.Lambda);
            if (n < K) w[n + 1] += v[n] * rate[n] / s.Lambda;
        }
        return w;
    };
    std::vector<std::vector<std::vector<long double>>> powers(terms);  // [m][k] = B^m e_k
    for (int k = 1; k <= K; ++k) {
        std::vector<long double> v(K + 1, 0.0L);
        v[k] = 1;
        for (int m = 0; m < terms; ++m) {
            powers[m].resize(K + 1);
            powers[m][k] = v;
            v = step(v);
        }
    }
    // E = e^A at x = 1, and J = integral of e^(Ax) over [0, 1], column by column.
    const std::vector<long double> poisson = [&] {
        std::vector<long double> t(terms);
        for (int m = 0; m < terms; ++m)
            t[m] = std::exp(-s.Lambda + m * std::log(s.Lambda) - std::lgamma(m + 1.0L));
        return t;
    }();
    const std::vector<long double> tail = SingleServerReference::AtLeast(s.Lambda, terms + 1);
    std::vector<std::vector<long double>> E(K + 1, std::vector<long double>(K + 1, 0.0L)), J = E;
    for (int m = 0; m < terms; ++m)
        for (int k = 1; k <= K; ++k)
            for (int n = 1; n <= K; ++n) {
                E[n][k] += poisson[m] * powers[m][k][n];
                J[n][k] += tail[m + 1] / s.Lambda * powers[m][k][n];
            }
    // Unknowns f_1(0)..f_K(0), p0 (index K + 1 - 1 = K in 0-based).
    const int size = K + 1;
    std::vector<std::vector<long double>> A(size, std::vector<long double>(size, 0.0L));
    std::vector<long double> b(size, 0.0L);
    for (int n = 1; n <= K; ++n) {
        const int row = n - 1;
        A[row][n - 1] = 1;  // f_n(0)
        if (n < K)
            for (int k = 1; k <= K; ++k)
                A[row][k - 1] -= E[n + 1][k];  // ... - f_(n+1)(1)
        if (n == 1) A[row][K] -= rate[0];      // ... - r(0) p0
    }
    // Normalisation in place of the balance of the idle state.
    for (int k = 1; k <= K; ++k)
        for (int n = 1; n <= K; ++n)
            A[K][k - 1] += J[n][k];
    A[K][K] = 1;
    b[K] = 1;
    const std::vector<long double> x = DenseSolve(A, b);
    s.p0 = x[K];
    s.g.assign(terms, std::vector<long double>(K + 1, 0.0L));
    for (int m = 0; m < terms; ++m)
        for (int k = 1; k <= K; ++k)
            for (int n = 1; n <= K; ++n)
                s.g[m][n] += powers[m][k][n] * x[k - 1];
    const std::vector<long double> in = s.Integral(1, 0);
    s.time.assign(K + 1, 0.0L);
    s.time[0] = s.p0;
    for (int n = 1; n <= K; ++n)
        s.time[n] = in[n];
    s.found.assign(K, 0.0L);
    long double total = 0;
    for (int n = 0; n < K; ++n)
        total += s.found[n] = rate[n] * s.time[n];
    for (long double& f : s.found)
        f /= total;
    return s;
}

// The wait of an arrival that finds n >= 1 is n - x: its mean, variance and P{Wq > t}.
struct SingleServerWait {
    long double mean = 0, variance = 0;
};

inline SingleServerWait WaitOf(const SingleServerReference& s) {
    const std::vector<long double> I0 = s.Integral(1, 0), I1 = s.Integral(1, 1),
                                   I2 = s.Integral(1, 2);
    long double total = s.rate[0] * s.p0;
    for (int n = 1; n < s.K; ++n)
        total += s.rate[n] * I0[n];
    SingleServerWait w;
    for (int n = 1; n < s.K; ++n)
        w.mean += s.rate[n] * (n * I0[n] - I1[n]) / total;
    const long double m = w.mean;
    w.variance = s.rate[0] * s.p0 * m * m / total;
    for (int n = 1; n < s.K; ++n)
        w.variance += s.rate[n] * ((n - m) * (n - m) * I0[n] - 2 * (n - m) * I1[n] + I2[n]) / total;
    return w;
}

inline long double WaitTailOf(const SingleServerReference& s, double t) {
    const std::vector<long double> I0 = s.Integral(1, 0);
    long double total = s.rate[0] * s.p0, tail = 0;
    for (int n = 1; n < s.K; ++n) {
        total += s.rate[n] * I0[n];
        if (n - 1 >= t)
            tail += s.rate[n] * I0[n];
        else if (n > t)
            tail += s.rate[n] * s.Integral(n - t, 0)[n];  // x < n - t
    }
    return tail / total;
}

}  // namespace wachtrix::testing
