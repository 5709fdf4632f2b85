#pragma once
// Whole files read and written, a fresh folder per test under the temporary directory, removed
// afterwards (write permission given back first), and a command line run through the shell as a
// user would, keeping what it printed and its exit code.
//
//   RunCommand("wachtrix-report mmc --help") -> {out = "Usage: ...", err = "", exitCode = 0}
//   TEST_F(TempFolder, ...) { WriteFile(At("a.txt"), "x"); EXPECT_EQ(Listing(), {"a.txt"}); }

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace wachtrix::testing {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("wachtrix_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir_);
    }
    std::string At(const std::string& name) const { return (dir_ / name).string(); }
    // The names in the folder, sorted.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;
};

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
