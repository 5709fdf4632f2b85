#pragma once
// The three tables of the standard Output group, and the step that writes the one a run asks
// for from what the model's solution offers.
//
//   WriteWaitingTable(out, t {0.5, 1}, {0.58, 0.48}) ->          t     P{Wq>t}
//                                                            0.5   0.5800000 ...
//   WritePercentileTable(out, p {0.2}, {-1}, "  ")    ->         p  Percentile
//                                                       0.200000   undefined
//   WriteStateTable(out, {3}, {{0.1, 0.2}}, kTimeStateColumns) ->   n  P{L(time)=n}  P{L(time)>n}
//                                                                  3     0.1000000     0.2000000

#include <functional>
#include <span>
#include <vector>

#include "core/queue/output_group.h"
#include "core/queue/queue_statistics.h"
#include "core/text/result_writer.h"
#include "core/text/value_list.h"

namespace wachtrix {

// n = trunc(value + 1e-10) for each requested state.
std::vector<int> StateNumbers(const ValueList& values);

// f(values[1]), ..., f(values[Count]).
template <class F>
std::vector<double> Evaluate(const ValueList& values, F&& f) {
    std::vector<double> results;
    for (int i = 1; i <= values.Count; ++i)
        results.push_back(static_cast<double>(f(values[i])));
    return results;
}

// "t" and "P{Wq>t}" in columns of 10, tails[i - 1] written with FormatProb beside t[i].
void WriteWaitingTable(ResultWriter& out, const ValueList& t, const std::vector<double>& tails);

// "p" and "Percentile" with FormatSig6 values; a percentile at or below -1e-12 means
// "undefined". The tabs differ in the blanks between the columns.
void WritePercentileTable(ResultWriter& out, const ValueList& p,
                          const std::vector<double>& percentiles, const char* gap);

// The headers and width of the two probability columns of a state table.
struct StateColumns {
    const char* equal;
    const char* greater;
    int width;
};
inline constexpr StateColumns kStateColumns{"P{L=n}", "P{L>n}", 10};
// Time- and customer-average tables.
inline constexpr StateColumns kTimeStateColumns{"P{L(time)=n}", "P{L(time)>n}", 12};
inline constexpr StateColumns kCustomerStateColumns{"P{L(cust)=n}", "P{L(cust)>n}", 12};

// "n" and the two columns; rows[i] belongs to n[i].
void WriteStateTable(ResultWriter& out, const std::vector<int>& n,
                     const std::vector<StateProbability>& rows,
                     const StateColumns& columns = kStateColumns);

// What a solution offers the tables of the Output groups; a model leaves out what its tab never
// asks for.

// P{L = n} and P{L > n} for each n from the probabilities p(0..K) of a finite model; none above
// K.
StateTable StateRowsOf(std::span<const double> p, const std::vector<int>& n);

struct SolutionTables {
    using States = std::function<StateTable(const std::vector<int>&)>;
    std::function<double(double)> waitingTail = {};  // P{Wq > t}
    std::function<double(double)> percentile = {};   // negative: undefined
    States states = {};
    const char* percentileGap = "  ";  // the blanks between the percentile table's columns
    States timeStates = {};            // as seen over time
    States customerStates = {};        // as seen by arriving customers
    StateColumns timeColumns = kTimeStateColumns;
    StateColumns customerColumns = kCustomerStateColumns;
};

// Writes the table the request asks for (nothing for the statistics or a graph) and answers
// the state solution's own check, 0 for any other table.
double WriteRequestedTable(ResultWriter& out, const OutputRequest& request,
                           const SolutionTables& tables);

}  // namespace wachtrix
