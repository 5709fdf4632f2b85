#pragma once
// The models the batch tool knows: their keys, ranges and how to run them.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/queue/model_limits.h"
#include "core/text/value_list.h"

namespace wachtrix::cli {

// A usage fault: unknown model or key, a malformed value. Exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct KeyHelp {
    std::string key;
    std::string help;
};

// What a run produced, for main() to print.
struct CommandResult {
    std::vector<std::string> lines;    // "N text" style letters added by main() when asked
    std::vector<char> styles;          // one letter per line
    std::vector<std::string> errors;   // validation boxes: "Error: " + text, exit 2
    std::vector<std::string> failure;  // numerical failure lines, exit 3
    bool failed = false;
    std::string csv;  // the plotted points, "chart,x,y" lines
    bool drewGraph = false;
};

struct Arguments {
    std::map<std::string, std::string> keys;  // key=value
    std::vector<std::string> positional;      // other words, in order
};

struct ModelCommand {
    std::string name;
    std::string summary;
    std::string usage;  // the words after the model name
    std::vector<KeyHelp> keys;
    int positionalCount = 0;  // words that are not key=value
    CommandResult (*run)(const Arguments&);
};

const std::vector<ModelCommand>& Commands();
const ModelCommand* FindCommand(const std::string& name);

// The keys of a queue model, generated from its limits table: `choices` (keys that pick an
// item, such as a service type) first, then the typed fields with their ranges, the Output group
// and the value groups.
std::vector<KeyHelp> QueueKeys(std::vector<KeyHelp> choices, const ModelLimits& limits);

// "0 Standard Statistics, 1 ..., (default 0)": the items of an Output group.
std::string OutputHelp(OutputGroup output);

// Text a user gave, safe to echo in a message: bytes that are not UTF-8, and control
// characters, as \xNN.
std::string Printable(std::string_view text);

// Writes `text` to a temporary file beside `path` and renames it over `path`; false, with `path`
// as it was, when that fails.
bool WriteFileReplacing(const std::string& path, const std::string& text);

// Helpers for the commands.
// "1,0.5,2" -> {"1", "0.5", "2"}; more than `most` values is a usage fault.
std::vector<std::string> Values(const Arguments& args, const std::string& key, std::size_t most);
TEditArray ValueGroup(const Arguments& args, const std::string& key);  // "1,0.5,2" -> 12 texts
std::string Text(const Arguments& args, const std::string& key);       // "" when absent
int Choice(const Arguments& args, const std::string& key, int count);  // 0..count-1, default 0

// "0 Deterministic Arrivals, 1 ...": the G/M/c arrival types.
std::string GmcArrivalHelp();

// The commands, one file each.
ModelCommand MmcCommand();
ModelCommand MdcCommand();
ModelCommand Mg1Command();
ModelCommand Dg1Command();
ModelCommand DmcCommand();
ModelCommand GmcCommand();
ModelCommand FinCapCommand();
ModelCommand MmcnCommand();
ModelCommand FinSrcCommand();
ModelCommand MM1TranCommand();
ModelCommand MarkovCommand();
ModelCommand StaffingCommand();

}  // namespace wachtrix::cli
