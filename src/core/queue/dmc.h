#pragma once
// The D/M/c queue: constant interarrival times, c exponential servers, first come first served,
// unlimited waiting room; time in mean service times. From the chain embedded at arrivals
// (dmc_beta.h): the delay probability, a waiting time that is exponential with rate c (1 - beta)
// once a customer waits, and the states as seen over time and as seen by arrivals.

#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/gimc_statistics.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"
#include "core/queue/queue_statistics.h"

namespace wachtrix {

inline constexpr FieldLimit kDmcServers{"c", "number of servers", 1, 500, "<=500", true};
// The label has always said 0.99; loads up to 0.999 are computed all the same.
inline constexpr FieldLimit kDmcLoad{"rho", "load per server", 1e-10, 0.999, "<=0.99", false,
                                     1e-10};
inline constexpr ValueGroupLimit kDmcGroups[] = {
    {'T', 2500, "t-values (<= 2500)"},
    {'N', 1250, "n-values (<= 1250)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};
// The "D/M/c" tab; Graphs opens one window with the conditional curve the tab's graph group
// picks. Loads too small for reliable results end with a message line, as does a waiting-time
// graph of a negligible delay probability.
extern const QueueModelSpec kDmcModel;

// The pieces of the run, for the tests and the benchmarks.

// Loads too small for reliable results: rho at or below 0.015 sqrt(1.5 c) up to 10 servers,
// 0.025 sqrt(1.5 c) up to 100, then 0.5, 0.55 and 0.6 from 101, 131 and 181 servers.
bool DmcRhoTooSmall(int c, double rho);

struct DmcSolution : GimcStatistics {
    int c = 1;
    double rho = 0;
    double beta = 0;
    double piTop = 0;            // pi_(c-1): an arrival finds c - 1 customers
    std::vector<long double> x;  // pi_j / pi_(c-1), j = 0..c-2
    double balanceResidual = 0;
    std::vector<double> T;  // P{L(time) <= n}, n = 0..c-1
    std::vector<double> A;  // P{L(cust) <= n}, n = 0..c-1
    // P{L = n} and P{L > n} below c, each probability kept to its own digits.
    std::vector<StateProbability> timeBelowC, customerBelowC;
};

// Throws NumericalFailure when the root search or the boundary system gives up.
DmcSolution SolveDMC(int c, double rho);

double DmcWaitingTail(const DmcSolution& s, double t);  // P{Wq > t}
// The p-quantile of Wq: 0 when p is the no-wait mass 1 - Pwait (within 1e-10), negative
// (undefined) below it.
double DmcPercentile(const DmcSolution& s, double p);
StateProbability DmcTimeAverageState(const DmcSolution& s, int n);      // L(time) = n, > n
StateProbability DmcCustomerAverageState(const DmcSolution& s, int n);  // L(cust) = n, > n

// Mean busy servers over time minus c rho (signed): the extra accuracy term of a run that
// writes the time-average table.
double DmcBusyServerDeviation(const DmcSolution& s);

// The accuracy line: literal zeros for one server; |extra| alone when the top boundary states are
// negligible (rho pi_(c-1) < 5e-6 and beta pi_(c-1) < 5e-7); otherwise the balance residual of
// state c - 1 plus the extra term.
std::string DmcAccuracyLine(const DmcSolution& s, double accuracyExtra);

// The three conditional graphs: P{Wq>t | Wq>0}, P{L(time)>n | L(time)>0}, P{L(cust)>n | L(cust)>0}.
std::vector<ChartPoint> DmcWaitingGraphPoints(const DmcSolution& s);
std::vector<ChartPoint> DmcTimeAverageGraphPoints(const DmcSolution& s);
std::vector<ChartPoint> DmcCustomerAverageGraphPoints(const DmcSolution& s);

}  // namespace wachtrix
