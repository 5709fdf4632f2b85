#pragma once
// ln Gamma(x) for x > 0 by Lanczos' series (about 1e-10 relative), over the caller's real type.
//
//   LogGamma(1.0) -> 0,  LogGamma(11.0) -> ln 10! = 15.1044...
//   LogFactorialTable<double>(3) -> {0, 0, ln 2, ln 6}

#include <cmath>
#include <vector>

namespace wachtrix {

template <class Real>
Real LogGamma(Real x) {
    static constexpr long double kCoefficients[6] = {76.18009172947146L,     -86.50532032941677L,
                                                     24.01409824083091L,     -1.231739572450155L,
                                                     0.1208650973866179e-2L, -0.5395239384953e-5L};
    const Real y = x - 1;
    const Real t = y + Real(5.5);
    const Real head = (y + Real(0.5)) * std::log(t) - t;
    Real series = 1;
    for (int k = 1; k <= 6; ++k)
        series += static_cast<Real>(kCoefficients[k - 1]) / (y + k);
    return head + std::log(Real(2.50662827465L) * series);
}

// ln k! for k = 0..n as running sums of ln k, free of the series error of LogGamma.
template <class Real>
std::vector<Real> LogFactorialTable(int n) {
    std::vector<Real> table(n + 1, Real(0));
    for (int k = 1; k <= n; ++k)
        table[k] = table[k - 1] + std::log(static_cast<Real>(k));
    return table;
}

}  // namespace wachtrix
