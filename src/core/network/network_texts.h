#pragma once
// The network as a window's grids hold it: cell texts, read into a NetworkInput the way the
// file is (the number syntax of the chain grids, "." whatever the locale), a text that is no
// number refused with its cell named; and the texts of an opened file for the grids.
//
//   servers {"2"}, serviceTimes {"0,5"} -> "Station 1: the mean service time \"0,5\" is not a
//                                           number.", part ServiceTime, row 0

#include <optional>
#include <string>
#include <vector>

#include "core/network/network.h"

namespace wachtrix {

struct NetworkTexts {
    NetworkKind kind = NetworkKind::Open;
    std::vector<std::string> servers, serviceTimes;
    std::vector<std::string> arrivalRates;  // open
    std::string population;                 // closed
    std::vector<std::vector<std::string>> routing;
};

struct NetworkTextReading {
    std::optional<NetworkInput> input;
    NetworkFault fault;  // when there is no input
};

// Every cell read; the first that is not a number (the population: not a whole number) is the
// fault. The figures are checked by CheckNetwork.
NetworkTextReading ReadNetworkTexts(const NetworkTexts& texts);

// Each figure in general format with up to 15 digits, as the file is written.
NetworkTexts TextsOf(const NetworkInput& input);

}  // namespace wachtrix
