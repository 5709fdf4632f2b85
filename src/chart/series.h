#pragma once
// A numbered series of a chart: the points (TDataSeries) with how they are drawn and which y
// axis they belong to. Defaults follow the number: series 1 green squares on a solid line,
// 2 blue circles dashed, 3 red triangles dotted, 4 grey diamonds dash-dot, 5 maroon open squares.

#include <cstdint>
#include <optional>

#include "chart/data_series.h"

namespace wachtrix::chart {

// Windows colour values, 0x00BBGGRR.
using TColor = std::uint32_t;

enum class SeriesAxis { YAxis, YAxis_Second };

class TSeries;

// What a series tells its graph.
class SeriesOwner {
public:
    virtual void SeriesChanged(TSeries& series) = 0;
    virtual void SeriesTooManyPoints(TSeries& series) = 0;

protected:
    ~SeriesOwner() = default;
};

class TSeries : public TDataSeries {
public:
    // Mark shapes: 0 square, 1 circle, 2 triangle, 3 diamond, 4 cross (drawn with a pen of half
    // the mark size); pen styles 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot.
    TSeries(SeriesOwner* owner, int number, bool duplicatesAllowed);

    int Number() const { return number_; }

    Property<bool> Active{*this, true};
    Property<bool> DrawLine{*this, true};
    Property<bool> DrawPoints{*this, true};
    Property<bool> FillPoints;
    Property<TColor> Color;
    Property<std::optional<TColor>> PointColor{*this, std::nullopt};  // unset: Color
    Property<int> PointShape;
    Property<int> LineStyle;
    Property<int> PointSize{*this, 4};
    Property<SeriesAxis> Axis{*this, SeriesAxis::YAxis};
    Property<bool> ShowInLegend{*this, false};

    TColor MarkColor() const { return PointColor().value_or(Color); }

protected:
    void Notify() override;
    void TooManyPoints() override;

private:
    SeriesOwner* owner_;
    int number_;
};

}  // namespace wachtrix::chart
