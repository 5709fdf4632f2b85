#pragma once
// The M/M/c+M queue (Erlang A): c exponential servers, Poisson arrivals at lambda = c rho, first
// come first served, and every waiting customer abandons after an exponential patience with rate
// theta; time in mean service times. The number in system is a birth-death chain with death
// rates min(n, c) + theta max(n - c, 0), stable at every load.
//
// The chain is solved outward from its most likely state, weights kept relative to it (scaled by
// 2^-8000 wherever they would leave the range of long doubles, so that far states keep their
// logarithms), and cut at the first state N >= c beyond that mode where the geometric bound on the
// probability above N is below 1e-20 Pwait. The offered wait V of an arrival that finds j waiting
// is a sum of exponentials with rates c, c + theta, ..., c + j theta; the pure-death chain it
// runs down keeps the stationary law's shape, which gives the closed form
//   P{V > t} = e^(x (1 - z) - c t) sum_j P{L = c + j} z^j,  z = e^(-theta t), x = lambda / theta,
// summed outward from its largest term, and P{Wq > t} = e^(-theta t) P{V > t}.
//
//   theta = 1: death rates n, the M/M/infinity queue: P{L = n} = e^-lambda lambda^n / n!
//   c = 1, rho = 0.5, theta = 1: Pwait = 1 - e^-0.5 = 0.393469, Pab = 2 e^-0.5 - 1 = 0.213061

#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"
#include "core/queue/queue_statistics.h"

namespace wachtrix {

inline constexpr FieldLimit kErlangAServers{"c", "number of servers", 1, 2500, "<=2500", true};
inline constexpr FieldLimit kErlangALoad{
    "rho", "offered load per server, lambda E(S) / c", 1e-10, 2, "<=2", false, 1e-10};
inline constexpr FieldLimit kErlangAPatience{
    "theta", "abandonment rate of a waiting customer, E(S) / mean patience", 0.01, 100,
    "0.01<=theta<=100"};
inline constexpr ValueGroupLimit kErlangAGroups[] = {
    {'T', 2500, "t-values (<= 2500)", "t-values for P{V>t} and P{Wq>t}"},
    {'N', 300000, "n-values (<= 300000)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};

// The "M/M/c+M" tab; Graphs opens one window: the waiting-time chart holds P(Wq>t | Wq>0) and,
// in red, P(V>t | V>0); the state chart P(L>n | L>0).
extern const QueueModelSpec kErlangAModel;

// The pieces of the run, for the tests, the benchmarks and staffing.

// Loads at which Pwait may fall below 1e-250, where the smallest figures would leave the range
// of the numbers printed: Erlang's loss probability B(c, c rho) below 1e-250 (Pwait >= B).
bool ErlangARhoTooSmall(int c, double rho);

struct ErlangASolution {
    int c = 1;
    double rho = 0, theta = 0;
    long double lambda = 0;
    int top = 0;                  // N, the last state kept
    std::vector<double> p;        // P{L = n}, n = 0..N
    std::vector<double> greater;  // P{L > n}, summed from above where small
    // P{L = n} = weight[n] 2^(-8000 level[n]) / e^lnTotal, for the logarithms of states far
    // below the mode.
    std::vector<long double> weight;
    std::vector<int> level;
    long double lnTotal = 0;
    std::vector<double> inverseRate;  // theta / (c + j theta), j = 0..N - c
    long double waiting = 0;          // Pwait, unrounded
    QueueStatistics statistics;       // Pwait, E(Wq), E(Lq), Std(Wq), Std(Lq), accuracy
    double Pab = 0, EWqServed = 0;
};

ErlangASolution SolveErlangA(int c, double rho, double theta);

double ErlangAOfferedTail(const ErlangASolution& s, double t);   // P{V > t}
double ErlangAWaitingTail(const ErlangASolution& s, double t);   // P{Wq > t}
double ErlangAPercentile(const ErlangASolution& s, double p);    // negative when undefined
StateProbability ErlangAState(const ErlangASolution& s, int n);  // P{L = n}, P{L > n}

// P(Wq>t | Wq>0) and P(V>t | V>0) on one grid, up to where the second has fallen to 0.001 (the
// first ends at its own first point at or below 0.001).
struct ErlangAWaitingCurves {
    std::vector<ChartPoint> waiting, offered;
};
ErlangAWaitingCurves ErlangAWaitingGraphPoints(const ErlangASolution& s);
std::vector<ChartPoint> ErlangAQueueGraphPoints(const ErlangASolution& s);  // P(L>n | L>0)

}  // namespace wachtrix
