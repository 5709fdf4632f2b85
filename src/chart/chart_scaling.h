#pragma once
// The arithmetic of the chart axes: step choice, automatic and fixed limits, logarithmic
// divisions. Plain values in, plain values out; range errors are ScalingError exceptions.
//
//   GetStep(0, 1, 5)  -> 0.2          GetStep(0, 37, 5) -> 5
//   SetMinMax(0, 37, 0, true, {})     -> min 0, max 40, step 5
//   SetMinMax(-1, 37, 0, true, {})    -> min -5, max 40, step 5
//   ChooseLogDivisions(0.001, 1, 5)   -> 0 (three decades: ticks 1, 10, 100 times 0.001)

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wachtrix::chart {

class ScalingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Tick steps of a time axis (values in days).
enum class Dateticks {
    dt_minute,
    dt_5minute,
    dt_halfhourly,
    dt_hourly,
    dt_daily,
    dt_weekly,
    dt_monthly,
    dt_2monthly,
    dt_quarterly,
    dt_annually,
    dt_decade,
    dt_century,
    dt_custom,
};

// The graph's bounds on the number of steps of a linear axis.
struct StepLimits {
    int MinSteps = 5;
    int MaxSteps = 50;
};

// A round step (1, 5 or 2 times a power of ten, or a tenth of one of these) giving at least
// minSteps steps over max - min.
double GetStep(double min, double max, int minSteps);

// The fixed step of a time axis; dt_custom chooses by GetStep.
double TimeStep(Dateticks type, double min, double max, int minSteps);

struct LinearLimits {
    double min = 0;
    double max = 1;
    double step = 0.2;
    bool operator==(const LinearLimits&) const = default;
};

// Limits on whole steps around the data range [lo, hi], never below 0 for data that is not; the
// current stepSize is kept unless autoStepping is on or it is unusable.
LinearLimits SetMinMax(double lo, double hi, double stepSize, bool autoStepping, StepLimits limits);

// Limits the user fixed: equal limits widened, reversed ones exchanged, step by GetStep.
LinearLimits FixedLinearLimits(double min, double max, int minSteps);

struct LogLimits {
    double min = 1;
    double max = 10;
    bool operator==(const LogLimits&) const = default;
};

// Makes limits usable on a logarithmic axis: reversed limits exchanged, a non-positive or
// equal minimum becomes a tenth of the maximum, a non-positive maximum gives 1..10.
//   (1, 0.01) -> 0.01..1     (-5, 2) -> 0.2..2     (0, -1) -> 1..10     (3, 3) -> 0.3..3
LogLimits RepairLogLimits(double min, double max);

// Divisions per decade as the tables know them: 0, 1, 2, 5, 7 or 9.
int NormalLogDivisions(int logCycleDivisions);

// The mantissas of one decade, from 1 to the closing 10.
//   2 -> {1, 2, 5, 10}     0 -> {1, 10}
std::vector<double> LogDivisionTable(int logCycleDivisions);

// The divisions per decade that give about minSteps ticks over min..max.
int ChooseLogDivisions(double min, double max, int minSteps);

// Whether every tick is labelled, or only the decades.
bool LabelEveryLogTick(double min, double max, int divisions);

// The k with 10^k <= v < 10^(k+1); ScalingError when v is not positive.
int DecadeExponent(double v);

// mantissa x 10^k, correctly rounded for the table values: (5, -2) -> 0.05, (1.5, -3) -> 0.0015.
double TimesPowerOfTen(double mantissa, int k);

struct LogSizing {
    double min = 1;
    double max = 10;
    bool linear = false;  // range too narrow for decades: sized and ticked like a linear axis
    double step = 0;      // the step when linear
    int divisions = 2;    // the divisions the limits were rounded to
};

struct LogSizeRules {
    bool autoStepping = true;
    int logCycleDivisions = 2;
    double stepSize = 0;
    StepLimits limits;
};

// Limits of a logarithmic axis for the positive data range [lo, hi].
LogSizing LogAutoSize(double lo, double hi, const LogSizeRules& rules);

// What an axis holds that scaling reads.
struct AxisSettings {
    bool logScale = false;
    bool showAsTime = false;
    bool autoSizing = true;
    bool autoStepping = true;
    double min = 0;
    double max = 1;
    double stepSize = 0.2;
    double minScaleLength = 0;
    int logCycleDivisions = 2;
    Dateticks dateTickType = Dateticks::dt_minute;
};

// The smallest and largest value of the series on an axis.
struct DataRange {
    double lo = 0;
    double hi = 0;
};

// The scale an axis is painted with.
struct AxisScale {
    bool valid = false;
    std::string error;  // why the axis is not valid
    double min = 0;
    double max = 1;
    double step = 0.2;
    bool log = false;       // values mapped logarithmically
    bool logTicks = false;  // ticks from the division table (a narrow log axis ticks linearly)
    bool time = false;
    int divisions = 0;
    bool labelEveryTick = false;
    bool changed = false;  // limits differ from the data range
};

// Auto-ranging (or the fixed-limit rules) followed by the validity check and, with
// autoStepping, the final step or divisions. `now` is the current time in days, for time axes
// without usable limits. Never throws: a failure gives an invalid scale with its reason.
AxisScale ScaleAxis(const AxisSettings& settings, const std::optional<DataRange>& data,
                    StepLimits limits, double now);

}  // namespace wachtrix::chart
