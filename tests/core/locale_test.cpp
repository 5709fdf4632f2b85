// Numbers are read and written with "." whatever the process's locale: a program that adopts a
// comma-decimal locale (QApplication does) must still write chain files that read back the same.
// (The text units' own tests run again under comma-decimal locales.)

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <locale>
#include <stdexcept>
#include <string>

#include "core/markov/chain_file.h"

namespace wachtrix {
namespace {

namespace fs = std::filesystem;

// Switches the process's C and C++ locales to Dutch (decimal comma) for one test and back.
class DutchLocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldC_ = std::setlocale(LC_ALL, nullptr);
        oldCxx_ = std::locale();
        try {
            std::locale::global(std::locale(kDutch));
        } catch (const std::runtime_error&) {
            GTEST_SKIP() << kDutch << " cannot be loaded (LOCPATH should name the folder the "
                         << "build generates the test locales in)";
        }
        ASSERT_TRUE(std::setlocale(LC_ALL, kDutch));
        switched_ = true;
        // Proof that the C library now writes a decimal comma: the test would show nothing
        // otherwise.
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 0.5);
        ASSERT_STREQ(text, "0,5");
    }

    void TearDown() override {
        if (!switched_) return;
        std::locale::global(oldCxx_);
        std::setlocale(LC_ALL, oldC_.c_str());
    }

    static constexpr const char* kDutch = "nl_NL.UTF-8";

private:
    std::string oldC_;
    std::locale oldCxx_;
    bool switched_ = false;
};

TEST_F(DutchLocaleTest, ChainFileReadsBackAsItWasWritten) {
    const ChainInput chain{
        ChainKind::Continuous, {{"0", "2.5"}, {"0.75", "0"}}, {{"1.5", "10"}, {"2", "0.125"}}};
    const fs::path path =
        fs::temp_directory_path() / ("wachtrix-locale-" + std::to_string(::getpid()) + ".txt");
    ASSERT_TRUE(WriteChainFile(path.string(), chain));
    const auto read = ReadChainFile(path.string());
    fs::remove(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, chain.kind);
    EXPECT_EQ(read->matrix, chain.matrix);
    EXPECT_EQ(read->costs, chain.costs);
    EXPECT_EQ(ChainFileText(*read), "88\n2\n0 2.5\n0.75 0\n1.5 2\n10 0.125\n");
}

}  // namespace
}  // namespace wachtrix
