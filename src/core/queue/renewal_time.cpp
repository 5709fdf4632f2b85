#include "core/queue/renewal_time.h"

#include <cmath>

namespace wachtrix {

double RenewalTime::Mean() const {
    switch (kind) {
        case Kind::Deterministic:
            return value;
        case Kind::Exponential:
            return 1 / value;
        case Kind::ErlangMix:
            return (k - p) / value;
        case Kind::Coxian:
            return 1 / value + p / rate2;
        case Kind::HyperExponential:
            return p / value + (1 - p) / rate2;
    }
    return 0;
}

double RenewalTime::SecondMoment() const {
    switch (kind) {
        case Kind::Deterministic:
            return value * value;
        case Kind::Exponential:
            return 2 / (value * value);
        case Kind::ErlangMix:
            // Erlang(n, r) has E X^2 = n (n + 1) / r^2.
            return (p * (k - 1) * k + (1 - p) * k * (k + 1.0)) / (value * value);
        case Kind::Coxian:
            return 2 / (value * value) + p * (2 / (rate2 * rate2) + 2 / (value * rate2));
        case Kind::HyperExponential:
            return 2 * p / (value * value) + 2 * (1 - p) / (rate2 * rate2);
    }
    return 0;
}

double RenewalTime::SquaredVariation() const {
    const double m = Mean();
    return SecondMoment() / (m * m) - 1;
}

RenewalTime DeterministicTime(double time) {
    return {RenewalTime::Kind::Deterministic, time};
}

RenewalTime ExponentialTime(double rate) {
    return {RenewalTime::Kind::Exponential, rate};
}

RenewalTime ErlangMixTime(const ErlangianFit& fit) {
    return {RenewalTime::Kind::ErlangMix, fit.mu, fit.k, fit.p};
}

RenewalTime ErlangMixTime(const ErlangFit& fit) {
    return {RenewalTime::Kind::ErlangMix, fit.nu, fit.k, fit.p};
}

RenewalTime CoxianTime(const CoxianFit& fit) {
    return {RenewalTime::Kind::Coxian, static_cast<double>(fit.mu1), 1, static_cast<double>(fit.b),
            static_cast<double>(fit.mu2)};
}

RenewalTime TwoExponentialTime(const Coxian2Fit& fit) {
    if (fit.p >= 0 && fit.q >= 0)
        return {RenewalTime::Kind::HyperExponential, fit.mu1, 1, fit.p, fit.mu2};
    // Coxian(slow, b, fast) = (1 - b) + b fast / (fast - slow) on the slow rate and
    // b slow / (slow - fast) on the fast one: that weight is the negative one given.
    const bool firstNegative = fit.p < 0;
    const double fast = firstNegative ? fit.mu1 : fit.mu2, slow = firstNegative ? fit.mu2 : fit.mu1;
    const double negative = firstNegative ? fit.p : fit.q;
    return {RenewalTime::Kind::Coxian, slow, 1, negative * (slow - fast) / slow, fast};
}

RenewalTime TimeOfVariation(double mean, double cv2) {
    if (cv2 <= 0) return DeterministicTime(mean);
    RenewalTime time = cv2 <= 1 ? ErlangMixTime(FitErlangian(cv2))
                                : CoxianTime(FitCoxian(CoxianKind::MG1Balanced, cv2));
    // The fits have mean 1: every rate scales by 1 / mean.
    time.value /= mean;
    time.rate2 /= mean;
    return time;
}

}  // namespace wachtrix
