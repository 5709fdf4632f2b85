#include "core/text/number_parse.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

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
    const std::string copy(text);
    errno = 0;
    const long double value = std::strtold(copy.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view text) {
    const auto value = ParseExtended(text);
    if (!value || std::fabs(*value) > std::numeric_limits<double>::max()) return std::nullopt;
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
