#pragma once
// The M/G/1 queue: one server, Poisson arrivals, a general service time given by its mean (1)
// and squared coefficient of variation CS2. The service time is replaced by a distribution with
// the same two moments: a mixture of two Erlang distributions (CS2 <= 1) or a Coxian-2
// distribution (CS2 >= 0.5, two fits).

#include <string>

#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

inline constexpr FieldLimit kMg1ErlangianCs2{
    "cs2", "squared coefficient of variation; Erlangian services", 0.01, 1, "0.01 <= CS2 <= 1"};
inline constexpr FieldLimit kMg1CoxianCs2{"cs2", "Coxian-2 services", 0.5, 100,
                                          "0.5 <= CS2 <= 100"};
inline constexpr FieldLimit kMg1Load{"rho", "load", 1e-12, 0.99, "<= 0.99 ", false, 1e-12};
inline constexpr ValueGroupLimit kMg1Groups[] = {
    {'T', 75000, "t-values (<= 75000)"},
    {'N', 2500, "n-values (<= 2500)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};
// The "M/G/1" tab; Graphs opens one window with both charts. Loads too small for the chosen
// method, and graphs of a negligible delay probability, end with a message line. A
// state-probability report's accuracy adds the state solution's own check (its mean number in
// system against Little's law) to the waiting-time check, since both feed the printed numbers.
extern const QueueModelSpec kMg1Model;

}  // namespace wachtrix
