#include "core/queue/dmc_beta.h"

#include <cmath>

#include "core/numeric/gauss_legendre.h"
#include "core/numeric/log_gamma.h"
#include "core/numeric/numerical_failure.h"
#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"

namespace wachtrix {

double DmcRoot(double rho) {
    // Evaluated in extended precision: near rho = 1 the function is flat (slope about rho - 1).
    const auto f = [rho](long double x) { return (1 - x) + rho * std::log(x); };
    // Down to 1e-300: at the lightest loads accepted beta is near e^(-1/rho), 1e-24 or so.
    const long double lo = 1e-300L, hi = rho;
    const long double fLo = f(lo), fHi = f(hi);
    // These two ends leave a bracket, so the bracket failure of a plain bisection cannot occur.
    if (fHi <= 0) return rho;
    if (fLo >= 0) return 0;
    // Bisected in u = ln x, so that the step limit is relative: at light loads beta is
    // e^(-1/rho) or so, and an absolute step would leave its leading digits wrong.
    const auto g = [&](long double u) { return f(std::exp(u)); };
    return static_cast<double>(
        std::exp(BisectToNegativeEnd<long double>(g, std::log(lo), std::log(hi), fLo, 1e-17L, 10000,
                                                  {"pause in bisectie - te veel iteraties ", ""})));
}

DmcKernel::DmcKernel(int c, double rho, double beta) : c_(c), beta_(beta), D_(1 / (c * rho)) {
    const long double D = D_;
    logSurvive_ = std::log(-std::expm1(-D));
    logFactorial_ = LogFactorialTable<long double>(c);
    integrals_.assign(c + 1, 0.0L);

    const long double cb = static_cast<long double>(c) * beta;
    const int K = static_cast<int>(std::trunc(cb));
    const auto rule = GaussLegendre<long double>(24, 0.0L, D, 1e-12L);
    // e^-t - e^-D = e^-t (1 - e^-(D-t)), without the cancellation of the plain difference.
    std::vector<long double> growth, gap;
    for (const long double t : rule.nodes) {
        growth.push_back(std::exp(cb * t));
        gap.push_back(-std::exp(-t) * std::expm1(t - D));
    }
    // Every integral from K up: their weights in the tail contributions are not monotone in j
    // (the factor e^-(c-j)D grows with j), so stopping at the first negligible one can drop
    // later ones that count. Where the rule is poor (j near c, a sharp peak at t = 0) the weight
    // is negligible.
    for (int j = K; j <= c; ++j) {
        long double sum = 0;
        for (std::size_t i = 0; i < rule.nodes.size(); ++i)
            sum += rule.weights[i] * growth[i] * std::pow(gap[i], j);
        integrals_[j] = sum;
    }
    const long double eD = std::exp(-D), survive = -std::expm1(-D);
    for (int j = K; j >= 1; --j)
        integrals_[j - 1] = (std::pow(survive, j) + (cb - j) * integrals_[j]) / (j * eD);
}

long double DmcKernel::logBinomial(int a, int b) const {
    return logFactorial_[a] - logFactorial_[b] - logFactorial_[a - b];
}

long double DmcKernel::binomialTransition(int i, int j) const {
    const int leave = i + 1 - j;
    return SafeExp(logBinomial(i + 1, j) - j * static_cast<long double>(D_) +
                   (leave > 0 ? leave * logSurvive_ : 0.0L));
}

long double DmcKernel::tailContribution(int j) const {
    return binomialTransition(c_ - 1, j) +
           static_cast<long double>(c_) * beta_ *
               std::exp(logBinomial(c_, j) - j * static_cast<long double>(D_)) * integrals_[c_ - j];
}

DmcBoundary SolveDmcBoundary(int c, double rho) {
    DmcBoundary boundary;
    boundary.beta = DmcRoot(rho);
    if (c == 1) return boundary;
    const DmcKernel kernel(c, rho, boundary.beta);
    const long double beta = boundary.beta;

    // States 0..c-2 and the tail T from c - 1 up, lumped with its mass pi_(c-1) / (1 - beta):
    // T reaches r < c - 1 with probability (1 - beta) tail(r), state k reaches k + 1 at most.
    // Eliminating states from the top (Grassmann-Taksar-Heyman) then only ever adds to the row
    // below, and pi_n / pi_(n-1) = P(n-1 -> n) / (probability of leaving n downwards once the
    // states above are eliminated): no subtraction, so even pi_(c-1) of 1e-50 keeps its digits.
    // For c = 2 this is x_0 = tail(0) / (1 - B(0, 0)).
    std::vector<long double> row(c - 1), below(c - 1), ratio(c, 0.0L);
    for (int r = 0; r <= c - 2; ++r)
        row[r] = (1 - beta) * kernel.tailContribution(r);
    for (int n = c - 1; n >= 1; --n) {
        long double down = 0;
        for (int j = 0; j < n; ++j)
            down += row[j];
        const long double up = kernel.binomialTransition(n - 1, n);
        ratio[n] = up / down;
        for (int j = 0; j < n - 1; ++j)
            below[j] = kernel.binomialTransition(n - 1, j) + ratio[n] * row[j];
        row.swap(below);
    }
    // pi_n / pi_0, with the tail's mass in place of pi_(c-1).
    std::vector<long double> pi(c);
    pi[0] = 1;
    for (int n = 1; n < c; ++n)
        pi[n] = pi[n - 1] * ratio[n];
    const long double top = pi[c - 1] * (1 - beta);
    boundary.x.resize(c - 1);
    for (int j = 0; j <= c - 2; ++j)
        boundary.x[j] = pi[j] / top;

    const long double expected =
        (1 - kernel.tailContribution(c - 1)) / kernel.binomialTransition(c - 2, c - 1);
    boundary.balanceResidual = static_cast<double>(std::fabs(boundary.x[c - 2] - expected));
    return boundary;
}

}  // namespace wachtrix
