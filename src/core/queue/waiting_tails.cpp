#include "core/queue/waiting_tails.h"

#include <algorithm>
#include <cmath>

#include "core/numeric/safe_math.h"

namespace wachtrix {

double ExponentialServiceTail(std::span<const double> seen, double scale, int c, double t) {
    const int places = static_cast<int>(seen.size()) - c;  // waiting positions 0..places-1
    if (places < 1) return 0;
    // cum = P{Erlang(k + 1) at rate c > t} = P{Poisson(c t) <= k}, grown one Poisson term at a
    // time in logarithms so that a long queue cannot underflow the first term. Every term is
    // added (a sum stopped short of 1 leaves the curve wobbling by the terms it left out); the
    // rounding of a sum that has reached 1 is held at 1.
    long double logTerm = -static_cast<long double>(c) * t;
    long double cum = SafeExp(logTerm);
    long double result = seen[c] * cum;
    for (int k = 1; k < places; ++k) {
        logTerm += SafeLn(static_cast<long double>(c) * t / k);
        cum = std::min(cum + SafeExp(logTerm), 1.0L);
        result += seen[c + k] * cum;
    }
    return static_cast<double>(scale * result);
}

DeterministicServiceWait::DeterministicServiceWait(int c) : c_(c), lnFactorial_(c + 1, 0.0L) {
    for (int k = 1; k <= c; ++k)
        lnFactorial_[k] = lnFactorial_[k - 1] + std::log(static_cast<long double>(k));
}

double DeterministicServiceWait::BinomialTerm(int s, double u) const {
    if (u < 1e-12) return s == 0 ? 1 : 0;
    if (1 - u < 1e-12) return s == c_ ? 1 : 0;
    const long double exponent = s * std::log(static_cast<long double>(u)) +
                                 (c_ - s) * std::log1p(-static_cast<long double>(u)) +
                                 lnFactorial_[c_] - lnFactorial_[c_ - s] - lnFactorial_[s];
    return static_cast<double>(SafeExp(exponent));
}

double DeterministicServiceWait::Tail(std::span<const double> seen, double scale, double t) const {
    const int K = static_cast<int>(seen.size());  // states 0..K-1 admit an arrival
    const int m = static_cast<int>(std::trunc(t + 1e-15));
    const int i = m + 1;  // behind j >= c i the wait exceeds m
    if (i > static_cast<double>(K - 1) / c_ + 1e-12) return 0;
    long double sum = 0;
    const int blockEnd = std::min((i + 1) * c_, K);
    if (std::fabs(i - t - 1) <= 1e-10) {
        // At a whole t only the blocks beyond it still wait.
        for (int j = c_ * i; j < K; ++j)
            sum += seen[j];
    } else {
        // Within block i the wait exceeds t while fewer than r + 1 services have ended by u.
        const double u = t + 1 - i;
        long double below = 0;
        for (int j = c_ * i; j < blockEnd; ++j) {
            below += BinomialTerm(j - c_ * i, u);
            sum += seen[j] * below;
        }
        for (int j = blockEnd; j < K; ++j)
            sum += seen[j];
    }
    return static_cast<double>(scale * sum);
}

double DeterministicServiceWait::SecondMoment(std::span<const double> seen, double scale) const {
    // The (r + 1)-th smallest of c uniforms has mean (r + 1) / (c + 1) and second moment
    // (r + 1)(r + 2) / ((c + 1)(c + 2)): the Beta moments in closed form, which a fixed
    // quadrature rule misses by per cents once c is in the hundreds.
    const long double c1 = c_ + 1.0L, c2 = (c_ + 1.0L) * (c_ + 2.0L);
    long double sum = 0;
    for (int j = c_; j < static_cast<int>(seen.size()); ++j) {
        const long double b = j / c_ - 1;  // whole service times waited before the last part
        const long double r1 = j % c_ + 1;
        sum += (b * b + 2 * b * r1 / c1 + r1 * (r1 + 1) / c2) * seen[j];
    }
    return static_cast<double>(scale * sum);
}

}  // namespace wachtrix
