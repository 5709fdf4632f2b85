#include "core/queue/simulation.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numeric>

#include "core/numeric/student_t.h"
#include "core/queue/output_tables.h"
#include "core/queue/report_figures.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

enum class Measure {
    Pwait,
    Pbusy,
    Prej,
    Pab,
    MeanWait,
    StdWait,
    ServedWait,
    MeanQueue,
    StdQueue,
    Utilization,
    Throughput,
    WaitTail,      // at t
    OfferedTail,   // at t
    Percentile,    // at p
    TimeState,     // at n
    TimeTail,      // at n
    ArrivalState,  // at n
    ArrivalTail,   // at n
    PathState,     // transient, at t
    PathAtMost,
    PathQueue,
    PathQueueStd,
};

struct Estimator {
    std::string_view figure;
    Measure measure;
};

// Every figure name the reports print that a replication can estimate.
constexpr Estimator kEstimators[] = {
    {"Pwait", Measure::Pwait},
    {"Pbusy", Measure::Pbusy},
    {"Prej", Measure::Prej},
    {"Pab", Measure::Pab},
    {"E(Wq)", Measure::MeanWait},
    {"Std(Wq)", Measure::StdWait},
    {"E(Wq|served)", Measure::ServedWait},
    {"E(Lq)", Measure::MeanQueue},
    {"Std(Lq)", Measure::StdQueue},
    {"Utilization", Measure::Utilization},
    {"Throughput", Measure::Throughput},
    {"P{Wq>t}", Measure::WaitTail},
    {"P{V>t}", Measure::OfferedTail},
    {"Percentile", Measure::Percentile},
    {"P{L=n}", Measure::TimeState},
    {"P{L>n}", Measure::TimeTail},
    {"P{L(time)=n}", Measure::TimeState},
    {"P{L(time)>n}", Measure::TimeTail},
    {"P{L(time)>n)", Measure::TimeTail},
    {"P{L(cust)=n}", Measure::ArrivalState},
    {"P{L(cust)>n}", Measure::ArrivalTail},
    {"P{L(cust)>n)", Measure::ArrivalTail},
    {"p(i,j,t)", Measure::PathState},
    {"P(i,j,t)", Measure::PathAtMost},
    {"ELq(i,t)", Measure::PathQueue},
    {"Std Lq(i,t)", Measure::PathQueueStd},
};

const Estimator* EstimatorOf(std::string_view figure) {
    for (const Estimator& e : kEstimators)
        if (e.figure == figure) return &e;
    return nullptr;
}

// One row of the block: what it estimates and where.
struct Row {
    SimulatedFigure shown;
    Measure measure;
    std::size_t index = 0;       // of the t-value, in the tally's tables
    double point = 0;            // the p of a percentile, the n of a state
    std::vector<double> values;  // one per replication
};

std::string Shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// "P{Wq>t}" at 0.5 -> "P{Wq>0.5}", "Std Lq(i,t)" at 2 -> "Std Lq(i,2)"; a name without its point
// letter standing alone gets the value after it: "Percentile 0.9".
std::string RowName(std::string_view figure, char point, double value) {
    const char letter = static_cast<char>(point - 'A' + 'a');
    const auto standsAlone = [&](std::size_t i) {
        const auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)); };
        return (i == 0 || !isWordChar(figure[i - 1])) &&
               (i + 1 == figure.size() || !isWordChar(figure[i + 1]));
    };
    for (std::size_t i = figure.size(); i-- > 0;)
        if (figure[i] == letter && standsAlone(i))
            return std::string(figure.substr(0, i)) + Shortest(value) +
                   std::string(figure.substr(i + 1));
    return std::string(figure) + " " + Shortest(value);
}

// The rows: the figures the run printed, those of the chosen table at each of its values.
std::vector<Row> Rows(const QueueModelSpec& model, const QueueRun& run,
                      const std::vector<StyledLine>& lines) {
    const OutputSpec* output = model.outputFor(run.selection);
    ValueGroupKind kind = ValueGroupKind::None;
    if (output && run.selection.output < static_cast<int>(output->items.size()))
        kind = output->items[static_cast<std::size_t>(run.selection.output)].values;
    const char tablePoint = kind == ValueGroupKind::T   ? 'T'
                            : kind == ValueGroupKind::P ? 'P'
                            : kind == ValueGroupKind::N ? 'N'
                                                        : 0;
    std::vector<Row> rows;
    for (const FigureSpec& figure : model.figures) {
        const Estimator* estimator = EstimatorOf(figure.name);
        if (!estimator) continue;
        if (!figure.point) {
            if (const auto printed = PrintedStatistic(lines, figure.name))
                rows.push_back(
                    {{std::string(figure.name), *printed}, estimator->measure, 0, 0, {}});
            continue;
        }
        if (figure.point != tablePoint) continue;
        const ValueList& values = run.output.values;
        for (int k = 1; k <= values.Count; ++k) {
            const auto printed =
                PrintedTableCell(lines, figure.name, static_cast<std::size_t>(k - 1));
            if (!printed) break;
            const double value = figure.point == 'N' ? std::trunc(values[k] + 1e-10) : values[k];
            rows.push_back({{RowName(figure.name, figure.point, value), *printed},
                            estimator->measure,
                            static_cast<std::size_t>(k - 1),
                            value,
                            {}});
        }
    }
    return rows;
}

TallyRequest RequestOf(const std::vector<Row>& rows) {
    TallyRequest request;
    for (const Row& row : rows) {
        switch (row.measure) {
            case Measure::WaitTail:
            case Measure::OfferedTail:
                request.waitTimes.resize(std::max(request.waitTimes.size(), row.index + 1));
                request.waitTimes[row.index] = row.point;
                break;
            case Measure::Percentile:
                request.keepWaits = true;
                break;
            case Measure::TimeState:
            case Measure::TimeTail:
            case Measure::ArrivalState:
            case Measure::ArrivalTail:
                request.topState = std::max(request.topState, static_cast<int>(row.point));
                break;
            default:
                break;
        }
    }
    return request;
}

double Share(long long part, long long whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0;
}

double Deviation(double sum, double sum2, double count) {
    if (count <= 0) return 0;
    const double mean = sum / count;
    return std::sqrt(std::max(sum2 / count - mean * mean, 0.0));
}

double Quantile(std::vector<double>& waits, double p) {
    if (waits.empty()) return 0;
    const auto at =
        static_cast<std::size_t>(std::clamp(std::ceil(p * static_cast<double>(waits.size())) - 1,
                                            0.0, static_cast<double>(waits.size() - 1)));
    std::nth_element(waits.begin(), waits.begin() + static_cast<std::ptrdiff_t>(at), waits.end());
    return waits[at];
}

double Estimate(const Row& row, QueueTally& tally, int servers) {
    const auto n = static_cast<std::size_t>(row.point);
    const double admitted = static_cast<double>(tally.admitted());
    const double time = tally.time > 0 ? tally.time : 1;
    const auto timeAbove = [&](std::size_t s) {
        return std::accumulate(tally.stateTime.begin() + static_cast<std::ptrdiff_t>(s) + 1,
                               tally.stateTime.end(), 0.0);
    };
    const auto seenAbove = [&](std::size_t s) {
        return std::accumulate(tally.stateSeen.begin() + static_cast<std::ptrdiff_t>(s) + 1,
                               tally.stateSeen.end(), 0LL);
    };
    switch (row.measure) {
        case Measure::Pwait:
            return Share(tally.waited, tally.admitted());
        case Measure::Pbusy:
            return tally.fullArea / time;
        case Measure::Prej:
            return Share(tally.rejected, tally.arrivals);
        case Measure::Pab:
            return Share(tally.abandoned, tally.arrivals);
        case Measure::MeanWait:
            return admitted > 0 ? tally.wait / admitted : 0;
        case Measure::StdWait:
            return Deviation(tally.wait, tally.wait2, admitted);
        case Measure::ServedWait: {
            const long long served = tally.admitted() - tally.abandoned;
            return served > 0 ? tally.servedWait / static_cast<double>(served) : 0;
        }
        case Measure::MeanQueue:
            return tally.queueArea / time;
        case Measure::StdQueue:
            return Deviation(tally.queueArea, tally.queueArea2, time);
        case Measure::Utilization:
            return tally.busyArea / time / servers;
        case Measure::Throughput:
            return tally.busyArea / time;
        case Measure::WaitTail:
            return Share(tally.waitBeyond[row.index], tally.admitted());
        case Measure::OfferedTail:
            return Share(tally.offeredBeyond[row.index], tally.admitted());
        case Measure::Percentile:
            return Quantile(tally.waits, row.point);
        case Measure::TimeState:
            return tally.stateTime[n] / time;
        case Measure::TimeTail:
            return timeAbove(n) / time;
        case Measure::ArrivalState:
            return Share(tally.stateSeen[n], tally.arrivals);
        case Measure::ArrivalTail:
            return Share(seenAbove(n), tally.arrivals);
        default:
            return 0;
    }
}

double Estimate(const Row& row, const TransientTally& tally) {
    const double paths = static_cast<double>(tally.paths);
    const std::size_t i = row.index;
    switch (row.measure) {
        case Measure::PathState:
            return Share(tally.atEnd[i], tally.paths);
        case Measure::PathAtMost:
            return Share(tally.atMostEnd[i], tally.paths);
        case Measure::PathQueue:
            return paths > 0 ? tally.queue[i] / paths : 0;
        case Measure::PathQueueStd:
            return Deviation(tally.queue[i], tally.queue2[i], paths);
        default:
            return 0;
    }
}

// Half a unit in the last digit a number's text shows, but no more than 5e-4 of its size: the
// reports print at least four significant digits and drop trailing zeros ("0.8" is 0.80000).
double Rounding(const std::string& text, double value) {
    const auto e = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, e);
    const auto point = mantissa.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    int exponent = 0;
    if (e != std::string::npos) exponent = ParseInt(text.substr(e + 1)).value_or(0);
    return std::min(0.5 * std::pow(10.0, exponent - decimals), 5e-4 * std::fabs(value));
}

// The half-width to three significant digits and the estimate to the same decimal place.
std::string EstimateText(double estimate, double halfWidth) {
    if (!(halfWidth > 0)) return FormatGeneral(estimate, 6);
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(halfWidth))), 0, 15);
    return FormatFixedPoint(estimate, decimals);
}

std::string HalfWidthText(double halfWidth) {
    if (!(halfWidth > 0)) return "0";
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(halfWidth))), 0, 15);
    return FormatFixedPoint(halfWidth, decimals);
}

}  // namespace

long long WarmupCustomers(long long customers) {
    return customers / 10;
}

std::string CheckSimulation(const QueueModelSpec& model, const SimulationOptions& options) {
    if (!model.twin) return "the " + std::string(model.caption) + " tab has nothing to simulate";
    if (options.runs < 2 || options.runs > kMostSimulationRuns)
        return "runs must be 2 to " + std::to_string(kMostSimulationRuns) +
               " (an interval needs two)";
    if (options.customers < 1 || options.customers > kMostSimulatedCustomers)
        return "the customers per run must be 1 to " + std::to_string(kMostSimulatedCustomers);
    return {};
}

Interval ConfidenceInterval(const std::vector<double>& values) {
    Interval interval;
    if (values.empty()) return interval;
    const double n = static_cast<double>(values.size());
    interval.mean = std::accumulate(values.begin(), values.end(), 0.0) / n;
    if (values.size() < 2) return interval;
    double squares = 0;
    for (const double v : values)
        squares += (v - interval.mean) * (v - interval.mean);
    const double standardError = std::sqrt(squares / (n - 1) / n);
    interval.halfWidth = StudentT975(static_cast<int>(values.size()) - 1) * standardError;
    return interval;
}

bool FarFromEstimate(const std::string& analysis, double estimate, double halfWidth) {
    const auto value = ParseReal(analysis);
    if (!value) return false;
    return std::fabs(*value - estimate) > 3 * halfWidth + Rounding(analysis, *value);
}

Simulation SimulateModel(const QueueModelSpec& model, const QueueForm& form,
                         const SimulationOptions& options, const SimulationProgress& progress) {
    Simulation simulation;
    simulation.options = options;
    QueueForm asked = form;
    RunReading reading = ReadQueueRun(model, asked);
    if (reading.refusal) {
        simulation.refusal = reading.refusal->text;
        return simulation;
    }
    const QueueRun& run = *reading.run;
    const QueueTwin twin = model.twin(run);
    simulation.paths = twin.kind == QueueTwin::Kind::TransientMM1;
    QueueForm analysed = form;
    std::vector<Row> rows = Rows(model, run, RunInMemory(model, analysed).lines);
    if (options.customers > kMostPercentileCustomers) {
        const auto percentile = [](const Row& row) { return row.measure == Measure::Percentile; };
        simulation.percentilesLeftOut = std::any_of(rows.begin(), rows.end(), percentile);
        std::erase_if(rows, percentile);
    }

    const long long warmup = simulation.paths ? 0 : WarmupCustomers(options.customers);
    const long long perRun = warmup + options.customers;
    const long long total = perRun * options.runs;
    const TallyRequest request = RequestOf(rows);
    // The transient table's times: its t-values.
    std::vector<double> times;
    for (int k = 1; simulation.paths && k <= run.output.values.Count; ++k)
        times.push_back(run.output.values[k]);
    Xoshiro256 rng(options.seed);
    for (int r = 0; r < options.runs; ++r) {
        Xoshiro256 stream = rng;
        rng.Jump();
        const long long before = perRun * r;
        const auto keepGoing = [&](long long done) {
            return !progress || progress(before + done, total);
        };
        bool complete = false;
        if (simulation.paths) {
            if (auto tally =
                    SimulateTransientMM1(twin, times, options.customers, stream, keepGoing)) {
                for (Row& row : rows)
                    row.values.push_back(Estimate(row, *tally));
                complete = true;
            }
        } else if (auto tally =
                       SimulateQueue(twin, request, warmup, options.customers, stream, keepGoing)) {
            for (Row& row : rows)
                row.values.push_back(Estimate(row, *tally, twin.servers));
            complete = true;
        }
        if (complete) simulation.runsDone = r + 1;
        if (!complete || (progress && !progress(before + perRun, total))) {
            simulation.stopped = simulation.runsDone < options.runs;
            break;
        }
    }
    if (simulation.runsDone < 2) return simulation;
    for (Row& row : rows) {
        const Interval interval = ConfidenceInterval(row.values);
        row.shown.estimate = interval.mean;
        row.shown.halfWidth = interval.halfWidth;
        row.shown.far = FarFromEstimate(row.shown.analysis, interval.mean, interval.halfWidth);
        simulation.figures.push_back(std::move(row.shown));
    }
    return simulation;
}

void WriteSimulationBlock(ResultWriter& out, const Simulation& s) {
    out.SetBoldStyle();
    out.AddResultLine(Format("Simulation: %d runs of %d %s, seed %s",
                             {s.options.runs, s.options.customers, s.paths ? "paths" : "customers",
                              std::to_string(s.options.seed)}));
    out.SetNormalStyle();
    if (!s.refusal.empty()) {
        out.AddResultLine("Not simulated: " + s.refusal);
    } else if (s.runsDone < 2) {
        out.AddResultLine("Stopped before two runs were complete: no intervals.");
    } else if (s.figures.empty()) {
        out.AddResultLine("The run printed no figure the simulation estimates.");
    } else {
        std::size_t nameWidth = 14, analysisWidth = 12, estimateWidth = 13;
        std::vector<std::string> estimates;
        for (const SimulatedFigure& f : s.figures) {
            estimates.push_back(EstimateText(f.estimate, f.halfWidth));
            nameWidth = std::max(nameWidth, f.figure.size() + 2);
            analysisWidth = std::max(analysisWidth, f.analysis.size() + 2);
            estimateWidth = std::max(estimateWidth, estimates.back().size() + 2);
        }
        const auto pad = [](std::string text, std::size_t width) {
            text.resize(std::max(width, text.size()), ' ');
            return text;
        };
        out.SetUnderlineStyle();
        out.AddResultLine(pad("figure", nameWidth) + pad("analysis", analysisWidth) +
                          pad("simulation", estimateWidth) + "+-95%");
        out.SetNormalStyle();
        for (std::size_t i = 0; i < s.figures.size(); ++i) {
            const SimulatedFigure& f = s.figures[i];
            out.AddResultLine(pad(f.figure, nameWidth) + pad(f.analysis, analysisWidth) +
                              pad(estimates[i], estimateWidth) + HalfWidthText(f.halfWidth) +
                              (f.far ? "  !" : ""));
        }
        if (s.stopped) out.AddResultLine(Format("Stopped: the %d runs complete.", {s.runsDone}));
        if (s.percentilesLeftOut)
            out.AddResultLine(Format("Percentiles are simulated up to %d customers a run.",
                                     {kMostPercentileCustomers}));
    }
    out.AddResultLine("");
}

}  // namespace wachtrix
