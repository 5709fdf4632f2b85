#pragma once
// Erlang's delay probability of the M/M/c queue by the Erlang-B recursion, independent of any
// model's method: the reference for M/M/c and for the fits that reduce to it.
//
//   ErlangC(1, 0.5) -> 0.5     ErlangC(2, 0.5) -> 1/3

namespace wachtrix::testing {

inline long double ErlangC(int c, long double rho) {
    const long double a = c * rho;
    long double B = 1;
    for (int k = 1; k <= c; ++k)
        B = a * B / (k + a * B);
    return B / (1 - rho * (1 - B));
}

}  // namespace wachtrix::testing
