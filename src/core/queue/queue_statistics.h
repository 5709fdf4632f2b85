#pragma once
// The figures the queue models share: the standard statistics of a report and the rows of a
// state-probability table.

#include <vector>

namespace wachtrix {

// The standard statistics; accuracy is the model's own check of its solution.
struct QueueStatistics {
    double Pwait = 0;
    double EWq = 0, ELq = 0;
    double StdWq = 0, StdLq = 0;
    double accuracy = 0;
};

// P{L = n} and P{L > n}.
struct StateProbability {
    double equal = 0;
    double greater = 0;
};

// State probabilities for the requested n, in their order, and how far the method's own check
// of the state solution is off (0 for an exact method).
struct StateTable {
    std::vector<StateProbability> rows;
    double check = 0;
};

}  // namespace wachtrix
