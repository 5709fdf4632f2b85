#pragma once
// Closed forms of single-server queues, computed independently of the solvers under test. Time
// in mean service times, arrival rate rho.

#include <cmath>

#include "support/reference_math.h"

namespace wachtrix::testing {

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
