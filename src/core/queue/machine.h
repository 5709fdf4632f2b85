#pragma once
// The machine-repair queue: M machines, each failing at rate nu while it works, and c repairmen
// who repair in order of failure. State j = broken machines, 0..M; time in mean repair times.
//   exponential repairs    birth-death probabilities in extended precision (exact);
//   deterministic repairs  a regenerative approximation with the remaining repairs of the busy
//                          repairmen taken as uniform (the report says "Approximations"); a
//                          load at which practically every failure waits is not computed.
// Only min(c, M) repairmen can ever be busy; the report shows that number.

#include <memory>
#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"
#include "core/queue/single_server_wait.h"

namespace wachtrix {

enum class FinSrcService { Exponential, Deterministic };  // FinSrc_service_radio_group items

inline constexpr FieldLimit kFinSrcServersExp{
    "c", "repairmen (exponential repairs)", 1, 500, "<= 500", true};
inline constexpr FieldLimit kFinSrcServersDet{
    "c", "repairmen (deterministic repairs)", 1, 250, "<= 250", true};
inline constexpr FieldLimit kFinSrcMachines{"M", "machines", 1, 1000, "<= 1000", true};
inline constexpr FieldLimit kFinSrcFailureRate{"nu", "failure rate of a working machine", 1e-5, 100,
                                               "0.00001<=nu<=100"};
inline constexpr ValueGroupLimit kFinSrcGroups[] = {
    {'T', 1000, "t-values (<= 1000)"},
    {'N', 1000, "n-values", {}, "M"},
};
inline constexpr OutputItem kFinSrcOutputItems[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"Time Average State Probabilities", kTimeStates, ValueGroupKind::N},
    {"Customer Average State Probabilities", kCustomerStates, ValueGroupKind::N},
    {"Graphs", kGraphs},
};
inline constexpr OutputGroup kFinSrcOutput{kFinSrcOutputItems};

// The "Finite Source" tab; a graph goes to a new window (class GMC).
extern const QueueModelSpec kFinSrcModel;

struct FinSrcSolution {
    FinSrcService service = FinSrcService::Exponential;
    int c = 1, cEff = 1, M = 1;  // repairmen as entered, min(c, M), machines
    double nu = 0;
    // Deterministic repairs only: practically every failure finds all repairmen busy; P and Q
    // are then not computed.
    bool overloaded = false;
    std::vector<double> P;  // time average p(0..M)
    std::vector<double> Q;  // what a failing machine finds, q(0..M), q(M) = 0
    // Deterministic repairs by one repairman: exact, the waiting time from the remaining-repair
    // law; from two repairmen on the figures are an approximation.
    std::shared_ptr<const SingleDeterministicServer> exact;
    bool approximate() const { return service == FinSrcService::Deterministic && !exact; }
};

// A deterministic system is overloaded when the share of failures that find a repairman free,
// under exponential repairs of the same mean, is below 1e-10.
bool FinSrcOverloaded(int cEff, int M, double nu);

// p(0..M) for exponential repairs, exact.
std::vector<double> FinSrcExponentialProbabilities(int cEff, int M, double nu);

FinSrcSolution SolveFinSrc(FinSrcService service, int c, int M, double nu);

struct FinSrcStatistics {
    double Pwait = 0;  // failures that wait
    double Pbusy = 0;  // all entered repairmen busy, time average
    double EWq = 0, ELq = 0;
    double StdWq = 0, StdLq = 0;
    double Utilization = 0;  // per entered repairman
    double Busy = 0;         // mean busy repairmen, printed as "Throughput"
    double accuracy = 0;     // busy repairmen against the repair rate, 0 in exact arithmetic
};

FinSrcStatistics FinSrcStatisticsOf(const FinSrcSolution& s);

// P{Wq > t} of a failing machine (not for an overloaded solution).
double FinSrcWaitingTail(const FinSrcSolution& s, double t);

}  // namespace wachtrix
