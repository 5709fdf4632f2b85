#include "core/markov/chain_powers.h"

#include <cmath>
#include <cstdint>

#include "core/markov/sparse_matrix.h"
#include "core/numeric/matrix_power.h"

namespace wachtrix {
namespace {

// m = mantissa 2^shift with a whole mantissa below 2^53.
void Split(double m, std::uint64_t& mantissa, int& shift) {
    int exponent = 0;
    const double fraction = std::frexp(m, &exponent);
    shift = std::max(exponent - 53, 0);
    mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, exponent - shift));
}

}  // namespace

UnitSeries UniformisedSeries(const std::vector<double>& w, int n, double jumps,
                             const std::function<bool()>& carryOn, bool& stopped) {
    // Poisson weights and their upper tails, the tails summed from the far end.
    std::vector<double> weight(kUnitTerms + 1), tail(kUnitTerms + 1, 0.0);
    weight[0] = std::exp(-jumps);
    for (int m = 1; m <= kUnitTerms; ++m)
        weight[m] = weight[m - 1] * jumps / m;
    for (int m = kUnitTerms - 1; m >= 0; --m)
        tail[m] = tail[m + 1] + weight[m + 1];
    const std::size_t size = static_cast<std::size_t>(n) * n;
    UnitSeries series{std::vector<double>(size, 0.0), std::vector<double>(size, 0.0)};
    std::vector<double> power(size, 0.0);
    for (int i = 0; i < n; ++i)
        power[static_cast<std::size_t>(i) * n + i] = 1;
    for (int m = 0; m <= kUnitTerms; ++m) {
        if (m > 0) {
            if (!carryOn()) {
                stopped = true;
                return series;
            }
            power = MultiplyDense(power, w, n);
        }
        for (std::size_t e = 0; e < size; ++e) {
            series.e[e] += weight[m] * power[e];
            series.s[e] += tail[m] * power[e];
        }
    }
    return series;
}

void ShortStretch(const SparseMatrix& w, double jumps, std::vector<double>& v,
                  std::vector<double>& s) {
    const int n = w.size();
    std::vector<double> weight(kUnitTerms + 1), tail(kUnitTerms + 1, 0.0);
    weight[0] = std::exp(-jumps);
    for (int m = 1; m <= kUnitTerms; ++m)
        weight[m] = weight[m - 1] * jumps / m;
    for (int m = kUnitTerms - 1; m >= 0; --m)
        tail[m] = tail[m + 1] + weight[m + 1];
    // 1-based for the sparse products.
    std::vector<double> p(n + 1, 0.0), next;
    for (int j = 0; j < n; ++j)
        p[j + 1] = v[j];
    v.assign(n, 0.0);
    s.assign(n, 0.0);
    for (int m = 0; m <= kUnitTerms; ++m) {
        if (m > 0) {
            w.MultiplyLeft(p, next);
            p.swap(next);
        }
        for (int j = 0; j < n; ++j) {
            v[j] += weight[m] * p[j + 1];
            s[j] += tail[m] * p[j + 1];
        }
    }
}

ChainPowers::ChainPowers(std::vector<double> m0, std::vector<double> sum0, int n)
    : n_(n), sums_(!sum0.empty()) {
    power_.push_back(std::move(m0));
    if (sums_) sum_.push_back(std::move(sum0));
}

int ChainPowers::ProductsFor(int level) const {
    const int missing = std::max(level + 1 - static_cast<int>(power_.size()), 0);
    return missing * (sums_ ? 2 : 1);
}

bool ChainPowers::Prepare(int level, const std::function<bool()>& carryOn) {
    while (static_cast<int>(power_.size()) <= level) {
        const std::vector<double>& m = power_.back();
        if (sums_) {
            if (!carryOn()) return false;
            std::vector<double> s = MultiplyDense(m, sum_.back(), n_);
            const std::vector<double>& previous = sum_.back();
            for (std::size_t k = 0; k < s.size(); ++k)
                s[k] += previous[k];
            sum_.push_back(std::move(s));
        }
        if (!carryOn()) return false;
        power_.push_back(MultiplyDense(m, m, n_));
    }
    return true;
}

int ChainPowers::TopLevel(double m) {
    if (!(m >= 1)) return 0;
    std::uint64_t mantissa = 0;
    int shift = 0;
    Split(m, mantissa, shift);
    int top = 0;
    while ((mantissa >> top) > 1)
        ++top;
    return top + shift;
}

void ChainPowers::Apply(double m, std::vector<double>& v, std::vector<double>* s) const {
    if (!(m >= 1)) return;
    std::uint64_t mantissa = 0;
    int shift = 0;
    Split(m, mantissa, shift);
    std::vector<double> product(n_);
    for (int bit = 0; (mantissa >> bit) != 0; ++bit) {
        if (((mantissa >> bit) & 1) == 0) continue;
        const int level = bit + shift;
        if (s && sums_) {
            MultiplyRowVector(v.data(), sum_[level].data(), product.data(), n_);
            for (int j = 0; j < n_; ++j)
                (*s)[j] += product[j];
        }
        MultiplyRowVector(v.data(), power_[level].data(), product.data(), n_);
        v.swap(product);
    }
}

}  // namespace wachtrix
