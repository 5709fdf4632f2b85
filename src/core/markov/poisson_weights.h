#pragma once
// The Poisson weights of uniformisation: the chance of n jumps of a Poisson process of rate nu
// by time t, carried from n to n + 1 in logarithms so that a large nu t neither underflows at
// the start nor overflows later.
//
//   TruncationPoint(1) -> 16   TruncationPoint(200) -> 313 (trunc(200 + 8 sqrt(200)))
//   TruncationPoint(5e8) -> 500178885
//   PoissonWeights(1, {2}): n = 0: weight e^-2, cumulative e^-2; n = 1: weight 2 e^-2, ...

#include <vector>

namespace wachtrix {

// The last term n of the series for lambda = nu t; from 2^62 on (and for an infinite lambda)
// 2^62, a series no run steps through.
long long TruncationPoint(double lambda);

class PoissonWeights {
public:
    // One series per time point t (ascending), lambda = nu t, all at n = 0.
    PoissonWeights(double nu, const std::vector<double>& times);

    // The truncation point of time point k, and of the last (largest) one.
    long long lastTerm(int k) const { return lastTerm_[k]; }
    long long lastTerm() const { return lastTerm_.empty() ? 0 : lastTerm_.back(); }

    double weight(int k) const { return weight_[k]; }  // w_k(n)
    double cumulative(int k) const { return static_cast<double>(cumulative_[k]); }

    // From n to n + 1.
    void Next();

private:
    long long n_ = 0;
    std::vector<long long> lastTerm_;
    std::vector<long double> logLambda_;
    std::vector<long double> logWeight_;
    std::vector<double> weight_;
    std::vector<long double> cumulative_;
};

}  // namespace wachtrix
