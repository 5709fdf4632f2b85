#pragma once
// The chain of the D/M/c queue embedded at arrival epochs: pi_j, the probability that an arrival
// finds j customers. Above c - 1 it is geometric, pi_j = pi_(c-1) beta^(j-c+1), with beta the root
// of (1 - x) + rho ln x = 0 in (0, rho); below, the ratios x_j = pi_j / pi_(c-1) solve an upper
// Hessenberg system of c - 1 balance equations. Time is in mean service times: D = 1 / (c rho)
// between arrivals, service rate 1 per server.
//
//   DmcRoot(0.5) -> 0.2031878      (D/M/1: the delay probability equals beta)

#include <vector>

namespace wachtrix {

// beta by bisection in ln x on [1e-300, rho], kept where the function is negative; rho itself
// when the function is not positive there.
double DmcRoot(double rho);

// Transition probabilities of the chain between arrivals, and the service integrals they need.
class DmcKernel {
public:
    DmcKernel(int c, double rho, double beta);

    // i + 1 customers, all in service, of whom j remain after D (i <= c - 1).
    long double binomialTransition(int i, int j) const;

    // sum over k >= c - 1 of beta^(k-c+1) P{k -> j}: the geometric tail's share of state j < c.
    long double tailContribution(int j) const;

    // I_j = integral over [0, D] of e^(c beta t) (e^-t - e^-D)^j dt, j = 0..c: from trunc(c beta)
    // up by 24-point Gauss-Legendre, below by the exact downward recursion, which is stable
    // that way.
    const std::vector<long double>& serviceIntegrals() const { return integrals_; }

private:
    long double logBinomial(int a, int b) const;
    int c_;
    double beta_, D_;
    long double logSurvive_;  // ln(1 - e^-D): one customer leaves within D
    std::vector<long double> logFactorial_;
    std::vector<long double> integrals_;
};

struct DmcBoundary {
    double beta = 0;
    std::vector<long double> x;  // pi_j / pi_(c-1), j = 0..c-2
    // The balance of state c - 1, left out of the system: |x_(c-2) - (1 - tail(c-1)) / B(c-2,
    // c-1)|; 0 for one server.
    double balanceResidual = 0;
};

// Solves the boundary (nothing to solve for one server). The Hessenberg system of the balance
// equations is eliminated from its last row up with the tail lumped into one state, the
// Grassmann-Taksar-Heyman way: every pivot is a sum of positive probabilities, so the elimination
// cannot fail and keeps the relative accuracy of the smallest x_j. (Householder reflections of
// the same system lose everything below 1e-16 of the largest x_j, which at light loads is
// pi_(c-1) itself.)
DmcBoundary SolveDmcBoundary(int c, double rho);

}  // namespace wachtrix
