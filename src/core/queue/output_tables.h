#pragma once
// The Output group most queue tabs share (Standard Statistics, Waiting Time Probabilities,
// Waiting Time Percentiles, State Probabilities, Graphs) and the three tables it asks for.
//
//   WriteWaitingTable(out, t {0.5, 1}, {0.58, 0.48}) ->          t     P{Wq>t}
//                                                            0.5   0.5800000 ...
//   WritePercentileTable(out, p {0.2}, {-1}, "  ")    ->         p  Percentile
//                                                       0.200000   undefined

#include <vector>

#include "core/text/result_writer.h"
#include "core/text/value_list.h"

namespace wachtrix {

// The per-run code of the chosen output.
enum OutputMode {
    kWaitingTable = 0,
    kPercentiles = 1,
    kStates = 4,
    kGraphs = 5,
    kStatistics = 9,
};

struct OutputRequest {
    int mode = kStatistics;
    ValueList values;  // the t-, p- or n-values the table asks for
};

// Reads the value group the chosen item needs (t up to tUpper, p below 1, n up to nUpper); any
// item other than 1 to 4 gives the statistics alone.
OutputRequest ReadStandardOutput(int item, TEditArray& t, TEditArray& p, TEditArray& n,
                                 double tUpper, int nUpper);

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

// P{L = n} and P{L > n}.
struct StateProbability {
    double equal = 0;
    double greater = 0;
};

// "n", "P{L=n}" and "P{L>n}"; rows[i] belongs to n[i].
void WriteStateTable(ResultWriter& out, const std::vector<int>& n,
                     const std::vector<StateProbability>& rows);

}  // namespace wachtrix
