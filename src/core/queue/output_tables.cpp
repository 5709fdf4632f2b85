#include "core/queue/output_tables.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/queue/state_tails.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {

std::vector<int> StateNumbers(const ValueList& values) {
    std::vector<int> n;
    for (int i = 1; i <= values.Count; ++i)
        n.push_back(static_cast<int>(std::trunc(values[i] + 1e-10)));
    return n;
}

void WriteWaitingTable(ResultWriter& out, const ValueList& t, const std::vector<double>& tails) {
    std::vector<std::string> rows;
    for (int i = 1; i <= t.Count && i <= static_cast<int>(tails.size()); ++i)
        rows.push_back(Format("%10.5g  %10s", {t[i], FormatProb(tails[i - 1])}));
    WriteResultTable(out, Format("%10s  %10s", {"t", "P{Wq>t}"}), rows);
}

void WritePercentileTable(ResultWriter& out, const ValueList& p,
                          const std::vector<double>& percentiles, const char* gap) {
    const std::string layout = std::string("%10s") + gap + "%10s";
    std::vector<std::string> rows;
    for (int i = 1; i <= p.Count && i <= static_cast<int>(percentiles.size()); ++i) {
        const double w = percentiles[i - 1];
        rows.push_back(Format(layout, {FormatSig6(p[i]), w <= -1e-12 ? std::string("undefined")
                                                                     : FormatSig6(std::fabs(w))}));
    }
    WriteResultTable(out, Format(layout, {"p", "Percentile"}), rows);
}

void WriteStateTable(ResultWriter& out, const std::vector<int>& n,
                     const std::vector<StateProbability>& rows, const StateColumns& columns) {
    const std::string column = "  %" + std::to_string(columns.width) + "s";
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < n.size() && i < rows.size(); ++i)
        lines.push_back(Format("%4d" + column + column,
                               {n[i], FormatProb(rows[i].equal), FormatProb(rows[i].greater)}));
    WriteResultTable(out, Format("%4s" + column + column, {"n", columns.equal, columns.greater}),
                     lines);
}

namespace {

double WriteStates(ResultWriter& out, const ValueList& values,
                   const std::function<StateTable(const std::vector<int>&)>& solve,
                   const StateColumns& columns) {
    const std::vector<int> n = StateNumbers(values);
    const StateTable table = solve(n);
    WriteStateTable(out, n, table.rows, columns);
    return table.check;
}

}  // namespace

}  // namespace wachtrix

namespace wachtrix {

StateTable StateRowsOf(std::span<const double> p, const std::vector<int>& n) {
    const std::vector<double> tails = StateTails({p.begin(), p.end()}, 0);
    const int K = static_cast<int>(p.size()) - 1;
    StateTable table;
    for (const int k : n)
        table.rows.push_back(k <= K ? StateProbability{p[k], tails[k]} : StateProbability{0, 0});
    return table;
}

double WriteRequestedTable(ResultWriter& out, const OutputRequest& request,
                           const SolutionTables& tables) {
    switch (request.mode) {
        case kWaitingTable:
            WriteWaitingTable(out, request.values, Evaluate(request.values, tables.waitingTail));
            return 0;
        case kPercentiles:
            WritePercentileTable(out, request.values, Evaluate(request.values, tables.percentile),
                                 tables.percentileGap);
            return 0;
        case kStates:
            return WriteStates(out, request.values, tables.states, kStateColumns);
        case kTimeStates:
            return WriteStates(out, request.values, tables.timeStates, tables.timeColumns);
        case kCustomerStates:
            return WriteStates(out, request.values, tables.customerStates, tables.customerColumns);
        default:
            return 0;
    }
}

}  // namespace wachtrix
