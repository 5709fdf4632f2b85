#pragma once
// The network text file, read and written like the chain files (numbers separated by blanks
// and line ends, "." as the decimal separator):
//
//   1            the kind: 1 open, 2 closed
//   2            K, the number of stations (1 to 50)
//   1 0.5        K lines: the servers c_k (0 for a delay station) and the mean service time S_k
//   2 0.3
//   1.5 0        open: the K external arrival rates; closed: the population N
//   0 0.6        K lines of K routing probabilities r(j,k)
//   0.2 0
//
// Only the numbers a line should hold are read; anything after them on the line is ignored,
// as in the chain files. The kind, K and N are read as whole numbers; the figures are checked
// by CheckNetwork, not here.

#include <optional>
#include <string>
#include <string_view>

#include "core/network/network.h"

namespace wachtrix {

// The figures, or why the text holds none: "line 3: station 1 has 1 of its 2 numbers".
struct NetworkReading {
    std::optional<NetworkInput> network;
    std::string reason;
};

NetworkReading ParseNetworkText(std::string_view text);
NetworkReading ReadNetworkFile(const std::string& path);

// Each figure in general format with up to 15 digits, so that what was read with at most 15
// digits is written back the same.
std::string NetworkFileText(const NetworkInput& network);

// Through a temporary file beside the target that replaces it only when complete: empty on
// success, else why not (and an existing file is left as it was).
std::string WriteNetworkFile(const std::string& path, const NetworkInput& network);

}  // namespace wachtrix
