#include "chart/chart_view.h"

#include <algorithm>
#include <cmath>

namespace wachtrix::chart {
namespace {

// Ends closer than this (relative) cannot be told apart on the labels, nor stepped.
constexpr double kNarrowest = 1e-9;

}  // namespace

std::string AxisRangeError(double min, double max, bool log) {
    if (!std::isfinite(min) || !std::isfinite(max)) return "The limits must be numbers.";
    if (!(min < max)) return "The minimum must be less than the maximum.";
    if (log && !(min > 0)) return "The minimum of a logarithmic axis must be greater than 0.";
    if (max - min <= kNarrowest * std::max(std::fabs(min), std::fabs(max)))
        return "The range is too narrow.";
    return {};
}

std::optional<AxisRange> ZoomedRange(const AxisMetrics& axis, double from, double to) {
    const AxisRange range{axis.Value(std::min(from, to)), axis.Value(std::max(from, to))};
    if (!AxisRangeError(range.min, range.max, axis.log).empty()) return std::nullopt;
    return range;
}

bool AllYPositive(const SeriesList& list) {
    for (const auto& s : list)
        if (s->Active && s->Axis == SeriesAxis::YAxis && s->Count() > 0 && !(s->YMin() > 0))
            return false;
    return true;
}

std::vector<NearestPoint> NearestPoints(const SeriesList& list, const AxisMetrics& x, double at) {
    std::vector<NearestPoint> nearest;
    const double top = x.max + 1e-9 * (x.max - x.min);
    for (const auto& s : list) {
        if (!s->Active || s->Axis != SeriesAxis::YAxis) continue;
        std::optional<NearestPoint> best;
        double bestDistance = 0;
        for (const TDataPoint& p : s->Points()) {
            if (p.X < x.min || p.X > top || (x.log && !(p.X > 0))) continue;
            const double distance = std::fabs(x.Offset(p.X) - at);
            if (!best || distance < bestDistance) {
                best = NearestPoint{s.get(), p.X, p.Y - s->ZeroValue()};
                bestDistance = distance;
            }
        }
        if (best) nearest.push_back(*best);
    }
    return nearest;
}

std::string ReadoutValue(const AxisScale& scale, LabelRule rule, double v) {
    constexpr int kExtra = 2;
    if (scale.log && scale.logTicks && v > 0)
        return FormatTickLabel(v, LogLabelDecimals(v, scale.divisions) + kExtra);
    const int decimals =
        rule.autoLabelDecimals ? StepDecimals(scale.step) : std::max(0, rule.labelDecimals);
    return FormatTickLabel(v, decimals + kExtra);
}

AxisView ViewOf(const TAxis& axis) {
    return {axis.LogScale, axis.AutoSizing, axis.AutoStepping, axis.Min, axis.Max};
}

void ApplyView(TAxis& axis, const AxisView& view) {
    axis.LogScale = view.logScale;
    axis.AutoSizing = view.autoSizing;
    axis.AutoStepping = view.autoStepping;
    axis.Min = view.min;
    axis.Max = view.max;
}

void ChartView::RememberGiven() {
    if (!givenX_) givenX_ = ViewOf(x_);
    if (!givenY_) givenY_ = ViewOf(y_);
}

AxisView ChartView::GivenY(bool log) const {
    if (givenY_->logScale == log) return *givenY_;
    return {log, true, true, givenY_->min, givenY_->max};
}

void ChartView::Zoom(AxisRange x, AxisRange y) {
    RememberGiven();
    ApplyView(x_, {x_.LogScale, false, true, x.min, x.max});
    ApplyView(y_, {y_.LogScale, false, true, y.min, y.max});
}

void ChartView::Reset() {
    if (!givenX_) return;
    ApplyView(x_, *givenX_);
    ApplyView(y_, GivenY(y_.LogScale));
}

void ChartView::SetYLog(bool log) {
    if (y_.LogScale == log) return;
    RememberGiven();
    ApplyView(y_, GivenY(log));
}

bool ChartView::Zoomed() const {
    return givenX_ && (ViewOf(x_) != *givenX_ || ViewOf(y_) != GivenY(y_.LogScale));
}

}  // namespace wachtrix::chart
