// wachtrix-report: runs a model without windows and prints its report, for scripts and course
// material. Exit codes: 0 done, 2 usage or input refused, 3 the computation failed.

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

using wachtrix::cli::Arguments;
using wachtrix::cli::Commands;
using wachtrix::cli::FindCommand;
using wachtrix::cli::ModelCommand;
using wachtrix::cli::UsageError;

void PrintOverview(std::ostream& out) {
    out << "Usage: wachtrix-report MODEL [FILE] KEY=VALUE... [--styles] [--graph-csv FILE]\n"
           "       wachtrix-report MODEL --help\n\n"
           "Runs a model as its window would and prints the report lines.\n"
           "  --styles          prefix each line with its style letter (N, T, B, U) and a blank\n"
           "  --graph-csv FILE  write the points of a Graphs run as CSV (chart,x,y)\n\n"
           "Models:\n";
    for (const auto& c : Commands())
        out << "  " << c.name << std::string(10 - c.name.size(), ' ') << c.summary << "\n";
}

void PrintModelHelp(const ModelCommand& c, std::ostream& out) {
    out << "Usage: wachtrix-report " << c.name << " " << c.usage << "\n\n"
        << c.summary << "\n\nKeys:\n";
    for (const auto& k : c.keys)
        out << "  " << k.key << std::string(10 - k.key.size(), ' ') << k.help << "\n";
}

int Run(const std::vector<std::string>& words) {
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        PrintOverview(std::cout);
        return words.empty() ? 2 : 0;
    }
    const ModelCommand* command = FindCommand(words[0]);
    if (!command) {
        std::cerr << "wachtrix-report: unknown model \"" << words[0] << "\" (see --help)\n";
        return 2;
    }
    Arguments args;
    bool styles = false;
    std::string csvFile;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--help" || w == "-h") {
            PrintModelHelp(*command, std::cout);
            return 0;
        }
        if (w == "--styles") {
            styles = true;
        } else if (w == "--graph-csv") {
            if (++i == words.size()) throw UsageError("--graph-csv needs a file name");
            csvFile = words[i];
        } else if (w.rfind("--", 0) == 0) {
            throw UsageError("unknown option " + w);
        } else if (const auto eq = w.find('='); eq != std::string::npos) {
            const std::string key = w.substr(0, eq);
            bool known = false;
            for (const auto& k : command->keys)
                known = known || k.key == key;
            if (!known) throw UsageError("unknown key \"" + key + "\" for " + command->name);
            args.keys[key] = w.substr(eq + 1);
        } else {
            args.positional.push_back(w);
        }
    }
    if (static_cast<int>(args.positional.size()) != command->positionalCount)
        throw UsageError("usage: wachtrix-report " + command->name + " " + command->usage);

    const auto result = command->run(args);
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        if (styles) std::cout << result.styles[i] << ' ';
        std::cout << result.lines[i] << '\n';
    }
    std::cout.flush();
    if (!csvFile.empty()) {
        std::ofstream csv(csvFile, std::ios::binary | std::ios::trunc);
        csv << result.csv;
        if (!csv.flush()) {
            std::cerr << "wachtrix-report: cannot write " << csvFile << "\n";
            return 2;
        }
    }
    for (const auto& e : result.errors)
        std::cerr << "Error: " << e << "\n";
    if (!result.errors.empty()) return 2;
    if (result.failed) {
        for (const auto& l : result.failure)
            std::cerr << l << "\n";
        return 3;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "wachtrix-report: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        // Whatever else went wrong, a script gets a reason and the failure exit code.
        std::cerr << "wachtrix-report: the computation failed: " << e.what() << "\n";
        return 3;
    }
}
