#pragma once
// The D/G/1 queue: one server, constant interarrival times D = 1/rho, a general service time of
// mean 1 given by its squared coefficient of variation CS2. The service time is replaced by a
// mixture of two Erlang distributions ("Erlangian", CS2 <= 1), an Erlang distribution of k
// phases ("Pure Erlang", CS2 = 1/k, with the number in system) or a Coxian-2 distribution
// (CS2 >= 0.5, two fits).

#include <string>

#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

inline constexpr FieldLimit kDg1ErlangianCs2{
    "cs2", "squared coefficient of variation; Erlangian services", 0.01, 1, "0.01 <= CS2 <= 1 "};
inline constexpr FieldLimit kDg1ErlangPhases{
    "cs2", "number of phases (1/CS2); Pure Erlang", 1, 100, "1..100", true};
inline constexpr FieldLimit kDg1CoxianCs2{"cs2", "Coxian-2 services", 0.5, 100,
                                          "0.5 <= CS2 <= 100"};
inline constexpr FieldLimit kDg1Load{"rho", "load", 1e-10, 0.99, "<= 0.99 ", false, 1e-10};
inline constexpr ValueGroupLimit kDg1Groups[] = {
    {'T', 75000, "t-values (<= 75000)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
    // Its first edit has never had a filter; the reader marks what is not a number.
    {'N', 1250, "n-values (<= 1250)", "n-values for the state probabilities of Pure Erlang", {},
     true},
};

// The two Output groups of the tab: Pure Erlang service adds the state probabilities.
inline constexpr OutputGroup kDg1CoxianOutput = kWaitingOutput;
inline constexpr OutputGroup kDg1PureErlangOutput = kAverageStateOutput;

// DG1_Service_Type_RadioGroup items.
enum Dg1Service {
    kDg1Erlangian = 0,
    kDg1PureErlang = 1,
    kDg1CoxianGamma = 2,
    kDg1CoxianBalanced = 3
};

// The "D/G/1" tab; Graphs opens one window with the waiting-time chart. Loads too small for the
// chosen method, and graphs of a negligible delay probability, end with a message line.
extern const QueueModelSpec kDg1Model;

}  // namespace wachtrix
