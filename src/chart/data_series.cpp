#include "chart/data_series.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace wachtrix::chart {

TDataSeries::TDataSeries(std::string name, bool duplicatesAllowed)
    : Name(*this, std::move(name)), DuplicatesAllowed(*this, duplicatesAllowed) {}

bool TDataSeries::AddPoint(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    const bool replaced = [&] {
        const std::size_t before = points_.size();
        Insert(x, y);
        return points_.size() == before;
    }();
    UpdateBounds(x, y, replaced);
    MarkChanged();
    if (MaxPoints > 0 && Count() > MaxPoints) TooManyPoints();
    Notify();
    return true;
}

void TDataSeries::Insert(double x, double y) {
    const double tolerance = NumericalTolerance;
    lastNumber_ = lastNumber_ == std::numeric_limits<std::int32_t>::max() ? 1 : lastNumber_ + 1;
    const TDataPoint point{lastNumber_, x, y};
    if (points_.empty() || x >= points_.back().X) {
        if (points_.empty() || DuplicatesAllowed || points_.back().X < x - tolerance)
            points_.push_back(point);
        else
            points_.back() = {points_.back().Number, x, y};
        return;
    }
    // The first point not below x - tolerance: before it, or in its place.
    const auto at = std::find_if(points_.begin(), points_.end(),
                                 [&](const TDataPoint& p) { return !(p.X < x - tolerance); });
    if (DuplicatesAllowed || std::fabs(at->X - x) > tolerance)
        points_.insert(at, point);
    else
        *at = {at->Number, x, y};
}

void TDataSeries::UpdateBounds(double x, double y, bool replaced) {
    if (points_.size() == 1) {
        if (autoZero_) zeroValue_ = y;
        bounds_ = {x, x, y - zeroValue_, y - zeroValue_};
        boundsStale_ = false;
    } else if (autoZero_ && y < zeroValue_) {
        zeroValue_ = y;
        boundsStale_ = true;
    } else if (replaced) {
        // The replaced point may have held a bound.
        boundsStale_ = true;
    } else if (!boundsStale_) {
        bounds_.xMin = std::min(bounds_.xMin, x);
        bounds_.xMax = std::max(bounds_.xMax, x);
        bounds_.yMin = std::min(bounds_.yMin, y - zeroValue_);
        bounds_.yMax = std::max(bounds_.yMax, y - zeroValue_);
    }
}

void TDataSeries::RecomputeBounds() const {
    if (!boundsStale_) return;
    bounds_ = {};
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const TDataPoint& p = points_[i];
        const double y = p.Y - zeroValue_;
        if (i == 0) {
            bounds_ = {p.X, p.X, y, y};
            continue;
        }
        bounds_.xMin = std::min(bounds_.xMin, p.X);
        bounds_.xMax = std::max(bounds_.xMax, p.X);
        bounds_.yMin = std::min(bounds_.yMin, y);
        bounds_.yMax = std::max(bounds_.yMax, y);
    }
    boundsStale_ = false;
}

double TDataSeries::XMin() const {
    RecomputeBounds();
    return bounds_.xMin;
}
double TDataSeries::XMax() const {
    RecomputeBounds();
    return bounds_.xMax;
}
double TDataSeries::YMin() const {
    RecomputeBounds();
    return bounds_.yMin;
}
double TDataSeries::YMax() const {
    RecomputeBounds();
    return bounds_.yMax;
}

void TDataSeries::Clear() {
    points_.clear();
    bounds_ = {};
    boundsStale_ = false;
    MarkChanged();
    Notify();
}

void TDataSeries::SetZeroValue(double zero) {
    if (zero == zeroValue_ && !autoZero_) return;
    zeroValue_ = zero;
    autoZero_ = false;
    boundsStale_ = true;
    MarkChanged();
    Notify();
}

void TDataSeries::SetAutoZero(bool on) {
    if (on == autoZero_) return;
    autoZero_ = on;
    if (on && !points_.empty()) {
        zeroValue_ = std::min_element(points_.begin(), points_.end(), [](auto& a, auto& b) {
                         return a.Y < b.Y;
                     })->Y;
        boundsStale_ = true;
    }
    MarkChanged();
    Notify();
}

void TDataSeries::PropertyChanged() {
    MarkChanged();
    Notify();
}

void TDataSeries::MarkChanged() {
    changed_ = true;
}

}  // namespace wachtrix::chart
