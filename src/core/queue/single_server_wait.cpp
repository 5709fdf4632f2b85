#include "core/queue/single_server_wait.h"

#include <algorithm>
#include <cmath>

#include "core/numeric/gauss_legendre.h"

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

// The moments of one service started with i present, by the state i + r reached:
// I0(r) = integral of P{N(x) = r}, I1 and I2 the same against (1 - x) and (1 - x)^2.
struct ServiceMoments {
    std::vector<Real> I0, I1, I2;
};

}  // namespace

SingleDeterministicServer::SingleDeterministicServer(const SingleServerArrivals& arrivals)
    : a_(arrivals), lnFactorial_(arrivals.K + 202, 0.0L) {
    for (std::size_t k = 1; k < lnFactorial_.size(); ++k)
        lnFactorial_[k] = lnFactorial_[k - 1] + std::log(static_cast<Real>(k));
    const int K = a_.K;
    const Real lambda = a_.rate;
    const bool poisson = a_.kind == SingleServerArrivals::Kind::Poisson;
    // The states a service can start with: 1 after an idle period, k >= 1 left behind.
    const int lastStart = std::max(K - 1, 1);
    std::vector<std::vector<Real>> T(lastStart + 1);  // P{N(1) >= r} by start
    for (int i = 1; i <= lastStart; ++i)
        T[i] = atLeast(i, 1);

    // Departures leave 0..K-1. Across the cut below n the chain moves up from any k < n and down
    // only from n, when no one arrives during its service.
    std::vector<Real> d(K, 0.0L);
    d[0] = 1;
    Real total = 1;
    for (int n = 1; n <= K - 1; ++n) {
        Real up = 0;
        for (int k = 0; k < n; ++k) {
            const int start = std::max(k, 1);
            up += d[k] * T[start][n + 1 - start];
        }
        d[n] = up / std::exp(-rateIn(n));
        total += d[n];
    }
    for (Real& x : d)
        x /= total;
    q_.assign(lastStart + 1, 0.0L);
    q_[1] = d[0];
    for (int k = 1; k <= K - 1; ++k)
        q_[k] += d[k];

    const CompositeRule rule = poisson ? CompositeRule{} : UnitComposite();
    std::vector<Real> lnY;
    for (const Real x : rule.nodes)
        lnY.push_back(std::log(-std::expm1(-lambda * x)));

    // Per service: the time in each state j and its moments of the remaining service.
    std::vector<Real> G0(K + 1, 0.0L), G1(K + 1, 0.0L), G2(K + 1, 0.0L);
    for (int i = 1; i <= lastStart; ++i) {
        if (q_[i] == 0) continue;
        const int R = K - i;  // the top state, i + R = K
        ServiceMoments m;
        if (poisson) {
            // Without the cap, with every state's rate lambda, far enough that what is left is
            // below any printed figure; the states from K on are K.
            const int top = R + 80;
            const std::vector<Real> tail = [&] {
                std::vector<Real> t(top + 2, 0.0L);
                for (int s = top + 1; s >= 0; --s)
                    t[s] = (s + 1 <= top + 1 ? t[s + 1] : 0) +
                           std::exp(-lambda + s * std::log(lambda) - std::lgamma(s + 1.0L));
                return t;
            }();
            std::vector<Real> I0(top + 1), I1(top + 1), I2(top + 1);
            Real above0 = 0, above1 = 0;
            for (int r = top; r >= 0; --r) {
                I0[r] = tail[r + 1] / lambda;
                I1[r] = above0 / lambda;
                I2[r] = 2 * above1 / lambda;
                above0 += I0[r];
                above1 += I1[r];
            }
            m.I0.assign(I0.begin(), I0.begin() + R + 1);
            m.I1.assign(I1.begin(), I1.begin() + R + 1);
            m.I2.assign(I2.begin(), I2.begin() + R + 1);
            Real lumped = 0;
            for (int r = R; r <= top; ++r)
                lumped += I0[r];
            m.I0[R] = lumped;
        } else {
            // R = M - i working machines; the top state, all broken, has no arrivals.
            const Real nu = lambda;
            m.I0.assign(R + 1, 0.0L);
            m.I1.assign(R + 1, 0.0L);
            m.I2.assign(R + 1, 0.0L);
            // The integrals of y(x)^R and (1 - x) y(x)^R, y(x) = 1 - e^(-nu x).
            for (std::size_t k = 0; k < rule.nodes.size(); ++k) {
                const Real power = std::exp(R * lnY[k]);
                m.I0[R] += rule.weights[k] * power;
                m.I1[R] += rule.weights[k] * (1 - rule.nodes[k]) * power;
            }
            Real above0 = m.I0[R], above1 = m.I1[R];
            for (int r = R - 1; r >= 0; --r) {
                const Real rate = nu * (R - r);
                m.I0[r] = T[i][r + 1] / rate;
                m.I1[r] = above0 / rate;
                m.I2[r] = 2 * above1 / rate;
                above0 += m.I0[r];
                above1 += m.I1[r];
            }
        }
        for (int r = 0; r <= R; ++r) {
            G0[i + r] += q_[i] * m.I0[r];
            G1[i + r] += q_[i] * m.I1[r];
            G2[i + r] += q_[i] * m.I2[r];
        }
    }

    // Over time: an idle period d0 / rate(0) per service, then the service's states.
    const Real idle = d[0] / rateIn(0);
    cycle_ = 1 + idle;
    p_.assign(K + 1, 0.0L);
    p_[0] = idle / cycle_;
    for (int j = 1; j <= K; ++j)
        p_[j] = G0[j] / cycle_;

    // What arrivals find: in proportion to the rate in the state found (0 at K).
    found_.assign(K, 0.0L);
    found_[0] = d[0] / cycle_;
    for (int j = 1; j < K; ++j)
        found_[j] = rateIn(j) * G0[j] / cycle_;
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
        meanWait_ += weight(j) * (G1[j] + (j - 1) * G0[j]);
    const Real m = meanWait_;
    waitVariance_ = found_[0] * m * m;
    for (int j = 1; j < K; ++j) {
        const Real shift = j - 1 - m;
        waitVariance_ += weight(j) * (G2[j] + 2 * shift * G1[j] + shift * shift * G0[j]);
    }
}

Real SingleDeterministicServer::rateIn(int s) const {
    if (a_.kind == SingleServerArrivals::Kind::Poisson) return s < a_.K ? a_.rate : 0;
    return static_cast<Real>(a_.rate) * (a_.K - s);
}

Real SingleDeterministicServer::lnPerArrival(Real u) const {
    if (a_.kind == SingleServerArrivals::Kind::Poisson) {
        const Real mean = a_.rate * u;
        return mean <= 0 ? 0 : std::log(mean);
    }
    return std::log(-std::expm1(-static_cast<Real>(a_.rate) * u));
}

Real SingleDeterministicServer::term(int i, int s, Real u, Real lnU) const {
    if (a_.kind == SingleServerArrivals::Kind::Poisson) {
        const Real mean = a_.rate * u;
        if (mean <= 0) return s == 0 ? 1 : 0;
        return std::exp(-mean + s * lnU - lnFactorial_[s]);
    }
    // Binomial(K - i working, 1 - e^(-nu u)).
    const int R = a_.K - i;
    const Real nu = a_.rate;
    return std::exp(lnFactorial_[R] - lnFactorial_[s] - lnFactorial_[R - s] + s * lnU -
                    (R - s) * nu * u);
}

std::vector<Real> SingleDeterministicServer::atLeast(int i, Real u) const {
    const int R = a_.K - i;
    std::vector<Real> v(R + 1, 0.0L);
    const bool poisson = a_.kind == SingleServerArrivals::Kind::Poisson;
    // Poisson: past the cap too, the states from K on being K.
    const Real lnU = lnPerArrival(u);
    Real sum = 0;
    for (int s = poisson ? R + 80 : R; s >= 0; --s) {
        sum += term(i, s, u, lnU);
        if (s <= R) v[s] = sum;
    }
    return v;
}

Real SingleDeterministicServer::atLeastOne(int i, int r, Real u) const {
    const int last = a_.kind == SingleServerArrivals::Kind::Poisson ? a_.K - i + 80 : a_.K - i;
    const Real lnU = lnPerArrival(u);
    Real sum = 0, previous = 0;
    for (int s = r; s <= last; ++s) {
        const Real t = term(i, s, u, lnU);
        sum += t;
        // Past the mode the terms only fall: stop where they no longer count.
        if (t < previous && t < 1e-25L * sum) break;
        previous = t;
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
