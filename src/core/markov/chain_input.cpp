#include "core/markov/chain_input.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/markov/uniformisation.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr double kRowSumTolerance = 1e-5;
constexpr double kLowestCost = -100000;

bool AllRead(const std::vector<char>& read) {
    for (const char r : read)
        if (!r) return false;
    return true;
}

std::optional<std::string> CheckDiscreteRows(const ChainNumbers& c) {
    const int n = c.data.StateCount;
    for (int i = 1; i <= n; ++i) {
        long double sum = 0;
        for (int j = 1; j <= n; ++j) {
            const double p = c.data.TransitionMatrix[i][j];
            if (p < 0) return "Negative value in transitionmatrix";
            sum += p;
        }
        if (std::fabs(sum - 1) >= kRowSumTolerance) return "Sum of rows not 1 in transitionmatrix.";
    }
    return std::nullopt;
}

std::optional<std::string> CheckContinuousRows(const ChainNumbers& c) {
    const int n = c.data.StateCount;
    for (int i = 1; i <= n; ++i) {
        long double sum = 0;
        for (int j = 1; j <= n; ++j) {
            // The diagonal is compared as text: only a plain "0" says the user left it empty.
            if (i == j && !c.plainZeroDiagonal[i - 1]) {
                return "Diagonal values must be zero in transitionMatrix";
            }
            const double q = c.data.TransitionMatrix[i][j];
            if (q < 0) return "Negative value in transitionmatrix";
            sum += q;
        }
        // Every rate is legal, but the analyses run on the total rate out of each state, which
        // must stay a number: say so, and what helps.
        if (sum > std::numeric_limits<double>::max())
            return "The rates out of state " + std::to_string(i) +
                   " add up to more than 1E308: measure time in a longer unit.";
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

std::optional<std::string> ValidateChainNumbers(const ChainNumbers& c) {
    if (!AllRead(c.matrixRead)) return "Illegal value in transitionmatrix.";
    if (!AllRead(c.costRead)) return "Illegal value in cost vector.";
    const auto rowFault =
        c.data.Kind == ChainKind::Discrete ? CheckDiscreteRows(c) : CheckContinuousRows(c);
    if (rowFault) return rowFault;
    const int n = c.data.StateCount;
    for (int i = 1; i <= n; ++i)
        for (int k = 1; k <= CostColumnCount(c.data.Kind); ++k)
            if (c.data.CostMatrix[i][k] < kLowestCost)
                return "Value in cost vector must be above -100000.";
    if (c.data.Kind == ChainKind::Continuous) {
        // The cost figures of the analyses are sums of these rates.
        const std::vector<double> rates = ContinuousCostRates(c.data);
        for (int j = 1; j <= n; ++j) {
            if (!std::isfinite(rates[j])) {
                return "Cost rate of state " + std::to_string(j) +
                       " too large: r(j) + sum of F(k) q(j,k) exceeds 1E308.";
            }
        }
    }
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

}  // namespace wachtrix
