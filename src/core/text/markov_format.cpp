#include "core/text/markov_format.h"

#include <algorithm>
#include <cmath>

#include "core/text/decimal_digits.h"
#include "core/text/delphi_format.h"

namespace wachtrix {

std::string FormatFixedPrecision(long double value, int p, int d) {
    if (!std::isfinite(value)) return FormatGeneral(value, p);
    d = std::max(d, 0);
    const DecimalDigits rounded = RoundSignificant(value, p);
    if (!rounded.isZero() && rounded.exponent + 1 > p) return FormatGeneral(value, p);
    return RenderFixed(RoundSignificantAndDecimals(value, p, d), d);
}

std::string FormatGeneral15(long double value) {
    return FormatGeneral(value, 15);
}

std::string FormatSignificant(long double x, int n) {
    const long double e = x > 1e-16L ? std::log10(x) : -16.0L;
    const int k = static_cast<int>(std::trunc(e + 1 + 1e-10L));
    const int d = k > 0 ? n - k : n;
    return FormatFixedPrecision(x, 10, d);
}

}  // namespace wachtrix
