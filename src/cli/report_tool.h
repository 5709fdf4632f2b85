#pragma once
// wachtrix-report: runs a model without windows and prints its report, for scripts and course
// material. Exit codes: 0 done, 2 usage or input refused, 3 the computation failed, 4 the
// report could not be written.

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wachtrix::cli {

// The words after the program name; the report goes to `out`, messages to `err`.
int RunReportTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// A stream buffer onto a descriptor (standard output), written in blocks as it fills rather
// than held whole: a report of a large chain is written without a copy of it in memory. After
// a write fails it writes nothing more and keeps the system's reason.
class ReportOutput : public std::streambuf {
public:
    explicit ReportOutput(int fd);

    // Writes what is left: the exit status, or 4 with a message on `err` when the report did
    // not arrive whole.
    int Finish(int status, std::ostream& err);

private:
    int_type overflow(int_type c) override;
    int sync() override;
    bool Drain();

    int fd_;
    std::vector<char> block_;
    std::string failure_;
};

struct CommandResult;

// The report of a model's words as the tool reads them (a misspelt key or a bad option is a
// UsageError), without printing it: for the tests that sweep the models.
CommandResult RunModelWords(const std::vector<std::string>& words);

// What --help and the manual page both say about the tool itself, so the two cannot drift apart.
inline constexpr std::string_view kToolPurpose =
    "Runs a model as its window would and prints the report lines.";

// The ways to call the tool, after its name.
std::span<const std::string_view> ToolSynopsis();

struct OptionHelp {
    std::string_view option;    // "--graph-csv"
    std::string_view argument;  // "FILE", "" when it takes none
    std::string_view help;
};
std::span<const OptionHelp> ToolOptions();

struct ExitStatusHelp {
    int code;
    std::string_view meaning;
};
std::span<const ExitStatusHelp> ExitStatuses();

}  // namespace wachtrix::cli
