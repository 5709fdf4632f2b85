#include "core/text/number_parse.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace wachtrix {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when `text` is sign, digits with at most one point (at least one digit), and an
// optional exponent with at least one digit.
bool IsRealSyntax(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    int mantissaDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++mantissaDigits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i == text.size()) return true;
    if (text[i] != 'e' && text[i] != 'E') return false;
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    int exponentDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++exponentDigits;
    return exponentDigits > 0 && i == text.size();
}

// The power of ten of the leading nonzero digit of an unsigned text of real syntax, e.g. 3 for
// "1234.5" and -2 for "0.01"; what out-of-range tells apart: too large or too small. A huge
// exponent is clamped, which keeps the sign right.
long long DecimalMagnitude(std::string_view text) {
    long long before = 0;      // digits before the point, from the first nonzero one
    long long zerosAfter = 0;  // zeros after the point that precede the first nonzero digit
    bool point = false;
    bool nonzero = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            point = true;
            continue;
        }
        nonzero = nonzero || text[i] != '0';
        if (!point && nonzero) ++before;
        if (point && !nonzero) ++zerosAfter;
    }
    long long exponent = 0;
    bool negativeExponent = false;
    if (i < text.size()) {
        ++i;
        if (text[i] == '+' || text[i] == '-') negativeExponent = text[i++] == '-';
        for (; i < text.size() && exponent < 1'000'000; ++i)
            exponent = exponent * 10 + (text[i] - '0');
    }
    return (before > 0 ? before - 1 : -(zerosAfter + 1)) +
           (negativeExponent ? -exponent : exponent);
}

// Up to this many mantissa digits and powers of ten up to this exponent, both the mantissa and
// the power are exact long doubles (5^27 < 2^64), so their product or quotient is the correctly
// rounded value that std::from_chars would give, at a fraction of its cost.
constexpr int kFastDigits = 19;
constexpr int kFastPower = 27;

constexpr std::array<long double, kFastPower + 1> kPowersOfTen = [] {
    std::array<long double, kFastPower + 1> p{};
    p[0] = 1;
    for (int k = 1; k <= kFastPower; ++k)
        p[k] = p[k - 1] * 10;
    return p;
}();

// Integers up to 2^53 and powers of ten up to 10^22 are exact doubles.
constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << 53;
constexpr int kExactPower = 22;

constexpr std::array<double, kExactPower + 1> kExactPowersOfTen = [] {
    std::array<double, kExactPower + 1> p{};
    p[0] = 1;
    for (int k = 1; k <= kExactPower; ++k)
        p[k] = p[k - 1] * 10;
    return p;
}();

// The value of an unsigned text of real syntax, when its digits and exponent are small enough.
std::optional<long double> FastValue(std::string_view text) {
    std::uint64_t mantissa = 0;
    int digits = 0;      // counted from the first nonzero one
    int afterPoint = 0;  // digits after the point
    bool point = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            point = true;
            continue;
        }
        if (!IsDigit(c)) break;
        if (digits > 0 || c != '0') {
            if (++digits > kFastDigits) return std::nullopt;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (point) ++afterPoint;
    }
    int exponent = 0;
    if (i < text.size()) {  // "e", an optional sign, digits
        ++i;
        if (text[i] == '+') ++i;
        const auto [end, error] =
            std::from_chars(text.data() + i, text.data() + text.size(), exponent);
        if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    }
    if (mantissa == 0) return 0.0L;
    const long long power = static_cast<long long>(exponent) - afterPoint;
    if (power > kFastPower || power < -kFastPower) return std::nullopt;
    const auto m = static_cast<long double>(mantissa);
    return power >= 0 ? m * kPowersOfTen[power] : m / kPowersOfTen[-power];
}

// The double nearest to an unsigned numeral of real syntax (one rounding: reading it as a long
// double first and rounding that again is off by one unit in about one case in 4000); nothing
// when it lies beyond the range of doubles, where the long double reading decides.
std::optional<double> CorrectlyRounded(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    // Blanks, tabs and other control characters, as a pasted value may carry them.
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<long double> ParseExtended(std::string_view text) {
    text = Trim(text);
    if (!IsRealSyntax(text)) return std::nullopt;
    // std::from_chars reads "." whatever the locale; it takes "-" but no "+".
    const bool negative = text.front() == '-';
    if (text.front() == '+' || negative) text.remove_prefix(1);
    if (const auto fast = FastValue(text)) return negative ? -*fast : *fast;
    long double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // A numeral beyond the range is a number too large, not a text that is no number.
        value = DecimalMagnitude(text) > 0 ? std::numeric_limits<long double>::infinity() : 0;
    } else if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<double> ParseRealToken(std::string_view token, int& significantDigits) {
    // One pass over the token for its syntax, digit count and value: sign, mantissa digits
    // with at most one point, exponent.
    std::size_t i = 0;
    const bool negative = i < token.size() && token[i] == '-';
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    const std::size_t start = i;
    // The digits before and after the point.
    const std::size_t integerStart = i;
    while (i < token.size() && IsDigit(token[i]))
        ++i;
    const std::size_t integerEnd = i;
    std::size_t fractionStart = i;
    if (i < token.size() && token[i] == '.') {
        fractionStart = ++i;
        while (i < token.size() && IsDigit(token[i]))
            ++i;
    }
    const std::size_t fractionEnd = i;
    const std::size_t afterPoint = fractionEnd - fractionStart;
    if (integerEnd - integerStart + afterPoint == 0) return std::nullopt;
    // The significant digits, from the first nonzero one.
    std::size_t first = integerStart;
    while (first < integerEnd && token[first] == '0')
        ++first;
    std::size_t fractionFirst = fractionStart;
    if (first == integerEnd) {
        while (fractionFirst < fractionEnd && token[fractionFirst] == '0')
            ++fractionFirst;
    }
    const std::size_t digits = (integerEnd - first) + (fractionEnd - fractionFirst);
    significantDigits = static_cast<int>(std::min<std::size_t>(digits, 1'000'000));
    std::uint64_t mantissa = 0;
    if (digits <= kFastDigits) {
        for (std::size_t k = first; k < integerEnd; ++k)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(token[k] - '0');
        for (std::size_t k = fractionFirst; k < fractionEnd; ++k)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(token[k] - '0');
    }
    long long exponent = 0;
    if (i < token.size()) {
        if (token[i] != 'e' && token[i] != 'E') return std::nullopt;
        ++i;
        bool negativeExponent = false;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            negativeExponent = token[i++] == '-';
        const std::size_t first = i;
        for (; i < token.size() && IsDigit(token[i]); ++i)
            if (exponent < 1'000'000) exponent = exponent * 10 + (token[i] - '0');
        if (i == first || i != token.size()) return std::nullopt;
        if (negativeExponent) exponent = -exponent;
    }
    // A mantissa and a power of ten that are both exact doubles: one product or quotient, the
    // correctly rounded value, as std::from_chars would give it (the numbers the program itself
    // writes have at most 15 digits).
    const long long power = exponent - static_cast<long long>(afterPoint);
    if (digits <= kFastDigits && mantissa <= kExactMantissa && power >= -kExactPower &&
        power <= kExactPower) {
        const auto m = static_cast<double>(mantissa);
        const double value =
            power >= 0 ? m * kExactPowersOfTen[power] : m / kExactPowersOfTen[-power];
        return negative ? -value : value;
    }
    if (const auto value = CorrectlyRounded(token.substr(start)))
        return negative ? -*value : *value;
    return ParseReal(token);
}

std::optional<double> ParseReal(std::string_view text) {
    text = Trim(text);
    if (IsRealSyntax(text)) {
        const bool negative = text.front() == '-';
        const bool sign = negative || text.front() == '+';
        if (const auto value = CorrectlyRounded(text.substr(sign ? 1 : 0)))
            return negative ? -*value : *value;
    }
    // Numerals beyond the range of doubles, and what is no number.
    const auto value = ParseExtended(text);
    if (!value) return std::nullopt;
    if (std::fabs(*value) > std::numeric_limits<double>::max())
        return *value > 0 ? std::numeric_limits<double>::infinity()
                          : -std::numeric_limits<double>::infinity();
    return static_cast<double>(*value);
}

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace wachtrix
