#pragma once
// Waiting times of an admitted customer in a first-come-first-served queue with c servers, from
// the distribution of what admitted customers find on arrival: the admitted one finds j present
// with probability scale * seen[j], j = 0..seen.size() - 1 (the finite models pass p(j) with
// scale 1 / (1 - p(K)), or the machine-repair arrival distribution with scale 1).
//
// Exponential services (rate 1 each): behind j >= c the wait is Erlang(j - c + 1) at rate c.
//   seen {0, 0.5, 0.5}, c = 1:  P{Wq > 0} = 1,  P{Wq > 1} = 0.5 e^-1 + 0.5 * 2 e^-1
//
// Deterministic services of length 1, the remaining services of the c busy servers taken as
// independent uniform on (0, 1): behind j = c b + r (b >= 1, 0 <= r < c) the wait is (b - 1)
// plus the (r + 1)-th smallest of c uniforms. An approximation, exact for c = 1 only at whole t.

#include <span>
#include <vector>

namespace wachtrix {

double ExponentialServiceTail(std::span<const double> seen, double scale, int c, double t);

class DeterministicServiceWait {
public:
    explicit DeterministicServiceWait(int c);

    double Tail(std::span<const double> seen, double scale, double t) const;  // P{Wq > t}
    double SecondMoment(std::span<const double> seen, double scale) const;    // E(Wq^2)

    // C(c, s) u^s (1 - u)^(c - s): the chance that exactly s of the c remaining services have
    // ended by u.
    double BinomialTerm(int s, double u) const;

private:
    int c_;
    std::vector<long double> lnFactorial_;  // ln k!, k = 0..c
};

}  // namespace wachtrix
