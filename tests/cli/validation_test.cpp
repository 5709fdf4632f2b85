// The refusals of every queue model through the batch tool's real argument path, from
// tests/data/refusals.txt: each call gets exactly its one box, and a refused run writes nothing
// and draws nothing. The limits themselves are held against the field reader over every
// selection by the registry's own test (core.QueueModel).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/report_tool.h"
#include "core/queue/queue_model.h"
#include "support/data_file.h"

namespace wachtrix::cli {
namespace {

TEST(Validation, RefusesWithOneBoxAndWritesNothing) {
    const std::vector<testing::DataLine> rows = testing::ReadDataFile("refusals.txt")[""];
    ASSERT_GT(rows.size(), 100u);
    std::vector<std::string> refusedModels;
    for (const testing::DataLine& row : rows) {
        const std::vector<std::string> r = testing::Fields(row.text);
        const CommandResult result = RunModelWords(testing::Words(r.at(0)));
        EXPECT_EQ(result.errors, std::vector<std::string>{r.at(1)}) << row.where;
        EXPECT_TRUE(result.lines.empty()) << row.where;
        EXPECT_EQ(result.csv.find('\n'), result.csv.size() - 1) << row.where;  // the header alone
        refusedModels.push_back(testing::Words(r[0]).front());
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
