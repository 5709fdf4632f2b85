#include "core/network/open_network.h"

#include <limits>

namespace wachtrix {

MmcSolution OpenStationQueue(const Network& network, int k) {
    return SolveMMC(network.stations[k].servers, network.LoadPerServer(k));
}

double OpenStationWaitingTail(const Network& network, int k, double t) {
    const Station& s = network.stations[k];
    if (s.IsDelay() || network.visits[k] == 0) return 0;
    return MmcWaitingTail(OpenStationQueue(network, k), t / s.serviceTime);
}

NetworkFigures SolveOpenNetwork(const Network& network) {
    NetworkFigures figures;
    long double total = 0;
    for (int k = 0; k < network.StationCount(); ++k) {
        const Station& s = network.stations[k];
        StationFigures f;
        f.servers = s.servers;
        f.visits = network.visits[k];
        f.throughput = network.ArrivalRate(k);
        f.utilisation = s.IsDelay() ? std::numeric_limits<double>::quiet_NaN() : 0.0;
        f.meanResponse = s.serviceTime;
        if (f.visited()) {
            const double offered = f.throughput * s.serviceTime;
            if (!s.IsDelay()) {
                // Waiting times of the M/M/c unit are in mean service times.
                const MmcSolution queue = OpenStationQueue(network, k);
                f.utilisation = queue.rho;
                f.meanQueue = queue.ELq;
                f.meanResponse = (1 + queue.EWq) * s.serviceTime;
            }
            f.meanNumber = f.meanQueue + offered;
        }
        total += f.meanNumber;
        figures.stations.push_back(f);
    }
    figures.throughput = network.TotalArrivalRate();
    figures.meanNumber = static_cast<double>(total);
    figures.meanTime = static_cast<double>(total / figures.throughput);
    return figures;
}

}  // namespace wachtrix
