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

bool AllPresent(const std::vector<std::optional<double>>& cells) {
    for (const auto& cell : cells)
        if (!cell) return false;
    return true;
}

std::optional<std::string> CheckDiscreteRows(const ChainNumbers& c) {
    for (int i = 0; i < c.n; ++i) {
        long double sum = 0;
        for (int j = 0; j < c.n; ++j) {
            const double p = *c.cell(i, j);
            if (p < 0) return "Negative value in transitionmatrix";
            sum += p;
        }
        if (std::fabs(sum - 1) >= kRowSumTolerance) return "Sum of rows not 1 in transitionmatrix.";
    }
    return std::nullopt;
}

std::optional<std::string> CheckContinuousRows(const ChainNumbers& c) {
    for (int i = 0; i < c.n; ++i) {
        long double sum = 0;
        for (int j = 0; j < c.n; ++j) {
            // The diagonal is compared as text: only a plain "0" says the user left it empty.
            if (i == j && !c.plainZeroDiagonal[i]) {
                return "Diagonal values must be zero in transitionMatrix";
            }
            const double q = *c.cell(i, j);
            if (q < 0) return "Negative value in transitionmatrix";
            sum += q;
        }
        // Uniformisation divides by the largest row sum, which must stay a number.
        if (sum > std::numeric_limits<double>::max()) return "Illegal value in transitionmatrix.";
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

ChainNumbers ChainNumbersFromInput(const ChainInput& input) {
    ChainNumbers c;
    c.kind = input.kind;
    c.n = input.StateCount();
    const int costColumns = CostColumnCount(input.kind);
    c.matrix.reserve(static_cast<std::size_t>(c.n) * c.n);
    c.plainZeroDiagonal.assign(c.n, 0);
    for (int i = 0; i < c.n; ++i) {
        const auto& row = input.matrix[i];
        for (int j = 0; j < c.n; ++j)
            c.matrix.push_back(j < static_cast<int>(row.size()) ? ParseReal(row[j]) : std::nullopt);
        c.plainZeroDiagonal[i] = i < static_cast<int>(row.size()) && row[i] == "0";
    }
    for (int i = 0; i < c.n; ++i) {
        const bool present = i < static_cast<int>(input.costs.size());
        for (int k = 0; k < costColumns; ++k) {
            c.costs.push_back(present && k < static_cast<int>(input.costs[i].size())
                                  ? ParseReal(input.costs[i][k])
                                  : std::nullopt);
        }
    }
    // A cost grid of another size is refused like an unreadable cost.
    if (static_cast<int>(input.costs.size()) != c.n) c.costs.push_back(std::nullopt);
    return c;
}

std::optional<std::string> ValidateChainNumbers(const ChainNumbers& c) {
    if (!AllPresent(c.matrix)) return "Illegal value in transitionmatrix.";
    if (!AllPresent(c.costs)) return "Illegal value in cost vector.";
    const auto rowFault =
        c.kind == ChainKind::Discrete ? CheckDiscreteRows(c) : CheckContinuousRows(c);
    if (rowFault) return rowFault;
    for (const auto& cost : c.costs)
        if (*cost < kLowestCost) return "Value in cost vector must be above -100000.";
    if (c.kind == ChainKind::Continuous) {
        // The cost figures of the analyses are sums of these rates.
        const std::vector<double> rates = ContinuousCostRates(ChainDataFromNumbers(c));
        for (int j = 1; j <= c.n; ++j) {
            if (!std::isfinite(rates[j])) {
                return "Cost rate of state " + std::to_string(j) +
                       " too large: r(j) + sum of F(k) q(j,k) exceeds 1E308.";
            }
        }
    }
    return std::nullopt;
}

ChainData ChainDataFromNumbers(const ChainNumbers& c) {
    const int costColumns = CostColumnCount(c.kind);
    ChainData data = ChainData::Zero(c.n, c.kind);
    for (int i = 1; i <= c.n; ++i) {
        for (int j = 1; j <= c.n; ++j)
            data.TransitionMatrix[i][j] = c.cell(i - 1, j - 1).value();
        for (int k = 1; k <= costColumns; ++k)
            data.CostMatrix[i][k] = c.cost(i - 1, k - 1).value();
    }
    data.CostVectorRead = true;
    data.DataLoaded = true;
    return data;
}

std::optional<std::string> ValidateChainInput(const ChainInput& input) {
    return ValidateChainNumbers(ChainNumbersFromInput(input));
}

ChainData ChainDataFromInput(const ChainInput& input) {
    const ChainNumbers c = ChainNumbersFromInput(input);
    for (const auto* cells : {&c.matrix, &c.costs})
        if (!AllPresent(*cells)) throw std::invalid_argument("a cell is not a number");
    return ChainDataFromNumbers(c);
}

}  // namespace wachtrix
