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
#include "core/queue/mg1.h"
#include "core/queue/mm1_tran.h"
#include "core/queue/mmc.h"

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

    {"mg1", "type=0 cs2=abc rho=x", "cs2 incorrect"},
    {"mg1", "type=1 cs2= rho=0.5", "cs2 incorrect"},
    {"mg1", "type=1 cs2=0.4 rho=x", "Rho incorrect"},
    {"mg1", "type=1 cs2=0.4 rho=2", "CS2 out of bounds"},
    {"mg1", "type=2 cs2=100.1 rho=0.5", "CS2 out of bounds"},
    {"mg1", "type=0 cs2=2 rho=0.5", "CS2 out of bounds"},
    {"mg1", "type=0 cs2=0.009 rho=0.5", "CS2 out of bounds"},
    {"mg1", "type=0 cs2=0.5 rho=0.9900001", "Rho out of bounds"},
    {"mg1", "type=1 cs2=0.5 rho=9.9e-13", "Rho out of bounds"},

    // The graph of Std Lq (output=4) does not read j.
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
};

TEST(Validation, RefusesWithOneBoxAndWritesNothing) {
    for (const Refusal& r : kRefusals) {
        const CommandResult result = RunModel(r.model, std::string(r.arguments) + " output=4");
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
    {"mg1", "type=0 cs2=0.5 rho=0.5", {kMg1ErlangianCs2, kMg1Load}},
    {"mg1", "type=2 cs2=0.6 rho=0.5", {kMg1CoxianCs2, kMg1Load}},
    // i = 1 is allowed for every load; the bound 100 on i holds from rho = 0.7 on.
    {"mm1tran",
     "rho=0.9 i=1 j=2 T=10 output=1",
     {kMM1TranLoad, kMM1TranInitialState, kMM1TranEndState, kMM1TranHorizon}},
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
