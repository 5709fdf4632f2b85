#include "chart/chart_scaling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace wachtrix::chart {
namespace {

// Ratios computed in floating point land a hair beside the exact value (1.2 / 0.2 is
// 5.999...); comparisons against whole numbers allow for that.
constexpr double kRelativeSlack = 1e-9;

bool Finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

double PowerOfTen(int k) {
    return TimesPowerOfTen(1, k);
}

double Mantissa(double v) {
    return v / PowerOfTen(DecadeExponent(v));
}

LinearLimits TimeAutoLimits(double lo, double hi, Dateticks type, int minSteps) {
    const double step = TimeStep(type, lo, hi > lo ? hi : lo + 1, minSteps);
    double min = std::floor(lo / step) * step;
    double max = std::ceil(hi / step) * step;
    if (!(max > min)) max = min + step;
    return {min, max, step};
}

// A time axis whose limits cannot be used ends now and starts five steps earlier.
LinearLimits TimeFixedLimits(double min, double max, Dateticks type, int minSteps, double now) {
    if (min >= 1 && max > min && Finite(min, max))
        return {min, max, TimeStep(type, min, max, minSteps)};
    const double step = type == Dateticks::dt_custom ? 1.0 : TimeStep(type, 0, 1, minSteps);
    return {now - 5 * step, now, step};
}

std::string Validate(const AxisScale& s) {
    if (!Finite(s.min, s.max) || !(s.max > s.min)) return "Max <= Min";
    if (s.log && !(s.min > 0)) return "Min <= 0 on a logarithmic axis";
    if (s.time && s.min < 1) return "Min < 1 on a time axis";
    return {};
}

void ApplyLinear(AxisScale& s, const LinearLimits& l) {
    s.min = l.min;
    s.max = l.max;
    s.step = l.step;
}

void ApplyLog(AxisScale& s, const LogSizing& l) {
    s.min = l.min;
    s.max = l.max;
    s.logTicks = !l.linear;
    if (l.linear) s.step = l.step;
    s.divisions = l.divisions;
}

void AutoRange(AxisScale& s, const AxisSettings& a, DataRange data, StepLimits limits) {
    double lo = data.lo;
    double hi = data.hi;
    if (hi - lo < a.minScaleLength) hi = lo + a.minScaleLength;
    if (!Finite(lo, hi)) throw ScalingError("SetMinMax failed");
    if (s.log) {
        if (!(lo > 0)) throw ScalingError("Non-positive data on a logarithmic axis");
        ApplyLog(s, LogAutoSize(lo, hi, {a.autoStepping, a.logCycleDivisions, a.stepSize, limits}));
    } else if (s.time) {
        ApplyLinear(s, TimeAutoLimits(lo, hi, a.dateTickType, limits.MinSteps));
    } else {
        ApplyLinear(s, SetMinMax(lo, hi, a.stepSize, a.autoStepping, limits));
    }
    s.changed = s.min != lo || s.max != hi;
}

void FixedRange(AxisScale& s, const AxisSettings& a, StepLimits limits, double now) {
    if (!Finite(a.min, a.max)) throw ScalingError("Axis limits are not numbers");
    if (s.log) {
        const LogLimits l = RepairLogLimits(a.min, a.max);
        s.min = l.min;
        s.max = l.max;
        s.logTicks = true;
        s.divisions = NormalLogDivisions(a.logCycleDivisions);
    } else if (s.time) {
        ApplyLinear(s, TimeFixedLimits(a.min, a.max, a.dateTickType, limits.MinSteps, now));
    } else {
        ApplyLinear(s, FixedLinearLimits(a.min, a.max, limits.MinSteps));
    }
}

// The step (or the divisions and labelling) chosen anew for the final limits.
void RestepValidAxis(AxisScale& s, const AxisSettings& a, StepLimits limits) {
    if (s.log && s.logTicks) {
        if (a.autoStepping) {
            s.divisions = ChooseLogDivisions(s.min, s.max, limits.MinSteps);
            s.labelEveryTick = LabelEveryLogTick(s.min, s.max, s.divisions);
        }
    } else if (s.time) {
        s.step = TimeStep(a.dateTickType, s.min, s.max, limits.MinSteps);
    } else if (a.autoStepping || !(s.step > 0)) {
        s.step = GetStep(s.min, s.max, limits.MinSteps);
    }
}

}  // namespace

double GetStep(double min, double max, int minSteps) {
    const double range = max - min;
    if (!(range > 0) || !std::isfinite(range)) throw ScalingError("GetStep entered with bad range");
    double e = std::log10(range);
    if (e < 0) e -= 1;
    const double base = PowerOfTen(static_cast<int>(std::trunc(1.001 * e)));
    for (const double divisor : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0}) {
        const double step = base / divisor;
        if (range / step >= minSteps * (1 - kRelativeSlack)) return step;
    }
    return base / 100;
}

double TimeStep(Dateticks type, double min, double max, int minSteps) {
    static constexpr std::array<double, 12> kDays = {
        1.0 / 1440, 5.0 / 1440, 30.0 / 1440, 1.0 / 24, 1, 7, 30, 61, 91, 365, 3654, 36540};
    const auto index = static_cast<std::size_t>(type);
    if (index < kDays.size()) return kDays[index];
    return GetStep(min, max, minSteps);
}

LinearLimits SetMinMax(double lo, double hi, double stepSize, bool autoStepping,
                       StepLimits limits) {
    if (!Finite(lo, hi)) throw ScalingError("SetMinMax failed");
    if (hi < lo) throw ScalingError("Impossible: oMin > oMax in SetMinMax!");
    LinearLimits out;
    if (lo == hi) {
        if (hi == 0) {
            out = {0, 1, GetStep(0, 1, limits.MinSteps)};
        } else if (hi > 0) {
            out.min = 0;
            out.step = GetStep(0, 1.2 * hi, limits.MinSteps);
            out.max = std::trunc(1.2 * hi / out.step) * out.step;
        } else {
            out.min = 1.2 * lo;
            out.max = 0;
            out.step = GetStep(out.min, 0, limits.MinSteps);
        }
    } else {
        double step = stepSize;
        const bool tooFine =
            limits.MaxSteps > 0 && step / (hi - lo) < 1.0 / static_cast<double>(limits.MaxSteps);
        if (autoStepping || !(step > 0) || tooFine) step = GetStep(lo, hi, limits.MinSteps);
        out.step = step;
        out.min = std::trunc(lo / step) * step;
        if (lo < 0) out.min -= step;
        if (lo - 0.01 * step < out.min) out.min -= step;
        out.max = std::trunc(hi / step) * step + step;
        if (hi < 0) out.max -= step;
        if (out.max < hi + 0.01 * step) out.max += step;
        if (lo > 0 && lo / (out.max - out.min) < 0.25)
            out.min = 0;
        else if (hi < 0 && -hi / (out.max - out.min) < 0.25)
            out.max = 0;
        // Times, states and probabilities never go below zero; neither does their axis.
        if (lo >= 0) out.min = std::max(out.min, 0.0);
    }
    if (!(out.max > out.min)) throw ScalingError("SetMinMax failed");
    return out;
}

LinearLimits FixedLinearLimits(double min, double max, int minSteps) {
    if (min == max) {
        if (min == 0) {
            min = -1;
            max = 1;
        } else {
            min = 0;
        }
    }
    if (min > max) std::swap(min, max);
    return {min, max, GetStep(min, max, minSteps)};
}

LogLimits RepairLogLimits(double min, double max) {
    if (min > max) std::swap(min, max);
    if (!(max > 0)) return {1, 10};
    if (!(min > 0) || min == max) min = max / 10;
    return {min, max};
}

int NormalLogDivisions(int logCycleDivisions) {
    if (logCycleDivisions <= 0) return 0;
    if (logCycleDivisions > 9) return 9;
    switch (logCycleDivisions) {
        case 3:
            return 2;
        case 4:
        case 6:
            return 5;
        case 8:
            return 7;
        default:
            return logCycleDivisions;
    }
}

std::vector<double> LogDivisionTable(int logCycleDivisions) {
    switch (NormalLogDivisions(logCycleDivisions)) {
        case 0:
            return {1, 10};
        case 1:
            return {1, 5, 10};
        case 2:
            return {1, 2, 5, 10};
        case 5:
            return {1, 1.5, 2, 3, 5, 7, 10};
        case 7:
            return {1, 1.5, 2, 3, 4, 5, 6, 8, 10};
        default:
            return {1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10};
    }
}

int ChooseLogDivisions(double min, double max, int minSteps) {
    const double decades = std::log10(max / min);
    if (!(decades > 0)) return 9;  // a single value: as fine as the tables go
    const double v = minSteps / decades;
    if (v > 10) return 9;
    if (v > 8) return 7;
    if (v > 6) return 5;
    if (v > 3) return 2;
    if (v > 2) return 1;
    return 0;
}

bool LabelEveryLogTick(double min, double max, int divisions) {
    return std::log10(max / min) * divisions < 10;
}

int DecadeExponent(double v) {
    if (!(v > 0)) throw ScalingError("Decade of a non-positive value");
    // Clamped so that the conversion to int is defined even for an infinite value.
    int k = static_cast<int>(std::clamp(std::floor(std::log10(v)), -400.0, 400.0));
    // log10 may land on the wrong side of an exact power of ten.
    if (PowerOfTen(k) > v) --k;
    if (k < std::numeric_limits<double>::max_exponent10 && PowerOfTen(k + 1) <= v) ++k;
    return k;
}

// Division by an exact power keeps 0.001, 0.05 and 1.5e-3 correctly rounded; below 1e-308 the
// divisor itself would overflow.
double TimesPowerOfTen(double mantissa, int k) {
    if (k >= 0) return mantissa * std::pow(10.0, k);
    if (k >= -std::numeric_limits<double>::max_exponent10) return mantissa / std::pow(10.0, -k);
    return mantissa * std::pow(10.0, k);
}

LogSizing LogAutoSize(double lo, double hi, const LogSizeRules& rules) {
    LogSizing out;
    out.min = lo == hi ? hi / 2 : lo;
    out.max = hi;
    out.divisions = rules.autoStepping ? ChooseLogDivisions(out.min, out.max, rules.limits.MinSteps)
                                       : NormalLogDivisions(rules.logCycleDivisions);
    const double ratio = out.max / out.min;
    if (ratio < 4) {
        const LinearLimits l =
            SetMinMax(out.min, out.max, rules.stepSize, rules.autoStepping, rules.limits);
        const LogLimits repaired = RepairLogLimits(l.min, l.max);
        return {repaired.min, repaired.max, true, l.step, out.divisions};
    }
    const int loDecade = DecadeExponent(lo);
    const int hiDecade = DecadeExponent(hi);
    if (ratio >= 30) {
        out.min = PowerOfTen(loDecade);
        out.max = PowerOfTen(hiDecade + 1);
        return out;
    }
    const std::vector<double> table = LogDivisionTable(out.divisions);
    const double loMantissa = Mantissa(lo) * (1 + kRelativeSlack);
    double minMantissa = 1;
    for (std::size_t i = table.size() - 1; i-- > 0;) {
        if (table[i] <= loMantissa) {
            minMantissa = table[i];
            break;
        }
    }
    const double hiMantissa = Mantissa(hi) * (1 - kRelativeSlack);
    double maxMantissa = 10;
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (table[i] >= hiMantissa) {
            maxMantissa = table[i];
            break;
        }
    }
    out.min = TimesPowerOfTen(minMantissa, loDecade);
    out.max = TimesPowerOfTen(maxMantissa, hiDecade);
    return out;
}

AxisScale ScaleAxis(const AxisSettings& settings, const std::optional<DataRange>& data,
                    StepLimits limits, double now) {
    AxisScale s;
    s.log = settings.logScale;
    s.time = settings.showAsTime && !settings.logScale;
    s.step = settings.stepSize;
    s.divisions = NormalLogDivisions(settings.logCycleDivisions);
    try {
        if (settings.autoSizing && data)
            AutoRange(s, settings, *data, limits);
        else
            FixedRange(s, settings, limits, now);
        s.error = Validate(s);
        s.valid = s.error.empty();
        if (s.valid) RestepValidAxis(s, settings, limits);
    } catch (const ScalingError& e) {
        s.valid = false;
        s.error = e.what();
    }
    return s;
}

}  // namespace wachtrix::chart
