#pragma once
// The models the batch tool knows: every queue model of the registry, the Markov analyses and
// the queueing networks, with their keys, ranges and how to run them.

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
    std::string csv;                       // the plotted points, "chart,x,y" lines
    std::vector<std::string> chartTitles;  // the graph title of each chart in csv ("" for none)
    bool drewGraph = false;
};

struct Arguments {
    std::map<std::string, std::string> keys;  // key=value
    std::vector<std::string> positional;      // other words, in order
    bool csv = false;                         // --csv: a scenario table comma-separated
};

struct ModelCommand {
    std::string name;
    std::string summary;
    std::string usage;  // the words after the model name
    std::vector<KeyHelp> keys;
    int positionalCount = 0;  // words that are not key=value
    std::function<CommandResult(const Arguments&)> run;
};

const std::vector<ModelCommand>& Commands();
const ModelCommand* FindCommand(const std::string& name);

// Text a user gave, safe to echo in a message: bytes that are not UTF-8, and control
// characters, as \xNN.
std::string Printable(std::string_view text);

// Helpers for the commands.
// "1,0.5,2" -> {"1", "0.5", "2"}; more than `most` values is a usage fault.
std::vector<std::string> Values(const Arguments& args, const std::string& key, std::size_t most);
std::string Text(const Arguments& args, const std::string& key);       // "" when absent
int Choice(const Arguments& args, const std::string& key, int count);  // 0..count-1, default 0

// The Markov analyses of a chain file; the queue models come from the registry.
ModelCommand MarkovCommand();
// Open and closed queueing networks of a network file.
ModelCommand NetworkCommand();

}  // namespace wachtrix::cli
