#pragma once
// One server with services of length exactly 1 and arrivals that, between service starts, form a
// pure birth process: rate lambda below the capacity K (Poisson arrivals, an arrival at K is
// turned away) or nu (M - s) in state s (M machines that fail at rate nu, s of them broken).
// Exact, from the remaining-service law of the M/G/1/K theory:
// - the states left behind by departures, a chain that steps down one state at a time, by level
//   crossing (sums of probabilities only);
// - per service, the time spent in each state and its first two moments of the remaining
//   service, from P{N(u) >= r} by integrating the birth process's forward equations by parts:
//   integral over [0, 1] of P{N(x) = r} dx = P{N(1) >= r + 1} / rate, and likewise one power of
//   (1 - x) higher from the sums of those above; all of them sums of positive terms;
// - the time average, what arrivals find, and the wait R + (j - 1) of an arrival that finds j.
//
//   Poisson, lambda = 0.5, K = 2 (M/D/1/2): p(0) = 2 / (2 + e^0.5)... as the tests check.

#include <vector>

namespace wachtrix {

struct SingleServerArrivals {
    enum class Kind { Poisson, FiniteSource };
    Kind kind = Kind::Poisson;
    double rate = 0;  // lambda, or nu of one working machine
    int K = 1;        // the capacity, or the number of machines M
};

class SingleDeterministicServer {
public:
    explicit SingleDeterministicServer(const SingleServerArrivals& arrivals);

    const std::vector<long double>& timeAverage() const { return p_; }  // p(0..K)
    const std::vector<long double>& found() const { return found_; }    // admitted, 0..K-1
    long double meanWait() const { return meanWait_; }                  // E(Wq), admitted
    long double waitVariance() const { return waitVariance_; }          // Var(Wq), admitted
    long double waitingTail(double t) const;                            // P{Wq > t}, admitted

private:
    long double rateIn(int s) const;  // arrivals per unit of time in state s
    // P{N(u) >= r}, r = 0..K - i, of a service started with i present; state K absorbs.
    std::vector<long double> atLeast(int i, long double u) const;
    // One of them, r <= K - i, summed from r up until the terms no longer count.
    long double atLeastOne(int i, int r, long double u) const;
    // P{N(u) = s}, s = 0..K - i (machines) or K - i + 80 (Poisson, uncapped).
    std::vector<long double> terms(int i, long double u) const;

    SingleServerArrivals a_;
    std::vector<long double> lnFactorial_;  // ln k!, k = 0..K + 200
    std::vector<long double> q_;            // a service starts with i present, i = 1..K-1
    long double cycle_ = 1;                 // mean time per service, its idle time included
    std::vector<long double> p_, found_, foundBeyond_;
    long double foundTotal_ = 0, meanWait_ = 0, waitVariance_ = 0;
};

}  // namespace wachtrix
