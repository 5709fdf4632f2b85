#include "core/text/decimal_digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace wachtrix {
namespace {

// More digits than any long double needs beyond the rounding place, so that an exact tie
// shows as "5" followed only by zeros and a near-tie never does.
constexpr int kGuardDigits = 40;

// Exact digits from std::to_chars, which never looks at the locale.
void Expand(long double magnitude, DecimalExpansion::Digits& e) {
    char buffer[128];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, kGuardDigits)
                         .ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const auto ePos = text.find('e');
    e.count = 0;
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.') e.digit[e.count++] = text[i];
    // "e-01" or "e+4931"; from_chars takes no "+".
    const std::size_t exponentStart = ePos + (text[ePos + 1] == '+' ? 2 : 1);
    std::from_chars(text.data() + exponentStart, text.data() + text.size(), e.exponent);
    e.reliable = e.count;
}

// The short exact expansion of a double: its first 17 digits and, as an 18th, the class of the
// rest (0: nothing, 1: below half, 5: exactly half, 9: above half), with integer arithmetic
// only; the long double path above costs ten times as much and the reports write thousands of
// numbers. Works for doubles from 1e-11 up to 1e17, where m 5^k fits in 128 bits and d 10^k
// keeps its fraction within the word; false elsewhere.
__extension__ using Wide = unsigned __int128;

constexpr int kShortDigits = 17;
constexpr std::uint64_t kLowestShort = 10'000'000'000'000'000ULL;  // 10^16
constexpr int kMostFive = 27;                                      // 5^27 < 2^63

constexpr std::array<std::uint64_t, kMostFive + 1> kPowersOfFive = [] {
    std::array<std::uint64_t, kMostFive + 1> p{};
    p[0] = 1;
    for (int k = 1; k <= kMostFive; ++k)
        p[k] = p[k - 1] * 5;
    return p;
}();

// The `count` decimal digits of value, leading zeros included, two at a time.
void WriteDigits(std::uint32_t value, char* out, int count) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    int i = count;
    for (; i >= 2; i -= 2) {
        const std::uint32_t pair = value % 100;
        value /= 100;
        out[i - 2] = kPairs[2 * pair];
        out[i - 1] = kPairs[2 * pair + 1];
    }
    if (i == 1) out[0] = static_cast<char>('0' + value);
}

bool ExpandShort(long double magnitude, DecimalExpansion::Digits& e) {
    const double d = static_cast<double>(magnitude);
    if (static_cast<long double>(d) != magnitude || !(d >= 1e-11) || !(d < 1e17)) return false;
    // d is normal here: d = mantissa 2^q exactly.
    const auto bits = std::bit_cast<std::uint64_t>(d);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int q = biased - 1075;
    // The power of ten of the leading digit, estimated from the power of two (floor of
    // (biased - 1023) log10 2, by 78913 / 2^18) and then corrected.
    int exponent = ((biased - 1023) * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = kShortDigits - 1 - exponent;  // d 10^k has 17 digits before the point
        if (k < 0 || k > kMostFive) return false;
        const Wide n = static_cast<Wide>(mantissa) * kPowersOfFive[k];
        const int shift = q + k;
        std::uint64_t integer = 0;
        char rest = '0';
        if (shift >= 0) {
            if (shift > 60) return false;
            integer = static_cast<std::uint64_t>(n << shift);
        } else {
            if (-shift >= 127) return false;
            const Wide one = 1;
            integer = static_cast<std::uint64_t>(n >> -shift);
            const Wide remainder = n & ((one << -shift) - 1);
            const Wide half = one << (-shift - 1);
            rest = remainder == 0 ? '0' : remainder < half ? '1' : remainder == half ? '5' : '9';
        }
        if (integer < kLowestShort) {
            --exponent;
            continue;
        }
        if (integer >= 10 * kLowestShort) {
            ++exponent;
            continue;
        }
        WriteDigits(static_cast<std::uint32_t>(integer / 100'000'000), e.digit.data(), 9);
        WriteDigits(static_cast<std::uint32_t>(integer % 100'000'000), e.digit.data() + 9, 8);
        e.digit[kShortDigits] = rest;
        e.count = kShortDigits + 1;
        e.exponent = exponent;
        e.reliable = kShortDigits;
        return true;
    }
    return false;
}

// Keeps `keep` leading digits of the expansion, rounding half away from zero.
DecimalDigits Round(std::string_view digits, int exponent, int keep, bool negative) {
    DecimalDigits r;
    r.negative = negative;
    r.exponent = exponent;
    if (keep < 0) {
        r.digits = "0";
        r.negative = false;
        return r;
    }
    const int available = static_cast<int>(digits.size());
    keep = std::min(keep, available);
    r.digits = digits.substr(0, keep);
    const bool roundUp = keep < available && digits[keep] >= '5';
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && r.digits[i] == '9')
            r.digits[i--] = '0';
        if (i >= 0) {
            ++r.digits[i];
        } else {
            r.digits.insert(r.digits.begin(), '1');
            ++r.exponent;
            if (keep > 0) r.digits.pop_back();  // keep the digit count for significant rounding
        }
    }
    if (r.digits.empty()) r.digits = "0";
    if (r.isZero()) r.negative = false;
    return r;
}

}  // namespace

DecimalExpansion::DecimalExpansion(long double value) : value_(value) {
    if (value == 0 || !std::isfinite(value)) return;
    if (!ExpandShort(std::fabs(value), digits_)) Expand(std::fabs(value), digits_);
}

DecimalDigits DecimalExpansion::Round(int keep) const {
    if (keep <= digits_.reliable) {
        return wachtrix::Round({digits_.digit.data(), static_cast<std::size_t>(digits_.count)},
                               digits_.exponent, keep, value_ < 0);
    }
    Digits e;
    Expand(std::fabs(value_), e);
    return wachtrix::Round({e.digit.data(), static_cast<std::size_t>(e.count)}, e.exponent, keep,
                           value_ < 0);
}

DecimalDigits DecimalExpansion::Significant(int significant) const {
    if (digits_.count == 0) return {std::string(std::max(significant, 1), '0'), 0, false};
    return Round(std::max(significant, 1));
}

DecimalDigits DecimalExpansion::Decimals(int decimals) const {
    if (digits_.count == 0) return {"0", 0, false};
    return Round(digits_.exponent + 1 + decimals);
}

DecimalDigits DecimalExpansion::SignificantAndDecimals(int significant, int decimals) const {
    if (digits_.count == 0) return {"0", 0, false};
    return Round(std::min(std::max(significant, 1), digits_.exponent + 1 + decimals));
}

DecimalDigits RoundSignificant(long double value, int significant) {
    return DecimalExpansion(value).Significant(significant);
}

DecimalDigits RoundDecimals(long double value, int decimals) {
    return DecimalExpansion(value).Decimals(decimals);
}

DecimalDigits RoundSignificantAndDecimals(long double value, int significant, int decimals) {
    return DecimalExpansion(value).SignificantAndDecimals(significant, decimals);
}

}  // namespace wachtrix

namespace wachtrix {

std::string RenderFixed(const DecimalDigits& d, int decimals) {
    std::string out;
    if (d.negative) out.push_back('-');
    const int count = static_cast<int>(d.digits.size());
    auto digitAt = [&](int place) {  // the digit of 10^place
        const int index = d.exponent - place;
        return index >= 0 && index < count && !d.isZero() ? d.digits[index] : '0';
    };
    for (int place = std::max(d.isZero() ? 0 : d.exponent, 0); place >= 0; --place)
        out.push_back(digitAt(place));
    if (decimals > 0) {
        out.push_back('.');
        for (int place = -1; place >= -decimals; --place)
            out.push_back(digitAt(place));
    }
    return out;
}

}  // namespace wachtrix
