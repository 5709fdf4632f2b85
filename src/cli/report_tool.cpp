// The batch tool's command line, for main() and the fuzz target.

#include "cli/report_tool.h"

#include <exception>
#include <string>

#include "cli/commands.h"
#include "core/text/file_writer.h"
#include "core/text/padding.h"

namespace wachtrix::cli {
namespace {

constexpr std::string_view kSynopsis[] = {
    "MODEL [FILE] KEY=VALUE... [--styles] [--graph-csv FILE]",
    "MODEL KEY=VALUE... vary=KEY from=A to=B (steps=K | step=S) figures=NAME,... [--csv]",
    "MODEL KEY=VALUE... simulate=N [runs=R] [seed=S]",
    "[MODEL] --help",
};

constexpr OptionHelp kOptions[] = {
    {"--styles", "", "prefix each line with its style letter (N, T, B, U) and a blank"},
    {"--graph-csv", "FILE", "write the points of a Graphs run as CSV (chart,x,y)"},
    {"--csv", "", "print a scenario table as comma-separated values"},
    {"--help", "", "list the models, or with a model its keys"},
};

constexpr ExitStatusHelp kExitStatuses[] = {
    {0, "the report was printed"},
    {2,
     "the input was refused: an unknown model, key or option, or a value the model's window "
     "would refuse"},
    {3, "the computation failed; the reason goes to standard error"},
    {4, "the report could not be written to standard output (a full disk, a closed output)"},
};

void PrintOverview(std::ostream& out) {
    const char* lead = "Usage: ";
    for (const std::string_view synopsis : kSynopsis) {
        out << lead << "wachtrix-report " << synopsis << "\n";
        lead = "       ";
    }
    out << "\n" << kToolPurpose << "\n";
    for (const OptionHelp& o : kOptions) {
        std::string name(o.option);
        if (!o.argument.empty()) name += " " + std::string(o.argument);
        out << "  " << PadRight(name, 16) << "  " << o.help << "\n";
    }
    out << "\nExit codes:\n";
    for (const ExitStatusHelp& e : kExitStatuses)
        out << "  " << e.code << "  " << e.meaning << "\n";
    out << "\nModels:\n";
    for (const auto& c : Commands())
        out << "  " << PadRight(c.name, 9) << " " << c.summary << "\n";
}

void PrintModelHelp(const ModelCommand& c, std::ostream& out) {
    out << "Usage: wachtrix-report " << c.name << " " << c.usage << "\n\n"
        << c.summary << "\n\nKeys:\n";
    for (const auto& k : c.keys)
        out << "  " << PadRight(k.key, 9) << " " << k.help << "\n";
}

// A model's words: its key=value pairs (each a key of the model, once), its positional words and
// the options.
struct ModelCall {
    const ModelCommand* command = nullptr;
    Arguments args;
    bool styles = false;
    bool help = false;
    std::string csvFile;
};

ModelCall ParseCall(const std::vector<std::string>& words) {
    ModelCall call;
    call.command = FindCommand(words.at(0));
    if (!call.command) throw UsageError("unknown model \"" + words[0] + "\" (see --help)");
    const ModelCommand& command = *call.command;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--help" || w == "-h") {
            call.help = true;
            return call;
        }
        if (w == "--styles") {
            call.styles = true;
        } else if (w == "--csv") {
            call.args.csv = true;
        } else if (w == "--graph-csv") {
            // A key=value after the option is a forgotten file name, not a file to overwrite.
            if (++i == words.size() || words[i].empty() ||
                words[i].find('=') != std::string::npos || words[i].rfind("--", 0) == 0)
                throw UsageError("--graph-csv needs a file name");
            call.csvFile = words[i];
        } else if (w.rfind("--", 0) == 0) {
            throw UsageError("unknown option " + w);
        } else if (const auto eq = w.find('='); eq != std::string::npos) {
            const std::string key = w.substr(0, eq);
            bool known = false;
            for (const auto& k : command.keys)
                known = known || k.key == key;
            if (!known) throw UsageError("unknown key \"" + key + "\" for " + command.name);
            if (!call.args.keys.emplace(key, w.substr(eq + 1)).second)
                throw UsageError("key \"" + key + "\" given twice");
        } else {
            call.args.positional.push_back(w);
        }
    }
    if (static_cast<int>(call.args.positional.size()) != command.positionalCount)
        throw UsageError("usage: wachtrix-report " + command.name + " " + command.usage);
    return call;
}

int Run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {  // a call that names nothing is a usage fault: the usage goes with it
        PrintOverview(err);
        return 2;
    }
    if (words[0] == "--help" || words[0] == "-h") {
        PrintOverview(out);
        return 0;
    }
    const ModelCall call = ParseCall(words);
    if (call.help) {
        PrintModelHelp(*call.command, out);
        return 0;
    }
    const bool styles = call.styles;
    const std::string& csvFile = call.csvFile;
    const auto result = call.command->run(call.args);
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        if (styles) out << result.styles[i] << ' ';
        out << result.lines[i] << '\n';
    }
    out.flush();
    for (const auto& e : result.errors) {
        // A message may say why on a line of its own.
        std::string_view rest = e;
        err << "Error: ";
        for (auto end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
            err << Printable(rest.substr(0, end)) << "\n";
            rest.remove_prefix(end + 1);
        }
        err << Printable(rest) << "\n";
    }
    if (!result.errors.empty()) return 2;
    if (result.failed) {
        for (const auto& l : result.failure)
            err << l << "\n";
        return 3;
    }
    // Only a run that drew its graphs replaces the file, and only once the points are written.
    if (!csvFile.empty()) {
        if (!result.drewGraph) {
            err << "wachtrix-report: the run drew no graph; " << Printable(csvFile)
                << " is left as it was\n";
        } else if (const std::string why = WriteFileSafely(csvFile, result.csv); !why.empty()) {
            err << "wachtrix-report: cannot write " << Printable(csvFile) << ": " << why << "\n";
            return 2;
        }
    }
    return 0;
}

}  // namespace

ReportOutput::ReportOutput(int fd) : fd_(fd), block_(std::size_t{1} << 16) {
    setp(block_.data(), block_.data() + block_.size());
}

bool ReportOutput::Drain() {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    if (failure_.empty() && !pending.empty()) failure_ = WriteToDescriptor(fd_, pending);
    setp(block_.data(), block_.data() + block_.size());
    return failure_.empty();
}

ReportOutput::int_type ReportOutput::overflow(int_type c) {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int ReportOutput::sync() {
    return Drain() ? 0 : -1;
}

int ReportOutput::Finish(int status, std::ostream& err) {
    // A report that does not reach its reader is no success: say so, with the system's reason.
    if (!Drain()) {
        err << "Error: cannot write the report: " << failure_ << "\n";
        return 4;
    }
    return status;
}

std::span<const std::string_view> ToolSynopsis() {
    return kSynopsis;
}

std::span<const OptionHelp> ToolOptions() {
    return kOptions;
}

std::span<const ExitStatusHelp> ExitStatuses() {
    return kExitStatuses;
}

CommandResult RunModelWords(const std::vector<std::string>& words) {
    const ModelCall call = ParseCall(words);
    if (call.help) throw UsageError("--help prints no report");
    return call.command->run(call.args);
}

int RunReportTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    try {
        return Run(words, out, err);
    } catch (const UsageError& e) {
        err << "wachtrix-report: " << Printable(e.what()) << "\n";
        return 2;
    } catch (const std::exception& e) {
        // Whatever else went wrong, a script gets a reason and the failure exit code.
        err << "wachtrix-report: the computation failed: " << Printable(e.what()) << "\n";
        return 3;
    }
}

}  // namespace wachtrix::cli
