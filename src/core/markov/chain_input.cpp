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

bool AllReal(const std::vector<std::vector<std::string>>& cells, int columns) {
    for (const auto& row : cells) {
        for (int j = 0; j < columns; ++j) {
            if (j >= static_cast<int>(row.size()) || !ParseReal(row[j])) return false;
        }
    }
    return true;
}

double Value(const std::string& text) {
    const auto value = ParseReal(text);
    if (!value) throw std::invalid_argument("not a number: " + text);
    return *value;
}

std::optional<std::string> CheckDiscreteRows(const ChainInput& input) {
    for (const auto& row : input.matrix) {
        long double sum = 0;
        for (const auto& cell : row) {
            const double p = Value(cell);
            if (p < 0) return "Negative value in transitionmatrix";
            sum += p;
        }
        if (std::fabs(sum - 1) >= kRowSumTolerance) return "Sum of rows not 1 in transitionmatrix.";
    }
    return std::nullopt;
}

std::optional<std::string> CheckContinuousRows(const ChainInput& input) {
    const int n = input.StateCount();
    for (int i = 0; i < n; ++i) {
        long double sum = 0;
        for (int j = 0; j < n; ++j) {
            // The diagonal is compared as text: only a plain "0" says the user left it empty.
            if (i == j && input.matrix[i][j] != "0") {
                return "Diagonal values must be zero in transitionMatrix";
            }
            const double q = Value(input.matrix[i][j]);
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

std::optional<std::string> ValidateChainInput(const ChainInput& input) {
    const int n = input.StateCount();
    const int costColumns = CostColumnCount(input.kind);
    if (!AllReal(input.matrix, n)) return "Illegal value in transitionmatrix.";
    if (static_cast<int>(input.costs.size()) != n || !AllReal(input.costs, costColumns)) {
        return "Illegal value in cost vector.";
    }
    const auto rowFault =
        input.kind == ChainKind::Discrete ? CheckDiscreteRows(input) : CheckContinuousRows(input);
    if (rowFault) return rowFault;
    for (const auto& row : input.costs) {
        for (int j = 0; j < costColumns; ++j) {
            if (Value(row[j]) < kLowestCost) return "Value in cost vector must be above -100000.";
        }
    }
    if (input.kind == ChainKind::Continuous) {
        // The cost figures of the analyses are sums of these rates.
        const std::vector<double> rates = ContinuousCostRates(ChainDataFromInput(input));
        for (int j = 1; j <= n; ++j) {
            if (!std::isfinite(rates[j])) {
                return "Cost rate of state " + std::to_string(j) +
                       " too large: r(j) + sum of F(k) q(j,k) exceeds 1E308.";
            }
        }
    }
    return std::nullopt;
}

ChainData ChainDataFromInput(const ChainInput& input) {
    const int n = input.StateCount();
    const int costColumns = CostColumnCount(input.kind);
    ChainData data = ChainData::Zero(n, input.kind);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            data.TransitionMatrix[i][j] = Value(input.matrix[i - 1].at(j - 1));
        for (int k = 1; k <= costColumns; ++k)
            data.CostMatrix[i][k] = Value(input.costs.at(i - 1).at(k - 1));
    }
    data.CostVectorRead = true;
    data.DataLoaded = true;
    return data;
}

}  // namespace wachtrix
