#include "core/markov/mean_passage_report.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/markov/chain_structure.h"
#include "core/markov/mean_passage.h"
#include "core/markov/uniformisation.h"
#include "core/text/decimal_digits.h"
#include "core/text/markov_format.h"
#include "core/text/padding.h"

namespace wachtrix {
namespace {

constexpr int kLabelWidth = 10;
constexpr int kColumnWidth = 14;
constexpr int kColumnsPerBlock = 5;
// The digits the comma-separated copies give: the chain's values come in as doubles, and the
// results carry them to a relative 1e-14 or so (more error the larger the chain), so the 15th
// digit is not theirs; 12 are.
constexpr int kCarriedDigits = 12;

// Moves to the column, with at least one blank after a value that overran its column.
void Column(std::string& line, int width) {
    if (static_cast<int>(line.size()) < width) {
        line.append(width - line.size(), ' ');
    } else {
        line += ' ';
    }
}

std::string Number(int k) {
    return std::to_string(k);
}

// Mean times and costs: 8 significant digits, a sign only when negative.
std::string Mean(const DecimalExpansion& expansion, double value) {
    if (!std::isfinite(value)) return "out of range";
    if (value < 0) return "-" + FormatSignificant(std::fabs(value), 8);
    return FormatSignificant(expansion, value, 8);
}

std::string Mean(double value) {
    return Mean(DecimalExpansion(value), value);
}

std::string Probability(const DecimalExpansion& expansion, double value) {
    return FormatFixedPrecision(expansion, value, 10, 9);
}

struct Table {
    std::vector<std::string> rows;     // the row labels' state numbers
    std::vector<std::string> columns;  // the column labels
    std::function<double(std::size_t, std::size_t)> value;
    // From the value's expansion, which its comma-separated copy shares.
    std::function<std::string(const DecimalExpansion&, double)> format;
};

// The table in blocks of five columns, then as comma-separated values; each value is expanded
// into its digits once, for both.
void WriteTable(std::vector<std::string>& lines, const Table& table) {
    const std::size_t columns = table.columns.size();
    const std::size_t rows = table.rows.size();
    const std::size_t blocks = (columns + kColumnsPerBlock - 1) / kColumnsPerBlock;
    std::vector<std::string> blockLines(blocks * rows);
    std::vector<std::string> csvLines(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        std::string& csv = csvLines[r];
        csv.reserve(table.rows[r].size() + 18 * columns);
        csv = table.rows[r];
        for (std::size_t c = 0; c < columns; ++c) {
            const double value = table.value(r, c);
            const DecimalExpansion expansion(value);
            std::string& line = blockLines[c / kColumnsPerBlock * rows + r];
            if (line.empty()) line = "From " + table.rows[r];
            Column(line, kLabelWidth + kColumnWidth * static_cast<int>(c % kColumnsPerBlock));
            line += table.format(expansion, value);
            csv += ',';
            csv += FormatGeneralDigits(expansion, value, kCarriedDigits);
        }
    }
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t first = b * kColumnsPerBlock;
        const std::size_t last = std::min(columns, first + kColumnsPerBlock);
        if (b > 0) lines.emplace_back();
        std::string header;
        for (std::size_t c = first; c < last; ++c) {
            Column(header, kLabelWidth + kColumnWidth * static_cast<int>(c - first));
            header += table.columns[c];
        }
        lines.push_back(std::move(header));
        for (std::size_t r = 0; r < rows; ++r)
            lines.push_back(std::move(blockLines[b * rows + r]));
    }
    lines.emplace_back();
    lines.emplace_back("As comma-separated values:");
    std::string header = "From";
    for (const auto& column : table.columns) {
        header += ',';
        header += column;
    }
    lines.push_back(std::move(header));
    for (std::string& line : csvLines)
        lines.push_back(std::move(line));
}

void WritePassageTimes(std::vector<std::string>& lines, const ChainData& chain) {
    const int n = chain.StateCount;
    const bool continuous = chain.Kind == ChainKind::Continuous;
    if (continuous && n == 1) {
        lines.push_back("The chain has a single state that it never leaves,");
        lines.push_back("so there are no passage times.");
        return;
    }
    const PassageTimes times = MeanPassageTimes(chain.TransitionMatrix, n, chain.Kind);
    lines.push_back(continuous ? "Mean first-passage times m(i,j) in units of time"
                               : "Mean first-passage times m(i,j) in steps");
    lines.push_back("(m(i,i) is the mean return time to state i)");
    lines.push_back(" ");
    Table table;
    for (int i = 1; i <= n; ++i) {
        table.rows.push_back(Number(i));
        table.columns.push_back("To " + Number(i));
    }
    table.value = [&](std::size_t r, std::size_t c) { return times.m[r + 1][c + 1]; };
    table.format = [](const DecimalExpansion& e, double v) { return Mean(e, v); };
    WriteTable(lines, table);
    lines.push_back(" ");
    lines.push_back("Accuracy check: " + FormatFixedPrecision(times.accuracy, 11, 10));
}

void WriteAbsorption(std::vector<std::string>& lines, const ChainData& chain,
                     const ChainStructure& classes) {
    const int n = chain.StateCount;
    const bool continuous = chain.Kind == ChainKind::Continuous;
    const std::vector<double> cost = StateCosts(chain);
    const Absorption absorption =
        SolveAbsorption(chain.TransitionMatrix, n, chain.Kind, classes, cost);
    Table table;
    for (int s : absorption.transient)
        table.rows.push_back(Number(s));

    lines.push_back("Absorption probabilities in the recurrent classes");
    lines.push_back(" ");
    for (std::size_t c = 0; c < classes.subchains.size(); ++c) {
        std::string line = "Class " + Number(static_cast<int>(c + 1)) + ":";
        for (int s : classes.subchains[c].states)
            line += " " + Number(s);
        lines.push_back(line);
        table.columns.push_back("Class " + Number(static_cast<int>(c + 1)));
    }
    lines.push_back("");
    table.value = [&](std::size_t r, std::size_t c) { return absorption.probability[r][c]; };
    table.format = Probability;
    WriteTable(lines, table);

    lines.push_back(" ");
    lines.push_back(continuous ? "Expected time until absorption"
                               : "Expected number of steps until absorption");
    lines.push_back(" ");
    for (std::size_t r = 0; r < absorption.transient.size(); ++r)
        lines.push_back(PadRight("From " + table.rows[r] + ": ", kLabelWidth) +
                        Mean(absorption.time[r]));

    if (chain.CostVectorRead) {
        lines.push_back(" ");
        lines.push_back("Expected total cost until absorption");
        lines.push_back(" ");
        for (std::size_t r = 0; r < absorption.transient.size(); ++r)
            lines.push_back(PadRight("From " + table.rows[r] + ": ", kLabelWidth) +
                            Mean(absorption.cost[r]));
    }

    lines.push_back(" ");
    lines.push_back(continuous ? "Expected time in each transient state"
                               : "Expected number of visits to each transient state");
    lines.push_back(continuous ? "(the fundamental matrix)"
                               : "(the fundamental matrix; the start counts as a visit)");
    lines.push_back(" ");
    table.columns.clear();
    for (int s : absorption.transient)
        table.columns.push_back("To " + Number(s));
    table.value = [&](std::size_t r, std::size_t c) { return absorption.visits[r][c]; };
    table.format = [](const DecimalExpansion& e, double v) { return Mean(e, v); };
    WriteTable(lines, table);

    lines.push_back(" ");
    lines.push_back("Accuracy check: " + FormatFixedPrecision(absorption.accuracy, 11, 10));
}

}  // namespace

std::vector<std::string> MeanPassageReport(const ChainData& chain) {
    if (!chain.DataLoaded) return {};
    std::vector<std::string> lines = MeanPassageHeader();
    // Two tables of n rows in blocks of five columns, with their copies, at most: sized once.
    const std::size_t n = static_cast<std::size_t>(chain.StateCount);
    lines.reserve(2 * (n + 2) * ((n + kColumnsPerBlock - 1) / kColumnsPerBlock + 1) + 4 * n + 32);
    const ChainStructure classes = ClassifyChain(chain);
    if (!classes.transientStates.empty()) {
        WriteAbsorption(lines, chain, classes);
    } else if (classes.subchains.size() == 1) {
        WritePassageTimes(lines, chain);
    } else {
        lines.push_back("This Markov chain has more than one recurrent class");
        lines.push_back("and no transient states: nothing is absorbed,");
        lines.push_back("and no class is ever left for another.");
    }
    return lines;
}

std::vector<std::string> MeanPassageHeader() {
    return {"=================================", "   MEAN PASSAGE AND ABSORPTION",
            "=================================", " "};
}

}  // namespace wachtrix
