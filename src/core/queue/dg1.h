#pragma once
// The D/G/1 queue: one server, constant interarrival times D = 1/rho, a general service time of
// mean 1 given by its squared coefficient of variation CS2. The service time is replaced by a
// mixture of two Erlang distributions ("Erlangian", CS2 <= 1), an Erlang distribution of k
// phases ("Pure Erlang", CS2 = 1/k, with the number in system) or a Coxian-2 distribution
// (CS2 >= 0.5, two fits).

#include <string>

#include "core/queue/model_limits.h"
#include "core/queue/queue_host.h"
#include "core/text/value_list.h"

namespace wachtrix {

inline constexpr FieldLimit kDg1ErlangianCs2{
    "cs2", "squared coefficient of variation; Erlangian services", 0.01, 1, "0.01 <= CS2 <= 1"};
inline constexpr FieldLimit kDg1ErlangPhases{
    "cs2", "number of phases (1/CS2); Pure Erlang", 1, 100, "1..100", true};
inline constexpr FieldLimit kDg1CoxianCs2{"cs2", "Coxian-2 services", 0.5, 100,
                                          "0.5 <= CS2 <= 100"};
inline constexpr FieldLimit kDg1Load{"rho", "load", 1e-10, 0.99, "<= 0.99 ", false, 1e-10};
inline constexpr FieldLimit kDg1Fields[] = {kDg1ErlangianCs2, kDg1ErlangPhases, kDg1CoxianCs2,
                                            kDg1Load};
inline constexpr ValueGroupLimit kDg1Groups[] = {
    {'T', 75000, "t-values (<= 75000)"},
    {'N', 1250, "n-values (<= 1250)", "n-values for the state probabilities of Pure Erlang"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};

// The two Output groups of the tab: Pure Erlang service adds the state probabilities.
inline constexpr OutputItem kDg1CoxianOutputItems[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"Waiting Time Percentiles", kPercentiles, ValueGroupKind::P},
    {"Graphs", kGraphs},
};
inline constexpr OutputItem kDg1PureErlangOutputItems[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"Waiting Time Percentiles", kPercentiles, ValueGroupKind::P},
    {"Time Average State Probabilities", kTimeStates, ValueGroupKind::N},
    {"Customer Average State Probabilities", kCustomerStates, ValueGroupKind::N},
    {"Graphs", kGraphs},
};
inline constexpr OutputGroup kDg1CoxianOutput{kDg1CoxianOutputItems};
inline constexpr OutputGroup kDg1PureErlangOutput{kDg1PureErlangOutputItems};

// The Output key's help lists both groups; the limits carry none of their own.
inline constexpr ModelLimits kDg1Limits{kDg1Fields, kDg1Groups, {}};

// DG1_Service_Type_RadioGroup items.
enum Dg1Service {
    kDg1Erlangian = 0,
    kDg1PureErlang = 1,
    kDg1CoxianGamma = 2,
    kDg1CoxianBalanced = 3
};

// What the "D/G/1" tab holds.
struct Dg1Form {
    int serviceType = 0;   // DG1_Service_Type_RadioGroup item index
    std::string cs2, rho;  // DG1_CS2_edit (the number of phases for Pure Erlang), DG1_Rho_edit
    int output = 0;        // item index of the Output group shown for the service type
    TEditArray t, p, n;    // DG1_TEdits, DG1_PEdits, DG1_NEdits, rewritten by the readers
};

// Validates, computes and reports; Graphs opens one window with the waiting-time chart. Loads
// too small for the chosen method, and graphs of a negligible delay probability, end with a
// message line.
void RunDG1(Dg1Form& form, QueueHost& host);

}  // namespace wachtrix
