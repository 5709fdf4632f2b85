#pragma once
// Bisection that keeps the end of the bracket where f is negative, for the decay roots of the
// models with an embedded arrival chain (D/M/c, G/M/c), which check the ends of their brackets
// themselves.
//
//   HalveTowardNegativeEnd(x - 0.3 on [0, 1], f1 = -0.3, tol 1e-12) -> 0.3 - (less than 1e-12)

#include <cmath>
#include <cstdint>

#include "core/numeric/numerical_failure.h"
#include "core/numeric/root_finders.h"

namespace wachtrix {

// Halves [x1, x2] (f1 = f(x1), opposite in sign to f(x2)), keeping the end where f is negative,
// until the step is below tol or a midpoint is a root; beyond `limit` halvings, limitExceeded.
template <class Real, class F>
Real HalveTowardNegativeEnd(F&& f, Real x1, Real x2, Real f1, Real tol, std::int64_t limit,
                            const FailureTexts& limitExceeded) {
    Real end = f1 < 0 ? x1 : x2;
    Real step = f1 < 0 ? x2 - x1 : x1 - x2;
    for (std::int64_t iter = 0; iter < limit; ++iter) {
        step *= Real(0.5);
        const Real mid = end + step;
        const Real fmid = f(mid);
        if (fmid <= 0) end = mid;
        if (std::fabs(step) < tol || fmid == 0) return end;
    }
    throw NumericalFailure(limitExceeded.lines());
}

}  // namespace wachtrix
