#pragma once
// The M/M/c queue: c exponential servers, Poisson arrivals, first come first served, unlimited
// waiting room; time in mean service times. Erlang's delay formula by a scaled recursion, checked
// against a closed form in logarithms.

#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

inline constexpr FieldLimit kMmcServers{"c", "number of servers", 1, 2500, "<=2500", true};
inline constexpr FieldLimit kMmcLoad{"rho", "load per server", 1e-10, 0.999, "<=0.999", false,
                                     1e-10};
inline constexpr ValueGroupLimit kMmcGroups[] = {
    {'T', 2500, "t-values (<= 2500)"},
    {'N', 5000, "n-values (<= 5000)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};

// The "M/M/c" tab; Graphs opens one window with both charts.
extern const QueueModelSpec kMmcModel;

// The pieces of the run, for the tests and the benchmarks.

// Loads too small for reliable results: rho at or below 10^(-9 / c^0.75) up to 25 servers, then
// a threshold rising with c.
bool MmcRhoTooSmall(int c, double rho);

// The closed-form term R / rho, where R / (1 - rho) is the delay probability.
long double MmcClosedFormTerm(int c, double rho);

struct MmcSolution {
    int c = 1;
    double rho = 0;
    double pcMinus1 = 0;  // P{L = c-1}
    double Pdelay = 0;
    double ELq = 0, EWq = 0, StdWq = 0, StdLq = 0;
    std::vector<double> P;  // P[n] = P{L <= n}, n = 0..c-1
    // P{L = n} and P{L > n}, n = 0..c-1, without subtracting from P[n] where that is near 1,
    // so that small probabilities keep their digits.
    std::vector<double> equal, greater;
};

MmcSolution SolveMMC(int c, double rho);

double MmcWaitingTail(const MmcSolution& s, double t);    // P{Wq > t}
double MmcPercentile(const MmcSolution& s, double p);     // negative when undefined
double MmcStateProbability(const MmcSolution& s, int n);  // P{L = n}
double MmcStateTail(const MmcSolution& s, int n);         // P{L > n}
double MmcAccuracy(const MmcSolution& s, long double closedFormTerm);

std::vector<ChartPoint> MmcWaitingGraphPoints(const MmcSolution& s);  // P{Wq>t | Wq>0}
std::vector<ChartPoint> MmcQueueGraphPoints(const MmcSolution& s);    // P{L>n | L>0}

}  // namespace wachtrix
