#include "core/text/number_format.h"

#include <algorithm>
#include <cmath>

#include "core/text/delphi_format.h"

namespace wachtrix {
namespace {
// Right-aligned in `width` columns; a longer text is kept whole.
std::string RightAligned(int width, std::string text) {
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
    return text;
}
}  // namespace

std::string FormatShortG(long double x) {
    return Format("%7.3g", {x});
}

std::string FormatProb(long double x) {
    const long double a = std::fabs(x);
    if (a >= 1e-6L) return Format("%10.7f", {a});
    if (a >= 1e-30L) return Format("%10.3e", {a});
    return Format("%10s", {"0"});
}

std::string FormatProbTrimmed(long double x) {
    std::string text = FormatProb(x);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

std::string FormatSig(int n, long double x) {
    return FormatSig(10, n, x);
}

std::string FormatSig(int width, int n, long double x) {
    const long double log10x = x <= 1e-10L ? -100.0L : std::log10(x);
    const int k = static_cast<int>(std::trunc(log10x + 1 + 1e-10L));
    const int d = std::min(n, n - k);
    if (d < 0) return RightAligned(width, FormatExponent(x, n - 1));
    return FormatFixed(width, d, x);
}

std::string FormatSig6(long double x) {
    return FormatSig(6, x);
}

std::string FormatFixed(int width, int decimals, long double x) {
    return RightAligned(width, FormatFixedPoint(x, decimals));
}

}  // namespace wachtrix
