#include "core/markov/chain_input.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/markov/uniformisation.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"
#include "core/text/padding.h"

namespace wachtrix {
namespace {

constexpr double kLowestCost = -100000;

// The first cell not read, as an index into `read`; -1 when all were.
int FirstUnread(const std::vector<char>& read) {
    for (std::size_t k = 0; k < read.size(); ++k)
        if (!read[k]) return static_cast<int>(k);
    return -1;
}

bool AllRead(const std::vector<char>& read) {
    return FirstUnread(read) < 0;
}

std::string CostColumnName(ChainKind kind, int k) {
    if (kind == ChainKind::Discrete) return "c(j)";
    return k == 0 ? "r(j)" : "F(k)";
}

// A fault of matrix cell (i, j), 0-based; the message's second line names it 1-based.
ChainFault CellFault(const std::string& what, int i, int j) {
    return {what + "\n" + Format("Row %d, column %d.", {i + 1, j + 1}), false, i, j};
}

ChainFault CostFault(const std::string& what, ChainKind kind, int i, int k) {
    return {what + "\n" + Format("Row %d, column %s.", {i + 1, CostColumnName(kind, k)}), true, i,
            k};
}

std::optional<ChainFault> CheckDiscreteRows(const ChainNumbers& c) {
    const int n = c.data.StateCount;
    for (int i = 1; i <= n; ++i) {
        long double sum = 0;
        for (int j = 1; j <= n; ++j) {
            const double p = c.data.TransitionMatrix[i][j];
            if (p < 0) return CellFault("Negative value in transitionmatrix", i - 1, j - 1);
            sum += p;
        }
        if (std::fabs(sum - 1) >= kRowSumTolerance) {
            return ChainFault{"Sum of rows not 1 in transitionmatrix.\n" +
                                  Format("Row %d sums to %.10g.", {i, sum}),
                              false, i - 1, 0};
        }
    }
    return std::nullopt;
}

std::optional<ChainFault> CheckContinuousRows(const ChainNumbers& c) {
    const int n = c.data.StateCount;
    for (int i = 1; i <= n; ++i) {
        long double sum = 0;
        for (int j = 1; j <= n; ++j) {
            // The diagonal is compared as text: only a plain "0" says the user left it empty.
            if (i == j && !c.plainZeroDiagonal[i - 1]) {
                return CellFault("Diagonal values must be zero in transitionMatrix", i - 1, j - 1);
            }
            const double q = c.data.TransitionMatrix[i][j];
            if (q < 0) return CellFault("Negative value in transitionmatrix", i - 1, j - 1);
            sum += q;
        }
        // Every rate is legal, but the analyses run on the total rate out of each state, which
        // must stay a number: say so, and what helps.
        if (sum > std::numeric_limits<double>::max()) {
            return ChainFault{"The rates out of state " + std::to_string(i) +
                                  " add up to more than 1E308: measure time in a longer unit.",
                              false, i - 1, 0};
        }
    }
    return std::nullopt;
}

}  // namespace

ChainInput ZeroChainInput(ChainKind kind, int n) {
    ChainInput input;
    input.kind = kind;
    input.matrix.assign(n, std::vector<std::string>(n, "0"));
    input.costs.assign(n, std::vector<std::string>(CostColumnCount(kind), "0"));
    return input;
}

ChainNumbers ChainNumbers::Empty(int n, ChainKind kind) {
    ChainNumbers c;
    c.data = ChainData::Zero(n, kind);
    c.matrixRead.assign(static_cast<std::size_t>(n) * n, 0);
    c.costRead.assign(static_cast<std::size_t>(n) * CostColumnCount(kind), 0);
    c.plainZeroDiagonal.assign(n, 0);
    return c;
}

void ChainNumbers::SetCell(int i, int j, std::optional<double> value) {
    if (value && !std::isfinite(*value)) value.reset();  // beyond the range: no legal value
    data.TransitionMatrix[i + 1][j + 1] = value.value_or(0);
    matrixRead[static_cast<std::size_t>(i) * data.StateCount + j] = value.has_value();
}

void ChainNumbers::SetCost(int i, int k, std::optional<double> value) {
    if (value && !std::isfinite(*value)) value.reset();
    data.CostMatrix[i + 1][k + 1] = value.value_or(0);
    costRead[static_cast<std::size_t>(i) * CostColumnCount(data.Kind) + k] = value.has_value();
}

ChainNumbers ChainNumbersFromInput(const ChainInput& input) {
    const int n = input.StateCount();
    ChainNumbers c = ChainNumbers::Empty(n, input.kind);
    const int costColumns = CostColumnCount(input.kind);
    for (int i = 0; i < n; ++i) {
        const auto& row = input.matrix[i];
        for (int j = 0; j < n && j < static_cast<int>(row.size()); ++j)
            c.SetCell(i, j, ParseReal(row[j]));
        c.plainZeroDiagonal[i] = i < static_cast<int>(row.size()) && row[i] == "0";
    }
    for (int i = 0; i < n && i < static_cast<int>(input.costs.size()); ++i)
        for (int k = 0; k < costColumns && k < static_cast<int>(input.costs[i].size()); ++k)
            c.SetCost(i, k, ParseReal(input.costs[i][k]));
    // A cost grid of another size is refused like an unreadable cost.
    if (static_cast<int>(input.costs.size()) != n) c.costRead.push_back(0);
    return c;
}

std::optional<ChainFault> FindChainFault(const ChainNumbers& c) {
    const int n = c.data.StateCount;
    const ChainKind kind = c.data.Kind;
    const int costColumns = CostColumnCount(kind);
    if (const int k = FirstUnread(c.matrixRead); k >= 0)
        return CellFault("Illegal value in transitionmatrix.", k / n, k % n);
    if (const int k = FirstUnread(c.costRead); k >= 0) {
        // A cost grid of another size than the matrix has no cell to name.
        if (k >= n * costColumns) return ChainFault{"Illegal value in cost vector.", true, 0, 0};
        return CostFault("Illegal value in cost vector.", kind, k / costColumns, k % costColumns);
    }
    const auto rowFault =
        kind == ChainKind::Discrete ? CheckDiscreteRows(c) : CheckContinuousRows(c);
    if (rowFault) return rowFault;
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k <= costColumns; ++k)
            if (c.data.CostMatrix[i][k] < kLowestCost)
                return CostFault("Value in cost vector must be above -100000.", kind, i - 1, k - 1);
    if (kind == ChainKind::Continuous) {
        // The cost figures of the analyses are sums of these rates.
        const std::vector<double> rates = ContinuousCostRates(c.data);
        for (int j = 1; j <= n; ++j) {
            if (!std::isfinite(rates[j])) {
                return ChainFault{"Cost rate of state " + std::to_string(j) +
                                      " too large: r(j) + sum of F(k) q(j,k) exceeds 1E308.",
                                  true, j - 1, 0};
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> ValidateChainNumbers(const ChainNumbers& c) {
    if (auto fault = FindChainFault(c)) return std::move(fault->message);
    return std::nullopt;
}

ChainData ChainDataFromNumbers(ChainNumbers numbers) {
    ChainData data = std::move(numbers.data);
    data.CostVectorRead = true;
    data.DataLoaded = true;
    return data;
}

std::optional<std::string> ValidateChainInput(const ChainInput& input) {
    return ValidateChainNumbers(ChainNumbersFromInput(input));
}

ChainData ChainDataFromInput(const ChainInput& input) {
    ChainNumbers c = ChainNumbersFromInput(input);
    if (!AllRead(c.matrixRead) || !AllRead(c.costRead))
        throw std::invalid_argument("a cell is not a number");
    return ChainDataFromNumbers(std::move(c));
}

std::vector<std::string> ChainListing(const ChainInput& input) {
    const bool discrete = input.kind == ChainKind::Discrete;
    const int n = input.StateCount();
    std::vector<std::string> lines{std::string(discrete ? "Discrete" : "Continuous") +
                                       "-time Markov chain, " + std::to_string(n) +
                                       (n == 1 ? " state" : " states"),
                                   "", discrete ? "Transition matrix P" : "Rate matrix Q"};
    for (std::string& row : AlignedColumns(input.matrix))
        lines.push_back(std::move(row));
    lines.insert(lines.end(), {"", discrete ? "Cost vector" : "Cost vectors"});
    std::vector<std::vector<std::string>> costs{
        discrete ? std::vector<std::string>{"c(j)"} : std::vector<std::string>{"r(j)", "F(k)"}};
    costs.insert(costs.end(), input.costs.begin(), input.costs.end());
    for (std::string& row : AlignedColumns(costs))
        lines.push_back(std::move(row));
    return lines;
}

}  // namespace wachtrix
