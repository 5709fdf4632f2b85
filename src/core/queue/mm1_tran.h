#pragma once
// The M/M/1 queue started with i customers: the probability of j customers at time t, of at most
// j, and the mean and standard deviation of the number in the system and in the queue. Up to
// (1 + rho) t = 200 they come from the distribution by uniformisation (Poisson-weighted steps of
// the jump chain); later from the classical integral representation of the transition
// probabilities over [0, pi], evaluated by the 275-point Gauss-Legendre rule in extended
// precision. Time in mean service times, arrival rate rho.

#include <optional>
#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"
#include "core/text/result_writer.h"

namespace wachtrix {

// The "Transient M/M/1" tab's limits. The bound on i depends on rho (MM1MaxInitialState); its
// field holds the cap, and its label follows the typed rho.
inline constexpr FieldLimit kMM1TranLoad{"rho", "arrival rate (load)", 0, 0.9901, "<=0.99"};
inline constexpr FieldLimit kMM1TranInitialState{
    "i", "initial state, at most trunc(-16 ln 10 / ln rho)", 0, 100, "", true};
inline constexpr FieldLimit kMM1TranEndState{"j", "end state", 0, 100, "<= 100", true};
inline constexpr FieldLimit kMM1TranHorizon{"T", "end time of a graph", 0.01, 1e6,
                                            "0.01 <= t <= 1e6"};
// The table's time values start at 0, below the caption's 0.01: t = 0 shows the initial state.
inline constexpr ValueGroupLimit kMM1TranGroups[] = {
    {'T', 1e6, "t-values (0.01 <= t <= 1e6)", "time values of the table"}};
inline constexpr OutputItem kMM1TranOutputItems[] = {
    {"Tables of moments of queue size", kMomentTable, ValueGroupKind::T},
    {"Graph of state probabilities", kGraphs},
    {"Graph of cumulative state probabilities", kGraphs},
    {"Graph of mean queue size", kGraphs},
    {"Graph of standard deviation queue size", kGraphs},
};
inline constexpr OutputGroup kMM1TranOutput{kMM1TranOutputItems};

// A smaller load is computed as this one.
inline constexpr double kMM1TranRhoFloor = 1e-9;

// The largest initial state i: the state at which rho^i falls to 1e-16, at most 100, so that the
// factor rho^(-i/2) of the integrands cannot swamp the extended precision of the sum. A rho at or
// below 1e-9 counts as 1e-9; from 1 on the cap holds.
//   MM1MaxInitialState(0.5) -> 53    MM1MaxInitialState(0) -> 1    MM1MaxInitialState(0.99) -> 100
int MM1MaxInitialState(double rho);

// What a graph shows; the values are the run's graph codes.
enum class MM1GraphKind { StateProbability = 0, Cumulative = 1, MeanQueue = 3, StdQueue = 5 };

// The graph items 1 to 4 of the Output group in order: p, P, ELq, Std Lq.
MM1GraphKind MM1GraphKindOfItem(int item);

// The probability graphs read the end state j; the queue-size graphs do not.
bool MM1GraphReadsEndState(MM1GraphKind kind);

// The "Transient M/M/1" tab: the table into Results, or one graph window (class GMC).
extern const QueueModelSpec kMM1TranModel;

// The initial state's range label for a typed rho: "<= 53" for 0.5; none near 1 or above 10,
// where no bound applies.
std::string MM1InitialStateRangeLabel(double rho);

// The pieces of the run, for the tests and the benchmarks.

// Checked parameters; rho already raised to the floor. j is 0 where the output does not read it.
struct MM1TranParameters {
    double rho = 0;
    int i = 0, j = 0;
    double T = 0;  // graphs only
};

struct MM1TranMeasures {
    long double p = 0;      // p(i,j,t)
    long double P = 0;      // P(i,j,t), at most j customers
    long double EL = 0;     // E L(t)
    long double EL2 = 0;    // E L(t)^2
    long double ELq = 0;    // E Lq(t)
    long double StdL = 0;   // Std L(t)
    long double StdLq = 0;  // Std Lq(t)
};

class MM1Transient {
public:
    // rho in [1e-9, 1) (validation raises smaller loads to the floor).
    MM1Transient(double rho, int i, int j);

    long double StateProbability(long double t) const;  // p(i,j,t)
    long double Cumulative(long double t) const;        // P(i,j,t)
    MM1TranMeasures Measures(long double t) const;      // all of them

    // The value a graph of this kind shows at t (fewer sums than all measures).
    long double GraphValue(MM1GraphKind kind, long double t) const;

private:
    struct Node {
        long double weight;  // 2/pi times the rule's weight
        long double g;       // 1 + rho - 2 sqrt(rho) cos y
        long double lnG;
        long double p;       // factor of the integrand of p(i,j,t)
        long double p0;      // the same for j = 0
        long double P;       // factor of the integrand of P(i,j,t)
        long double moment;  // factor of the integrands of the moments
    };
    struct QueueSize {
        long double EL, EL2, p0;
    };

    using Factor = long double Node::*;

    // The whole distribution at t by uniformisation, where (1 + rho) t is at most
    // kUniformisedSpan: sums of positive terms, right to the last digit for every probability
    // and moment, where the integrals would be differences of terms near their stationary
    // values (t = 0 gives the initial state exactly).
    std::optional<std::vector<long double>> Uniformised(long double t) const;
    static MM1TranMeasures FromDistribution(const std::vector<long double>& d, int j);

    // (2/pi) * sum of w * SafeExp(offset - t g - lnGPower ln g) * factor over the nodes.
    long double Integral(long double offset, int lnGPower, Factor factor, long double t) const;
    long double StateProbabilityAt(int j, Factor factor, long double t) const;
    QueueSize QueueSizeAt(long double t, std::optional<long double> p0) const;
    static MM1TranMeasures Complete(long double p, long double P, QueueSize q);

    long double rho_, lnRho_;
    int i_, j_;
    std::vector<Node> nodes_;
};

// The 201 points t = k T / 200, k = 0..200, of the chosen measure.
std::vector<ChartPoint> MM1TranGraphPoints(const MM1Transient& model, MM1GraphKind kind, double T);

// The graph window's labels (title, CA2, c, Rho, Service) and the chart's settings and points.
std::vector<std::string> MM1TranGraphLabels(const MM1TranParameters& p, MM1GraphKind kind);
ChartPlot MM1TranChartPlot(MM1GraphKind kind, double T, std::vector<ChartPoint> points);

// The table: its header and one row per time value.
std::string MM1TranTableHeader();
std::string MM1TranTableRow(double t, const MM1TranMeasures& m);

// Title, parameter line, the table of the given time values (none: no table), closing line.
void WriteMM1TranReport(ResultWriter& out, const MM1TranParameters& p, const MM1Transient& model,
                        const ValueList& t);

}  // namespace wachtrix
