#pragma once
// The n-point Gauss-Legendre rule on an interval, over the real type of the caller (double for
// most models, long double where a model integrates in extended precision). The Legendre roots
// are found by Newton's method from the classical starting guesses, so the rule is exact for
// polynomials of degree up to 2n - 1.
//
//   GaussLegendre<double>(2, 0, 1, 1e-12) -> nodes {0.2113, 0.7887}, weights {0.5, 0.5}
//   GaussLegendre<double>(n, b, a, tol) gives the same rule as (n, a, b, tol): nodes ascend.

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace wachtrix {

template <class Real>
struct QuadratureRule {
    std::vector<Real> nodes;    // ascending
    std::vector<Real> weights;  // positive, summing to the interval's length

    // The sum of weight * f(node).
    template <class F>
    Real integrate(F&& f) const {
        Real sum = 0;
        for (std::size_t i = 0; i < nodes.size(); ++i)
            sum += weights[i] * f(nodes[i]);
        return sum;
    }
};

// Newton stops once a step is at most newtonTolerance (the models use 1e-12, 3e-11 or 1e-14).
template <class Real>
QuadratureRule<Real> GaussLegendre(int n, Real a, Real b, Real newtonTolerance) {
    if (a > b) std::swap(a, b);
    const Real pi = Real(3.14159265358979323846264338327950288L);
    const Real mid = (a + b) / 2;
    const Real half = (b - a) / 2;
    QuadratureRule<Real> rule;
    rule.nodes.assign(n, Real(0));
    rule.weights.assign(n, Real(0));
    for (int i = 1; i <= (n + 1) / 2; ++i) {
        Real z = std::cos(pi * (i - Real(0.25)) / (n + Real(0.5)));
        Real derivative = 0;
        // A cap on the steps keeps a tolerance below the type's resolution from looping.
        for (int step = 0; step < 100; ++step) {
            Real p1 = 1, p2 = 0;
            for (int j = 1; j <= n; ++j) {
                const Real p3 = p2;
                p2 = p1;
                p1 = ((2 * j - 1) * z * p2 - (j - 1) * p3) / j;
            }
            derivative = n * (z * p1 - p2) / (z * z - 1);
            const Real previous = z;
            z = previous - p1 / derivative;
            if (std::fabs(z - previous) <= newtonTolerance) break;
        }
        const Real weight = 2 * half / ((1 - z * z) * derivative * derivative);
        rule.nodes[i - 1] = mid - half * z;
        rule.nodes[n - i] = mid + half * z;
        rule.weights[i - 1] = weight;
        rule.weights[n - i] = weight;
    }
    return rule;
}

// The n-point rule on panels of [a, b] whose widths double from firstWidth: for integrands that
// live near a on a scale much shorter than b - a (a factor such as (1 - x)^499), which one rule
// over the whole interval would miss.
//
//   GaussLegendrePanels<double>(n, 0, 1, 0.25, tol): panels [0, 0.25], [0.25, 0.75], [0.75, 1]
template <class Real>
QuadratureRule<Real> GaussLegendrePanels(int n, Real a, Real b, Real firstWidth,
                                         Real newtonTolerance) {
    const QuadratureRule<Real> unit = GaussLegendre<Real>(n, Real(0), Real(1), newtonTolerance);
    QuadratureRule<Real> rule;
    Real width = firstWidth;
    for (Real low = a; low < b; low += width, width *= 2) {
        const Real length = std::min(width, b - low);
        for (int i = 0; i < n; ++i) {
            rule.nodes.push_back(low + length * unit.nodes[i]);
            rule.weights.push_back(length * unit.weights[i]);
        }
    }
    return rule;
}

}  // namespace wachtrix
