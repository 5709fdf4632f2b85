#include "core/markov/chain_powers.h"

#include <algorithm>
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

// Row i of M sums to 1 - loss(i): the diagonal of D = M - I is minus the rest of its row and
// the loss, and a row of M itself is scaled to its sum.
void KeepRowSums(std::vector<double>& m, int n, bool fromIdentity,
                 const std::vector<double>& loss) {
    for (int i = 0; i < n; ++i) {
        double* row = &m[static_cast<std::size_t>(i) * n];
        long double rest = 0;
        for (int j = 0; j < n; ++j)
            if (j != i) rest += row[j];
        if (fromIdentity) {
            row[i] = static_cast<double>(-rest - loss[i]);
            continue;
        }
        const long double total = rest + row[i];
        if (!(total > 0)) continue;
        for (int j = 0; j < n; ++j)
            row[j] = static_cast<double>(row[j] * (1 - static_cast<long double>(loss[i])) / total);
    }
}

// The loss over twice the time: what is lost in the first half, and in the second from where the
// first left off, l + M l; with M = I + D the diagonal of M is 1 + D(i,i), a probability. Sums of
// positive terms only.
std::vector<double> DoubledLoss(const std::vector<double>& m, int n, bool fromIdentity,
                                const std::vector<double>& loss) {
    std::vector<double> doubled(n);
    for (int i = 0; i < n; ++i) {
        const double* row = &m[static_cast<std::size_t>(i) * n];
        long double total = loss[i];
        for (int j = 0; j < n; ++j) {
            const double entry = j == i && fromIdentity ? std::max(0.0, 1 + row[j]) : row[j];
            total += static_cast<long double>(entry) * loss[j];
        }
        doubled[i] = static_cast<double>(total);
    }
    return doubled;
}

}  // namespace

bool TooSlowForItsSteps(const std::vector<std::vector<double>>& w, int n) {
    constexpr double kSlowestRate = 0x1p-40;
    for (int i = 1; i <= n; ++i) {
        double out = 0;
        for (int j = 1; j <= n; ++j)
            if (j != i) out += w[i][j];
        if (out > 0 && out < kSlowestRate) return true;
    }
    return false;
}

UnitSeries GeneratorSeries(const std::vector<double>& a, int n, double jumps,
                           const std::function<bool()>& carryOn, bool& stopped) {
    const std::size_t size = static_cast<std::size_t>(n) * n;
    UnitSeries series{std::vector<double>(size, 0.0), std::vector<double>(size, 0.0)};
    std::vector<double> scaled(a), term(size, 0.0);  // (jumps A)^k / k!
    for (double& x : scaled)
        x *= jumps;
    for (int i = 0; i < n; ++i)
        term[static_cast<std::size_t>(i) * n + i] = 1;
    for (std::size_t e = 0; e < size; ++e)
        series.s[e] = jumps * term[e];
    for (int k = 1; k <= kUnitTerms; ++k) {
        if (!carryOn()) {
            stopped = true;
            return series;
        }
        term = MultiplyDense(term, scaled, n);
        for (double& x : term)
            x /= k;
        for (std::size_t e = 0; e < size; ++e) {
            series.e[e] += term[e];
            series.s[e] += jumps * term[e] / (k + 1);
        }
    }
    return series;
}

void GeneratorStretch(const std::vector<double>& a, int n, double jumps, std::vector<double>& v,
                      std::vector<double>& s) {
    std::vector<double> term = v, next(n);
    s.assign(n, 0.0);
    for (int j = 0; j < n; ++j)
        s[j] = jumps * term[j];
    for (int k = 1; k <= kUnitTerms; ++k) {
        MultiplyRowVector(term.data(), a.data(), next.data(), n);
        for (int j = 0; j < n; ++j) {
            term[j] = next[j] * jumps / k;
            v[j] += term[j];
            s[j] += jumps * term[j] / (k + 1);
        }
    }
}

ChainPowers::ChainPowers(std::vector<double> m0, std::vector<double> sum0, int n, bool fromIdentity,
                         std::optional<std::vector<double>> rowLoss)
    : n_(n),
      sums_(!sum0.empty()),
      fromIdentity_(fromIdentity),
      loss_(std::move(rowLoss)),
      power(std::move(m0)),
      sum(std::move(sum0)) {
    if (loss_) KeepRowSums(power, n_, fromIdentity_, *loss_);
}

int ChainPowers::ProductsFor(int level) const {
    return std::max(level - level_, 0) * (sums_ ? 2 : 1);
}

void ChainPowers::Need(double m) {
    if (!(m >= 1)) return;
    std::uint64_t mantissa = 0;
    int shift = 0;
    Split(m, mantissa, shift);
    for (int bit = 0; (mantissa >> bit) != 0; ++bit) {
        if (((mantissa >> bit) & 1) == 0) continue;
        const auto level = static_cast<std::size_t>(bit + shift);
        if (needed_.size() <= level) needed_.resize(level + 1, 0);
        needed_[level] = 1;
    }
}

bool ChainPowers::Prepare(int level, const std::function<bool()>& carryOn) {
    const auto keep = [&] {
        const auto j = static_cast<std::size_t>(level_);
        if (j >= needed_.size() || !needed_[j]) return;
        if (power_.size() <= j) {
            power_.resize(j + 1);
            sum_.resize(j + 1);
        }
        power_[j] = power;
        if (sums_) sum_[j] = sum;
    };
    keep();
    while (level_ < level) {
        // With M = I + D: S_{j+1} = S + M S = 2 S + D S and M M = I + (2 D + D D).
        const double own = fromIdentity_ ? 2 : 1;
        if (sums_) {
            if (!carryOn()) return false;
            std::vector<double> s = MultiplyDense(power, sum, n_);
            for (std::size_t k = 0; k < s.size(); ++k)
                s[k] += own * sum[k];
            sum.swap(s);
        }
        if (!carryOn()) return false;
        if (loss_) *loss_ = DoubledLoss(power, n_, fromIdentity_, *loss_);
        std::vector<double> squared = MultiplyDense(power, power, n_);
        if (fromIdentity_) {
            for (std::size_t k = 0; k < squared.size(); ++k)
                squared[k] += 2 * power[k];
        }
        if (loss_) KeepRowSums(squared, n_, fromIdentity_, *loss_);
        power.swap(squared);
        ++level_;
        keep();
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
        if (fromIdentity_) {
            for (int j = 0; j < n_; ++j)
                v[j] += product[j];
        } else {
            v.swap(product);
        }
    }
}

}  // namespace wachtrix
