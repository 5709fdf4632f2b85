// Scenario tables over every model: a row is the model's own run at that value, a refused value
// fills its row with the reason and the table goes on, the spacing keeps both ends exact.

#include "core/queue/scenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/recording_host.h"

namespace wachtrix {
namespace {

// For every model with scenarios: its example, its first field read there varied over three
// values around the example's, every figure of its statistics block asked for. Each cell is what
// the single run at that value prints beside the figure's name.
TEST(Scenario, EveryRowIsTheSingleRunAtItsValue) {
    for (const QueueModelSpec* model : QueueModels()) {
        if (model->figures.empty()) continue;
        const std::string example = std::string(model->key) + " " + std::string(model->example);
        const QueueForm form = testing::FormOf(example);
        std::size_t field = 0;
        while (!model->fields[field].isRead(form.selection))
            ++field;
        const FieldLimit& limit = model->fields[field].limit(form.selection);
        const double at = std::stod(form.fields[field]);
        ScenarioRequest request;
        request.field = std::string(model->fields[field].key());
        request.from = limit.integer ? std::max(limit.lower, at - 1) : at * 0.9;
        request.to = limit.integer ? at + 1 : std::min(at * 1.05, limit.upper);
        request.count = 3;
        for (const FigureSpec& figure : model->figures)
            if (!figure.point) request.figures.emplace_back(figure.name);
        if (request.figures.empty()) continue;  // tables only: the window and golden data
        ASSERT_EQ(CheckScenario(*model, form, request), "") << example;
        const ScenarioTable table = RunScenario(*model, form, request);
        ASSERT_EQ(table.rows.size(), 3u) << example;
        for (const ScenarioRow& row : table.rows) {
            ASSERT_EQ(row.reason, "") << example << " at " << row.value;
            std::ostringstream value;
            value.precision(17);
            value << row.value;
            testing::RecordingHost single;
            testing::RunRecorded(single, example + " " + request.field + "=" + value.str());
            const std::vector<std::string> lines = single.texts();
            for (std::size_t f = 0; f < request.figures.size(); ++f) {
                const std::string& cell = row.cells.at(f);
                if (cell == "-") continue;  // a figure this selection's report does not have
                const bool printed = std::any_of(lines.begin(), lines.end(), [&](const auto& l) {
                    return l.find(request.figures[f]) != std::string::npos &&
                           l.size() >= cell.size() + 2 &&
                           l.compare(l.size() - cell.size() - 2, std::string::npos, "= " + cell) ==
                               0;
                });
                EXPECT_TRUE(printed) << example << " at " << row.value << ": " << request.figures[f]
                                     << " = " << cell;
            }
        }
    }
}

TEST(Scenario, RefusedValuesFillTheirRowsAndTheTableGoesOn) {
    const QueueModelSpec& mmc = *FindQueueModel("mmc");
    const QueueForm form = testing::FormOf("mmc c=2500 rho=0.8");
    ScenarioRequest request{.field = "rho", .from = 0.5, .to = 1.1, .count = 4, .figures = {}};
    request.figures = {"Pwait", "P{Wq>t}"};
    request.t = 0.001;
    const ScenarioTable table = RunScenario(mmc, form, request);
    ASSERT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[0].reason, "Rho too small for reliable results.");  // 2500 servers
    EXPECT_EQ(table.rows[3].reason, "Rho out of range");
    EXPECT_EQ(table.rows[2].reason, "");
    EXPECT_EQ(table.rows[2].cells.size(), 2u);
    const std::string csv = ScenarioCsv(table);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "rho,Pwait,P{Wq>t}");
    EXPECT_NE(csv.find("\n1.1,Rho out of range\n"), std::string::npos) << csv;
    // Every row of the CSV has the header's fields, or the value and a reason.
    std::istringstream rows(csv);
    for (std::string row; std::getline(rows, row);) {
        const auto fields = std::count(row.begin(), row.end(), ',') + 1;
        EXPECT_TRUE(fields == 3 || fields == 2) << row;
    }
}

TEST(Scenario, SpacingKeepsBothEndsAndWholeNumbers) {
    ScenarioRequest log{
        .field = "rho", .from = 1e-6, .to = 0.99, .count = 7, .logSpacing = true, .figures = {}};
    const std::vector<double> v = ScenarioValues(log, false);
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v.front(), 1e-6);
    EXPECT_EQ(v.back(), 0.99);
    for (std::size_t k = 1; k < v.size(); ++k)
        EXPECT_NEAR(std::log(v[k] / v[k - 1]), std::log(0.99 / 1e-6) / 6, 1e-12);
    // Whole numbers for an integer field, each once; a step that lands on the end keeps it.
    ScenarioRequest servers{.field = "c", .from = 1, .to = 10, .count = 20, .figures = {}};
    EXPECT_EQ(ScenarioValues(servers, true).size(), 10u);
    ScenarioRequest stepped{.field = "rho", .from = 0.1, .to = 0.9, .step = 0.2, .figures = {}};
    EXPECT_EQ(ScenarioValues(stepped, false), (std::vector<double>{0.1, 0.3, 0.5, 0.7, 0.9}));
    // Ranges that cannot be spanned.
    const auto values = [](double from, double to, int count, double step, bool log) {
        ScenarioRequest r;
        r.from = from, r.to = to, r.count = count, r.step = step, r.logSpacing = log;
        return ScenarioValues(r, false);
    };
    EXPECT_TRUE(values(0, 1, 3, 0, true).empty());
    EXPECT_TRUE(values(1, 0, 0, 0.5, false).empty());
    EXPECT_TRUE(values(0, 1, 0, 0, false).empty());
}

TEST(Scenario, ChecksWhatItIsAskedFor) {
    const QueueModelSpec& mmc = *FindQueueModel("mmc");
    const QueueForm form = testing::FormOf("mmc c=2 rho=0.8");
    ScenarioRequest r{.field = "rho", .from = 0.1, .to = 0.9, .count = 3, .figures = {"Pwait"}};
    EXPECT_EQ(CheckScenario(mmc, form, r), "");
    r.figures = {"Prej"};
    EXPECT_EQ(CheckScenario(mmc, form, r), "no figure Prej in this model's reports");
    r.figures = {"Pwait"};
    r.field = "theta";
    EXPECT_EQ(CheckScenario(mmc, form, r), "no field theta to vary here");
    EXPECT_EQ(CheckScenario(*FindQueueModel("mmcn"), testing::FormOf("mmcn lambda=1 es=1"), r),
              "M/M/c/c+N has no scenarios");
}

}  // namespace
}  // namespace wachtrix
