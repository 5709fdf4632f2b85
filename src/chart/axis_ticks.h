#pragma once
// Ticks, labels and the pixel mapping of a scaled axis.
//
//   linear -5..40 step 5        -> ticks -5, 0, 5, ... 40, labels "-5" ... "40"
//   log 0.001..1, 0 divisions   -> ticks 0.001, 0.01, 0.1, 1, labels "0.001" "0.01" "0.1" "1"
//   log 0.001..1, 2 divisions   -> ticks 0.001, 0.002, 0.005, 0.01 ...; only decades labelled
//                                  unless the scale labels every tick

#include <string>
#include <vector>

#include "chart/chart_scaling.h"

namespace wachtrix::chart {

struct AxisTick {
    double value = 0;
    bool labelled = false;
    bool gridline = false;  // not on the axis line itself
    int decimals = 0;       // of its label
    bool operator==(const AxisTick&) const = default;
};

// How the labels of a linear axis are written.
struct LabelRule {
    int labelDecimals = 1;
    bool autoLabelDecimals = true;
};

// The ticks of a valid scale from its minimum up to its maximum.
std::vector<AxisTick> AxisTicks(const AxisScale& scale, LabelRule rule);

// Linear tick values: whole steps from the first one at or above min.
std::vector<double> LinearTickValues(double min, double max, double step);

// Logarithmic tick values: the division table walked decade by decade from min to max.
std::vector<double> LogTickValues(double min, double max, int divisions);

// Decimals of a log label: those of the tick's decade, one more for tables with 1.5, 2.5.
//   (0.001, 2) -> 3    (0.0015, 5) -> 4    (100, 2) -> 0
int LogLabelDecimals(double tick, int divisions);

// The fewest decimals that write the step exactly: 0.2 -> 1, 5 -> 0, 0.25 -> 2.
int StepDecimals(double step);

// Fixed notation with the decimals; values beyond the fixed range in short exponent form.
//   (0.001, 3) -> "0.001"    (-0.0, 1) -> "0.0"    (1e-12, 12) -> "1E-12"
std::string FormatTickLabel(double value, int decimals);

// Pixels per unit (per unit of ln for a log axis) over a pixel length.
struct AxisMetrics {
    double min = 0;
    double max = 1;
    bool log = false;
    double scale = 1;
    // Distance in pixels of v from the axis minimum.
    double Offset(double v) const;
    // The value that far from the minimum: Value(Offset(v)) == v up to rounding.
    double Value(double offset) const;
};

// Throws ScalingError "CalcMetrics: XMin>=XMax" when the scale has no extent.
AxisMetrics CalcMetrics(const AxisScale& scale, double pixels);

}  // namespace wachtrix::chart
