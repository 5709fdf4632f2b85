#pragma once
// What a solved network reports, per station and for the whole: the same figures for open and
// closed networks, so that one report and one window table show both.

#include <vector>

namespace wachtrix {

struct StationFigures {
    int servers = 1;          // 0: a delay station
    double visits = 0;        // visit ratio
    double throughput = 0;    // customers served per unit of time
    double utilisation = 0;   // per server; not a number for a delay station, which has none
    double meanNumber = 0;    // E(L)
    double meanQueue = 0;     // E(Lq), customers waiting for a server
    double meanResponse = 0;  // E(R) per visit, waiting plus service; S_k where none visit
    bool visited() const { return visits > 0; }
};

struct NetworkFigures {
    std::vector<StationFigures> stations;
    double throughput = 0;  // open: the total external arrival rate; closed: of station 1
    double meanNumber = 0;  // E(L) in the network (closed: N)
    double meanTime = 0;    // E(T): open, a customer's stay; closed, the mean cycle time N / X
};

}  // namespace wachtrix
