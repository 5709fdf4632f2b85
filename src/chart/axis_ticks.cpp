#include "chart/axis_ticks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace wachtrix::chart {
namespace {

// A safeguard against a step far too fine for its range; real axes have a few dozen ticks.
constexpr std::size_t kMaxTicks = 10000;

double TopOfAxis(double min, double max) {
    return max + 0.001 * (max - min);
}

bool IsDecade(double v) {
    const double mantissa = v / TimesPowerOfTen(1, DecadeExponent(v));
    return std::fabs(mantissa - 1) < 1e-9;
}

// Fixed notation with "." whatever the locale (std::to_chars never looks at it).
std::string Fixed(double value, int decimals) {
    char buffer[512];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals)
            .ptr;
    return std::string(buffer, end);
}

// "1.50000" -> "1.5", "2.000" -> "2"
std::string TrimFraction(std::string text) {
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string ShortExponentLabel(double value, int decimals) {
    const int exponent = DecadeExponent(std::fabs(value));
    const double mantissa = value / TimesPowerOfTen(1, exponent);
    const int digits = std::clamp(decimals + exponent, 0, 6);
    return TrimFraction(Fixed(mantissa, digits)) + "E" + std::to_string(exponent);
}

}  // namespace

std::vector<double> LinearTickValues(double min, double max, double step) {
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(min) || !std::isfinite(max)) return ticks;
    double first = std::trunc((min + 0.01 * step) / step) * step;
    if (min < 0) first -= step;
    if (first + 0.01 * step < min) first += step;
    // Whole multiples of the step, so that zero is exactly zero.
    const double firstMultiple = std::round(first / step);
    const double top = TopOfAxis(min, max);
    for (std::size_t i = 0; i < kMaxTicks; ++i) {
        const double v = (firstMultiple + static_cast<double>(i)) * step;
        if (v > top) break;
        ticks.push_back(v);
    }
    return ticks;
}

std::vector<double> LogTickValues(double min, double max, int divisions) {
    std::vector<double> ticks;
    if (!(min > 0) || !(max >= min) || !std::isfinite(max)) return ticks;
    const std::vector<double> table = LogDivisionTable(divisions);
    double e = std::log10(min);
    if (e < 0) e -= 1;
    int k = static_cast<int>(std::trunc(1.001 * e));
    if (TimesPowerOfTen(1, k) > min) --k;
    const double top = TopOfAxis(min, max);
    // The closing 10 of one decade is the 1 of the next, so each decade walks all but it.
    for (; ticks.size() < kMaxTicks && k <= 309; ++k) {
        for (std::size_t i = 0; i + 1 < table.size(); ++i) {
            const double v = TimesPowerOfTen(table[i], k);
            if (v > top) return ticks;
            if (v >= 0.999 * min) ticks.push_back(v);
        }
    }
    return ticks;
}

int LogLabelDecimals(double tick, int divisions) {
    const int extra = NormalLogDivisions(divisions) >= 5 ? 1 : 0;
    return std::max(0, -DecadeExponent(tick) + extra);
}

int StepDecimals(double step) {
    if (!(step > 0) || !std::isfinite(step)) return 0;
    for (int d = 0; d < 10; ++d) {
        const double scaled = TimesPowerOfTen(step, d);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * scaled) return d;
    }
    return 10;
}

std::string FormatTickLabel(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 20);
    if (!std::isfinite(value)) return "?";
    if (value != 0 && (decimals > 9 || std::fabs(value) >= 1e10))
        return ShortExponentLabel(value, decimals);
    std::string text = Fixed(value, decimals);
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::vector<AxisTick> AxisTicks(const AxisScale& scale, LabelRule rule) {
    std::vector<AxisTick> ticks;
    if (!scale.valid) return ticks;
    const double top = TopOfAxis(scale.min, scale.max);
    if (scale.log && scale.logTicks) {
        for (const double v : LogTickValues(scale.min, scale.max, scale.divisions)) {
            const bool labelled = scale.labelEveryTick || IsDecade(v);
            const bool grid = v > scale.min * 1.001 && v < top;
            ticks.push_back({v, labelled, grid, LogLabelDecimals(v, scale.divisions)});
        }
        return ticks;
    }
    const int decimals = scale.time               ? 0
                         : rule.autoLabelDecimals ? StepDecimals(scale.step)
                                                  : std::max(0, rule.labelDecimals);
    for (const double v : LinearTickValues(scale.min, scale.max, scale.step)) {
        if (scale.log && !(v > 0)) continue;  // a narrow log axis ticked linearly
        const bool grid = v > scale.min + 0.01 * scale.step && v < top;
        ticks.push_back({v, true, grid, decimals});
    }
    return ticks;
}

double AxisMetrics::Offset(double v) const {
    return log ? (std::log(v) - std::log(min)) * scale : (v - min) * scale;
}

double AxisMetrics::Value(double offset) const {
    return log ? min * std::exp(offset / scale) : min + offset / scale;
}

AxisMetrics CalcMetrics(const AxisScale& scale, double pixels) {
    const bool usable = scale.max > scale.min && (!scale.log || scale.min > 0);
    const double extent = !usable     ? 0
                          : scale.log ? std::log(scale.max) - std::log(scale.min)
                                      : scale.max - scale.min;
    if (!(extent > 0) || !std::isfinite(extent))
        throw ScalingError("CalcMetrics: XMin>=XMax (" + Fixed(scale.min, 6) +
                           " >= " + Fixed(scale.max, 6) + ")");
    return {scale.min, scale.max, scale.log, pixels / extent};
}

}  // namespace wachtrix::chart
