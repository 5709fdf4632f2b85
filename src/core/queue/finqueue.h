#pragma once
// The finite-capacity queues: c servers and N waiting places, so at most K = c + N customers; an
// arrival that finds K present is rejected. Time in mean service times (service rate 1), arrival
// rate c rho.
//   M/M/c/c+N  birth-death probabilities in extended precision (exact);
//   M/D/c/c+N  one server: exact (SingleDeterministicServer); from two servers on a two-moment
//              recursion over the states with a uniform-residual approximation of the busy
//              servers (approximate; the report says so and how far off it is known to be).
//              With a long waiting room its delay probability is Erlang's, up to some 12 %
//              above the M/D/c queue's;
//   D/M/c/c+N  the chain embedded at arrival epochs, which moves up one state at most, solved
//              by state reduction from the top (exact; no subtraction, so the smallest state
//              probabilities keep their digits).
// Every figure is that of the N entered: the waiting room is never cut.

#include <memory>
#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"
#include "core/queue/single_server_wait.h"

namespace wachtrix {

enum class FinCapType { MM, DM, MD };

// The Queue Type group lists M/M/c/c+N, M/D/c/c+N, D/M/c/c+N in that order.
FinCapType FinCapTypeOfItem(int item);
const char* FinCapName(FinCapType type);  // "M/M/c/c+N"

inline constexpr FieldLimit kFinCapServersMM{
    "c", "number of servers (M/M/c/c+N)", 1, 2500, "<=2500", true};
inline constexpr FieldLimit kFinCapServers{
    "c", "number of servers (M/D/c/c+N, D/M/c/c+N)", 1, 500, "<=500", true};
inline constexpr FieldLimit kFinCapLoad{"rho", "load per server", 1e-10, 5, "<=5"};
inline constexpr FieldLimit kFinCapPlaces{
    "N", "waiting places (M/M/c/c+N, M/D/c/c+N)", 0, 1000, "<=1000", true};
inline constexpr FieldLimit kFinCapPlacesDM{
    "N", "waiting places (D/M/c/c+N)", 0, 500, "<=500", true, 0, "0 <= N <= 500 required"};
inline constexpr ValueGroupLimit kFinCapGroups[] = {
    {'T', 1000, "t-values (<= 1000)"},
    {'N', 3500, "n-values", {}, "c+N"},
};

// FinCap_Output1 serves M/M/c/c+N and M/D/c/c+N, FinCap_Output2 D/M/c/c+N.
inline constexpr OutputItem kFinCapOutput1Items[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"State Probabilities", kStates, ValueGroupKind::N},
    {"Graphs", kGraphs},
};
inline constexpr OutputItem kFinCapOutput2Items[] = {
    {"Standard Statistics", kStatistics},
    {"Waiting Time Probabilities", kWaitingTable, ValueGroupKind::T},
    {"Time Average State Probabilities", kTimeStates, ValueGroupKind::N},
    {"Customer Average State Probabilities", kCustomerStates, ValueGroupKind::N},
    {"Graphs", kGraphs},
};

// The "Finite Capacity" tab; Graphs opens one window with the waiting-time and the state curve.
extern const QueueModelSpec kFinCapModel;

// Loads too small for reliable results.
bool FinCapRhoTooSmall(FinCapType type, int c, double rho);

struct FinCapSolution {
    FinCapType type = FinCapType::MM;
    int c = 1;
    double rho = 0;
    int N = 0;
    std::vector<double> P;      // p(0..K); for D/M what arrivals find (customer average)
    std::vector<double> Ptime;  // time-average p(0..K); the same as P for Poisson arrivals
    double accuracy = 0;        // conservation checks, 0 in exact arithmetic
    // M/D/1/1+N: exact, its waiting time from the remaining-service law.
    std::shared_ptr<const SingleDeterministicServer> exact;
    int K() const { return c + N; }
    // The figures are those of an approximation (M/D/c/c+N with c >= 2).
    bool approximate() const { return type == FinCapType::MD && !exact; }
};

FinCapSolution SolveFinCap(FinCapType type, int c, double rho, int N);

struct FinCapStatistics {
    double Prej = 0;   // rejected arrivals
    double Pwait = 0;  // admitted customers who wait
    double Pbusy = 0;  // all servers busy, time average
    double EWq = 0, ELq = 0, StdWq = 0, StdLq = 0;
    double Utilization = 0;
};

FinCapStatistics FinCapStatisticsOf(const FinCapSolution& s);

// P{Wq > t} of an admitted customer.
double FinCapWaitingTail(const FinCapSolution& s, double t);

// P{Wq > t | Wq > 0} up to where it has fallen to 0.001; empty when the waiting time is too
// short to plot.
std::vector<ChartPoint> FinCapWaitingGraphPoints(const FinCapSolution& s, double Pwait);

// P{L > n | L > 0} of P (for D/M: what arrivals find).
std::vector<ChartPoint> FinCapStateGraphPoints(const FinCapSolution& s);

}  // namespace wachtrix
