#pragma once
// Double-double numbers: a value as the unevaluated sum hi + lo of two doubles, about 32
// significant digits, for the eliminations that must keep more digits than a double holds
// but cannot afford the x87 long double (whose loads and stores dominate such loops). The
// operations are the error-free transformations: each result is the exact one rounded to about
// 2^-104, provided no operand leaves the range of doubles. Nonnegative values only meet sums,
// products and quotients here, so nothing cancels.
//
//   DoubleDouble(1) / 3 * 3 -> hi 1, lo 0 (to 2^-104)
//   Sum of 1 and 1e-20      -> hi 1, lo 1e-20

#include <cmath>

namespace wachtrix {

struct DoubleDouble {
    double hi = 0;
    double lo = 0;

    DoubleDouble() = default;
    DoubleDouble(double value) : hi(value) {}  // NOLINT: a double is a double-double
    DoubleDouble(double h, double l) : hi(h), lo(l) {}

    explicit operator double() const { return hi + lo; }
    long double extended() const { return static_cast<long double>(hi) + lo; }
};

namespace dd {

// a + b exactly as s + e.
inline DoubleDouble TwoSum(double a, double b) {
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

// a + b exactly as s + e, for |a| >= |b| or a = 0.
inline DoubleDouble FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a b exactly as p + e.
inline DoubleDouble TwoProduct(double a, double b) {
    const double p = a * b;
    return {p, std::fma(a, b, -p)};
}

}  // namespace dd

inline DoubleDouble operator+(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble s = dd::TwoSum(a.hi, b.hi);
    return dd::FastTwoSum(s.hi, s.lo + a.lo + b.lo);
}

inline DoubleDouble operator*(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble p = dd::TwoProduct(a.hi, b.hi);
    return dd::FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DoubleDouble operator/(DoubleDouble a, DoubleDouble b) {
    const double q1 = a.hi / b.hi;
    // a - q1 b, exactly up to the low parts.
    const DoubleDouble p = dd::TwoProduct(q1, b.hi);
    const double r = ((a.hi - p.hi) - p.lo + a.lo) - q1 * b.lo;
    return dd::FastTwoSum(q1, r / b.hi);
}

inline DoubleDouble& operator+=(DoubleDouble& a, DoubleDouble b) {
    return a = a + b;
}

inline bool IsFinite(DoubleDouble a) {
    return std::isfinite(a.hi) && std::isfinite(a.lo);
}

// Rows of double-double numbers kept as two arrays of doubles (high and low parts), which the
// kernels below go through with vector instructions.
namespace dd {

// y += s x for `length` entries.
void AddScaled(double* yHi, double* yLo, DoubleDouble s, const double* xHi, const double* xLo,
               int length);

// The sum of `length` entries.
DoubleDouble Sum(const double* xHi, const double* xLo, int length);

}  // namespace dd

}  // namespace wachtrix
