#pragma once
// One axis of the chart: the published settings and the scale it was last painted with.

#include <cstdint>
#include <string>

#include "chart/chart_scaling.h"
#include "chart/property.h"

namespace wachtrix::chart {

enum class AxisKind { X, Y, YSecond };

enum class TAxisOffsetType {
    ao_Minimum,     // crosses the other axis at its minimum
    ao_Maximum,     // at its maximum
    ao_percentage,  // Offset per cent along it
    ao_absolute,    // at the value Offset on it
};

class TAxis {
public:
    TAxis(PropertyOwner& graph, AxisKind kind);
    TAxis(const TAxis&) = delete;
    TAxis& operator=(const TAxis&) = delete;

    AxisKind Kind() const { return kind_; }

    Property<std::string> Title;
    Property<int> LabelDecimals;
    Property<bool> AutoLabelDecimals;
    Property<std::int16_t> LogCycleDivisions;
    Property<bool> LogScale;
    Property<double> Min;
    Property<double> Max;
    Property<double> StepSize;
    Property<double> MinScaleLength;
    Property<bool> ShowAsTime;
    Property<std::string> DateTimeFormat;  // "dd-mmm": d day, m month, y year, h hour, n minute
    Property<Dateticks> DateTickType;
    Property<bool> ShowAxis;
    Property<bool> Reversed;  // ticks and labels on the far side of the axis line
    Property<TAxisOffsetType> OffsetType;
    Property<double> Offset;
    Property<bool> Gridlines;
    Property<bool> AutoSizing;
    Property<bool> AutoStepping;

    AxisSettings Settings() const;

    // The scale of the last painting (limits, step, divisions, validity); the graph records it.
    const AxisScale& Scale() const { return scale_; }
    void RecordScale(AxisScale scale) { scale_ = std::move(scale); }

private:
    AxisKind kind_;
    AxisScale scale_;
};

}  // namespace wachtrix::chart
