#pragma once
// The G/M/c queue: renewal arrivals fitted to their squared coefficient of variation CA2
// (deterministic, a mixture of two Erlangs, or a Coxian-2 by gamma normalisation or balanced
// means), c exponential servers, first come first served; time in mean service times. With A*
// the transform of the interarrival time, the decay root sigma = A*(c (1 - sigma)) makes a
// delayed customer's wait exponential with rate c (1 - sigma); the delay probability comes from
// Takacs' boundary sum, which for Coxian-2 arrivals a two-phase recursion over the boundary
// levels checks.

#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/queue/gimc_statistics.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

// GMC_Arrivals_RadioGroup's items.
enum class GmcArrivals { Deterministic = 0, Erlangian = 1, CoxianGamma = 2, CoxianBalanced = 3 };
inline constexpr std::string_view kGmcArrivalItems[] = {
    "Deterministic Arrivals", "Erlangian Arrivals", "Coxian-2 Arrivals (gamma normalization)",
    "Coxian-2 Arrivals (balanced means)"};
// The arrivals that read CA2 (as the G/M/c and Staffing tabs enable their CA2 field).
constexpr bool GmcRandomArrivals(int arrivalsItem) {
    return arrivalsItem != static_cast<int>(GmcArrivals::Deterministic);
}

inline constexpr FieldLimit kGmcServers{"c", "number of servers", 1, 1000, "<=1000", true};
inline constexpr FieldLimit kGmcLoad{"rho", "load per server", 1e-10, 0.999, "<=0.999", false,
                                     1e-10};
inline constexpr FieldLimit kGmcErlangCa2{
    "ca2", "squared coefficient of variation of the interarrival time; Erlangian arrivals", 0.01, 1,
    "0.01 <= CA2 <= 1"};
inline constexpr FieldLimit kGmcCoxianCa2{"ca2", "Coxian-2 arrivals", 0.5, 100,
                                          "0.5 <= CA2 <= 100"};
// CA2 by arrival type; deterministic arrivals do not read it.
inline constexpr FieldLimit kGmcDeterministicCa2{"ca2", "", 0, 0, "(deterministic)"};
inline constexpr FieldLimit kGmcCa2Limits[] = {kGmcDeterministicCa2, kGmcErlangCa2, kGmcCoxianCa2,
                                               kGmcCoxianCa2};
// The t-values box has said "(<= 75000)"; its reader has always stopped at 2500.
inline constexpr ValueGroupLimit kGmcGroups[] = {
    {'T', 2500, "t-values (<= 2500)"},
    {'P', 0.999999, "p-values (<= 0.999999)"},
};
// The "G/M/c" tab; Graphs opens one window with the conditional waiting time. Loads too small for
// reliable results end with a message line, as do graphs of a negligible delay probability.
extern const QueueModelSpec kGmcModel;

// The pieces of the run, for the tests and the benchmarks.

// Loads too small for reliable results, by arrival type (and CA2 band for Erlang arrivals).
bool GmcRhoTooSmall(GmcArrivals arrivals, int c, double ca2, double rho);

// Mixture of Erlang(k - 1, nu) (probability p) and Erlang(k, nu): 1/k <= CA2 < 1/(k - 1).
struct ErlangFit {
    int k = 1;
    double p = 0, nu = 1;
};
ErlangFit FitErlang(double ca2, int c, double rho);

// A*(s) = p mu1 / (mu1 + s) + q mu2 / (mu2 + s), p + q = 1 (q may be negative).
struct Coxian2Fit {
    double mu1 = 1, mu2 = 1, p = 1, q = 0;
};
// CA2 moved off the fits' singular points 0.5 and 1 (the moved value is the one reported).
double NudgeCoxianCa2(double ca2);
// For a nudged CA2.
Coxian2Fit FitCoxian2(GmcArrivals fit, double ca2, int c, double rho);

struct GmcSolution : GimcStatistics {
    GmcArrivals arrivals = GmcArrivals::Deterministic;
    int c = 1;
    double rho = 0;
    double ca2 = 0;  // as reported: 0 for deterministic, nudged for Coxian-2
    double sigma = 0;
    double Pstar = 0;     // the scaled boundary probability the statistics follow from
    double accuracy = 0;  // Coxian-2: two ways to the busy probability; 0 otherwise
};

// Throws NumericalFailure when a root search gives up.
GmcSolution SolveGMC(GmcArrivals arrivals, double ca2, int c, double rho);

double GmcWaitingTail(const GmcSolution& s, double t);  // P{Wq > t}
double GmcPercentile(const GmcSolution& s, double p);  // negative (undefined) at or below 1 - Pwait
// Coxian-2: the accuracy value; the other types, literal zeros.
std::string GmcAccuracyLine(const GmcSolution& s);
std::vector<ChartPoint> GmcWaitingGraphPoints(const GmcSolution& s);  // P{Wq>t | Wq>0}

}  // namespace wachtrix
