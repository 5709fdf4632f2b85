#pragma once
// The root finders of the queue models, as templates over the real type. A model unit declares
// its own copy: the iteration limit and the failure texts, for instance
//
//   constexpr RootFinderCopy kCoxianRtbis{30000, {"pause in RTBIS",
//       "Root must be bracketed for bisection."}, {"pause in RTBIS - too many bisections"}};
//
// and calls RTBIS<long double>(f, x1, x2, 1e-12L, kCoxianRtbis). Failures throw
// NumericalFailure with the copy's texts. The decay roots of the embedded-chain models check
// their own ends and then call BisectToNegativeEnd directly.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/numeric/numerical_failure.h"

namespace wachtrix {

// One or two message lines.
struct FailureTexts {
    std::string_view first;
    std::string_view second;
    std::vector<std::string> lines() const {
        std::vector<std::string> out{std::string(first)};
        if (!second.empty()) out.emplace_back(second);
        return out;
    }
};

struct RootFinderCopy {
    std::int64_t iterationLimit;
    FailureTexts notBracketed;
    FailureTexts limitExceeded;
    // ZBRENT only: its stopping half-width is 2 relativeAccuracy |b| + tol / 2.
    double relativeAccuracy = 3e-8;
};

// Halves the bracket [x1, x2], at whose ends f has opposite signs (f1 = f(x1)), always keeping
// the end where f is negative. Returns that end once the step is below tol, or at once a
// midpoint where f is exactly 0; more than `limit` halvings throw limitExceeded.
//
//   BisectToNegativeEnd(x - 0.3 on [0, 1], f1 = -0.3, tol 1e-12) -> 0.3 - (less than 1e-12)
template <class Real, class F>
Real BisectToNegativeEnd(F&& f, Real x1, Real x2, Real f1, Real tol, std::int64_t limit,
                         const FailureTexts& limitExceeded) {
    Real end, step;
    if (f1 < 0) {
        end = x1;
        step = x2 - x1;
    } else {
        end = x2;
        step = x1 - x2;
    }
    for (std::int64_t iter = 0; iter < limit; ++iter) {
        step *= Real(0.5);
        const Real mid = end + step;
        const Real fmid = f(mid);
        if (fmid <= 0) end = mid;
        if (std::fabs(step) < tol || fmid == 0) return end;
    }
    throw NumericalFailure(limitExceeded.lines());
}

// Brent's method on [x1, x2]: inverse quadratic interpolation with a bisection fallback.
template <class Real, class F>
Real ZBRENT(F&& f, Real x1, Real x2, Real tol, const RootFinderCopy& copy) {
    Real a = x1, b = x2, c = x2, d = 0, e = 0;
    Real fa = f(a), fb = f(b);
    if (fa * fb > 0) throw NumericalFailure(copy.notBracketed.lines());
    Real fc = fb;
    for (std::int64_t iter = 0; iter < copy.iterationLimit; ++iter) {
        if (fb * fc > 0) {
            c = a;
            fc = fa;
            e = d = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const Real tol1 = 2 * Real(copy.relativeAccuracy) * std::fabs(b) + Real(0.5) * tol;
        const Real xm = Real(0.5) * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const Real s = fb / fa;
            Real p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                q = fa / fc;
                const Real r = fb / fc;
                p = s * (2 * xm * q * (q - r) - (b - a) * (r - 1));
                q = (q - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            p = std::fabs(p);
            const Real min1 = 3 * xm * q - std::fabs(tol1 * q);
            const Real min2 = std::fabs(e * q);
            if (2 * p < (min1 < min2 ? min1 : min2)) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : (xm >= 0 ? tol1 : -tol1);
        fb = f(b);
    }
    throw NumericalFailure(copy.limitExceeded.lines());
}

// Bisection on [x1, x2] from the end where f is negative.
template <class Real, class F>
Real RTBIS(F&& f, Real x1, Real x2, Real xacc, const RootFinderCopy& copy) {
    const Real f1 = f(x1);
    const Real f2 = f(x2);
    if (f1 * f2 >= 0) throw NumericalFailure(copy.notBracketed.lines());
    return BisectToNegativeEnd<Real>(f, x1, x2, f1, xacc, copy.iterationLimit, copy.limitExceeded);
}

// The decay root of an embedded chain: f is positive left of the root and negative between it
// and the upper end. 0 when f is not positive at `lo` already; otherwise bisection to `tol` from
// the negative end, with the copy's texts for a positive upper end, an unbracketed interval and
// too many halvings.
struct DecayRootCopy {
    std::int64_t iterationLimit;
    FailureTexts positiveAtUpperEnd;
    FailureTexts notBracketed;
    FailureTexts limitExceeded;
};

template <class F>
double DecayRootBisection(F&& f, double lo, double hi, double tol, const DecayRootCopy& copy) {
    const double flo = f(lo);
    if (flo <= 0) return 0;
    const double fhi = f(hi);
    if (fhi >= 0) throw NumericalFailure(copy.positiveAtUpperEnd.lines());
    if (!(flo * fhi < 0)) throw NumericalFailure(copy.notBracketed.lines());
    return BisectToNegativeEnd<double>(f, lo, hi, flo, tol, copy.iterationLimit,
                                       copy.limitExceeded);
}

// A root of f in (0, 1): 0 when f is already positive just above 0, 1 when f is still (almost)
// zero or negative just below 1; otherwise bisection to 1e-16.
template <class F>
double UnitIntervalBisection(F&& f, const RootFinderCopy& copy) {
    constexpr double lo = 1e-10, hi = 0.9999999999, tolerance = 1e-16;
    const double flo = f(lo);
    const double fhi = f(hi);
    if (flo > 0) return 0;
    if (fhi < 1e-16) return 1;
    if (flo * fhi >= 0) throw NumericalFailure(copy.notBracketed.lines());
    return BisectToNegativeEnd<double>(f, lo, hi, flo, tolerance, copy.iterationLimit,
                                       copy.limitExceeded);
}

}  // namespace wachtrix
