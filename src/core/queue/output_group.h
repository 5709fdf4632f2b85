#pragma once
// The Output group of a queue tab, described as data: which output each radio item asks for and
// which value group it reads. One reader serves every tab.
//
//   ReadOutput(kStandardOutput, 1, groups, bounds) -> {kWaitingTable, the sorted t-values}
//   ReadOutput(kStandardOutput, 7, groups, bounds) -> {kStatistics, {}}   (no such item)

#include <span>
#include <string_view>

#include "core/text/value_list.h"

namespace wachtrix {

// The per-run code of the chosen output; every code a tab uses.
enum OutputMode {
    kWaitingTable = 0,
    kPercentiles = 1,
    kTimeStates = 2,      // time-average state probabilities
    kCustomerStates = 3,  // customer-average state probabilities
    kStates = 4,
    kGraphs = 5,  // the waiting-time graph (and the state graph where the window has two charts)
    kSecondGraph = 6,
    kTimeStateGraph = 7,
    kCustomerStateGraph = 8,
    kStatistics = 9,
    kMomentTable = 10,  // the transient M/M/1 table of probabilities and moments at times t
};

// Which value group an output item reads.
enum class ValueGroupKind { None, T, P, N };

struct OutputItem {
    std::string_view caption;  // the radio item's text
    OutputMode mode;
    ValueGroupKind values = ValueGroupKind::None;
};

using OutputGroup = std::span<const OutputItem>;

// Standard Statistics, Waiting Time Probabilities, Waiting Time Percentiles, State
// Probabilities, Graphs.
inline constexpr OutputItem kStandardOutputItems[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"Waiting Time Percentiles", kPercentiles, ValueGroupKind::P},
    {"State Probabilities", kStates, ValueGroupKind::N},
    {"Graphs", kGraphs},
};
inline constexpr OutputGroup kStandardOutput{kStandardOutputItems};

// The three value groups of a tab, rewritten in place by the readers.
struct ValueEdits {
    TEditArray* t = nullptr;
    TEditArray* p = nullptr;
    TEditArray* n = nullptr;
};

// The largest t- and n-value a run accepts (p-values are always below 1).
struct ValueBounds {
    double tUpper = 0;
    int nUpper = 0;
};

struct OutputRequest {
    OutputMode mode = kStatistics;
    ValueList values;  // the t-, p- or n-values the table asks for
};

// Reads the value group the chosen item needs; an index outside the group gives the statistics.
OutputRequest ReadOutput(OutputGroup group, int item, const ValueEdits& edits,
                         const ValueBounds& bounds);

}  // namespace wachtrix
