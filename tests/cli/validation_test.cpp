// The refusals of every queue model through the batch tool's real argument path, from
// tests/data/refusals.txt: each call gets exactly its one box, and a refused run writes nothing
// and draws nothing. The limits themselves are held against the field reader over every
// selection by the registry's own test (core.QueueModel).

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/report_tool.h"
#include "core/queue/queue_model.h"
#include "support/words.h"

namespace wachtrix::cli {
namespace {

struct Refusal {
    std::string call, message;
};

std::vector<Refusal> Refusals() {
    std::vector<Refusal> rows;
    std::ifstream in(WACHTRIX_TEST_DATA "/refusals.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto bar = line.find(" | ");
        rows.push_back({line.substr(0, bar), line.substr(bar + 3)});
    }
    return rows;
}

TEST(Validation, RefusesWithOneBoxAndWritesNothing) {
    const std::vector<Refusal> rows = Refusals();
    ASSERT_GT(rows.size(), 100u);
    std::vector<std::string> refusedModels;
    for (const Refusal& r : rows) {
        const CommandResult result = RunModelWords(testing::Words(r.call));
        EXPECT_EQ(result.errors, std::vector<std::string>{r.message}) << r.call;
        EXPECT_TRUE(result.lines.empty()) << r.call;
        EXPECT_EQ(result.csv.find('\n'), result.csv.size() - 1) << r.call;  // the header alone
        refusedModels.push_back(testing::Words(r.call).front());
    }
    // Every queue model of the registry has its refusals listed.
    for (const QueueModelSpec* model : QueueModels()) {
        EXPECT_NE(std::find(refusedModels.begin(), refusedModels.end(), model->key),
                  refusedModels.end())
            << model->key;
    }
}

// A misspelt key is a usage fault, not a run with the key's default (tests/data/usage_faults.txt);
// the older name of a key still runs.
TEST(Validation, TheOlderNameOfAKeyRuns) {
    EXPECT_TRUE(RunModelWords(testing::Words("mg1 type=1 cs2=2 rho=0.5")).errors.empty());
}

}  // namespace
}  // namespace wachtrix::cli
