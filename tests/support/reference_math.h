#pragma once
// Textbook formulas and plain algorithms the model tests compare against, written without any of
// the units under test. Extended precision unless a caller asks otherwise.
//
//   ErlangC(2, 0.5) -> 1/3     ErlangB(1, 1) -> 1/2     DM1Sigma(0.5) -> 0.2031878...

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace wachtrix::testing {

// Erlang's loss formula by its recursion, offered load a.
inline long double ErlangB(int c, long double a) {
    long double B = 1;
    for (int k = 1; k <= c; ++k)
        B = a * B / (k + a * B);
    return B;
}

// Erlang's delay probability of M/M/c at load rho per server.
inline long double ErlangC(int c, long double rho) {
    const long double B = ErlangB(c, c * rho);
    return B / (1 - rho * (1 - B));
}

// e^-mean mean^j / j! in logarithms, safe for large means.
inline long double PoissonTerm(long double mean, int j) {
    return std::exp(-mean + j * std::log(mean) - std::lgamma(j + 1.0L));
}

// The smallest root of sigma = e^(-(1 - sigma) / rho), by fixed-point iteration from 0, which
// climbs to it: the D/M/1 delay probability at load rho.
inline long double DM1Sigma(long double rho) {
    long double x = 0;
    for (int i = 0; i < 10000000; ++i) {
        const long double next = std::exp(-(1 - x) / rho);
        if (std::fabs(next - x) < 1e-19L) return next;
        x = next;
    }
    return x;
}

// M/D/c by its chain at multiples of the service time, X' = max(X - c, 0) + Poisson(c rho),
// truncated to K states and iterated from X = 0 until no probability above 1e-200 moves by more
// than 1e-13 of itself: the time-average distribution, far tail included.
inline std::vector<double> MDcIteratedChain(int c, double rho, int K) {
    const double lambda = c * rho;
    std::vector<double> a(K);
    for (int j = 0; j < K; ++j)
        a[j] = static_cast<double>(PoissonTerm(lambda, j));
    const int width = static_cast<int>(lambda + 20 * std::sqrt(lambda) + 30);
    std::vector<double> pi(K, 0.0), next(K);
    pi[0] = 1;
    for (int iteration = 0; iteration < 20000; ++iteration) {
        long double served = 0;  // P{L <= c}: all of them leave within one service time
        for (int j = 0; j <= c; ++j)
            served += pi[j];
        for (int k = 0; k < K; ++k) {
            long double sum = served * a[k];
            for (int j = std::max(c + 1, c + k - width); j <= c + k && j < K; ++j)
                sum += pi[j] * a[k - j + c];
            next[k] = static_cast<double>(sum);
        }
        double change = 0;
        for (int k = 0; k < K; ++k)
            if (next[k] > 1e-200) change = std::max(change, std::fabs(next[k] - pi[k]) / next[k]);
        pi.swap(next);
        if (change < 1e-13) break;
    }
    return pi;
}

// Composite Simpson rule on an even number of panels.
template <class Real, class F>
Real Simpson(F&& f, Real a, Real b, int panels) {
    const Real h = (b - a) / panels;
    Real sum = f(a) + f(b);
    for (int i = 1; i < panels; ++i)
        sum += (i % 2 ? 4 : 2) * f(a + i * h);
    return sum * h / 3;
}

// A x = b by Gaussian elimination with partial pivoting.
template <class Real>
std::vector<Real> DenseSolve(std::vector<std::vector<Real>> A, std::vector<Real> b) {
    const int n = static_cast<int>(b.size());
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int r = k + 1; r < n; ++r)
            if (std::fabs(A[r][k]) > std::fabs(A[pivot][k])) pivot = r;
        std::swap(A[k], A[pivot]);
        std::swap(b[k], b[pivot]);
        for (int r = k + 1; r < n; ++r) {
            const Real f = A[r][k] / A[k][k];
            for (int col = k; col < n; ++col)
                A[r][col] -= f * A[k][col];
            b[r] -= f * b[k];
        }
    }
    std::vector<Real> x(n);
    for (int i = n - 1; i >= 0; --i) {
        Real s = b[i];
        for (int j = i + 1; j < n; ++j)
            s -= A[i][j] * x[j];
        x[i] = s / A[i][i];
    }
    return x;
}

// Closed forms of single-server queues. Time in mean service times, arrival rate rho.

// M/M/1.
struct MM1 {
    double rho;
    double tail(double t) const { return rho * std::exp(-(1 - rho) * t); }  // P{Wq > t}
    double percentile(double p) const { return std::log(rho / (1 - p)) / (1 - rho); }
    double state(int n) const { return (1 - rho) * std::pow(rho, n); }  // P{L = n}
    double stateTail(int n) const { return std::pow(rho, n + 1); }      // P{L > n}
};

// M/E2/1, two phases of rate 2. The waiting-time transform has the poles -r1, -r2, the roots of
// r^2 - (4 - rho) r + 4 (1 - rho) = 0; the two weights follow from P{Wq > 0} = rho and, by level
// crossing at 0, the density f(0+) = rho (1 - rho). The phases an arrival finds are
// q_j = A1 x1^j + A2 x2^j with 2 x^2 - rho x - rho = 0 and q_{-1} = 0.
struct ME21 {
    explicit ME21(double load) : rho(load) {
        const double root = std::sqrt(rho * rho + 8 * rho);
        r1 = ((4 - rho) - root) / 2;
        r2 = ((4 - rho) + root) / 2;
        c2 = (rho * (1 - rho) - rho * r1) / (r2 - r1);
        c1 = rho - c2;
        x1 = (rho + root) / 4;
        x2 = (rho - root) / 4;
        A1 = (1 - rho) * x1 / (x1 - x2);
        A2 = -(1 - rho) * x2 / (x1 - x2);
    }
    double tail(double t) const { return c1 * std::exp(-r1 * t) + c2 * std::exp(-r2 * t); }
    double phases(int j) const { return A1 * std::pow(x1, j) + A2 * std::pow(x2, j); }
    // A customer in service holds 1 or 2 phases, each waiting one holds 2.
    double state(int n) const { return n == 0 ? 1 - rho : phases(2 * n - 1) + phases(2 * n); }
    // P{L > n}: more than 2n phases.
    double stateTail(int n) const {
        return A1 * std::pow(x1, 2 * n + 1) / (1 - x1) + A2 * std::pow(x2, 2 * n + 1) / (1 - x2);
    }

    double rho;
    double r1, r2, c1, c2;
    double x1, x2, A1, A2;
};

// D/M/1 with interarrival time 1/rho: sigma = e^{-(1 - sigma)/rho}, P{Wq > t} = sigma
// e^{-(1 - sigma) t}.
struct DM1 {
    explicit DM1(double load) : rho(load), sigma(static_cast<double>(DM1Sigma(load))) {}
    double tail(double t) const { return sigma * std::exp(-(1 - sigma) * t); }
    double meanWait() const { return sigma / (1 - sigma); }
    double stdWait() const { return std::sqrt(sigma * (2 - sigma)) / (1 - sigma); }
    // Over time E(Lq) = rho sigma / (1 - sigma), E(Lq^2) = rho sigma (1 + sigma) / (1 - sigma)^2.
    double stdQueue() const {
        const double ELq = rho * meanWait();
        return std::sqrt(rho * sigma * (1 + sigma) / ((1 - sigma) * (1 - sigma)) - ELq * ELq);
    }

    double rho;
    double sigma;
};

// The Pollaczek-Khinchine moments of the M/G/1 waiting time from the service moments
// (E(S) = 1, E(S^2) = 1 + CS2, E(S^3)).
inline double PollaczekKhinchineMean(double rho, double cs2) {
    return rho * (1 + cs2) / (2 * (1 - rho));
}
inline double PollaczekKhinchineSecond(double rho, double cs2, double ES3) {
    const double m = PollaczekKhinchineMean(rho, cs2);
    return 2 * m * m + rho * ES3 / (3 * (1 - rho));
}

}  // namespace wachtrix::testing
