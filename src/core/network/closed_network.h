#pragma once
// The closed network, solved exactly on its product form. With the demands D_k = v_k S_k and
// f_k(j) = D_k^j / (min(1,c_k) min(2,c_k) ... min(j,c_k)) (a delay station: D_k^j / j!), the
// normalisation constants G = f_1 * ... * f_K (convolutions) give the throughput of every
// population at once, X(n) = G(n-1) / G(n), and a station's queue-length distribution is
// p_k(j|N) = f_k(j) G_(-k)(N-j) / G(N), with G_(-k) the network without station k. These are the
// figures of exact (load-dependent) mean value analysis; computed this way every term is
// positive, so that nothing cancels up to N = 1000 however loaded a multi-server station is,
// where the usual p_k(0|n) = 1 - sum of the others loses all its digits.
//
// The sequences are kept in extended precision and scaled by the bottleneck's service rate,
// which holds G between 1 and about 1E2220 for any network this program takes.
//
//   two single-server stations, D = 1 and 1, N = 2  -> X(1) = 1/2, X(2) = 2/3

#include <vector>

#include "core/network/network.h"
#include "core/network/network_figures.h"

namespace wachtrix {

NetworkFigures SolveClosedNetwork(const Network& network);

// The asymptotic bounds: X(n) <= min(n / (D + Z), c_b / D_b), D the queueing stations' total
// demand, Z the delay stations', b the bottleneck, the queueing station with the least c_k / D_k
// (the first of equals).
struct ThroughputBounds {
    double queueingDemand = 0;  // D
    double delayDemand = 0;     // Z
    int bottleneck = -1;        // 0-based; -1 when no queueing station is visited
    double bottleneckRate = 0;  // c_b / D_b
    double Bound(int n) const;
};
ThroughputBounds BoundsOf(const Network& network);

struct PopulationRow {
    int population = 0;
    double throughput = 0;       // X(n), of station 1
    double cycleTime = 0;        // E(T)(n) = n / X(n)
    double throughputBound = 0;  // the asymptotic bound on X(n)
};

// Every population from 1 to the network's.
std::vector<PopulationRow> ClosedPopulations(const Network& network);

}  // namespace wachtrix
