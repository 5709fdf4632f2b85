#pragma once
// Staffing: the smallest number of servers c that meets a service level at an offered load of
// a = lambda E(S) Erlangs, for M/M/c, M/D/c, D/M/c, G/M/c and M/M/c+M. Every figure is the model's
// own solution at rho = a / c (the functions its tab runs). Waiting falls as servers are added, so
// the search gallops upward from the smallest stable c and then bisects the last step.
//
//   a = 10 Erlangs, M/M/c, Pwait <= 0.2  -> c = 14 (Pwait 0.174 at 14, 0.285 at 13)

#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/queue/gmc.h"
#include "core/queue/model_limits.h"
#include "core/queue/queue_model.h"

namespace wachtrix {

// Staffing_Model_RadioGroup's items.
enum class StaffingModel { MMC = 0, MDC = 1, DMC = 2, GMC = 3, ErlangA = 4 };
inline constexpr std::string_view kStaffingModelItems[] = {"M/M/c", "M/D/c", "D/M/c", "G/M/c",
                                                           "M/M/c+M"};

// Staffing_Target_RadioGroup's items.
enum class StaffingTarget { WaitingTail = 0, MeanWait = 1, DelayProbability = 2, Abandonment = 3 };
inline constexpr std::string_view kStaffingTargetItems[] = {"P{Wq>t} <= alpha", "E(Wq) <= w",
                                                            "Pwait <= alpha", "Pab <= alpha"};

// The largest load the models without abandonment take: 2500 servers at rho = 0.999.
inline constexpr FieldLimit kStaffingLoad{
    "a", "offered load lambda E(S) in Erlangs", 1e-10, 2497.5, "<= 2497.5", false, 1e-10};
inline constexpr FieldLimit kStaffingTime{"t", "waiting time t of P{Wq>t}, in mean service times",
                                          0, 2500, "<= 2500"};
inline constexpr FieldLimit kStaffingAlpha{"alpha", "largest acceptable P{Wq>t}", 1e-10, 1,
                                           "1e-10 <= alpha <= 1"};
inline constexpr FieldLimit kStaffingMeanWait{
    "ewq", "largest acceptable E(Wq), in mean service times", 1e-10, 1000, "1e-10 <= w <= 1000"};
inline constexpr FieldLimit kStaffingDelay{"pwait", "largest acceptable Pwait", 1e-10, 1,
                                           "1e-10 <= alpha <= 1"};
inline constexpr FieldLimit kStaffingAbandonment{
    "pab", "largest acceptable abandonment probability Pab (M/M/c+M)", 1e-10, 1,
    "1e-10 <= alpha <= 1"};
inline constexpr FieldLimit kStaffingMaxRho{
    "maxrho", "largest acceptable utilisation rho = a / c (optional)", 0.01, 1, "0.01 <= rho <= 1"};
// The "Staffing" tab: searches and reports; with the graph box ticked, one window shows the
// target measure against c with the target as a line.
extern const QueueModelSpec kStaffingModel;

// The pieces of the run, for the tests, the benchmark and the batch tool.

struct StaffingQuestion {
    StaffingModel model = StaffingModel::MMC;
    GmcArrivals arrivals = GmcArrivals::Deterministic;
    double ca2 = 0;
    double a = 1;
    StaffingTarget target = StaffingTarget::DelayProbability;
    double t = 0;                                             // of P{Wq>t}
    double bound = 0;                                         // alpha or w
    double maxRho = std::numeric_limits<double>::infinity();  // none unless given
    double theta = 1;                                         // M/M/c+M: the abandonment rate
};

// One model run at c servers.
struct StaffingRow {
    int c = 1;
    double rho = 0;
    bool solved = false;  // false: the model refuses the load (too small for reliable results)
    double Pwait = 0, EWq = 0;
    double measure = 0;  // the target's figure
    bool met = false;    // measure within the bound and rho within maxRho
};

// The model's server limit and the smallest c whose load it takes (c above the limit when none).
int StaffingServerLimit(StaffingModel model);
int StaffingSmallestStable(StaffingModel model, double a);

// Runs the model at c (the load must lie in the model's range).
StaffingRow EvaluateStaffing(const StaffingQuestion& q, int c);

enum class StaffingOutcome {
    Found,
    LoadTooLarge,       // no c within the model's limit keeps rho in its range
    MaxRhoUnreachable,  // no c within the limit keeps rho <= maxRho
    AllRefused,         // the model refuses the load at every c that remains
    NotMet,             // every accepted c misses the target
};

struct StaffingAnswer {
    StaffingOutcome outcome = StaffingOutcome::NotMet;
    int c = 0;                        // the smallest c meeting the target (Found)
    int first = 0;                    // the smallest c searched: stable and within maxRho
    int limit = 0;                    // the model's largest c
    std::vector<int> accepted;        // the c from `first` on whose load the model takes
    std::map<int, StaffingRow> runs;  // the model runs the search made, by c
};

StaffingAnswer FindStaffing(const StaffingQuestion& q);

// The table's rows: c - 1 (when it exists and is stable) through c + 3, within the limit; for an
// unmet target, the last five accepted c. Reuses the search's runs.
std::vector<StaffingRow> StaffingTableRows(const StaffingQuestion& q, StaffingAnswer& answer);

}  // namespace wachtrix
