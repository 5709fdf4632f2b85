#pragma once
// The D/G/1 queue with constant interarrival time D = 1/rho and a service time that is a mixture
// of two Erlang distributions with a common phase rate nu (k-1 phases with probability p,
// otherwise k), fitted to mean 1 and CS2 <= 1; CS2 = 1/k is the pure Erlang service.
//
// The chain is the number of uncompleted phases an arrival finds: the arrival adds its k or k-1
// phases, and a Poisson number (mean nu D) of them completes before the next arrival. States
// 0..M are solved exactly by the dense scaled-pivoting solver; above M the probabilities follow
// the geometric tail pi_M eta^(n-M), eta the root in (0, 1) of
//   ln(p z + 1 - p) - nu D (1 - z) - k ln z = 0.
// The waiting time of an arrival that finds j phases is Erlang(j, nu).
//
//   SolveDg1Erlang(1.0, 0.5, true) -> the D/M/1 queue: Pwait = eta = 0.2032, E(Wq) = eta/(1-eta)

#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/mg1_erlan.h"
#include "core/queue/queue_statistics.h"

namespace wachtrix {

// Loads at which the phase chain is not solved: the Erlang services refuse them.
bool Dg1ErlangRhoTooSmall(double rho);

// The states kept exactly, 30 to 85: more for smaller CS2 and heavier loads. Of two bands that
// both hold a CS2, the later one counts.
int Dg1Truncation(double cs2, double rho);

// The root eta of the phase chain's tail; 0 when it lies below 2e-12. Throws NumericalFailure.
double Dg1PhaseRoot(const ErlangianFit& fit, double rho);

struct Dg1ErlangSolution {
    double cs2 = 0, rho = 0;
    bool pureErlang = false;
    ErlangianFit fit;
    int M = 0;
    double eta = 0;
    std::vector<double> pi;      // pi[n]: an arrival finds n phases, n = 0..M
    std::vector<double> beyond;  // beyond[n] = P{more than n phases found}, n = 0..M
    QueueStatistics statistics;  // StdLq only for pure Erlang service
};

// cs2 in [0.01, 1], rho above the refused loads; pureErlang when cs2 = 1/k. Throws
// NumericalFailure when the phase root or the linear system fails.
Dg1ErlangSolution SolveDg1Erlang(double cs2, double rho, bool pureErlang);

// pi_n for any n >= 0.
double PhaseProbability(const Dg1ErlangSolution& s, long long n);

// P{Wq > t}.
double WaitingTail(const Dg1ErlangSolution& s, double t);

// The time w with P{Wq > w} = 1 - p: -1 when p is below the no-wait probability (undefined), 0 at
// it. High percentiles of heavily loaded queues come from the geometric tail's asymptote.
double WaitingPercentile(const Dg1ErlangSolution& s, double p);

// Pure Erlang service only: the number in system at an arbitrary time, and as arrivals find it.
StateTable TimeStateProbabilities(const Dg1ErlangSolution& s, const std::vector<int>& n);
StateTable CustomerStateProbabilities(const Dg1ErlangSolution& s, const std::vector<int>& n);

// P{Wq > t | Wq > 0} until it has fallen to 0.001; the delay probability must be significant.
std::vector<ChartPoint> WaitingGraph(const Dg1ErlangSolution& s);

}  // namespace wachtrix
