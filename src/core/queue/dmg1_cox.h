#pragma once
// Single-server queues with Poisson (M/G/1) or constant (D/G/1) arrivals whose service time is
// replaced by a Coxian-2 distribution with mean 1 and the given squared coefficient of variation.
// The waiting time then has the tail A1 e^(-r1 t) + A2 e^(-r2 t), r1 < mu2 < r2 the roots of the
// characteristic equation of the queue.
//
//   SolveCoxian(CoxianKind::MG1Balanced, 1.0, 0.5) -> mu1 3, mu2 1, b 2/3 (exponential service),
//                                                     Pwait 0.5, E(Wq) 1, tail 0.5 e^(-t/2)

#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/queue_statistics.h"

namespace wachtrix {

// M/G/1 statistics from the first two moments of the waiting time; the queue length follows by
// Little's law and its distributional form E(Lq(Lq-1)) = rho^2 E(Wq^2).
QueueStatistics Mg1Statistics(double Pwait, long double rho, long double EWq, long double EWq2);

enum class CoxianKind {
    MG1Gamma = 1,     // M/G/1, gamma normalization
    MG1Balanced = 2,  // M/G/1, balanced means
    DG1Gamma = 4,     // D/G/1, gamma normalization
    DG1Balanced = 5,  // D/G/1, balanced means
};

bool IsMG1(CoxianKind kind);

// Phase 1 with rate mu1; then, with probability b, phase 2 with rate mu2.
struct CoxianFit {
    long double mu1 = 0, mu2 = 0, b = 0;
};

// cs2 from 0.5 to 100. At cs2 = 0.5 both fits degenerate to Erlang-2 (mu1 = mu2), which the
// tail coefficients divide by; cs2 is then nudged by 1e-15.
CoxianFit FitCoxian(CoxianKind kind, double cs2);

// Loads below which the two-root solution loses its accuracy.
bool CoxianRhoTooSmall(CoxianKind kind, double cs2, double rho);

struct CoxianSolution {
    CoxianKind kind = CoxianKind::MG1Gamma;
    double cs2 = 0, rho = 0;
    bool rhoTooSmall = false;  // when set, nothing below is computed
    CoxianFit fit;
    long double r1 = 0, r2 = 0;
    long double A1 = 0, A2 = 0;
    QueueStatistics statistics;
};

// Throws NumericalFailure when a root cannot be found.
CoxianSolution SolveCoxian(CoxianKind kind, double cs2, double rho);

// P{Wq > t}.
double WaitingTail(const CoxianSolution& s, double t);

// The time w with P{Wq > w} = 1 - p: -1 when p is below the probability of no wait (undefined),
// 0 when it equals it.
double WaitingPercentile(const CoxianSolution& s, double p);

// M/G/1 kinds only: the number in system by a two-term recursion over the Coxian phases.
StateTable StateProbabilities(const CoxianSolution& s, const std::vector<int>& n);

// P{Wq > t | Wq > 0} until it has fallen to 0.001; the delay probability must be significant.
std::vector<ChartPoint> WaitingGraph(const CoxianSolution& s);

// M/G/1 kinds only: P{L > n | L > 0} until it has fallen to 0.001.
std::vector<ChartPoint> StateGraph(const CoxianSolution& s);

}  // namespace wachtrix
