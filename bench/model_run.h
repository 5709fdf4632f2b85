#pragma once
// A whole run of a queue model as the batch tool and the window make it (reading the fields,
// solving, writing the report and the graph points), for the benchmarks:
//   RunModel(state, "mdc c=500 rho=0.99 output=2 p=0.3,0.5");

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "cli/commands.h"
#include "core/numeric/allocator_reuse.h"

namespace wachtrix::bench {

// As both programs do at their start.
inline const bool kFreedMemoryKept = (KeepFreedMemoryForReuse(), true);

inline void RunModel(benchmark::State& state, const std::string& call) {
    std::istringstream words(call);
    std::string model, word;
    words >> model;
    cli::Arguments args;
    while (words >> word) {
        const auto eq = word.find('=');
        args.keys[word.substr(0, eq)] = word.substr(eq + 1);
    }
    const cli::ModelCommand* command = cli::FindCommand(model);
    for (auto _ : state) {
        const cli::CommandResult result = command->run(args);
        benchmark::DoNotOptimize(result.lines.data());
        if (!result.errors.empty() || result.failed) state.SkipWithError("run refused");
    }
}

}  // namespace wachtrix::bench
