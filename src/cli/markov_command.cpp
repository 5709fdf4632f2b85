#include "cli/commands.h"
#include "core/markov/markov_analysis.h"

namespace wachtrix::cli {

ModelCommand MarkovCommand() {
    return {"markov",
            "Markov chain analyses of a chain file (as saved by the Markov module)",
            "FILE analysis=structure|steady",
            {{"analysis",
              "structure (recurrent subchains and transient states) or steady "
              "(equilibrium distribution, average cost)"}},
            1,
            [](const Arguments& args) {
                const auto analysis = MarkovAnalysisNamed(Text(args, "analysis"));
                if (!analysis) throw UsageError("analysis must be structure or steady");
                const MarkovFileReport report = RunMarkovFile(args.positional.at(0), *analysis);
                CommandResult result;
                if (!report.error.empty()) {
                    result.errors.push_back(report.error);
                    return result;
                }
                result.lines = report.lines;
                result.styles.assign(report.lines.size(), 'N');
                return result;
            }};
}

}  // namespace wachtrix::cli
