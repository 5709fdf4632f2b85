#include "core/network/network.h"

#include <cmath>

#include "core/markov/chain_input.h"
#include "core/markov/chain_structure.h"
#include "core/markov/steady_state.h"
#include "core/numeric/numerical_failure.h"
#include "core/text/delphi_format.h"

namespace wachtrix {
namespace {

// Figures in messages: as typed, up to ten digits.
std::string Figure(double x) {
    return FormatGeneral(x, 10);
}

std::string StationName(int k) {
    return "Station " + std::to_string(k + 1);
}

NetworkFault Fault(std::string message, NetworkPart part, int row = 0, int column = 0) {
    return {std::move(message), part, row, column};
}

std::optional<NetworkFault> CheckStations(const NetworkInput& in) {
    const int n = in.StationCount();
    if (n < 1 || n > kMaxStations)
        return Fault("The network has " + std::to_string(n) + " stations; it may have 1 to 50.",
                     NetworkPart::StationCount);
    for (int k = 0; k < n; ++k) {
        const double c = in.servers[k];
        if (!(c >= 0 && c <= kMaxNetworkServers && c == std::floor(c)))
            return Fault(StationName(k) + " has " + Figure(c) +
                             " servers; the number of servers is a whole number from 0 (a "
                             "delay station) to 2500.",
                         NetworkPart::Servers, k);
        const double s = in.serviceTimes[k];
        if (!(s > 0 && std::isfinite(s)))
            return Fault(
                StationName(k) + " has mean service time " + Figure(s) + "; it must be above 0.",
                NetworkPart::ServiceTime, k);
    }
    return std::nullopt;
}

std::optional<NetworkFault> CheckOpenArrivals(const NetworkInput& in) {
    double total = 0;
    for (int k = 0; k < in.StationCount(); ++k) {
        const double gamma = in.arrivalRates[k];
        if (!(gamma >= 0 && std::isfinite(gamma)))
            return Fault(StationName(k) + " has external arrival rate " + Figure(gamma) +
                             "; a rate may not be negative.",
                         NetworkPart::ArrivalRate, k);
        total += gamma;
    }
    if (total == 0)
        return Fault("Nothing arrives: every external arrival rate is 0.",
                     NetworkPart::ArrivalRate);
    return std::nullopt;
}

std::optional<NetworkFault> CheckPopulation(const NetworkInput& in) {
    if (in.population < 1 || in.population > kMaxPopulation)
        return Fault(
            "The population is " + std::to_string(in.population) + "; it must be 1 to 1000.",
            NetworkPart::Population);
    return std::nullopt;
}

// Sums in extended precision, compared with the Markov module's tolerance.
std::optional<NetworkFault> CheckRouting(const NetworkInput& in) {
    const int n = in.StationCount();
    const bool open = in.kind == NetworkKind::Open;
    for (int j = 0; j < n; ++j) {
        long double sum = 0;
        for (int k = 0; k < n; ++k) {
            const double r = in.routing[j][k];
            if (!(r >= 0 && r <= 1))
                return Fault(Format("The routing probability r(%d,%d) is %s; a probability is 0 "
                                    "to 1.",
                                    {j + 1, k + 1, Figure(r)}),
                             NetworkPart::RoutingCell, j, k);
            sum += r;
        }
        if (open && sum - 1 >= kRowSumTolerance)
            return Fault(Format("Row %d of the routing matrix sums to %s; a row may sum to at "
                                "most 1.",
                                {j + 1, Figure(static_cast<double>(sum))}),
                         NetworkPart::RoutingRow, j);
        if (!open && std::fabs(sum - 1) >= kRowSumTolerance)
            return Fault(Format("Row %d of the routing matrix sums to %s; in a closed network "
                                "every row sums to 1.",
                                {j + 1, Figure(static_cast<double>(sum))}),
                         NetworkPart::RoutingRow, j);
    }
    return std::nullopt;
}

// The share of the customers leaving station j that leave the network; none when the row sums
// to 1 within the tolerance, so that round-off does not open an exit.
double ExitProbability(const std::vector<double>& row) {
    long double sum = 0;
    for (const double r : row)
        sum += r;
    return sum > 1 - kRowSumTolerance ? 0 : static_cast<double>(1 - sum);
}

// The visit ratios, or why the routing has none.
struct VisitRatios {
    std::vector<double> visits;
    std::optional<NetworkFault> fault;
};

// The stations reachable from `from` along positive routing probabilities (from included).
std::vector<char> Reachable(const std::vector<std::vector<double>>& routing, std::vector<char> from,
                            bool backwards) {
    const int n = static_cast<int>(routing.size());
    for (bool grew = true; grew;) {
        grew = false;
        for (int j = 0; j < n; ++j)
            for (int k = 0; k < n; ++k)
                if (from[j] && !from[k] && (backwards ? routing[k][j] : routing[j][k]) > 0)
                    from[k] = grew = true;
    }
    return from;
}

// lambda = gamma + lambda R, as the equilibrium of the chain of one customer that, when it
// leaves, re-enters at once as the next arrival: its visits per stay outside are the visit
// ratios. The reduction sums only nonnegative terms, as the Markov module's steady state.
VisitRatios OpenVisits(const NetworkInput& in) {
    const int n = in.StationCount();
    std::vector<char> arrives(n), exits(n);
    for (int k = 0; k < n; ++k) {
        arrives[k] = in.arrivalRates[k] > 0;
        exits[k] = ExitProbability(in.routing[k]) > 0;
    }
    const std::vector<char> visited = Reachable(in.routing, arrives, false);
    const std::vector<char> leaves = Reachable(in.routing, exits, true);
    std::vector<int> states;  // the visited stations, each a state after the outside (1)
    for (int k = 0; k < n; ++k) {
        if (visited[k] && !leaves[k])
            return {{},
                    Fault(StationName(k) + " keeps its customers in the network: no route "
                                           "from it leads out.",
                          NetworkPart::Structure, k)};
        if (visited[k]) states.push_back(k);
    }
    const int m = static_cast<int>(states.size()) + 1;
    long double total = 0;
    for (const double gamma : in.arrivalRates)
        total += gamma;
    std::vector<std::vector<double>> p(m + 1, std::vector<double>(m + 1, 0.0));
    for (int a = 0; a + 1 < m; ++a) {
        const int j = states[a];
        p[1][a + 2] = static_cast<double>(in.arrivalRates[j] / total);
        p[a + 2][1] = ExitProbability(in.routing[j]);
        for (int b = 0; b + 1 < m; ++b)
            p[a + 2][b + 2] = in.routing[j][states[b]];
    }
    const SteadyState chain = SolveSteadyState(p, m);
    if (!chain.solved)
        throw NumericalFailure({"The visit ratios are beyond the range of numbers."});
    std::vector<double> visits(n, 0.0);
    for (int a = 0; a + 1 < m; ++a)
        visits[states[a]] = chain.x[a + 2] / chain.x[1];
    return {visits, {}};
}

// v = v R with v_1 = 1: the routing chain's equilibrium over that of station 1. Station 1 must
// be recurrent and its class the only one; stations outside it are never visited.
VisitRatios ClosedVisits(const NetworkInput& in) {
    const int n = in.StationCount();
    std::vector<std::vector<double>> p(n + 1, std::vector<double>(n + 1, 0.0));
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k)
            p[j + 1][k + 1] = in.routing[j][k];
    const ChainStructure structure = ClassifyChain(p, n);
    if (structure.classOf[1] == 0)
        return {{},
                Fault("Station 1, the reference station, has visit ratio 0: customers who "
                      "leave it never come back. Number first a station the customers keep "
                      "visiting.",
                      NetworkPart::Structure, 0)};
    for (const RecurrentSubchain& subchain : structure.subchains) {
        if (structure.classOf[subchain.states.front()] == structure.classOf[1]) continue;
        std::vector<int> apart;
        for (const int s : subchain.states)
            apart.push_back(s - 1);
        return {{},
                Fault("The routing matrix is reducible: customers at " + StationList(apart) +
                          " never reach station 1, nor those of station 1 them.",
                      NetworkPart::Structure, apart.front())};
    }
    const SteadyState chain = SolveSteadyState(p, n);
    if (!chain.solved)
        throw NumericalFailure({"The visit ratios are beyond the range of numbers."});
    std::vector<double> visits(n, 0.0);
    for (int k = 0; k < n; ++k)
        visits[k] = chain.x[k + 1] / chain.x[1];
    return {visits, {}};
}

std::optional<NetworkFault> CheckLoads(const Network& network) {
    for (int k = 0; k < network.StationCount(); ++k) {
        const Station& s = network.stations[k];
        if (s.IsDelay()) continue;
        const double rho = network.LoadPerServer(k);
        // Within 1e-9 of 1 the station is saturated as far as any printed figure goes (its
        // utilisation prints as 1, its queue is beyond 1e9), and a load of exactly 1 may come
        // out of the traffic equations or a rounded service time a hair below it.
        if (rho > 1 - 1e-9)
            return Fault(Format("%s is overloaded: its load per server is %s (arrival rate %s "
                                "times mean service time %s over %d server%s); it must be "
                                "below 1.",
                                {StationName(k), Figure(rho), Figure(network.ArrivalRate(k)),
                                 Figure(s.serviceTime), s.servers, s.servers == 1 ? "" : "s"}),
                         NetworkPart::Structure, k);
    }
    return std::nullopt;
}

// The input's vectors must have the station count's lengths; a caller's slip, not a user's.
bool Shaped(const NetworkInput& in) {
    const std::size_t n = in.servers.size();
    bool shaped = in.serviceTimes.size() == n && in.routing.size() == n &&
                  (in.kind == NetworkKind::Closed || in.arrivalRates.size() == n);
    for (const auto& row : in.routing)
        shaped = shaped && row.size() == n;
    return shaped;
}

}  // namespace

double Network::TotalArrivalRate() const {
    long double total = 0;
    for (const double gamma : arrivalRates)
        total += gamma;
    return static_cast<double>(total);
}

double Network::ArrivalRate(int k) const {
    return TotalArrivalRate() * visits[k];
}

double Network::Demand(int k) const {
    return visits[k] * stations[k].serviceTime;
}

double Network::LoadPerServer(int k) const {
    return ArrivalRate(k) * stations[k].serviceTime / stations[k].servers;
}

std::string StationList(const std::vector<int>& stations) {
    std::string text = stations.size() == 1 ? "station " : "stations ";
    for (std::size_t i = 0; i < stations.size(); ++i)
        text += (i == 0                     ? ""
                 : i + 1 == stations.size() ? " and "
                                            : ", ") +
                std::to_string(stations[i] + 1);
    return text;
}

CheckedNetwork CheckNetwork(const NetworkInput& in) {
    if (!Shaped(in))
        return {std::nullopt, Fault("The network's figures do not match its station count.",
                                    NetworkPart::StationCount)};
    const bool open = in.kind == NetworkKind::Open;
    std::optional<NetworkFault> fault = CheckStations(in);
    if (!fault) fault = open ? CheckOpenArrivals(in) : CheckPopulation(in);
    if (!fault) fault = CheckRouting(in);
    if (fault) return {std::nullopt, std::move(*fault)};
    VisitRatios ratios = open ? OpenVisits(in) : ClosedVisits(in);
    if (ratios.fault) return {std::nullopt, std::move(*ratios.fault)};

    Network network;
    network.kind = in.kind;
    for (int k = 0; k < in.StationCount(); ++k)
        network.stations.push_back({static_cast<int>(in.servers[k]), in.serviceTimes[k]});
    network.routing = in.routing;
    network.visits = std::move(ratios.visits);
    if (!open) {
        network.population = in.population;
        return {std::move(network), {}};
    }
    network.arrivalRates = in.arrivalRates;
    if (auto overload = CheckLoads(network)) return {std::nullopt, std::move(*overload)};
    return {std::move(network), {}};
}

NetworkInput InputOf(const Network& network) {
    NetworkInput in;
    in.kind = network.kind;
    for (const Station& s : network.stations) {
        in.servers.push_back(s.servers);
        in.serviceTimes.push_back(s.serviceTime);
    }
    in.arrivalRates = network.arrivalRates;
    in.population = network.population;
    in.routing = network.routing;
    return in;
}

}  // namespace wachtrix
