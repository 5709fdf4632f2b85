#pragma once
// What the user does to a painted chart, as arithmetic on its axes and series: zooming to a
// dragged rectangle (in the axis's own space: a logarithmic axis zooms by ratios), fixing ranges,
// switching the y axis between linear and logarithmic, going back to the ranges as given, and
// reading off the points nearest the mouse. Acts on the x and the first y axis.
//
//   ZoomedRange(linear 0..10 over 100 px, 20, 50)     -> 2..5
//   ZoomedRange(log 0.001..1 over 300 px, 0, 100)    -> 0.001..0.01
//   AxisRangeError(2, 2, false)                      -> "The minimum must be less than ..."

#include <optional>
#include <string>
#include <vector>

#include "chart/axis_ticks.h"
#include "chart/chart_axis.h"
#include "chart/series_list.h"

namespace wachtrix::chart {

struct AxisRange {
    double min = 0;
    double max = 1;
    bool operator==(const AxisRange&) const = default;
};

// Why min..max cannot be the fixed range of an axis (linear or logarithmic); empty when it can.
std::string AxisRangeError(double min, double max, bool log);

// The range between two pixel offsets (either order) along a painted axis; nullopt when it is
// no usable range (reversed, non-positive on a log axis, too narrow to tell its ends apart).
std::optional<AxisRange> ZoomedRange(const AxisMetrics& axis, double from, double to);

// Whether every y value of the active series on the first y axis is above zero, so that a
// logarithmic axis can show them all (true for no points).
bool AllYPositive(const SeriesList& series);

struct NearestPoint {
    const TSeries* series = nullptr;
    double x = 0;
    double y = 0;  // as plotted: from the series' zero value
};

// For each active series of the first y axis, its point nearest in pixels along x to `at` (an
// offset along the x axis), among the points within the x axis's range.
std::vector<NearestPoint> NearestPoints(const SeriesList& series, const AxisMetrics& x, double at);

// A value as the readout writes it: the format of the axis labels with two more decimals than
// the labels there, so that neighbouring points tell apart.
//   linear step 0.5: 0.25 -> "0.250"      log: 0.000123 -> "0.000123", 0.25 -> "0.250"
std::string ReadoutValue(const AxisScale& scale, LabelRule rule, double v);

// The range settings of an axis.
struct AxisView {
    bool logScale = false;
    bool autoSizing = true;
    bool autoStepping = true;
    double min = 0;
    double max = 1;
    bool operator==(const AxisView&) const = default;
};

AxisView ViewOf(const TAxis& axis);
void ApplyView(TAxis& axis, const AxisView& view);

// Zoom and scale changes on the x and first y axes, remembering the settings they had before
// the first change (as the chart's owner set them) to go back to.
class ChartView {
public:
    ChartView(TAxis& x, TAxis& y) : x_(x), y_(y) {}

    // Fixed ranges, stepped anew for their width. The caller checks them (AxisRangeError).
    void Zoom(AxisRange x, AxisRange y);
    // The ranges as given, the y axis keeping its current kind (see SetYLog).
    void Reset();
    // A linear or logarithmic y axis: the range as given when that is the kind it was given
    // with, otherwise the data's own range.
    void SetYLog(bool log);
    // Whether the ranges differ from those Reset goes back to.
    bool Zoomed() const;

private:
    void RememberGiven();
    AxisView GivenY(bool log) const;

    TAxis& x_;
    TAxis& y_;
    std::optional<AxisView> givenX_, givenY_;
};

}  // namespace wachtrix::chart
