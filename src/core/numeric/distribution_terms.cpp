#include "core/numeric/distribution_terms.h"

#include <algorithm>
#include <cmath>

namespace wachtrix {

long double LnBinomial(const std::vector<long double>& lnFactorial, int n, int k) {
    return lnFactorial[n] - lnFactorial[k] - lnFactorial[n - k];
}

std::vector<long double> BinomialTerms(const std::vector<long double>& lnFactorial, int n,
                                       long double r, long double lnU, long double ln1U,
                                       long double lnScale) {
    std::vector<long double> b(n + 1, 0.0L);
    const long double u = r / (1 + r);
    const int mode = std::min(n, static_cast<int>((n + 1) * u));
    b[mode] = std::exp(lnScale + LnBinomial(lnFactorial, n, mode) + mode * lnU + (n - mode) * ln1U);
    // The ratios first, apart from the chain of products, so the divisions overlap.
    for (int s = mode; s < n; ++s)
        b[s + 1] = (n - s) * r / (s + 1);
    for (int s = mode; s < n; ++s)
        b[s + 1] *= b[s];
    for (int s = mode; s > 0; --s)
        b[s - 1] = s / ((n - s + 1) * r);
    for (int s = mode; s > 0; --s)
        b[s - 1] *= b[s];
    return b;
}

std::vector<long double> PoissonTerms(const std::vector<long double>& lnFactorial, long double mean,
                                      int last) {
    std::vector<long double> p(last + 1, 0.0L);
    if (mean <= 0) {
        p[0] = 1;
        return p;
    }
    const int mode = static_cast<int>(std::min<long double>(last, std::floor(mean)));
    p[mode] = std::exp(-mean + mode * std::log(mean) - lnFactorial[mode]);
    for (int s = mode; s < last; ++s)
        p[s + 1] = mean / (s + 1);
    for (int s = mode; s < last; ++s)
        p[s + 1] *= p[s];
    for (int s = mode; s > 0; --s)
        p[s - 1] = s / mean;
    for (int s = mode; s > 0; --s)
        p[s - 1] *= p[s];
    return p;
}

}  // namespace wachtrix
