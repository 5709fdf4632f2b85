#pragma once
// The M/M/c/c+N graphs: the rejection probability, or the probability that an admitted customer
// waits longer than t, of the M/M/c/c+N queue as the number of servers c or the number of
// waiting places N runs over a range with the other fixed. The inputs are the arrival rate and
// the mean service time, so the load per server lambda ES / c falls as c grows. Each point is
// the finite-capacity model's own figure, with the whole waiting room (no cut).
//
//   lambda 2, ES 1, N 0, c = 1..3, Prej -> Erlang's loss 2/3, 2/5, 4/19

#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

inline constexpr FieldLimit kMmcnArrival{"lambda", "average arrival rate", 0.01, 1000,
                                         "0.01 <= lambda <= 1000"};
inline constexpr FieldLimit kMmcnServiceTime{"es", "mean service time", 0.01, 1000,
                                             "0.01 <= ES <= 1000"};
inline constexpr FieldLimit kMmcnTime{"t", "time t of P{Wq>t} (y=1)", 0, 2500, "0 <= t <= 2500"};
// Varying c (vary=0): the fixed capacity and the range of c.
inline constexpr FieldLimit kMmcnCapacity{"N", "fixed capacity N (vary=0)", 0, 100, "0...100",
                                          true};
inline constexpr FieldLimit kMmcnServersFrom{"from", "first c (vary=0)", 1, 100, "1...100", true};
inline constexpr FieldLimit kMmcnServersTo{"to", "last c (vary=0)", 1, 100, "1...100", true};
// Varying N (vary=1): the fixed number of servers and the range of N.
inline constexpr FieldLimit kMmcnServers{
    "c", "fixed number of servers c (vary=1)", 1, 100, "1...100", true};
inline constexpr FieldLimit kMmcnCapacityFrom{"from", "first N (vary=1)", 0, 100, "0...100", true};
inline constexpr FieldLimit kMmcnCapacityTo{"to", "last N (vary=1)", 0, 100, "0...100", true};

// The "M/M/c/c+N" tab: draws the curve in a new window; nothing is written to Results.
extern const QueueModelSpec kMmcnModel;

enum class MmcnVary { Servers, Capacity };  // "Graph X-Axis" items 0 and 1
enum class MmcnY { Rejection, Waiting };    // "Graph Y-Axis" items 0 and 1

struct MmcnCurve {
    double lambda = 1, ES = 1;
    MmcnVary vary = MmcnVary::Servers;
    int fixed = 0;  // N when c varies, c when N varies
    int from = 0, to = 0;
    MmcnY y = MmcnY::Rejection;
    double t = 0;  // in the time unit of ES
};

// (v, y) for v = from..to; a load too small for reliable results gives y = 0.
std::vector<ChartPoint> MmcnPoints(const MmcnCurve& curve);

// The chart of the curve: titles, the fixed linear axis 0..1, marks for up to 25 points.
ChartPlot MmcnPlot(const MmcnCurve& curve, std::vector<ChartPoint> points);

}  // namespace wachtrix
