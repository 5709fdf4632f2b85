#pragma once
// The points of one chart series, kept in ascending x order, with their bounds.
//
//   AddPoint(3, 0); AddPoint(1, 0); AddPoint(2, 0)   -> x order 1, 2, 3
//   AddPoint(1, 4); AddPoint(1, 5)                   -> one point (1, 5) unless duplicates are
//                                                       allowed
// y values are measured from ZeroValue: YMin and YMax bound y - ZeroValue.

#include <cstdint>
#include <string>
#include <vector>

#include "chart/property.h"

namespace wachtrix::chart {

struct TDataPoint {
    std::int32_t Number = 0;  // running number, increasing with every point added
    double X = 0;
    double Y = 0;
};

class TDataSeries : protected PropertyOwner {
public:
    explicit TDataSeries(std::string name = "Series", bool duplicatesAllowed = false);
    virtual ~TDataSeries() = default;
    TDataSeries(const TDataSeries&) = delete;
    TDataSeries& operator=(const TDataSeries&) = delete;

    // Adds (or, for an x already present and no duplicates, replaces) a point. A point with a
    // non-finite x or y cannot be placed on an axis and is not stored: the answer is false.
    bool AddPoint(double x, double y);
    void Clear();

    int Count() const { return static_cast<int>(points_.size()); }
    const std::vector<TDataPoint>& Points() const { return points_; }

    // Bounds of x and of y - ZeroValue; 0 for an empty series.
    double XMin() const;
    double XMax() const;
    double YMin() const;
    double YMax() const;

    double ZeroValue() const { return zeroValue_; }
    void SetZeroValue(double zero);  // also switches AutoZero off
    bool AutoZero() const { return autoZero_; }
    void SetAutoZero(bool on);  // on: the zero follows the smallest y

    Property<std::string> Name;
    Property<double> NumericalTolerance{*this, 0.0};  // x values closer than this are one x
    Property<bool> DuplicatesAllowed;
    Property<int> MaxPoints{*this, 0};  // 0: unlimited

    // Set by every change; whoever rescales clears it.
    bool Changed() const { return changed_; }
    void ClearChanged() { changed_ = false; }

protected:
    // Every change ends here.
    virtual void Notify() {}
    // More points than MaxPoints.
    virtual void TooManyPoints() {}
    void PropertyChanged() override;

private:
    void Insert(double x, double y);
    void UpdateBounds(double x, double y, bool replaced);
    void RecomputeBounds() const;
    void MarkChanged();

    std::vector<TDataPoint> points_;
    std::int32_t lastNumber_ = 0;
    double zeroValue_ = 0;
    bool autoZero_ = false;
    bool changed_ = false;

    struct Bounds {
        double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    };
    mutable Bounds bounds_;
    mutable bool boundsStale_ = false;
};

}  // namespace wachtrix::chart
