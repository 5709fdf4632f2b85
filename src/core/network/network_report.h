#pragma once
// The network's reports, the same in the window and the batch tool, and the one entry that
// reads a network file, checks it and runs an analysis.
//
// solve: a title, the parameters, one table Station, Servers, Visits, Throughput, Utilisation,
// E(L), E(Lq), E(R) (a delay station's servers "delay" and utilisation "-"), then
//   "Network: X = 1.5  E(L) = 2.25  E(T) = 1.5"
// populations (closed only): the bottleneck, the bound, and one table N, X(N), E(T)(N),
// bound on X(N). Figures have 7 significant digits.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/network/closed_network.h"
#include "core/network/network.h"
#include "core/network/network_figures.h"
#include "core/text/result_writer.h"

namespace wachtrix {

enum class NetworkAnalysis { Solve, Populations };

// "solve" or "populations".
std::optional<NetworkAnalysis> NetworkAnalysisNamed(std::string_view name);

void WriteNetworkSolveReport(ResultWriter& out, const Network& network,
                             const NetworkFigures& figures);
void WritePopulationsReport(ResultWriter& out, const Network& network,
                            const std::vector<PopulationRow>& rows);

// The figures of either kind of network.
NetworkFigures SolveNetwork(const Network& network);

struct NetworkReport {
    std::vector<StyledLine> lines;
    std::string error;                 // why the input was refused; empty when it was not
    std::vector<std::string> failure;  // the lines of a computation that gave up
};

// The analysis of a checked network; populations of an open network is refused.
NetworkReport RunNetworkAnalysis(const Network& network, NetworkAnalysis analysis);

// Reads, checks and runs: a file that cannot be read gives "Cannot read file PATH" and why on a
// second line; a refused network the refusal.
NetworkReport RunNetworkFile(const std::string& path, NetworkAnalysis analysis);

}  // namespace wachtrix
