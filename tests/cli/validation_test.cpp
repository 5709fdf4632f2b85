// Validation of every queue model through the one registration each model makes, its batch
// command: the refusals with their exact texts, in the order the fields are checked, and the
// limits tables held against what validation really accepts. A new model adds its rows here.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/queue/dg1.h"
#include "core/queue/dmc.h"
#include "core/queue/finqueue.h"
#include "core/queue/gmc.h"
#include "core/queue/machine.h"
#include "core/queue/mdc.h"
#include "core/queue/mg1.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"
#include "core/queue/qgraph.h"
#include "core/queue/staffing.h"

namespace wachtrix::cli {
namespace {

// "c=2 rho=0.5" -> the batch tool's arguments.
Arguments Parse(const std::string& words) {
    Arguments args;
    std::istringstream in(words);
    for (std::string w; in >> w;) {
        const auto eq = w.find('=');
        args.keys[w.substr(0, eq)] = w.substr(eq + 1);
    }
    return args;
}

CommandResult RunModel(const std::string& model, const std::string& words) {
    const ModelCommand* command = FindCommand(model);
    if (!command) throw std::runtime_error("no model " + model);
    return command->run(Parse(words));
}

struct Refusal {
    const char* model;
    const char* arguments;
    const char* message;
};

// Each row: arguments that fail exactly one check, all checks before it passing. Empty values
// are written as key= .
const Refusal kRefusals[] = {
    {"mmc", "c=abc rho=x", "c incorrect"},
    {"mmc", "c=2.5 rho=0.5", "c incorrect"},
    {"mmc", "c=0 rho=x", "c out of range"},
    {"mmc", "c=2501 rho=0.5", "c out of range"},
    {"mmc", "c=2 rho=", "Rho incorrect"},
    {"mmc", "c=2 rho=0,5", "Rho incorrect"},
    {"mmc", "c=2 rho=0.9991", "Rho out of range"},
    {"mmc", "c=2 rho=1e-11", "Rho out of range"},

    {"mdc", "c=x rho=x", "c incorrect"},
    {"mdc", "c=1e2 rho=0.5", "c incorrect"},
    {"mdc", "c=0 rho=x", "c out of range"},
    {"mdc", "c=501 rho=0.5", "c out of range"},
    {"mdc", "c=2 rho=.5.", "Rho incorrect"},
    {"mdc", "c=2 rho=0.9900001", "Rho out of range"},
    {"mdc", "c=2 rho=9e-11", "Rho out of range"},

    {"mg1", "type=0 cs2=abc rho=x", "cs2 incorrect"},
    {"mg1", "type=1 cs2= rho=0.5", "cs2 incorrect"},
    {"mg1", "type=1 cs2=0.4 rho=x", "Rho incorrect"},
    {"mg1", "type=1 cs2=0.4 rho=2", "CS2 out of bounds"},
    {"mg1", "type=2 cs2=100.1 rho=0.5", "CS2 out of bounds"},
    {"mg1", "type=0 cs2=2 rho=0.5", "CS2 out of bounds"},
    {"mg1", "type=0 cs2=0.009 rho=0.5", "CS2 out of bounds"},
    {"mg1", "type=0 cs2=0.5 rho=0.9900001", "Rho out of bounds"},
    {"mg1", "type=1 cs2=0.5 rho=9.9e-13", "Rho out of bounds"},

    {"dmc", "c=abc rho=x", "c incorrect"},
    {"dmc", "c=1.5 rho=0.5", "c incorrect"},
    {"dmc", "c=0 rho=x", "c out of range"},
    {"dmc", "c=501 rho=0.5", "c out of range"},
    {"dmc", "c=2 rho=", "Rho incorrect"},
    {"dmc", "c=2 rho=0.9991", "Rho out of range"},
    {"dmc", "c=2 rho=9e-11", "Rho out of range"},

    {"gmc", "arrivals=1 ca2=x c=x rho=x", "CA2 incorrect"},
    {"gmc", "arrivals=2 ca2= c=2 rho=0.5", "CA2 incorrect"},
    {"gmc", "arrivals=1 ca2=2 c=2.5 rho=x", "c incorrect"},
    {"gmc", "arrivals=0 ca2=x c=0 rho=x", "rho incorrect"},
    {"gmc", "arrivals=1 ca2=2 c=0 rho=2", "CA2 out of range"},
    {"gmc", "arrivals=1 ca2=0.009 c=2 rho=0.5", "CA2 out of range"},
    {"gmc", "arrivals=3 ca2=0.49 c=2 rho=0.5", "CA2 out of range"},
    {"gmc", "arrivals=2 ca2=100.1 c=2 rho=0.5", "CA2 out of range"},
    {"gmc", "arrivals=0 ca2=7 c=1001 rho=2", "c out of range"},
    {"gmc", "arrivals=1 ca2=0.5 c=0 rho=0.5", "c out of range"},
    {"gmc", "arrivals=2 ca2=2 c=2 rho=0.9991", "rho out of range"},
    {"gmc", "arrivals=3 ca2=2 c=2 rho=9e-11", "rho out of range"},

    {"fincap", "type=0 c=abc rho=x N=y output=3", "c incorrect"},
    {"fincap", "type=2 c=2.5 rho=0.5 N=1 output=4", "c incorrect"},
    {"fincap", "type=0 c=0 rho=x N=y output=3", "c out of range"},
    {"fincap", "type=0 c=2501 rho=0.5 N=1 output=3", "c out of range"},
    {"fincap", "type=1 c=501 rho=0.5 N=1 output=3", "c out of range"},
    {"fincap", "type=2 c=501 rho=0.5 N=1 output=4", "c out of range"},
    {"fincap", "type=0 c=2 rho= N=y output=3", "rho incorrect"},
    {"fincap", "type=0 c=2 rho=5.01 N=y output=3", "rho out of range"},
    {"fincap", "type=1 c=2 rho=1e-11 N=y output=3", "rho out of range"},
    {"fincap", "type=0 c=2 rho=0.5 N=x output=3", "n incorrect"},
    {"fincap", "type=2 c=2 rho=0.5 N=1.5 output=4", "n incorrect"},
    {"fincap", "type=0 c=2 rho=0.5 N=1001 output=3", "N out of range"},
    {"fincap", "type=1 c=2 rho=0.5 N=-1 output=3", "N out of range"},
    {"fincap", "type=2 c=2 rho=0.5 N=501 output=4", "0 <= N <= 500 required"},

    {"mmcn", "lambda=x es=y", "lambda incorrect"},
    {"mmcn", "lambda=1000.1 es=y", "lambda out of range"},
    {"mmcn", "lambda=0.009 es=y", "lambda out of range"},
    {"mmcn", "lambda=1 es=", "ES incorrect"},
    {"mmcn", "lambda=1 es=1001", "ES out of range"},
    {"mmcn", "lambda=1 es=1 vary=0 N=x", "N incorrect"},
    {"mmcn", "lambda=1 es=1 vary=0 N=101", "N out of range"},
    {"mmcn", "lambda=1 es=1 vary=0 N=5 from=a", "Lower bound on c incorrect"},
    {"mmcn", "lambda=1 es=1 vary=0 N=5 from=0", "Lower bound on c out of range"},
    {"mmcn", "lambda=1 es=1 vary=0 N=5 from=2 to=", "Upper bound on c incorrect"},
    {"mmcn", "lambda=1 es=1 vary=0 N=5 from=2 to=101", "Upper bound on c out of range"},
    {"mmcn", "lambda=1 es=1 vary=0 N=5 from=3 to=2",
     "Upper bound should be greater than lower bound"},
    {"mmcn", "lambda=1 es=1 vary=1 c=1.5", "c incorrect"},
    {"mmcn", "lambda=1 es=1 vary=1 c=0", "c out of range"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=x", "Lower bound on N incorrect"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=-1", "Lower bound on N out of range"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=0 to=x", "Upper bound on N incorrect"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=0 to=101", "Upper bound on N out of range"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=5 to=4",
     "Upper bound should be greater than lower bound"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=0 to=4 y=1 t=x", "t incorrect"},
    {"mmcn", "lambda=1 es=1 vary=1 c=2 from=0 to=4 y=1 t=2501", "t out of range"},

    {"finsrc", "service=0 c=x M=y nu=z", "c incorrect"},
    {"finsrc", "service=0 c=501 M=y nu=z", "c out of range"},
    {"finsrc", "service=1 c=251 M=y nu=z", "c out of range"},
    {"finsrc", "service=1 c=0 M=y nu=z", "c out of range"},
    {"finsrc", "service=0 c=500 M=2.5 nu=z", "M incorrect"},
    {"finsrc", "service=0 c=2 M=1001 nu=z", "M out of range"},
    {"finsrc", "service=1 c=2 M=0 nu=z", "M out of range"},
    {"finsrc", "service=1 c=250 M=1 nu=", "nu incorrect"},
    {"finsrc", "service=0 c=2 M=5 nu=100.01", "nu out of range"},
    {"finsrc", "service=1 c=2 M=5 nu=9.99e-6", "nu out of range"},

    // The graph of Std Lq (output=4) does not read j.
    {"dg1", "service=1 cs2=2.5 rho=x output=5", "cs2 incorrect"},
    {"dg1", "service=0 cs2=abc rho=x output=3", "cs2 incorrect"},
    {"dg1", "service=2 cs2=1 rho= output=3", "Rho incorrect"},
    {"dg1", "service=1 cs2=0 rho=0.5 output=5", "CS2 out of bounds"},
    {"dg1", "service=1 cs2=101 rho=0.5 output=5", "CS2 out of bounds"},
    {"dg1", "service=0 cs2=0.0099 rho=0.5 output=3", "CS2 out of bounds"},
    {"dg1", "service=3 cs2=100.1 rho=0.5 output=3", "CS2 out of bounds"},
    {"dg1", "service=2 cs2=0.5 rho=0.9900001 output=3", "Rho out of bounds"},
    {"dg1", "service=0 cs2=0.5 rho=9e-11 output=3", "Rho out of bounds"},

    {"mm1tran", "rho=abc i=x T=x", "rho incorrect"},
    {"mm1tran", "rho=0.99011 i=x T=x", "rho out of bounds"},
    {"mm1tran", "rho=-0.1 i=x T=x", "rho out of bounds"},
    {"mm1tran", "rho=0.5 i=1.5 T=x", "i incorrect"},
    {"mm1tran", "rho=0.5 i=54 T=1", "i out of bounds"},
    {"mm1tran", "rho=0 i=2 T=1", "i out of bounds"},
    {"mm1tran", "rho=0.5 i=-1 T=1", "i out of bounds"},
    {"mm1tran", "rho=0.5 i=53 j=x T=", "t incorrect"},
    {"mm1tran", "rho=0.5 i=53 T=0.009", "t out of range"},
    {"mm1tran", "rho=0.5 i=53 T=1000001", "t out of range"},

    // G/M/c reads CA2 after a; the target's fields come next, the utilisation cap last.
    {"staffing", "model=mmc a=x pwait=x maxrho=x", "a incorrect"},
    {"staffing", "model=mdc a=2497.51 pwait=x", "a out of range"},
    {"staffing", "model=dmc a=-1 pwait=x", "a out of range"},
    {"staffing", "model=gmc arrivals=1 ca2=x a=2 pwait=x", "CA2 incorrect"},
    {"staffing", "model=gmc arrivals=1 ca2=1.01 a=2 pwait=x", "CA2 out of range"},
    {"staffing", "model=gmc arrivals=2 ca2=0.49 a=2 pwait=x", "CA2 out of range"},
    {"staffing", "model=mmc a=2 t=x alpha=x", "t incorrect"},
    {"staffing", "model=mmc a=2 t=-0.1 alpha=x", "t out of range"},
    {"staffing", "model=mmc a=2 t=1 alpha=", "alpha incorrect"},
    {"staffing", "model=mmc a=2 t=1 alpha=1.01", "alpha out of range"},
    {"staffing", "model=mmc a=2 ewq=0,1", "w incorrect"},
    {"staffing", "model=mmc a=2 ewq=0", "w out of range"},
    {"staffing", "model=mmc a=2 pwait=abc", "alpha incorrect"},
    {"staffing", "model=mmc a=2 pwait=0", "alpha out of range"},
    {"staffing", "model=mmc a=2 pwait=0.1 maxrho=x", "Largest utilisation incorrect"},
    {"staffing", "model=mmc a=2 pwait=0.1 maxrho=1.5", "Largest utilisation out of range"},
};

// The last Graphs item of each model's Output group: a refusal must come before its graph
// window. (The last, because the transient M/M/1 graph of Std Lq reads no end state.)
std::string GraphsChoice(const std::string& model) {
    const std::pair<const char*, const ModelLimits*> models[] = {
        {"mmc", &kMmcLimits},   {"mdc", &kMdcLimits},         {"mg1", &kMg1Limits},
        {"dmc", &kDmcLimits},   {"gmc", &kGmcLimits},         {"finsrc", &kFinSrcExpLimits},
        {"mmcn", &kMmcnLimits}, {"mm1tran", &kMM1TranLimits}, {"staffing", &kStaffingLimits}};
    for (const auto& [name, limits] : models) {
        if (model != name) continue;
        if (limits->output.empty()) return "";  // the graph is the model's only output
        for (std::size_t i = limits->output.size(); i-- > 0;)
            if (limits->output[i].mode == kGraphs) return " output=" + std::to_string(i);
    }
    throw std::runtime_error("no Graphs item for " + model);
}

TEST(Validation, RefusesWithOneBoxAndWritesNothing) {
    for (const Refusal& r : kRefusals) {
        // The Graphs item where a row does not name its own (D/G/1's depends on the service).
        const std::string arguments = r.arguments;
        const CommandResult result =
            RunModel(r.model, arguments.find("output=") == std::string::npos
                                  ? arguments + GraphsChoice(r.model)
                                  : arguments);
        EXPECT_EQ(result.errors, std::vector<std::string>{r.message})
            << r.model << " " << r.arguments;
        EXPECT_TRUE(result.lines.empty()) << r.model << " " << r.arguments;
        EXPECT_TRUE(result.csv.find('\n') == result.csv.size() - 1)  // the header alone
            << r.model << " " << r.arguments;
    }
}

// A valid run of a model and the fields of its limits table that apply to it; the sweep moves
// one field at a time to its bounds and just beyond.
struct Registration {
    const char* model;
    const char* validArguments;
    std::vector<FieldLimit> fields;
};

const Registration kModels[] = {
    {"mmc", "c=2 rho=0.5", {kMmcServers, kMmcLoad}},
    {"mdc", "c=2 rho=0.5", {kMdcServers, kMdcLoad}},
    {"mg1", "type=0 cs2=0.5 rho=0.5", {kMg1ErlangianCs2, kMg1Load}},
    {"mg1", "type=2 cs2=0.6 rho=0.5", {kMg1CoxianCs2, kMg1Load}},
    {"dg1", "service=0 cs2=0.5 rho=0.5", {kDg1ErlangianCs2, kDg1Load}},
    {"dg1", "service=1 cs2=2 rho=0.5", {kDg1ErlangPhases, kDg1Load}},
    {"dg1", "service=2 cs2=2 rho=0.5", {kDg1CoxianCs2, kDg1Load}},
    {"dg1", "service=3 cs2=2 rho=0.5", {kDg1CoxianCs2}},
    {"dmc", "c=2 rho=0.5", {kDmcServers, kDmcLoad}},
    {"gmc", "arrivals=0 c=2 rho=0.5", {kGmcServers, kGmcLoad}},
    {"gmc", "arrivals=1 ca2=0.5 c=2 rho=0.5", {kGmcErlangCa2, kGmcServers, kGmcLoad}},
    {"gmc", "arrivals=3 ca2=2 c=2 rho=0.5", {kGmcCoxianCa2, kGmcServers, kGmcLoad}},
    {"fincap", "type=0 c=2 rho=0.5 N=3", {kFinCapServersMM, kFinCapLoad, kFinCapPlaces}},
    {"fincap", "type=1 c=2 rho=0.5 N=3", {kFinCapServers, kFinCapLoad, kFinCapPlaces}},
    {"fincap", "type=2 c=2 rho=0.5 N=3", {kFinCapServers, kFinCapLoad, kFinCapPlacesDM}},
    {"mmcn",
     "lambda=1 es=1 vary=0 N=5 from=1 to=100 y=1 t=1",
     {kMmcnArrival, kMmcnServiceTime, kMmcnCapacity, kMmcnServersFrom, kMmcnServersTo, kMmcnTime}},
    {"mmcn",
     "lambda=1 es=1 vary=1 c=2 from=0 to=100",
     {kMmcnArrival, kMmcnServiceTime, kMmcnServers, kMmcnCapacityFrom, kMmcnCapacityTo}},

    {"finsrc",
     "service=0 c=2 M=5 nu=0.5",
     {kFinSrcServersExp, kFinSrcMachines, kFinSrcFailureRate}},
    {"finsrc",
     "service=1 c=2 M=5 nu=0.5",
     {kFinSrcServersDet, kFinSrcMachines, kFinSrcFailureRate}},
    // i = 1 is allowed for every load; the bound 100 on i holds from rho = 0.7 on.
    {"mm1tran",
     "rho=0.9 i=1 j=2 T=10 output=1",
     {kMM1TranLoad, kMM1TranInitialState, kMM1TranEndState, kMM1TranHorizon}},
    {"staffing",
     "model=mmc a=10 pwait=0.2 maxrho=0.9",
     {kStaffingLoad, kStaffingDelay, kStaffingMaxRho}},
    {"staffing", "model=mdc a=10 t=0.5 alpha=0.1", {kStaffingTime, kStaffingAlpha}},
    {"staffing", "model=dmc a=10 ewq=0.1", {kStaffingMeanWait}},
    {"staffing", "model=gmc arrivals=1 ca2=0.5 a=10 pwait=0.2", {kGmcErlangCa2}},
    {"staffing", "model=gmc arrivals=2 ca2=2 a=10 pwait=0.2", {kGmcCoxianCa2}},
};

std::string WithField(const std::string& arguments, std::string_view key, double value) {
    std::ostringstream words;
    words.precision(17);
    std::istringstream in(arguments);
    for (std::string w; in >> w;)
        if (w.substr(0, w.find('=')) != key) words << w << ' ';
    words << key << '=' << value;
    return words.str();
}

// Every field's documented bounds are accepted and the values just outside refused, so the help
// text, the tab's labels and validation cannot drift apart.
TEST(Validation, AcceptsExactlyTheDocumentedRanges) {
    for (const Registration& m : kModels) {
        ASSERT_TRUE(RunModel(m.model, m.validArguments).errors.empty()) << m.model;
        for (const FieldLimit& field : m.fields) {
            const double step = field.integer ? 1 : std::fabs(field.upper) * 1e-6;
            // A real lower bound of 0 needs a step of its own.
            const double below = field.integer
                                     ? field.lower - 1
                                     : field.lower - std::max(std::fabs(field.lower) * 1e-6, 1e-9);
            for (const double inside : {field.lower, field.upper}) {
                const std::string args = WithField(m.validArguments, field.key, inside);
                EXPECT_TRUE(RunModel(m.model, args).errors.empty()) << m.model << " " << args;
            }
            for (const double outside : {below, field.upper + step}) {
                const std::string args = WithField(m.validArguments, field.key, outside);
                EXPECT_EQ(RunModel(m.model, args).errors.size(), 1u) << m.model << " " << args;
            }
        }
    }
}

// A range label promises what the model accepts: the number it shows must pass validation.
TEST(Validation, RangeLabelsShowAcceptedBounds) {
    for (const Registration& m : kModels) {
        for (const FieldLimit& field : m.fields) {
            if (field.rangeLabel.empty()) continue;  // a label that follows another field
            // "<=2500", "0.01 <= CS2 <= 1": every number the label shows.
            std::string label(field.rangeLabel);
            for (auto at = label.find("<="); at != std::string::npos; at = label.find("<="))
                label.replace(at, 2, " ");
            std::istringstream words(label);
            int numbers = 0;
            for (std::string w; words >> w;) {
                if (w.find_first_not_of("0123456789.e-") != std::string::npos) continue;
                ++numbers;
                EXPECT_TRUE(field.contains(std::stod(w))) << m.model << " " << field.rangeLabel;
            }
            EXPECT_GT(numbers, 0) << field.rangeLabel;
        }
    }
}

}  // namespace
}  // namespace wachtrix::cli
