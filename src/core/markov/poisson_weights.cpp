#include "core/markov/poisson_weights.h"

#include <cmath>

#include "core/numeric/numerical_failure.h"
#include "core/text/delphi_format.h"

namespace wachtrix {
namespace {

constexpr double kLargestNuT = 1e305;

// exp of anything lower is below the smallest double; taken as 0.
constexpr long double kLowestLogWeight = -700;

double WeightOf(long double logWeight) {
    return logWeight < kLowestLogWeight ? 0.0 : std::exp(static_cast<double>(logWeight));
}

}  // namespace

long long TruncationPoint(double lambda) {
    // Fixed points for small lambda, where the normal approximation is poor.
    struct Step {
        double upTo;
        int point;
    };
    static constexpr Step kSteps[] = {{1, 16},   {5, 29},   {10, 41},   {15, 51},  {25, 70},
                                      {50, 109}, {80, 153}, {120, 207}, {160, 259}};
    for (const Step& step : kSteps)
        if (lambda <= step.upTo) return step.point;
    const double point = std::trunc(lambda + 8 * std::sqrt(lambda));
    // Far beyond what stepping could reach; such series are squared.
    constexpr double kFar = 0x1p62;
    return point < kFar ? static_cast<long long>(point) : static_cast<long long>(kFar);
}

PoissonWeights::PoissonWeights(double nu, const std::vector<double>& times) {
    for (const double t : times) {
        const double lambda = nu * t;
        // The sums over the series reach a few times nu t; beyond this they would leave the
        // range of numbers.
        if (!(lambda <= kLargestNuT)) {
            const std::string size = std::isfinite(lambda)
                                         ? Format("nu t = %.4g is", {lambda})
                                         : std::string("nu t is beyond the range of numbers,");
            throw NumericalFailure(
                {size + " beyond what can be computed (1E305): measure time in a longer unit"});
        }
        lastTerm_.push_back(TruncationPoint(lambda));
        logLambda_.push_back(std::log(static_cast<long double>(lambda)));
        logWeight_.push_back(-static_cast<long double>(lambda));
        weight_.push_back(WeightOf(logWeight_.back()));
        cumulative_.push_back(weight_.back());
    }
}

void PoissonWeights::Next() {
    ++n_;
    // ln(lambda / n) as ln lambda - ln n: one logarithm per step for all the series.
    const long double logN = std::log(static_cast<long double>(n_));
    for (std::size_t k = 0; k < logWeight_.size(); ++k) {
        logWeight_[k] += logLambda_[k] - logN;
        weight_[k] = WeightOf(logWeight_[k]);
        cumulative_[k] += weight_[k];
    }
}

}  // namespace wachtrix
