#pragma once
// Runs a command line through the shell as a user would, keeping what it printed and its exit
// code:  RunCommand("wachtrix-report mmc --help") -> {out = "Usage: ...", err = "", exitCode = 0}

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace wachtrix::testing {

struct CommandOutcome {
    std::string out, err;
    int exitCode = -1;  // -1 when the command did not end normally
};

inline CommandOutcome RunCommand(const std::string& command) {
    const auto errFile = std::filesystem::temp_directory_path() /
                         ("wachtrix_command_err_" + std::to_string(::getpid()));
    CommandOutcome outcome;
    FILE* pipe = ::popen((command + " 2>" + errFile.string()).c_str(), "r");
    if (!pipe) return outcome;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        outcome.out.append(buffer, n);
    const int status = ::pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = ReadFile(errFile);
    std::filesystem::remove(errFile);
    return outcome;
}

}  // namespace wachtrix::testing
