#pragma once
// An interarrival or service time as the simulator draws it: deterministic, exponential, or one
// of the phase-type fits the models replace a general time by, so that the simulation runs the
// very model the analysis solves.
//
//   ErlangMixTime(FitErlangian(0.5)) -> Erlang-2 of rate 2: mean 1, CS2 0.5
//   CoxianTime(FitCoxian(CoxianKind::MG1Balanced, 2)) -> mean 1, CS2 2

#include "core/numeric/random.h"
#include "core/queue/dmg1_cox.h"
#include "core/queue/gmc.h"
#include "core/queue/mg1_erlan.h"

namespace wachtrix {

struct RenewalTime {
    enum class Kind { Deterministic, Exponential, ErlangMix, Coxian, HyperExponential };
    Kind kind = Kind::Exponential;
    double value = 1;  // Deterministic: the time; otherwise the (first) phase rate
    // ErlangMix: k - 1 phases of `value` with probability p, else k. Coxian: after the first
    // phase, a second of rate `rate2` with probability p. HyperExponential: rate `value` with
    // probability p, else `rate2`.
    int k = 1;
    double p = 0, rate2 = 1;

    double Draw(Xoshiro256& rng) const {
        switch (kind) {
            case Kind::Deterministic:
                return value;
            case Kind::Exponential:
                return rng.Exponential(value);
            case Kind::ErlangMix:
                return rng.Erlang(rng.Uniform() <= p ? k - 1 : k, value);
            case Kind::Coxian: {
                const double first = rng.Exponential(value);
                return rng.Uniform() <= p ? first + rng.Exponential(rate2) : first;
            }
            case Kind::HyperExponential:
                return rng.Exponential(rng.Uniform() <= p ? value : rate2);
        }
        return value;
    }

    // The first two moments the draws have, for the checks of the fits.
    double Mean() const;
    double SecondMoment() const;
    double SquaredVariation() const;  // CS2 = Var / Mean^2
};

RenewalTime DeterministicTime(double time);
RenewalTime ExponentialTime(double rate);
// The Erlang mixtures of M/G/1 and D/G/1 services (mean 1) and of G/M/c arrivals.
RenewalTime ErlangMixTime(const ErlangianFit& fit);
RenewalTime ErlangMixTime(const ErlangFit& fit);
// The Coxian-2 services of M/G/1 and D/G/1.
RenewalTime CoxianTime(const CoxianFit& fit);
// The G/M/c arrivals whose transform is p mu1 / (mu1 + s) + q mu2 / (mu2 + s): two positive
// weights are a hyperexponential; a negative weight (on the faster rate) is a Coxian-2 whose
// slower phase comes first.
RenewalTime TwoExponentialTime(const Coxian2Fit& fit);

// A time of the given mean fitted to a squared coefficient of variation as the tabs fit one:
// 0 deterministic, up to 1 the Erlang mixture, above 1 the Coxian-2 of balanced means.
RenewalTime TimeOfVariation(double mean, double cv2);

}  // namespace wachtrix
