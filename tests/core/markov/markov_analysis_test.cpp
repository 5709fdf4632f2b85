#include "core/markov/markov_analysis.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace wachtrix {
namespace {

namespace fs = std::filesystem;

class MarkovFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("wachtrix-markov-run-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path.string();
    }

    fs::path dir_;
};

// The file errors and the whole reports of other chains are seen through wachtrix-report in the
// CLI tests.

TEST_F(MarkovFileTest, RunsTheChosenAnalysisOnTheFilesChain) {
    const std::string path = Write("two.txt", "99\n2\n0.75 0.25\n0.75 0.25\n1 2\n");
    const MarkovFileReport structure = RunMarkovFile(path, MarkovAnalysis::ChainStructure);
    EXPECT_EQ(structure.error, "");
    EXPECT_EQ(structure.lines,
              (std::vector<std::string>{"=====================", "   CHAIN STRUCTURE",
                                        "=====================", " ", "Recurrent subchain 1: 1 2 ",
                                        " ", "There is a single recurrent class.", "",
                                        "Transient states      : None   "}));
    const MarkovFileReport steady = RunMarkovFile(path, MarkovAnalysis::SteadyState);
    EXPECT_EQ(steady.error, "");
    ASSERT_EQ(steady.lines.size(), 12u);
    EXPECT_EQ(steady.lines[6], "State 1: pi[1] = 0.7500000000");
    EXPECT_EQ(steady.lines[9], "Average cost per unit time: 1.2500000000");
}

TEST(MarkovAnalysisNamed, KnowsTheBatchNames) {
    EXPECT_EQ(MarkovAnalysisNamed("structure"), MarkovAnalysis::ChainStructure);
    EXPECT_EQ(MarkovAnalysisNamed("steady"), MarkovAnalysis::SteadyState);
    EXPECT_EQ(MarkovAnalysisNamed("transient"), std::nullopt);
}

}  // namespace
}  // namespace wachtrix
