// The simulation twin against the models: every model's exact figures lie within its simulated
// intervals at several points (the simulator checks each model, each model the simulator), the
// G/G/c simulation meets M/M/c, M/D/c and D/M/c where CA2 or CS2 is 0 or 1, progress reaches its
// total and Stop ends at a run's end, and the block is laid out as the report shows it.

#include "core/queue/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "core/queue/report_figures.h"
#include "core/text/number_parse.h"
#include "support/recording_host.h"

namespace wachtrix {
namespace {

using testing::FormOf;

// Two or three points of every model whose figures are exact (the deterministic services of
// M/D/c/c+N and of the finite source are exact with one server only), each with a table.
const std::map<std::string, std::vector<std::string>> kPoints = {
    {"mg1",
     {"mg1 cs2=0.5 rho=0.8 output=2 p=0.5,0.9", "mg1 service=1 cs2=2 rho=0.6 output=1 t=0.5,3",
      "mg1 service=2 cs2=4 rho=0.5 output=3 n=0,2"}},
    {"dg1",
     {"dg1 cs2=0.3 rho=0.8 output=1 t=0.5,2", "dg1 service=1 cs2=3 rho=0.7 output=4 n=1,2",
      "dg1 service=3 cs2=4 rho=0.6 output=2 p=0.8"}},
    {"mmc", {"mmc c=2 rho=0.8 output=3 n=0,3,6", "mmc c=10 rho=0.7 output=1 t=0.1,1"}},
    {"mdc", {"mdc c=3 rho=0.8 output=3 n=0,4", "mdc c=1 rho=0.5 output=2 p=0.7,0.95"}},
    {"dmc", {"dmc c=2 rho=0.8 output=3 n=1,3", "dmc c=4 rho=0.7 output=4 n=2,5"}},
    {"gmc",
     {"gmc arrivals=1 ca2=0.5 c=2 rho=0.8 output=1 t=0.5,2",
      "gmc arrivals=2 ca2=3 c=3 rho=0.7 output=2 p=0.9", "gmc arrivals=3 ca2=0.7 c=2 rho=0.8"}},
    {"fincap",
     {"fincap c=2 rho=0.9 N=4 output=2 n=0,6", "fincap type=2 c=2 rho=1.2 N=3 output=3 n=1,5",
      "fincap type=1 c=1 rho=0.8 N=5 output=1 t=0.5,2"}},
    {"finsrc",
     {"finsrc c=2 M=8 nu=0.2 output=2 n=0,3", "finsrc service=1 c=1 M=5 nu=0.2 output=3 n=1,2",
      "finsrc c=3 M=10 nu=0.3 output=1 t=0.5"}},
    {"erlanga",
     {"erlanga c=2 rho=0.8 theta=0.5 output=1 t=1,3",
      "erlanga c=5 rho=1.2 theta=2 output=2 p=0.6,0.9",
      "erlanga c=3 rho=0.9 theta=1 output=3 n=2,6"}},
    {"mm1tran", {"mm1tran rho=0.5 i=3 j=1 t=0,1,2", "mm1tran rho=0.9 i=0 j=2 t=5,20"}},
};

// G/G/c is an approximation; the test below checks its simulation against the exact models.
bool Exact(const QueueModelSpec& model) {
    return model.twin && model.key != "ggc";
}

SimulationOptions Options(long long customers) {
    return {customers, 10, 2026};
}

// With ten runs a half-width is 2.26 standard errors, so a true figure lies more than three of
// them away about once in twelve thousand (the seed is fixed: the outcome is the same every
// time). 50000 customers a run keep the intervals within a tenth of the figures, narrow enough to
// catch a wrong model or a wrong twin.
TEST(Simulation, EveryExactFigureLiesWithinItsSimulatedInterval) {
    for (const QueueModelSpec* model : QueueModels()) {
        if (!Exact(*model)) continue;
        const auto points = kPoints.find(std::string(model->key));
        ASSERT_NE(points, kPoints.end()) << model->key << " has no simulation points";
        ASSERT_GE(points->second.size(), 2u) << model->key;
        for (const std::string& call : points->second) {
            const Simulation s = SimulateModel(*model, FormOf(call), Options(50000));
            ASSERT_EQ(s.refusal, "") << call;
            ASSERT_EQ(s.runsDone, 10) << call;
            // The statistics block and the table's values: a row per printed figure.
            EXPECT_GE(s.figures.size(), 4u) << call;
            bool table = false;
            for (const SimulatedFigure& f : s.figures) {
                EXPECT_FALSE(f.far) << call << ": " << f.figure << " analysis " << f.analysis
                                    << ", simulation " << f.estimate << " +- " << f.halfWidth;
                table = table || f.figure.find_first_of("0123456789") != std::string::npos;
                const auto analysis = ParseReal(f.analysis);
                if (analysis && *analysis >= 0.05) {
                    EXPECT_LE(f.halfWidth, 0.1 * *analysis) << call << ": " << f.figure;
                }
            }
            if (call.find("output=") != std::string::npos) {
                EXPECT_TRUE(table) << call;
            }
        }
    }
}

// Deterministic or exponential times in G/G/c are the M/M/c, M/D/c and D/M/c queues: their
// exact figures lie within the G/G/c intervals. Where CA2 = CS2 = 1 the approximations are the
// M/M/c figures themselves; with constant arrivals Erlang's delay probability is far off, and the
// block says so.
TEST(Simulation, GgcMeetsTheExactQueuesAtTheirVariations) {
    struct Pair {
        std::string ggc, exact;
        bool approximationExact;
    };
    const Pair pairs[] = {
        {"ggc c=2 rho=0.8 ca2=1 cs2=1 output=1 t=0.5,2", "mmc c=2 rho=0.8 output=1 t=0.5,2", true},
        {"ggc c=3 rho=0.8 ca2=1 cs2=0 output=1 t=0.5,2", "mdc c=3 rho=0.8 output=1 t=0.5,2", false},
        {"ggc c=3 rho=0.8 ca2=0 cs2=1 output=1 t=0.5,2", "dmc c=3 rho=0.8 output=1 t=0.5,2",
         false}};
    const QueueModelSpec& ggc = *FindQueueModel("ggc");
    for (const Pair& pair : pairs) {
        const Simulation s = SimulateModel(ggc, FormOf(pair.ggc), Options(50000));
        QueueForm exactForm = FormOf(pair.exact);
        const MemoryReport exact = RunInMemory(*FindQueueModel(pair.exact.substr(0, 3)), exactForm);
        // Pwait, E(Wq), E(Lq), then P{Wq>t} at each t.
        ASSERT_EQ(s.figures.size(), 5u) << pair.ggc;
        for (std::size_t i = 0; i < s.figures.size(); ++i) {
            const SimulatedFigure& f = s.figures[i];
            const auto printed = i < 3 ? PrintedStatistic(exact.lines, f.figure)
                                       : PrintedTableCell(exact.lines, "P{Wq>t}", i - 3);
            ASSERT_TRUE(printed) << pair.exact << " " << f.figure;
            EXPECT_FALSE(FarFromEstimate(*printed, f.estimate, f.halfWidth))
                << pair.ggc << ": " << f.figure << " exact " << *printed << ", simulation "
                << f.estimate << " +- " << f.halfWidth;
            if (pair.approximationExact) {
                EXPECT_EQ(f.analysis, *printed) << f.figure;
            }
        }
    }
    const Simulation constantArrivals = SimulateModel(ggc, FormOf(pairs[2].ggc), Options(50000));
    EXPECT_TRUE(constantArrivals.figures.at(0).far)
        << "Pwait " << constantArrivals.figures[0].analysis;
}

// Progress counts every customer of every run, warm-ups included; a Stop keeps the runs already
// complete, which are the same runs a shorter simulation makes with the seed.
TEST(Simulation, ProgressReachesItsTotalAndStopKeepsTheCompleteRuns) {
    const QueueModelSpec& mmc = *FindQueueModel("mmc");
    const QueueForm form = FormOf("mmc c=2 rho=0.8");
    const SimulationOptions options = Options(20000);
    const long long perRun = 20000 + WarmupCustomers(20000);
    long long last = 0, total = 0;
    const Simulation whole = SimulateModel(mmc, form, options, [&](long long done, long long all) {
        EXPECT_GE(done, last);
        last = done;
        total = all;
        return true;
    });
    EXPECT_EQ(total, 10 * perRun);
    EXPECT_EQ(last, total);
    EXPECT_FALSE(whole.stopped);

    const Simulation three = SimulateModel(
        mmc, form, options, [&](long long done, long long) { return done < 3 * perRun; });
    EXPECT_TRUE(three.stopped);
    EXPECT_EQ(three.runsDone, 3);
    const Simulation short3 = SimulateModel(mmc, form, {20000, 3, options.seed});
    ASSERT_EQ(three.figures.size(), short3.figures.size());
    for (std::size_t i = 0; i < three.figures.size(); ++i) {
        EXPECT_EQ(three.figures[i].estimate, short3.figures[i].estimate);
        EXPECT_EQ(three.figures[i].halfWidth, short3.figures[i].halfWidth);
    }

    // A run asks every 65536 customers: stopped at the first question, none is complete.
    const Simulation none =
        SimulateModel(mmc, form, Options(100000), [](long long, long long) { return false; });
    EXPECT_EQ(none.runsDone, 0);
    EXPECT_TRUE(none.figures.empty());
    MemoryResultSink sink;
    ResultWriter out(sink);
    WriteSimulationBlock(out, none);
    ASSERT_GE(sink.lines.size(), 2u);
    EXPECT_EQ(sink.lines[1].text, "Stopped before two runs were complete: no intervals.");
}

// The block as the report shows it, a far row marked "!", is golden data
// (tests/data/reports/mmc_simulation.txt, ggc_approximations.txt).

TEST(Simulation, FarMeansBeyondThreeHalfWidthsAndThePrintedDigits) {
    // 0.8 is printed without its trailing zeros: 0.80000 to five digits.
    EXPECT_FALSE(FarFromEstimate("0.8", 0.8003, 0));
    EXPECT_TRUE(FarFromEstimate("0.8", 0.801, 0));
    EXPECT_FALSE(FarFromEstimate("0.5822085", 0.587, 0.002));
    EXPECT_TRUE(FarFromEstimate("0.5822085", 0.589, 0.002));
    // "%.4g" without its zeros: 1.200E-010.
    EXPECT_FALSE(FarFromEstimate("1.2E-010", 1.2003e-10, 0));
    EXPECT_TRUE(FarFromEstimate("1.2E-010", 1.24e-10, 0));
    EXPECT_FALSE(FarFromEstimate("undefined", 5, 0));
    // {1..5}: mean 3, s^2 = 2.5, t(4) = 2.776445 (the table's six digits).
    const Interval interval = ConfidenceInterval({1, 2, 3, 4, 5});
    EXPECT_DOUBLE_EQ(interval.mean, 3);
    EXPECT_NEAR(interval.halfWidth, 2.776445 * std::sqrt(0.5), 1e-5);
}

// The tabs without a system to simulate say so, in the batch tool's words too.
TEST(Simulation, OnlyTabsWithATwinAreSimulated) {
    for (const QueueModelSpec* model : QueueModels())
        EXPECT_EQ(CheckSimulation(*model, {}).empty(), model->twin != nullptr) << model->key;
    EXPECT_EQ(CheckSimulation(*FindQueueModel("mmcn"), {}),
              "the M/M/c/c+N tab has nothing to simulate");
    EXPECT_NE(CheckSimulation(*FindQueueModel("mmc"), {1000, 1, 1}), "");
}

}  // namespace
}  // namespace wachtrix
