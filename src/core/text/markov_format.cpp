#include "core/text/markov_format.h"

#include <algorithm>
#include <cmath>

#include "core/text/decimal_digits.h"
#include "core/text/delphi_format.h"

namespace wachtrix {

namespace {

std::string FixedPrecision(const DecimalExpansion& expansion, long double value, int p, int d) {
    if (!std::isfinite(value)) return FormatGeneral(value, p);
    d = std::max(d, 0);
    const DecimalDigits rounded = expansion.Significant(p);
    if (!rounded.isZero() && rounded.exponent + 1 > p) return FormatGeneral(value, p);
    return RenderFixed(expansion.SignificantAndDecimals(p, d), d);
}

}  // namespace

std::string FormatFixedPrecision(long double value, int p, int d) {
    return FixedPrecision(DecimalExpansion(value), value, p, d);
}

std::string FormatGeneral15(long double value) {
    return FormatGeneral(value, 15);
}

std::string FormatSignificant(long double x, int n) {
    const DecimalExpansion expansion(x);
    // k = trunc(log10 x + 1 + 1e-10) is the digit count before the point, one more only within
    // 2.3e-10 (relative) below a power of ten: there, the value rounded to 9 digits is that
    // power, and the logarithm decides.
    const bool finite = std::isfinite(x) && x != 0;
    int k = 0;
    if (!finite || !(x > 1e-16L) || expansion.Significant(9).digits == "100000000") {
        const long double e = x > 1e-16L ? std::log10(x) : -16.0L;
        k = static_cast<int>(std::trunc(e + 1 + 1e-10L));
    } else {
        k = expansion.exponent() >= 0 ? expansion.exponent() + 1 : 0;
    }
    const int d = k > 0 ? n - k : n;
    return FixedPrecision(expansion, x, 10, d);
}

}  // namespace wachtrix
