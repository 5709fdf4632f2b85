#include "core/text/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace wachtrix {
namespace {

// More digits than any long double needs beyond the rounding place, so that an exact tie
// shows as "5" followed only by zeros and a near-tie never does.
constexpr int kGuardDigits = 40;

struct Expansion {
    std::string digits;  // d0 d1 d2 ... (kGuardDigits + 1 of them)
    int exponent = 0;
};

// Exact digits from std::to_chars, which never looks at the locale.
Expansion Expand(long double magnitude) {
    char buffer[128];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, kGuardDigits)
                         .ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const auto ePos = text.find('e');
    Expansion e;
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.') e.digits.push_back(text[i]);
    // "e-01" or "e+4931"; from_chars takes no "+".
    const std::size_t exponentStart = ePos + (text[ePos + 1] == '+' ? 2 : 1);
    std::from_chars(text.data() + exponentStart, text.data() + text.size(), e.exponent);
    return e;
}

// Keeps `keep` leading digits of the expansion, rounding half away from zero.
DecimalDigits Round(const Expansion& e, int keep, bool negative) {
    DecimalDigits r;
    r.negative = negative;
    r.exponent = e.exponent;
    if (keep < 0) {
        r.digits = "0";
        r.negative = false;
        return r;
    }
    const int available = static_cast<int>(e.digits.size());
    keep = std::min(keep, available);
    r.digits = e.digits.substr(0, keep);
    const bool roundUp = keep < available && e.digits[keep] >= '5';
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

DecimalDigits RoundSignificant(long double value, int significant) {
    if (value == 0 || !std::isfinite(value))
        return {std::string(std::max(significant, 1), '0'), 0, false};
    return Round(Expand(std::fabs(value)), std::max(significant, 1), value < 0);
}

DecimalDigits RoundDecimals(long double value, int decimals) {
    if (value == 0 || !std::isfinite(value)) return {"0", 0, false};
    const Expansion e = Expand(std::fabs(value));
    return Round(e, e.exponent + 1 + decimals, value < 0);
}

DecimalDigits RoundSignificantAndDecimals(long double value, int significant, int decimals) {
    if (value == 0 || !std::isfinite(value)) return {"0", 0, false};
    const Expansion e = Expand(std::fabs(value));
    const int keep = std::min(std::max(significant, 1), e.exponent + 1 + decimals);
    return Round(e, keep, value < 0);
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
