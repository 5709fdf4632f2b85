#pragma once
// The M/D/c queue: Poisson arrivals, c servers with one constant service time (the time unit),
// first come first served. The number in system at the epochs 0, 1, 2, ... is an embedded Markov
// chain; its states 0..N are solved by state reduction, the last state lumping the geometric
// tail pi_N eta^(j-N), j > N, with eta the decay root of x ln x + rho (1 - x).
//
// Waiting times follow from the chain: P{Wq <= t} sums P{L <= (k+1)c - 1 - j} against the
// Poisson arrivals in the k - t time units before the arrival (k = trunc(t) + 1). From
// t = 250 / c on, the tail is the asymptote gamma e^(-delta t) instead.

#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

inline constexpr FieldLimit kMdcServers{"c", "number of servers", 1, 500, "<=500", true};
inline constexpr FieldLimit kMdcLoad{"rho", "load per server", 1e-10, 0.99, "<=0.99", false, 1e-10};
inline constexpr ValueGroupLimit kMdcGroups[] = {
    {'T', 2500, "t-values (<= 2500)"},
    {'N', 1250, "n-values (<= 1250)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};
// The "M/D/c" tab; Graphs opens one window with both charts. Loads too small for meaningful
// results, and graphs of a negligible delay probability, end with a message line.
extern const QueueModelSpec kMdcModel;

// The pieces of the run, for the tests and the benchmarks.

// Loads too small for meaningful results: rho at or below 10^(c-10) up to 5 servers, then 1e-4,
// 1e-3, 1e-2 and 0.1 from 6, 11, 26 and 51 servers on.
bool MdcRhoTooSmall(int c, double rho);

// The truncation level N of the embedded chain (at least c + 1; 744 for c = 500, rho = 0.99).
int MdcTruncation(int c, double rho);

// The root eta in (0, rho) of x ln x + rho (1 - x), by bisection in ln x to full precision.
double MdcDecayRoot(double rho);

struct MdcSolution {
    int c = 1;
    double rho = 0;
    int N = 0;
    double eta = 0;
    std::vector<double> pi;    // P{L = n}, n = 0..N; beyond N pi[N] eta^(n-N)
    std::vector<double> tail;  // P{L > n}, n = 0..N, summed from the top
    double Pdelay = 0;         // P{L >= c}: an arrival waits
    double ELq = 0, EWq = 0, StdWq = 0, StdLq = 0;
    double accuracy = 0;
    double gamma = 0, delta = 0;  // P{Wq > t} ~ gamma e^(-delta t)
    double mmcDelay = 0;          // the M/M/c delay probability with the same c and rho
};

// The embedded chain's states 0..N by state reduction, for the tests.
std::vector<double> MdcStateSolution(int c, double rho, int N, double eta);

// The whole solution with its statistics and accuracy check.
MdcSolution SolveMDC(int c, double rho);

double MdcExactWaitingTail(const MdcSolution& s, double t);
double MdcAsymptoticWaitingTail(const MdcSolution& s, double t);
double MdcWaitingTail(const MdcSolution& s, double t);  // the switch at 250 / c

// Percentiles of Wq; negative when undefined (p below P{Wq = 0}).
double MdcAsymptoticPercentile(const MdcSolution& s, double p);
double MdcPercentile(const MdcSolution& s, double p);

double MdcStateProbability(const MdcSolution& s, int n);  // P{L = n}
double MdcStateTail(const MdcSolution& s, int n);         // P{L > n}

std::vector<ChartPoint> MdcWaitingGraphPoints(const MdcSolution& s);  // P{Wq>t | Wq>0}
std::vector<ChartPoint> MdcQueueGraphPoints(const MdcSolution& s);    // P{L>n | L>0}

}  // namespace wachtrix
