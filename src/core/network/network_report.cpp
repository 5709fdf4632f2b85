#include "core/network/network_report.h"

#include <cmath>

#include "core/network/network_file.h"
#include "core/network/open_network.h"
#include "core/numeric/numerical_failure.h"
#include "core/text/delphi_format.h"
#include "core/text/padding.h"

namespace wachtrix {
namespace {

// At least six significant digits, as scripts reading the tables expect.
std::string Figure(double x) {
    return std::isnan(x) ? std::string("-") : FormatGeneral(x, 7);
}

// The header and the rows, right-aligned in columns.
void WriteTable(ResultWriter& out, std::vector<std::vector<std::string>> cells) {
    std::vector<std::string> lines = AlignedColumns(cells);
    const std::string header = lines.front();
    lines.erase(lines.begin());
    WriteResultTable(out, header, lines);
}

void WriteHead(ResultWriter& out, const std::string& title, const std::string& parameters) {
    out.SetTitleStyle();
    out.AddResultLine(title);
    out.SetBoldStyle();
    out.AddResultLine(parameters);
    out.SetNormalStyle();
}

std::string Parameters(const Network& network) {
    std::string text = Format("Parameters: K=%d", {network.StationCount()});
    if (network.kind == NetworkKind::Open)
        return text + "  external arrival rate=" + Figure(network.TotalArrivalRate());
    return text + Format("  N=%d", {network.population});
}

std::string Title(const Network& network) {
    return network.kind == NetworkKind::Open ? "Open queueing network" : "Closed queueing network";
}

}  // namespace

std::optional<NetworkAnalysis> NetworkAnalysisNamed(std::string_view name) {
    if (name.empty() || name == "solve") return NetworkAnalysis::Solve;
    if (name == "populations") return NetworkAnalysis::Populations;
    return std::nullopt;
}

NetworkFigures SolveNetwork(const Network& network) {
    return network.kind == NetworkKind::Open ? SolveOpenNetwork(network)
                                             : SolveClosedNetwork(network);
}

void WriteNetworkSolveReport(ResultWriter& out, const Network& network,
                             const NetworkFigures& figures) {
    WriteHead(out, Title(network), Parameters(network));
    std::vector<std::vector<std::string>> cells{
        {"Station", "Servers", "Visits", "Throughput", "Utilisation", "E(L)", "E(Lq)", "E(R)"}};
    std::vector<int> unvisited, delays;
    for (std::size_t k = 0; k < figures.stations.size(); ++k) {
        const StationFigures& s = figures.stations[k];
        cells.push_back({std::to_string(k + 1),
                         s.servers == 0 ? "delay" : std::to_string(s.servers), Figure(s.visits),
                         Figure(s.throughput), Figure(s.utilisation), Figure(s.meanNumber),
                         Figure(s.meanQueue), Figure(s.meanResponse)});
        if (!s.visited()) unvisited.push_back(static_cast<int>(k));
        if (s.servers == 0) delays.push_back(static_cast<int>(k));
    }
    WriteTable(out, std::move(cells));
    if (!delays.empty())
        out.AddResultLine("Delay " + StationList(delays) +
                          ": a server for every customer, no utilisation per server (-).");
    if (!unvisited.empty())
        out.AddResultLine("Never visited: " + StationList(unvisited) +
                          " (E(R) the service time a visit would take).");
    out.AddResultLine("");
    out.AddResultLine("Network: X = " + Figure(figures.throughput) + "  E(L) = " +
                      Figure(figures.meanNumber) + "  E(T) = " + Figure(figures.meanTime));
    if (network.kind == NetworkKind::Closed)
        out.AddResultLine("X is the throughput of station 1; E(T) the mean cycle time N / X.");
}

void WritePopulationsReport(ResultWriter& out, const Network& network,
                            const std::vector<PopulationRow>& rows) {
    WriteHead(out, "Closed queueing network: populations", Parameters(network));
    const ThroughputBounds bounds = BoundsOf(network);
    if (bounds.bottleneck < 0) {
        out.AddResultLine("Bottleneck: none, every visited station is a delay station.");
    } else {
        const Station& b = network.stations[bounds.bottleneck];
        out.AddResultLine(
            Format("Bottleneck: station %d (c = %d, D = %s): X(N) <= c/D = %s",
                   {bounds.bottleneck + 1, b.servers, Figure(network.Demand(bounds.bottleneck)),
                    Figure(bounds.bottleneckRate)}));
    }
    out.AddResultLine("Bound: X(N) <= min(N/(D + Z), c/D of the bottleneck), D = " +
                      Figure(bounds.queueingDemand) + ", Z = " + Figure(bounds.delayDemand));
    std::vector<std::vector<std::string>> cells{{"N", "X(N)", "E(T)(N)", "bound on X(N)"}};
    for (const PopulationRow& row : rows)
        cells.push_back({std::to_string(row.population), Figure(row.throughput),
                         Figure(row.cycleTime), Figure(row.throughputBound)});
    WriteTable(out, std::move(cells));
}

NetworkReport RunNetworkAnalysis(const Network& network, NetworkAnalysis analysis) {
    if (analysis == NetworkAnalysis::Populations && network.kind != NetworkKind::Closed)
        return {{}, "The populations analysis is for closed networks; this network is open.", {}};
    MemoryResultSink sink;
    ResultWriter out(sink);
    try {
        if (analysis == NetworkAnalysis::Solve)
            WriteNetworkSolveReport(out, network, SolveNetwork(network));
        else
            WritePopulationsReport(out, network, ClosedPopulations(network));
    } catch (const NumericalFailure& failure) {
        out.SetNormalStyle();
        out.AddResultLine(NumericalFailureNotice(failure.lines()));
        return {std::move(sink.lines), {}, failure.lines()};
    }
    return {std::move(sink.lines), {}, {}};
}

NetworkReport RunNetworkFile(const std::string& path, NetworkAnalysis analysis) {
    const NetworkReading reading = ReadNetworkFile(path);
    if (!reading.network) return {{}, "Cannot read file " + path + "\n" + reading.reason, {}};
    try {
        const CheckedNetwork checked = CheckNetwork(*reading.network);
        if (!checked.network) return {{}, checked.fault.message, {}};
        return RunNetworkAnalysis(*checked.network, analysis);
    } catch (const NumericalFailure& failure) {
        return {{{NumericalFailureNotice(failure.lines())}}, {}, failure.lines()};
    }
}

}  // namespace wachtrix
