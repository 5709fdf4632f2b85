#pragma once
// A queueing network of K stations with exponential services: open (customers arrive from
// outside in Poisson streams and leave) or closed (a fixed population circulates). Station k has
// c_k servers (0: a delay station, as many servers as customers) and mean service time S_k; a
// customer leaving station j goes to station k with probability r(j,k).
//
// The figures arrive unchecked as a NetworkInput (from a file or the window's grids);
// CheckNetwork refuses what cannot be solved, naming the station, row or cell, and hands back
// a Network with its visit ratios, which the analyses take:
//
//   open, stations {1, 0.5}, gamma {2}, routing {{0}}  -> visits {1}, lambda {2}
//   closed, routing {{0, 1}, {1, 0}}                    -> visits {1, 1}
//   open, routing row 3 summing to 1.2 -> "Row 3 of the routing matrix sums to 1.2; a row may
//                                          sum to at most 1."

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wachtrix {

enum class NetworkKind { Open = 1, Closed = 2 };  // the file's first line

inline constexpr int kMaxStations = 50;
inline constexpr int kMaxPopulation = 1000;
inline constexpr int kMaxNetworkServers = 2500;  // as many as the M/M/c queue takes

// The figures as read, unchecked; 0-based: routing[j][k] is r(j+1, k+1).
struct NetworkInput {
    NetworkKind kind = NetworkKind::Open;
    std::vector<double> servers;       // c_k, 0 for a delay station
    std::vector<double> serviceTimes;  // S_k
    std::vector<double> arrivalRates;  // open: gamma_k, the external arrival rates
    int population = 0;                // closed: N
    std::vector<std::vector<double>> routing;

    int StationCount() const { return static_cast<int>(servers.size()); }
};

// Which figure a refusal concerns, so that a window can put the cursor there: the station's
// servers or service time, its arrival rate, the population, a routing cell or row, or the
// routing as a whole (Structure).
enum class NetworkPart {
    StationCount,
    Servers,
    ServiceTime,
    ArrivalRate,
    Population,
    RoutingCell,
    RoutingRow,
    Structure
};

struct NetworkFault {
    std::string message;
    NetworkPart part = NetworkPart::Structure;
    int row = 0;  // 0-based station (or routing row)
    int column = 0;
    bool operator==(const NetworkFault&) const = default;
};

struct Station {
    int servers = 1;  // 0: a delay station
    double serviceTime = 1;
    bool IsDelay() const { return servers == 0; }
};

// A network every analysis can take.
struct Network {
    NetworkKind kind = NetworkKind::Open;
    std::vector<Station> stations;
    std::vector<std::vector<double>> routing;
    std::vector<double> arrivalRates;  // open
    int population = 0;                // closed
    // Open: the mean number of visits a customer makes to each station (lambda_k over the total
    // external rate). Closed: visits per visit to station 1, the reference station. 0 for a
    // station no customer reaches.
    std::vector<double> visits;

    int StationCount() const { return static_cast<int>(stations.size()); }
    double TotalArrivalRate() const;    // open: the sum of the gamma_k
    double ArrivalRate(int k) const;    // open: lambda_k, 0-based
    double Demand(int k) const;         // v_k S_k, 0-based
    double LoadPerServer(int k) const;  // open, queueing station: lambda_k S_k / c_k
};

struct CheckedNetwork {
    std::optional<Network> network;
    NetworkFault fault;  // when there is no network
};

// The first fault in this order: the station count, each station's servers and service time,
// the arrival rates (open) or the population (closed), the routing cells row by row and each
// row's sum, then the routing's structure and, for an open network, each station's load.
CheckedNetwork CheckNetwork(const NetworkInput& input);

// The checked network's figures as input again (for saving what was checked).
NetworkInput InputOf(const Network& network);

// "Station 3" style lists: {3} -> "station 3", {4, 5} -> "stations 4 and 5" (1-based).
std::string StationList(const std::vector<int>& stations);

}  // namespace wachtrix
