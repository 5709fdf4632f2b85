#include "core/text/markov_format.h"

#include <algorithm>
#include <cmath>

#include "core/text/decimal_digits.h"
#include "core/text/delphi_format.h"

namespace wachtrix {

namespace {

// RenderFixed(expansion.SignificantAndDecimals(p, d), d) written straight from the digits, for
// the common case: an expansion that holds the digits to keep and no carry past p digits
// (which would mean the exponent form). False otherwise.
bool DirectFixed(const DecimalExpansion& expansion, int p, int d, std::string& out) {
    const DecimalExpansion::Digits& e = expansion.digits();
    if (e.count == 0 || p < 1) return false;
    const int keep = std::min(p, e.exponent + 1 + d);
    if (keep > e.reliable || p > e.reliable) return false;
    // The exponent form is chosen on the rounding to p digits: leave any carry there alone.
    bool allNines = true;
    for (int i = 0; i < p && allNines; ++i)
        allNines = e.digit[i] == '9';
    if (allNines || e.exponent + 1 > p) return false;
    char digits[24];
    int count = 0;
    int exponent = e.exponent;
    if (keep >= 0) {
        std::copy(e.digit.begin(), e.digit.begin() + keep, digits);
        count = keep;
        if (e.digit[keep] >= '5') {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                // 9...9 up to the decimals: one more integer digit.
                digits[0] = '1';
                if (keep == 0) count = 1;
                ++exponent;
            }
        }
    }
    bool zero = true;
    for (int i = 0; i < count && zero; ++i)
        zero = digits[i] == '0';
    const auto digitAt = [&](int place) {
        const int index = exponent - place;
        return !zero && index >= 0 && index < count ? digits[index] : '0';
    };
    out.clear();
    out.reserve(static_cast<std::size_t>(std::max(exponent, 0)) + d + 3);
    if (expansion.negative() && !zero) out += '-';
    for (int place = std::max(zero ? 0 : exponent, 0); place >= 0; --place)
        out += digitAt(place);
    if (d > 0) {
        out += '.';
        for (int place = -1; place >= -d; --place)
            out += digitAt(place);
    }
    return true;
}

std::string FixedPrecision(const DecimalExpansion& expansion, long double value, int p, int d) {
    if (!std::isfinite(value)) return FormatGeneral(value, p);
    d = std::max(d, 0);
    if (std::string out; DirectFixed(expansion, p, d, out)) return out;
    const DecimalDigits rounded = expansion.Significant(p);
    if (!rounded.isZero() && rounded.exponent + 1 > p) return FormatGeneral(value, p);
    return RenderFixed(expansion.SignificantAndDecimals(p, d), d);
}

}  // namespace

std::string FormatFixedPrecision(long double value, int p, int d) {
    return FixedPrecision(DecimalExpansion(value), value, p, d);
}

std::string FormatFixedPrecision(const DecimalExpansion& expansion, long double value, int p,
                                 int d) {
    return FixedPrecision(expansion, value, p, d);
}

std::string FormatGeneral15(long double value) {
    return FormatGeneralDigits(value, 15);
}

std::string FormatGeneralDigits(long double value, int wanted) {
    return FormatGeneralDigits(DecimalExpansion(value), value, wanted);
}

std::string FormatGeneralDigits(const DecimalExpansion& expansion, long double value, int wanted) {
    // FormatGeneral(value, wanted) written straight from the short expansion when it has one.
    const DecimalExpansion::Digits& e = expansion.digits();
    if (e.count == 0 || e.reliable < wanted) return FormatGeneral(value, wanted);
    char digits[16];
    std::copy(e.digit.begin(), e.digit.begin() + wanted, digits);
    int exponent = e.exponent;
    if (e.digit[wanted] >= '5') {
        int i = wanted - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
    int count = wanted;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    char out[48];
    int n = 0;
    if (expansion.negative()) out[n++] = '-';
    if (exponent < -5 || exponent + 1 > wanted) {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = '.';
            for (int i = 1; i < count; ++i)
                out[n++] = digits[i];
        }
        return std::string(out, n) + ExponentSuffix(exponent);
    }
    if (exponent < 0) {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = 0; i < -exponent - 1; ++i)
            out[n++] = '0';
        for (int i = 0; i < count; ++i)
            out[n++] = digits[i];
        return std::string(out, n);
    }
    const int integerDigits = exponent + 1;
    for (int i = 0; i < integerDigits; ++i)
        out[n++] = i < count ? digits[i] : '0';
    if (count > integerDigits) {
        out[n++] = '.';
        for (int i = integerDigits; i < count; ++i)
            out[n++] = digits[i];
    }
    return std::string(out, n);
}

std::string FormatSignificant(long double x, int n) {
    return FormatSignificant(DecimalExpansion(x), x, n);
}

std::string FormatSignificant(const DecimalExpansion& expansion, long double x, int n) {
    // k = trunc(log10 x + 1 + 1e-10) is the digit count before the point, one more only within
    // 2.3e-10 (relative) below a power of ten: there, the value rounded to 9 digits is that
    // power, and the logarithm decides.
    const bool finite = std::isfinite(x) && x != 0;
    const DecimalExpansion::Digits& e = expansion.digits();
    // Rounded to 9 digits it is a power of ten when its first 9 digits are nines (and round
    // up), or 1 and zeros (and round down); the expansion tells, when it holds 10 digits.
    bool power = true;
    if (finite && e.reliable >= 10) {
        const bool nines =
            std::all_of(e.digit.begin(), e.digit.begin() + 9, [](char c) { return c == '9'; }) &&
            e.digit[9] >= '5';
        const bool one = e.digit[0] == '1' &&
                         std::all_of(e.digit.begin() + 1, e.digit.begin() + 9,
                                     [](char c) { return c == '0'; }) &&
                         e.digit[9] < '5';
        power = nines || one;
    } else if (finite) {
        power = expansion.Significant(9).digits == "100000000";
    }
    int k = 0;
    if (!finite || !(x > 1e-16L) || power) {
        // INF and NAN print as words: no digit count (nor a cast of an infinite logarithm).
        const long double e = !std::isfinite(x) ? 0.0L : x > 1e-16L ? std::log10(x) : -16.0L;
        k = static_cast<int>(std::trunc(e + 1 + 1e-10L));
    } else {
        k = expansion.exponent() >= 0 ? expansion.exponent() + 1 : 0;
    }
    const int d = k > 0 ? n - k : n;
    return FixedPrecision(expansion, x, 10, d);
}

}  // namespace wachtrix
