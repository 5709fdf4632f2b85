#pragma once
// The simulation twin of a tab: the model's own run beside R independent replications of the
// system it describes (QueueModelSpec::twin), figure by figure. Each replication discards a
// warm-up of a tenth of its customers, then counts n; a figure's estimate is the mean of its R
// replication values and its error bar the 95% confidence half-width t(R-1) s / sqrt(R) from
// their spread (Student t). A row whose analysis lies more than three half-widths from the
// estimate (beyond the printed digits) ends in "!".
//
//   Simulation: 10 runs of 100000 customers, seed 1
//   figure        analysis    simulation   +-95%
//   Pwait         0.711111    0.71102      0.00155
//   E(Wq)         1.7778      1.7771       0.0164
//
// The rows are the figures the run printed that the simulation can estimate: the statistics
// block, and the table the Output group asked for at each of its t, p or n values.
//   Pwait, Pbusy, Prej, Pab   shares of the counted customers (Pbusy: of the time window)
//   E(Wq), Std(Wq)            of the admitted customers' waits (an abandoner's: its patience)
//   E(Wq|served)              of the served customers' waits
//   E(Lq), Std(Lq)            time averages of the queue length (not Little's law, so that the
//                             simulation checks the model's own figure independently)
//   Utilization, Throughput   time average of the busy servers, per server and in all
//   P{Wq>t}, P{V>t}           shares of waits (offered waits) longer than t
//   Percentile                the empirical p-quantile of each replication's waits
//   P{L=n}, P{L(time)=n} ...  time in state n; P{L(cust)=n}: arrivals that found n
//   p(i,j,t) ... Std Lq(i,t)  over the sample paths of the transient M/M/1 at each t

#include <cstdint>
#include <string>
#include <vector>

#include "core/queue/queue_model.h"
#include "core/queue/queue_simulator.h"

namespace wachtrix {

// About a second in the window for the heavier systems.
inline constexpr long long kDefaultSimulatedCustomers = 100000;
inline constexpr int kDefaultSimulationRuns = 10;
inline constexpr std::uint64_t kDefaultSimulationSeed = 1;
inline constexpr long long kMostSimulatedCustomers = 1000000000;
inline constexpr int kMostSimulationRuns = 1000;
// A percentile needs every wait of a run kept: up to this many customers a run (160 MB).
inline constexpr long long kMostPercentileCustomers = 20000000;

struct SimulationOptions {
    long long customers = kDefaultSimulatedCustomers;  // counted per run (paths: transient)
    int runs = kDefaultSimulationRuns;                 // 2 or more, for an interval
    std::uint64_t seed = kDefaultSimulationSeed;
};

// The customers each run discards before it counts: a tenth.
long long WarmupCustomers(long long customers);

// What keeps the options from a simulation of this model, empty when nothing: a tab with
// nothing to simulate, fewer than two runs, no customers, more than the limits.
std::string CheckSimulation(const QueueModelSpec& model, const SimulationOptions& options);

struct SimulatedFigure {
    std::string figure;    // "Pwait", "P{Wq>0.5}", "Percentile 0.9"
    std::string analysis;  // as the run prints it
    double estimate = 0, halfWidth = 0;
    bool far = false;  // the analysis more than three half-widths from the estimate
};

struct Simulation {
    SimulationOptions options;
    bool paths = false;   // runs of sample paths (the transient M/M/1), not customers
    std::string refusal;  // the tab refused the fields: nothing simulated
    int runsDone = 0;     // fewer than asked when stopped
    bool stopped = false;
    std::vector<SimulatedFigure> figures;  // empty with fewer than two runs done
    bool percentilesLeftOut = false;       // more customers a run than percentiles keep
};

// The model's run and its simulation for the form's fields, choices and value groups. `progress`
// hears of the customers (paths) done, warm-ups included, out of all; false stops the
// simulation after the runs already complete. The options must pass CheckSimulation.
Simulation SimulateModel(const QueueModelSpec& model, const QueueForm& form,
                         const SimulationOptions& options, const SimulationProgress& progress = {});

// The block the report gets: the heading, a row per figure, then an empty line.
void WriteSimulationBlock(ResultWriter& out, const Simulation& simulation);

// The mean of the replication values and its 95% half-width (0 for a single value).
struct Interval {
    double mean = 0, halfWidth = 0;
};
Interval ConfidenceInterval(const std::vector<double>& values);

// The analysis as printed lies more than three half-widths from the estimate, beyond what its
// rounding to the printed digits explains; a text that is no number ("undefined") never does.
bool FarFromEstimate(const std::string& analysis, double estimate, double halfWidth);

}  // namespace wachtrix
