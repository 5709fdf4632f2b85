#pragma once
// The M/G/1 queue whose service time is a mixture of two Erlang distributions with a common
// phase rate mu: k-1 phases with probability p, otherwise k, fitted to mean 1 and CS2 <= 1.
// The number of phases an arrival finds is solved by its up-crossing recursion up to N and a
// geometric tail of ratio tau beyond; the waiting time is the Poisson mixture over those phases.
// The number in system comes from the arrivals during a service, by the standard M/G/1
// recursion up to K and a geometric tail of ratio x beyond.
//
//   FitErlangian(1.0) -> k 1, p 0, mu 1 (exponential)    FitErlangian(0.5) -> k 2, p 0, mu 2
//   SolveErlangian(0.5, 0.5).statistics.EWq -> 0.75 (Pollaczek-Khinchine)

#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/dmg1_cox.h"

namespace wachtrix {

struct ErlangianFit {
    int k = 1;
    double p = 0;  // probability of k-1 phases
    double mu = 1;
};

// 0.01 <= cs2 <= 1.
ErlangianFit FitErlangian(double cs2);

// The phases kept exactly before the geometric tail, more for lighter tails and heavier loads.
int ErlangianTermCount(double cs2, double rho);

bool ErlangianRhoTooSmall(double rho);

struct ErlangianSolution {
    double cs2 = 0, rho = 0;
    bool rhoTooSmall = false;  // when set, nothing below is computed
    ErlangianFit fit;
    int N = 0;
    long double tau = 0;              // q[j+1] / q[j] beyond N
    std::vector<long double> q;       // q[j]: j phases found by an arrival, j = 0..N
    std::vector<long double> beyond;  // beyond[j] = P{more than j phases}, j = 0..N
    QueueStatistics statistics;       // accuracy: mean wait from the phases against P-K
};

// Throws NumericalFailure when the decay ratio cannot be found.
ErlangianSolution SolveErlangian(double cs2, double rho);

// P{Wq > t}: the Poisson mixture over the phases ahead; from t = 10 on, once the phases that
// matter all lie in the geometric tail, its closed-form asymptote.
double WaitingTail(const ErlangianSolution& s, double t);

// The time w with P{Wq > w} = 1 - p: -1 when p is below 1 - rho (undefined), 0 when it equals it.
// High percentiles of heavily loaded queues come from the asymptote.
double WaitingPercentile(const ErlangianSolution& s, double p);

// The number in system: P[n] = P{L <= n} for n = 0..K, ratio x beyond K.
struct ErlangianStates {
    long double x = 0;
    int K = 0;
    std::vector<long double> P;
    long double meanCheck = 0;  // mean number in system against E(Lq) + rho
};

// Throws NumericalFailure when the tail ratio cannot be found.
ErlangianStates SolveErlangianStates(const ErlangianSolution& s);

// n >= 0.
StateProbability StateProbabilityAt(const ErlangianStates& states, int n);

// The table's check is the mean-number check of the state solution.
StateTable StateProbabilities(const ErlangianSolution& s, const std::vector<int>& n);

// P{Wq > t | Wq > 0} until it has fallen to 0.001; empty when the delay probability is not
// significant.
std::vector<ChartPoint> WaitingGraph(const ErlangianSolution& s);

// P{L > n | L > 0} until it has fallen to 0.001.
std::vector<ChartPoint> StateGraph(const ErlangianSolution& s);

}  // namespace wachtrix
