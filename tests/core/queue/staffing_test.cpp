// Staffing against independent references: Erlang's delay formula for M/M/c (the smallest c
// found by stepping through the closed form), the Poisson law of M/M/c+M with a patience of one
// service time, a plain step-by-step scan of the model runs for the galloping search, the ordering
// of the models by how regular they are, and every table row against the model tab's own run at
// that c.

#include "core/queue/staffing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/queue/dmc.h"
#include "core/queue/erlang_a.h"
#include "core/queue/gmc.h"
#include "core/queue/mdc.h"
#include "core/queue/mmc.h"
#include "support/data_file.h"
#include "support/recording_host.h"
#include "support/reference_math.h"

namespace wachtrix {
namespace {

using testing::RecordingHost;
using testing::Words;
using Target = StaffingTarget;
using Model = StaffingModel;

StaffingQuestion Question(Model model, double a, Target target, double bound, double t = 0,
                          double maxRho = 1) {
    return {model, GmcArrivals::Deterministic, 0, a, target, t, bound, maxRho};
}

StaffingQuestion ErlangA(double theta, double a, Target target, double bound, double t = 0) {
    StaffingQuestion q = Question(Model::ErlangA, a, target, bound, t);
    q.maxRho = std::numeric_limits<double>::infinity();
    q.theta = theta;
    return q;
}

StaffingQuestion Gmc(GmcArrivals arrivals, double ca2, double a, Target target, double bound,
                     double t = 0) {
    StaffingQuestion q = Question(Model::GMC, a, target, bound, t);
    q.arrivals = arrivals;
    q.ca2 = ca2;
    return q;
}

std::string Shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// --- M/M/c against Erlang's delay formula -----------------------------------------------------

// P{Wq > t} = C(c, a) e^(-(c - a) t) and E(Wq) = C(c, a) / (c - a), in mean service times.
long double ErlangMeasure(int c, double a, Target target, double t) {
    const long double C = testing::ErlangC(c, a / c);
    switch (target) {
        case Target::WaitingTail:
            return C * std::exp(-(c - a) * t);
        case Target::MeanWait:
            return C / (c - a);
        default:
            return C;
    }
}

int ErlangStaffing(double a, Target target, double bound, double t) {
    int c = static_cast<int>(std::floor(a / 0.999)) + 1;
    while (ErlangMeasure(c, a, target, t) > bound)
        ++c;
    return c;
}

TEST(Staffing, MMcAnswersAreErlangsSmallestC) {
    const struct {
        double a;
        Target target;
        double bound, t;
    } kCases[] = {
        // 80% answered within a third of the mean handling time at 10 Erlangs.
        {10, Target::WaitingTail, 0.2, 0.33},      {10, Target::DelayProbability, 0.2, 0},
        {0.5, Target::DelayProbability, 0.1, 0},   {2, Target::MeanWait, 0.1, 0},
        {50, Target::DelayProbability, 0.01, 0},   {100, Target::WaitingTail, 0.2, 0.1},
        {1000, Target::MeanWait, 0.001, 0},        {2000, Target::WaitingTail, 0.05, 0.1},
        {2000, Target::DelayProbability, 1e-6, 0},
    };
    for (const auto& k : kCases) {
        const StaffingAnswer answer =
            FindStaffing(Question(Model::MMC, k.a, k.target, k.bound, k.t));
        ASSERT_EQ(answer.outcome, StaffingOutcome::Found) << k.a;
        EXPECT_EQ(answer.c, ErlangStaffing(k.a, k.target, k.bound, k.t)) << k.a << " " << k.bound;
    }
    // The figures worked out by hand for the first case: C(12, 10) = 0.4494 with
    // 0.4494 e^(-0.66) = 0.232 > 0.2, C(13, 10) = 0.2853 with 0.2853 e^(-0.99) = 0.106.
    EXPECT_EQ(FindStaffing(Question(Model::MMC, 10, Target::WaitingTail, 0.2, 0.33)).c, 13);
}

// With theta = 1 the M/M/c+M queue holds a Poisson(a) number X, and Pab = E[(X - c)+] / a.
TEST(Staffing, ErlangAAnswersWithPatienceOfAServiceAreThePoissonSmallestC) {
    for (const auto& [a, bound] : {std::pair{0.5, 0.1}, std::pair{10.0, 0.02},
                                   std::pair{10.0, 1e-6}, std::pair{300.0, 0.001}}) {
        int c = 1;
        for (;; ++c) {
            long double excess = 0;
            for (int k = c + 1; k < a + 40 * std::sqrt(a) + 60; ++k)
                excess += (k - c) * testing::PoissonTerm(a, k);
            if (excess / a <= bound) break;
        }
        const StaffingAnswer answer = FindStaffing(ErlangA(1, a, Target::Abandonment, bound));
        ASSERT_EQ(answer.outcome, StaffingOutcome::Found) << a;
        EXPECT_EQ(answer.c, c) << a << " " << bound;
    }
}

// --- The search ---------------------------------------------------------------------------------

// The first c from the smallest stable one whose run meets the target, one c at a time.
int StepByStep(const StaffingQuestion& q) {
    const int limit = StaffingServerLimit(q.model);
    for (int c = StaffingSmallestStable(q.model, q.a); c <= limit; ++c) {
        const StaffingRow row = EvaluateStaffing(q, c);
        if (row.solved && row.met) return c;
    }
    return 0;
}

TEST(Staffing, GallopingSearchFindsWhatSteppingFinds) {
    const StaffingQuestion kQuestions[] = {
        Question(Model::MMC, 0.3, Target::DelayProbability, 0.5),
        Question(Model::MMC, 37.5, Target::WaitingTail, 1e-4, 0.5),
        Question(Model::MMC, 700, Target::MeanWait, 1e-5),
        Question(Model::MDC, 0.9, Target::MeanWait, 0.5),
        Question(Model::MDC, 12, Target::WaitingTail, 0.01, 0.2),
        Question(Model::MDC, 60, Target::DelayProbability, 0.001),
        Question(Model::DMC, 3, Target::DelayProbability, 0.05),
        Question(Model::DMC, 45, Target::WaitingTail, 0.02, 0.05),
        Gmc(GmcArrivals::Deterministic, 0, 20, Target::MeanWait, 0.001),
        Gmc(GmcArrivals::Erlangian, 0.3, 7, Target::WaitingTail, 0.1, 0.25),
        Gmc(GmcArrivals::CoxianGamma, 4, 25, Target::DelayProbability, 0.01),
        Gmc(GmcArrivals::CoxianBalanced, 1.5, 150, Target::MeanWait, 0.002),
        ErlangA(0.02, 300, Target::Abandonment, 0.01),
        ErlangA(0.5, 40, Target::WaitingTail, 0.05, 0.2),
        ErlangA(100, 3, Target::DelayProbability, 0.01),
        ErlangA(2, 250, Target::MeanWait, 1e-4),
        // Answers below c = a, where the search starts: one on the way down, one at the first c.
        ErlangA(0.1, 60, Target::Abandonment, 0.25),
        ErlangA(1, 20, Target::Abandonment, 0.6),
    };
    for (const StaffingQuestion& q : kQuestions) {
        const StaffingAnswer answer = FindStaffing(q);
        ASSERT_EQ(answer.outcome, StaffingOutcome::Found) << q.a;
        EXPECT_EQ(answer.c, StepByStep(q))
            << kStaffingModelItems[static_cast<int>(q.model)] << " a=" << q.a;
        // Far fewer runs than steps once the answer is some way from the first c with rho <= 1.
        const int start = std::max(answer.first, static_cast<int>(std::ceil(q.a)));
        EXPECT_LE(answer.runs.size(), 2 * std::log2(std::abs(answer.c - start) + 2.0) + 2) << q.a;
    }
}

TEST(Staffing, SmallestStableCKeepsRhoWithinTheModelsRange) {
    EXPECT_EQ(StaffingSmallestStable(Model::MMC, 0.5), 1);
    EXPECT_EQ(StaffingSmallestStable(Model::MMC, 0.999), 1);  // rho = 0.999 is taken
    EXPECT_EQ(StaffingSmallestStable(Model::MMC, 1), 2);
    EXPECT_EQ(StaffingSmallestStable(Model::MDC, 0.995), 2);  // M/D/c stops at 0.99
    EXPECT_EQ(StaffingSmallestStable(Model::MDC, 495), 500);
    EXPECT_EQ(StaffingSmallestStable(Model::MDC, 495.1), 501);  // beyond its 500 servers
    EXPECT_EQ(StaffingSmallestStable(Model::MMC, 2497.5), 2500);
    EXPECT_EQ(StaffingSmallestStable(Model::GMC, 999), 1000);
    // D/M/c takes a = 1 Erlang from 2 servers up to 10: from 11 on rho <= 0.025 sqrt(1.5 c).
    const StaffingAnswer dmc = FindStaffing(Question(Model::DMC, 1, Target::DelayProbability, 1));
    EXPECT_EQ(dmc.accepted, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// Less variable service waits less (M/D/c against M/M/c); regular arrivals with exponential
// service wait less again than Poisson arrivals with regular service (D/M/c against M/D/c).
TEST(Staffing, MoreRegularQueuesNeedNoMoreServers) {
    const struct {
        Target target;
        double bound, t;
    } kTargets[] = {{Target::DelayProbability, 0.2, 0},
                    {Target::DelayProbability, 0.01, 0},
                    {Target::MeanWait, 0.05, 0},
                    {Target::WaitingTail, 0.1, 0.2},
                    {Target::WaitingTail, 0.001, 0.05}};
    for (const double a : {0.4, 2.0, 9.5, 40.0, 150.0, 400.0})
        for (const auto& k : kTargets) {
            const int mmc = FindStaffing(Question(Model::MMC, a, k.target, k.bound, k.t)).c;
            const int mdc = FindStaffing(Question(Model::MDC, a, k.target, k.bound, k.t)).c;
            const int dmc = FindStaffing(Question(Model::DMC, a, k.target, k.bound, k.t)).c;
            EXPECT_LE(mdc, mmc) << "a=" << a << " bound=" << k.bound;
            EXPECT_LE(dmc, mdc) << "a=" << a << " bound=" << k.bound;
            EXPECT_GT(dmc, 0) << "a=" << a;
        }
}

// --- Loads a model refuses (the reports of targets that cannot be met are golden data) --------

// M/M/c refuses rho <= 10^(-9 / 25^0.75) = 0.1567 at 25 servers but only rho <= 0.15 at 26:
// a load can be refused at 25 and taken again at 26. The search passes over 25.
TEST(Staffing, SearchSkipsACRefusedBelowOneTaken) {
    const double a = 3.91;
    ASSERT_TRUE(MmcRhoTooSmall(25, a / 25));
    ASSERT_FALSE(MmcRhoTooSmall(26, a / 26));
    ASSERT_FALSE(MmcRhoTooSmall(24, a / 24));
    StaffingQuestion q = Question(Model::MMC, a, Target::MeanWait, 0);
    q.bound = EvaluateStaffing(q, 26).measure;
    ASSERT_GT(q.bound, 0);
    ASSERT_GT(EvaluateStaffing(q, 24).measure, q.bound);
    StaffingAnswer answer = FindStaffing(q);
    ASSERT_EQ(answer.outcome, StaffingOutcome::Found);
    EXPECT_EQ(answer.c, 26);
    const auto rows = StaffingTableRows(q, answer);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].c, 25);
    EXPECT_FALSE(rows[0].solved);
}

// The model tab's own run at c servers and rho = a / c, with t as its one t-value: its Pwait, its
// E(Wq) text and its P{Wq>t} text.
struct TabFigures {
    double Pwait = -1;
    std::string EWq, tail;
};

TabFigures TabRun(const std::string& call) {
    RecordingHost host;
    testing::RunRecorded(host, call);
    EXPECT_TRUE(host.errors.empty()) << call;
    TabFigures f;
    const auto lines = host.texts();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto w = Words(lines[i]);
        if (lines[i].rfind("Results: Pwait", 0) == 0) f.Pwait = std::stod(w.back());
        if (w.size() == 3 && w[0] == "E(Wq)") f.EWq = w[2];
        // P{Wq>t} is the last column (M/M/c+M has P{V>t} before it).
        if (w.size() >= 2 && w[0] == "t" && i + 1 < lines.size())
            f.tail = Words(lines[i + 1]).back();
    }
    return f;
}

// The questions of tests/data/queue/staffing.txt.
TEST(Staffing, EveryTableRowIsTheModelTabsOwnRun) {
    for (const testing::DataLine& row : testing::ReadSection("queue/staffing.txt", "asked")) {
        const std::vector<std::string> f = testing::Fields(row.text);
        ASSERT_EQ(f.size(), 5u) << row.where;
        const std::string model = f[0] + (f[1] == "-" ? "" : " " + f[1]);
        const std::string &t = f[3], &alpha = f[4];
        const double a = std::stod(f[2]);
        RecordingHost host;
        testing::RunRecorded(
            host, "staffing model=" + model + " a=" + f[2] + " t=" + t + " alpha=" + alpha);
        const auto lines = host.texts();
        ASSERT_GE(lines.size(), 6u) << row.where;
        int rows = 0;
        for (std::size_t i = 5; i + 1 < lines.size(); ++i, ++rows) {
            const auto w = Words(lines[i]);
            ASSERT_EQ(w.size(), 6u) << lines[i];
            const int c = std::stoi(w[0]);
            const TabFigures tab = TabRun(model + " output=1 c=" + std::to_string(c) +
                                          " rho=" + Shortest(a / c) + " t=" + t);
            const double Pwait = std::stod(w[2]);
            // FormatProb keeps 7 decimals (4 digits below 1e-6); the tab prints 6 digits.
            EXPECT_NEAR(Pwait, tab.Pwait, 6e-8 + 1e-3 * tab.Pwait) << row.where << " c=" << c;
            EXPECT_EQ(w[3], tab.EWq) << row.where << " c=" << c;
            EXPECT_EQ(w[4], tab.tail) << row.where << " c=" << c;
            EXPECT_EQ(w[5] == "yes", std::stod(w[4]) <= std::stod(alpha)) << lines[i];
        }
        EXPECT_GE(rows, 4) << row.where;
    }
}

TEST(Staffing, GraphShowsTheMeasureAgainstCWithTheTargetAsALine) {
    RecordingHost host;
    testing::RunRecorded(host, "staffing model=mmc a=50 ewq=0.01 graph=1");
    ASSERT_EQ(host.windows.size(), 1u);
    const auto& window = host.windows[0];
    EXPECT_EQ(window.kind, GraphWindowKind::GMC);
    EXPECT_TRUE(window.shown);
    ASSERT_EQ(window.plots.size(), 2u);
    const ChartPlot& curve = window.plots[0].second;
    const ChartPlot& line = window.plots[1].second;
    const int c = FindStaffing(Question(Model::MMC, 50, Target::MeanWait, 0.01)).c;
    // Every c from the smallest stable one (51) to c + 3, marked, falling through the line.
    ASSERT_EQ(curve.points.size(), static_cast<std::size_t>(c + 3 - 51 + 1));
    EXPECT_TRUE(curve.drawPoints);
    for (std::size_t i = 0; i < curve.points.size(); ++i) {
        const int at = 51 + static_cast<int>(i);
        EXPECT_EQ(curve.points[i].x, at);
        EXPECT_EQ(curve.points[i].y > 0.01, at < c) << at;
    }
    EXPECT_EQ(line.series, 2);
    EXPECT_TRUE(line.drawLine);
    EXPECT_EQ(line.points, (std::vector<ChartPoint>{{51, 0.01}, {c + 3.0, 0.01}}));
}

}  // namespace
}  // namespace wachtrix
