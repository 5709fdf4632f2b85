#include "core/queue/single_server_wait.h"

#include <algorithm>
#include <cmath>

#include "core/numeric/distribution_terms.h"
#include "core/numeric/gauss_legendre.h"
#include "core/numeric/log_gamma.h"

namespace wachtrix {
namespace {

using Real = long double;

// Nodes and weights over [0, 1]: 16 panels of 16 Gauss-Legendre points, for the all-broken
// state of the machines, whose time has no closed form and rises steeply where nu is large.
struct CompositeRule {
    std::vector<Real> nodes, weights;
};

CompositeRule UnitComposite() {
    constexpr int kPanels = 16;
    CompositeRule rule;
    for (int k = 0; k < kPanels; ++k) {
        const auto panel =
            GaussLegendre<Real>(16, Real(k) / kPanels, Real(k + 1) / kPanels, 1e-15L);
        rule.nodes.insert(rule.nodes.end(), panel.nodes.begin(), panel.nodes.end());
        rule.weights.insert(rule.weights.end(), panel.weights.begin(), panel.weights.end());
    }
    return rule;
}

// Per state j, summed over services weighted by how often they start: the time spent in j and
// that time against the remaining service (1 - x) and its square. A service started with i
// present adds at j = i + r the integral I0(r) of P{N(x) = r} over [0, 1], and I1(r), I2(r)
// against (1 - x) and (1 - x)^2.
struct StateTimes {
    std::vector<Real> G0, G1, G2;
};

void AddMoments(StateTimes& g, int i, Real weight, int r, Real I0, Real I1, Real I2) {
    g.G0[i + r] += weight * I0;
    g.G1[i + r] += weight * I1;
    g.G2[i + r] += weight * I2;
}

// Without the cap, with every state's rate lambda, far enough that what is left is below any
// printed figure; the states from K on are K (R = K - i).
void AddPoissonService(StateTimes& g, int i, Real weight, const std::vector<Real>& lnFactorial,
                       Real lambda, int R) {
    const int top = R + 80;
    std::vector<Real> tail = PoissonTerms(lnFactorial, lambda, top + 1);
    for (int s = top; s >= 0; --s)
        tail[s] += tail[s + 1];
    std::vector<Real> I0(top + 1), I1(top + 1), I2(top + 1);
    Real above0 = 0, above1 = 0;
    for (int r = top; r >= 0; --r) {
        I0[r] = tail[r + 1] / lambda;
        I1[r] = above0 / lambda;
        I2[r] = 2 * above1 / lambda;
        above0 += I0[r];
        above1 += I1[r];
    }
    Real lumped = 0;
    for (int r = R; r <= top; ++r)
        lumped += I0[r];
    I0[R] = lumped;
    for (int r = 0; r <= R; ++r)
        AddMoments(g, i, weight, r, I0[r], I1[r], I2[r]);
}

// R = M - i working machines; the top state, all broken, has no arrivals. T(r) = P{N(1) >= r};
// top0 and top1 the integrals of y^R and (1 - x) y^R; perRate(k) = 1 / (nu k).
void AddMachineService(StateTimes& g, int i, Real weight, const std::vector<Real>& perRate, int R,
                       const std::vector<Real>& T, Real top0, Real top1) {
    AddMoments(g, i, weight, R, top0, top1, 0);
    Real above0 = top0, above1 = top1;
    for (int r = R - 1; r >= 0; --r) {
        const Real I0 = T[r + 1] * perRate[R - r], I1 = above0 * perRate[R - r];
        AddMoments(g, i, weight, r, I0, I1, 2 * above1 * perRate[R - r]);
        above0 += I0;
        above1 += I1;
    }
}

}  // namespace

SingleDeterministicServer::SingleDeterministicServer(const SingleServerArrivals& arrivals)
    : a_(arrivals), lnFactorial_(LogFactorialTable<Real>(arrivals.K + 201)) {
    const int K = a_.K;
    const Real lambda = a_.rate;
    const bool poisson = a_.kind == SingleServerArrivals::Kind::Poisson;
    // The states a service can start with: 1 after an idle period, k >= 1 left behind.
    const int lastStart = std::max(K - 1, 1);

    const CompositeRule rule = poisson ? CompositeRule{} : UnitComposite();
    // The integrals of y(x)^R and (1 - x) y(x)^R, y(x) = 1 - e^(-nu x), for R = 0..K - 1: the
    // powers by one multiplication per R (more exact than e^(R ln y) and without its exp).
    std::vector<Real> topI0(poisson ? 0 : K, 0.0L), topI1(poisson ? 0 : K, 0.0L);
    if (!poisson) {
        std::vector<Real> y(rule.nodes.size()), power(rule.nodes.size(), 1.0L);
        for (std::size_t k = 0; k < y.size(); ++k)
            y[k] = -std::expm1(-lambda * rule.nodes[k]);
        // Nodes whose power has fallen below 1e-30 of the last node's (the largest y) no longer
        // count and, as y rises with x, they are a leading run that only grows.
        std::size_t first = 0;
        for (int R = 0; R < K; ++R) {
            while (first + 1 < y.size() && power[first] < 1e-30L * power.back())
                ++first;
            for (std::size_t k = first; k < rule.nodes.size(); ++k) {
                topI0[R] += rule.weights[k] * power[k];
                topI1[R] += rule.weights[k] * (1 - rule.nodes[k]) * power[k];
                power[k] *= y[k];
            }
        }
    }

    // Departures leave 0..K-1. Across the cut below n the chain moves up from any k < n and down
    // only from n, when no one arrives during its service. Each k, once known, pushes its share
    // of the upward flow to every cut above it, with P{N(1) >= r} of its start max(k, 1); the
    // same row gives that start's moments, weighted by the departures that start it (d(0) and
    // d(1) both start with 1), all normalised at the end.
    std::vector<Real> perRate(K + 1, 0.0L);
    for (int k = 1; k <= K; ++k)
        perRate[k] = 1 / (lambda * k);
    std::vector<Real> d(K, 0.0L), up(K, 0.0L);
    d[0] = 1;
    Real total = 1;
    q_.assign(lastStart + 1, 0.0L);
    StateTimes g{std::vector<Real>(K + 1, 0.0L), std::vector<Real>(K + 1, 0.0L),
                 std::vector<Real>(K + 1, 0.0L)};
    for (int i = 1; i <= lastStart; ++i) {
        const std::vector<Real> T = atLeast(i, 1);  // P{N(1) >= r}, r = 0..K - i
        const auto push = [&](int k) {
            for (int n = k + 1; n <= K - 1; ++n)
                up[n] += d[k] * T[n + 1 - i];
        };
        if (i == 1) push(0);
        if (i <= K - 1) {
            d[i] = up[i] / std::exp(-rateIn(i));
            total += d[i];
            push(i);
        }
        q_[i] = (i == 1 ? d[0] : 0) + (i <= K - 1 ? d[i] : 0);
        // With d(0) = 1 the total is at least 1, so such a start's share stays below 1e-60 in
        // every state, where no printed figure can see it (probabilities print from 1e-30).
        if (q_[i] < 1e-60L) continue;
        if (poisson)
            AddPoissonService(g, i, q_[i], lnFactorial_, lambda, K - i);
        else
            AddMachineService(g, i, q_[i], perRate, K - i, T, topI0[K - i], topI1[K - i]);
    }
    for (auto* v : {&d, &q_, &g.G0, &g.G1, &g.G2})
        for (Real& x : *v)
            x /= total;

    // Over time: an idle period d0 / rate(0) per service, then the service's states.
    const Real idle = d[0] / rateIn(0);
    cycle_ = 1 + idle;
    p_.assign(K + 1, 0.0L);
    p_[0] = idle / cycle_;
    for (int j = 1; j <= K; ++j)
        p_[j] = g.G0[j] / cycle_;

    // What arrivals find: in proportion to the rate in the state found (0 at K).
    found_.assign(K, 0.0L);
    found_[0] = d[0] / cycle_;
    for (int j = 1; j < K; ++j)
        found_[j] = rateIn(j) * g.G0[j] / cycle_;
    for (const Real f : found_)
        foundTotal_ += f;
    for (Real& f : found_)
        f /= foundTotal_;
    foundBeyond_.assign(K + 1, 0.0L);
    for (int j = K - 1; j >= 0; --j)
        foundBeyond_[j] = foundBeyond_[j + 1] + (j + 1 < K ? found_[j + 1] : 0);

    // An arrival that finds j >= 1 waits R + (j - 1), R the remaining service.
    const auto weight = [&](int j) { return rateIn(j) / (cycle_ * foundTotal_); };
    for (int j = 1; j < K; ++j)
        meanWait_ += weight(j) * (g.G1[j] + (j - 1) * g.G0[j]);
    const Real m = meanWait_;
    waitVariance_ = found_[0] * m * m;
    for (int j = 1; j < K; ++j) {
        const Real shift = j - 1 - m;
        waitVariance_ += weight(j) * (g.G2[j] + 2 * shift * g.G1[j] + shift * shift * g.G0[j]);
    }
}

Real SingleDeterministicServer::rateIn(int s) const {
    if (a_.kind == SingleServerArrivals::Kind::Poisson) return s < a_.K ? a_.rate : 0;
    return static_cast<Real>(a_.rate) * (a_.K - s);
}

std::vector<Real> SingleDeterministicServer::terms(int i, Real u) const {
    if (a_.kind == SingleServerArrivals::Kind::Poisson)
        return PoissonTerms(lnFactorial_, a_.rate * u, a_.K - i + 80);
    // Binomial(K - i working, 1 - e^(-nu u)).
    const Real nuU = static_cast<Real>(a_.rate) * u;
    return BinomialTerms(lnFactorial_, a_.K - i, std::expm1(nuU), std::log(-std::expm1(-nuU)),
                         -nuU);
}

std::vector<Real> SingleDeterministicServer::atLeast(int i, Real u) const {
    const int R = a_.K - i;
    // Poisson: past the cap too, the states from K on being K.
    const std::vector<Real> t = terms(i, u);
    std::vector<Real> v(R + 1, 0.0L);
    Real sum = 0;
    for (int s = static_cast<int>(t.size()) - 1; s >= 0; --s) {
        sum += t[s];
        if (s <= R) v[s] = sum;
    }
    return v;
}

Real SingleDeterministicServer::atLeastOne(int i, int r, Real u) const {
    const std::vector<Real> t = terms(i, u);
    Real sum = 0, previous = 0;
    for (std::size_t s = r; s < t.size(); ++s) {
        sum += t[s];
        // Past the mode the terms only fall: stop where they no longer count.
        if (t[s] < previous && t[s] < 1e-25L * sum) break;
        previous = t[s];
    }
    return sum;
}

Real SingleDeterministicServer::waitingTail(double t) const {
    const int K = a_.K;
    const int j0 = static_cast<int>(std::floor(t)) + 1;  // R + j0 - 1 > t when R > j0 - t
    if (j0 > K - 1) return 0;
    Real tail = foundBeyond_[j0];
    const Real u = j0 - static_cast<Real>(t);
    Real partial = 0;
    for (int i = 1; i <= std::min(j0, static_cast<int>(q_.size()) - 1); ++i)
        if (q_[i] > 0) partial += q_[i] * atLeastOne(i, j0 - i + 1, u);
    return tail + partial / (cycle_ * foundTotal_);
}

}  // namespace wachtrix
