#pragma once
// The three root finders of the queue models, as templates over the real type. A model unit
// declares its own copy: the iteration limit and the failure texts, for instance
//
//   constexpr RootFinderCopy kCoxianRtbis{30000, {"pause in RTBIS",
//       "Root must be bracketed for bisection."}, {"pause in RTBIS - too many bisections"}};
//
// and calls RTBIS<long double>(f, x1, x2, 1e-12L, kCoxianRtbis). Failures throw
// NumericalFailure with the copy's texts.

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
};

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
        const Real tol1 = Real(6e-8) * std::fabs(b) + Real(0.5) * tol;
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
    const Real fLow = f(x1);
    Real fmid = f(x2);
    if (fLow * fmid >= 0) throw NumericalFailure(copy.notBracketed.lines());
    Real rtb, dx;
    if (fLow < 0) {
        rtb = x1;
        dx = x2 - x1;
    } else {
        rtb = x2;
        dx = x1 - x2;
    }
    for (std::int64_t iter = 0; iter < copy.iterationLimit; ++iter) {
        dx *= Real(0.5);
        const Real xmid = rtb + dx;
        fmid = f(xmid);
        if (fmid <= 0) rtb = xmid;
        if (std::fabs(dx) < xacc || fmid == 0) return rtb;
    }
    throw NumericalFailure(copy.limitExceeded.lines());
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
    double start, step;
    if (flo < 0) {
        start = lo;
        step = hi - lo;
    } else {
        start = hi;
        step = lo - hi;
    }
    for (std::int64_t iter = 0; iter < copy.iterationLimit; ++iter) {
        step *= 0.5;
        const double mid = start + step;
        const double fmid = f(mid);
        if (fmid <= 0) start = mid;
        if (std::fabs(step) < tolerance || fmid == 0) return start;
    }
    throw NumericalFailure(copy.limitExceeded.lines());
}

}  // namespace wachtrix
