#include "cli/commands.h"
#include "core/network/network_report.h"

namespace wachtrix::cli {

ModelCommand NetworkCommand() {
    return {"network",
            "Open and closed queueing networks of a network file",
            "FILE [analysis=solve|populations]",
            {{"analysis",
              "solve (default: each station's throughput, utilisation, E(L), E(Lq) and E(R), and "
              "the network's throughput, E(L) and E(T)) or populations (closed networks: X(N) "
              "and the mean cycle time for every population 1..N, with the asymptotic bound "
              "and the bottleneck)"}},
            1,
            [](const Arguments& args) {
                const auto analysis = NetworkAnalysisNamed(Text(args, "analysis"));
                if (!analysis) throw UsageError("analysis must be solve or populations");
                NetworkReport report = RunNetworkFile(args.positional.at(0), *analysis);
                CommandResult result;
                if (!report.error.empty()) {
                    result.errors.push_back(report.error);
                    return result;
                }
                for (const StyledLine& line : report.lines) {
                    result.lines.push_back(line.text);
                    result.styles.push_back(StyleLetter(line.style));
                }
                result.failed = !report.failure.empty();
                result.failure = std::move(report.failure);
                return result;
            }};
}

}  // namespace wachtrix::cli
