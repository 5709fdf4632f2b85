#pragma once
// The G/G/c queue: renewal arrivals and general service times, each given by its squared
// coefficient of variation (CA2, CS2), c servers, first come first served; time in mean service
// times, arrival rate c rho. No exact analysis exists: the report gives the two-moment
// approximations (labelled "Approximations:"), and the simulation beside them is the check.
//   Pwait  Erlang's delay probability C(c, a) of the M/M/c queue with a = c rho;
//   E(Wq)  Allen-Cunneen: C(c, a) / (c (1 - rho)) * (CA2 + CS2) / 2;
//   E(Lq)  Little's law, c rho E(Wq);
//   P{Wq>t}  Pwait e^(-t Pwait / E(Wq)): a delayed customer's wait taken as exponential with the
//          approximate mean E(Wq) / Pwait (exact for M/M/c).
// With CA2 = CS2 = 1 these are the M/M/c figures; for M/D/c and D/M/c they are the usual
// two-moment estimates.
//
//   c = 2, rho = 0.8, CA2 = CS2 = 0.5 -> Pwait 0.711111, E(Wq) 0.88889, E(Lq) 1.4222

#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

inline constexpr FieldLimit kGgcServers{"c", "number of servers", 1, 2500, "<=2500", true};
inline constexpr FieldLimit kGgcLoad{"rho", "load per server", 1e-10, 0.999, "<=0.999", false,
                                     1e-10};
inline constexpr FieldLimit kGgcCa2{
    "ca2",
    "squared coefficient of variation of the interarrival time (0: deterministic, else from 0.01)",
    0, 100, "0 or 0.01..100"};
inline constexpr FieldLimit kGgcCs2{
    "cs2",
    "squared coefficient of variation of the service time (0: deterministic, else from 0.01)", 0,
    100, "0 or 0.01..100"};

inline constexpr ValueGroupLimit kGgcGroups[] = {{'T', 2500, "t-values (<= 2500)"}};

// The "G/G/c" tab: the approximations into Results.
extern const QueueModelSpec kGgcModel;

struct GgcApproximation {
    double Pwait = 0, EWq = 0, ELq = 0;
};

// c in 1..2500, rho in (0, 1).
GgcApproximation ApproximateGGC(int c, double rho, double ca2, double cs2);
double GgcWaitingTail(const GgcApproximation& a, double t);  // P{Wq > t}

}  // namespace wachtrix
