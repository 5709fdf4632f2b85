// The Markov analyses over time on 100 states, dense and 10% dense, at t = 5000: step by step
// the discrete runs would take 5000 steps, continuous chains with total rates about 1 about 5600
// steps of the uniformised chain, and with total rates about 20 (nu t about 1e5) about 102,500;
// the runs stop stepping once the chain has settled, or square the matrix. Core runs only: the
// progress display does nothing here. The mean first-passage times of 100 states come from one
// censoring for all targets, without a progress display.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "core/markov/chain_builders.h"
#include "core/markov/chain_file.h"
#include "core/markov/first_passage.h"
#include "core/markov/markov_analysis.h"
#include "core/markov/mean_passage.h"
#include "core/markov/transient.h"
#include "core/text/markov_format.h"

namespace {

using namespace wachtrix;

constexpr int kStates = 100;
constexpr double kLastTime = 5000;

// Arguments: percentage of positive entries, total rate out of each state (continuous only).
Matrix Probabilities(const benchmark::State& state) {
    std::mt19937 rng(2024);
    return testing::RandomStochastic(rng, kStates, static_cast<double>(state.range(0)) / 100);
}

UniformisedChain Rates(const benchmark::State& state) {
    std::mt19937 rng(2024);
    const Matrix q = testing::RandomRates(rng, kStates, static_cast<double>(state.range(0)) / 100,
                                          static_cast<double>(state.range(1)));
    return Uniformise(q, kStates);
}

void Label(benchmark::State& state, double nu) {
    state.SetLabel("nu t = " + std::to_string(static_cast<long>(nu * kLastTime)));
}

void BM_DiscreteTransient(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    NoProgress none;
    for (auto _ : state) {
        const SparseMatrix sparse(p, kStates);
        benchmark::DoNotOptimize(RunDiscreteTransient(sparse, 1, {kLastTime}, none));
    }
}
BENCHMARK(BM_DiscreteTransient)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_DiscreteFirstPassage(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    NoProgress none;
    for (auto _ : state) {
        const SparseMatrix sparse(p, kStates);
        benchmark::DoNotOptimize(RunDiscreteFirstPassage(sparse, 1, {1, 1}, {kLastTime}, none));
    }
}
BENCHMARK(BM_DiscreteFirstPassage)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// All 25 time points, spread up to t = 5000.
void BM_DiscreteTransient25Points(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    std::vector<double> times;
    for (int k = 1; k <= 25; ++k)
        times.push_back(200.0 * k);
    NoProgress none;
    for (auto _ : state) {
        const SparseMatrix sparse(p, kStates);
        benchmark::DoNotOptimize(RunDiscreteTransient(sparse, 1, times, none));
    }
}
BENCHMARK(BM_DiscreteTransient25Points)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ContinuousTransient(benchmark::State& state) {
    const UniformisedChain chain = Rates(state);
    Label(state, chain.nu);
    NoProgress none;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunContinuousTransient(chain, 1, {kLastTime}, none));
}
BENCHMARK(BM_ContinuousTransient)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond);

void BM_ContinuousTransient25Points(benchmark::State& state) {
    const UniformisedChain chain = Rates(state);
    Label(state, chain.nu);
    std::vector<double> times;
    for (int k = 1; k <= 25; ++k)
        times.push_back(200.0 * k);
    NoProgress none;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunContinuousTransient(chain, 1, times, none));
}
BENCHMARK(BM_ContinuousTransient25Points)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond);

void BM_ContinuousFirstPassage(benchmark::State& state) {
    const UniformisedChain chain = Rates(state);
    Label(state, chain.nu);
    NoProgress none;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunContinuousFirstPassage(chain, 1, {1, 1}, {kLastTime}, none));
}
BENCHMARK(BM_ContinuousFirstPassage)
    ->Args({10, 1})
    ->Args({100, 1})
    ->Args({10, 20})
    ->Args({100, 20})
    ->Unit(benchmark::kMillisecond);

void BM_MeanPassageTimes(benchmark::State& state) {
    const Matrix p = Probabilities(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(MeanPassageTimes(p, kStates, ChainKind::Discrete));
}
BENCHMARK(BM_MeanPassageTimes)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// The whole batch run of each case of the comparison with the matrix tools: the chain file read,
// checked and analysed, and the report's lines made (what wachtrix-report does less printing
// them). Dense random chains of 100 states; rates of about 20 out of each state, so that
// nu t is about 1e5 at t = 5000.
namespace whole_run {

std::string WriteChain(const std::string& name, ChainKind kind, const Matrix& m, int n) {
    ChainInput input = ZeroChainInput(kind, n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            input.matrix[i][j] = FormatGeneral15(m[i + 1][j + 1]);
        input.costs[i][0] = FormatGeneral15(1 + i % 7);
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("wachtrix_bench_" + name + ".txt")).string();
    if (!WriteChainFile(path, input)) throw std::runtime_error("cannot write " + path);
    return path;
}

std::string DenseDiscrete() {
    std::mt19937 rng(2024);
    return WriteChain("discrete", ChainKind::Discrete, testing::RandomStochastic(rng, kStates, 1.0),
                      kStates);
}

std::string DenseContinuous() {
    std::mt19937 rng(2024);
    return WriteChain("continuous", ChainKind::Continuous,
                      testing::RandomRates(rng, kStates, 1.0, 20), kStates);
}

// State 100 absorbing, the other 99 transient.
std::string DenseAbsorbing() {
    std::mt19937 rng(2024);
    Matrix p = testing::RandomStochastic(rng, kStates, 1.0);
    for (int j = 1; j <= kStates; ++j)
        p[kStates][j] = j == kStates ? 1 : 0;
    return WriteChain("absorbing", ChainKind::Discrete, p, kStates);
}

void Run(benchmark::State& state, const std::string& path, const MarkovChoice& choice) {
    for (auto _ : state) {
        const MarkovFileReport report = RunMarkovFile(path, choice);
        if (!report.error.empty() || !report.failure.empty()) state.SkipWithError("no report");
        benchmark::DoNotOptimize(report.lines.data());
    }
}

MarkovChoice Transient(const std::string& time) {
    MarkovChoice choice;
    choice.analysis = MarkovAnalysis::Transient;
    choice.transient = {"1", {time}, TransientChoice::Probabilities, {"1", "2", "3", "4"}};
    return choice;
}

void BM_Run_DiscreteTransientT5000(benchmark::State& state) {
    Run(state, DenseDiscrete(), Transient("5000"));
}
BENCHMARK(BM_Run_DiscreteTransientT5000)->Unit(benchmark::kMillisecond);

void BM_Run_ContinuousTransientNuT1e5(benchmark::State& state) {
    Run(state, DenseContinuous(), Transient("5000"));
}
BENCHMARK(BM_Run_ContinuousTransientNuT1e5)->Unit(benchmark::kMillisecond);

void BM_Run_ContinuousFirstPassageNuT1e5(benchmark::State& state) {
    MarkovChoice choice;
    choice.analysis = MarkovAnalysis::FirstPassage;
    choice.firstPassage = {"1", {"5000"}, ReturnSetType::Single, "100"};
    Run(state, DenseContinuous(), choice);
}
BENCHMARK(BM_Run_ContinuousFirstPassageNuT1e5)->Unit(benchmark::kMillisecond);

void BM_Run_MeanPassageIrreducible(benchmark::State& state) {
    Run(state, DenseDiscrete(), {MarkovAnalysis::MeanPassage, {}, {}});
}
BENCHMARK(BM_Run_MeanPassageIrreducible)->Unit(benchmark::kMillisecond);

void BM_Run_Absorption99Transient(benchmark::State& state) {
    Run(state, DenseAbsorbing(), {MarkovAnalysis::MeanPassage, {}, {}});
}
BENCHMARK(BM_Run_Absorption99Transient)->Unit(benchmark::kMillisecond);

// Rates 1e5 and 1 at t = 5000: nu t = 5e8.
void BM_Run_TwoStatesNuT5e8(benchmark::State& state) {
    const std::string path =
        WriteChain("pair", ChainKind::Continuous, testing::OneBased({{0, 1e5}, {1, 0}}), 2);
    MarkovChoice choice = Transient("5000");
    choice.transient.endStates = {"2"};
    Run(state, path, choice);
}
BENCHMARK(BM_Run_TwoStatesNuT5e8)->Unit(benchmark::kMillisecond);

}  // namespace whole_run

}  // namespace
