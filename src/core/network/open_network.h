#pragma once
// The open network as a Jackson network: each station behaves as an M/M/c queue of its own (a
// delay station as M/M/infinity) at the arrival rate lambda_k of the traffic equations, and the
// network's figures are the stations' sums with Little's law.
//
//   one station, c = 1, S = 0.5, gamma = 1 -> rho 0.5, E(L) = 1, E(R) = 1, E(T) = 1

#include "core/network/network.h"
#include "core/network/network_figures.h"
#include "core/queue/mmc.h"

namespace wachtrix {

NetworkFigures SolveOpenNetwork(const Network& network);

// Station k (0-based, a visited queueing station) as its M/M/c queue, times in mean service
// times: its delay probability and waiting-time tail.
MmcSolution OpenStationQueue(const Network& network, int k);

// P{Wq > t} at station k, t in the network's unit of time; 0 for a delay station.
double OpenStationWaitingTail(const Network& network, int k, double t);

}  // namespace wachtrix
