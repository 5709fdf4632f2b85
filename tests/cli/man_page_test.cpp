// The manual page of wachtrix-report, read as a reader sees it: groff renders it, and every line
// --help prints must be there; its examples must run.

#include "cli/man_page.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/capabilities.h"
#include "cli/commands.h"
#include "cli/report_tool.h"
#include "core/queue/queue_model.h"
#include "support/temp_folder.h"

namespace wachtrix::cli {
namespace {

// Each test with a folder of its own for the page, the chain and the points it writes.
class ManPageTest : public testing::TempFolder {};
using testing::ReadFile;

// Runs of blanks and line ends as one blank: line breaks and justification are the renderer's.
std::string Collapse(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\t';
        if (!blank)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The page as man shows it, without bold or underlining; groff's warnings on standard error.
testing::CommandOutcome Render(const std::string& page, const std::string& source) {
    testing::WriteFile(source, page);
    return testing::RunCommand(std::string(WACHTRIX_GROFF) + " -man -Tutf8 -ww -P-c -P-b -P-u " +
                               source);
}

std::string Help(const std::vector<std::string>& words) {
    std::ostringstream out, err;
    EXPECT_EQ(RunReportTool(words, out, err), 0) << err.str();
    return out.str();
}

TEST_F(ManPageTest, SaysEveryLineTheHelpSays) {
    if (std::string(WACHTRIX_GROFF).empty()) GTEST_SKIP() << "groff is not installed";
    const testing::CommandOutcome rendered = Render(ManPage("2.0"), At("page.1"));
    ASSERT_EQ(rendered.exitCode, 0);
    EXPECT_EQ(rendered.err, "");  // no warnings
    const std::string page = Collapse(rendered.out);

    std::vector<std::vector<std::string>> calls{{"--help"}};
    for (const ModelCommand& c : Commands())
        calls.push_back({c.name, "--help"});
    int checked = 0;
    for (const auto& words : calls) {
        std::istringstream lines(Help(words));
        std::string line;
        while (std::getline(lines, line)) {
            std::string_view text = line;
            if (text.starts_with("Usage: ")) text.remove_prefix(7);
            const std::string wanted = Collapse(text);
            if (wanted.empty() || wanted.ends_with(":")) continue;  // blank lines, headings
            EXPECT_NE(page.find(wanted), std::string::npos)
                << "\"" << wanted << "\" (from " << words[0] << " --help) is not in the page";
            ++checked;
        }
    }
    // Every model's usage, summary and keys: far more than a handful of lines.
    EXPECT_GT(checked, 10 * static_cast<int>(Commands().size()));
}

// Every place that lists what the program does names every queue model, Staffing and every
// Markov analysis; the program's own page renders without a warning.
TEST_F(ManPageTest, CapabilitiesNameEveryModelAndAnalysis) {
    const std::string description = PackageDescription();
    std::vector<std::string> texts{MetainfoDescription(), Collapse(description)};
    if (!std::string(WACHTRIX_GROFF).empty()) {
        const testing::CommandOutcome rendered = Render(ProgramManPage("2.0"), At("page.1"));
        EXPECT_EQ(rendered.exitCode, 0);
        EXPECT_EQ(rendered.err, "");
        texts.push_back(Collapse(rendered.out));
    }
    std::vector<std::string> wanted = QueueModelTitles();
    for (const std::string& analysis : MarkovAnalysisTitles())
        wanted.push_back(analysis);
    ASSERT_EQ(QueueModelTitles().size() + 1, QueueModels().size());
    for (const std::string& text : texts) {
        EXPECT_NE(text.find("Staffing"), std::string::npos);
        for (const std::string& item : wanted)
            EXPECT_NE(text.find(item), std::string::npos) << item;
    }
    std::istringstream lines(description);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 78u) << line;
}

TEST_F(ManPageTest, NamesTheVersionAndEveryExitStatus) {
    const std::string page = ManPage("7.3");
    EXPECT_TRUE(page.starts_with(".TH WACHTRIX\\-REPORT 1 \"\" \"Wachtrix 7.3\""));
    for (const ExitStatusHelp& e : ExitStatuses())
        EXPECT_NE(page.find(".TP\n\\fB" + std::to_string(e.code) + "\\fR\n"), std::string::npos)
            << e.code;
}

TEST_F(ManPageTest, ExamplesRunAsPrinted) {
    // p(1,2) = 0.3, p(2,1) = 0.1, costs 1 and 2.
    const std::string chain = At("chain.txt"), network = At("closed.txt"), csv = At("points.csv");
    testing::WriteFile(chain, "99\n2\n0.7 0.3\n0.1 0.9\n1 2\n");
    // One server and a delay station, five customers.
    testing::WriteFile(network, "2\n2\n1 1\n0 2\n5\n0 1\n1 0\n");
    ASSERT_FALSE(ManExamples().empty());
    for (const ManExample& example : ManExamples()) {
        std::vector<std::string> words;
        std::istringstream in{std::string(example.words)};
        for (std::string word; in >> word;) {
            if (word == "chain.txt")
                word = chain;
            else if (word == "closed.txt")
                word = network;
            else if (!words.empty() && words.back() == "--graph-csv")
                word = csv;
            words.push_back(word);
        }
        std::ostringstream out, err;
        EXPECT_EQ(RunReportTool(words, out, err), 0) << example.words << ": " << err.str();
        EXPECT_EQ(err.str(), "") << example.words;
        EXPECT_NE(out.str(), "") << example.words;
        if (example.words.find("--graph-csv") != std::string_view::npos) {
            EXPECT_TRUE(ReadFile(csv).starts_with("chart,x,y\n")) << example.words;
        }
    }
}

TEST_F(ManPageTest, EscapesWhatRoffWouldRead) {
    const struct {
        std::string_view text, roff;
    } cases[] = {
        {"--styles", "\\-\\-styles"},  // typed minus signs, not hyphens
        {"a\\b", "a\\eb"},
        {".5 or more", "\\&.5 or more"},  // not a request
        {"'quoted'", "\\&'quoted'"},
        {"P{Wq>t}, 1e-10", "P{Wq>t}, 1e\\-10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RoffEscape(c.text), c.roff) << c.text;
}

}  // namespace
}  // namespace wachtrix::cli
