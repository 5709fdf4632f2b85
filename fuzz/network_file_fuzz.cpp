// The network-file reader on arbitrary text, then what the program does with a network it read:
// a save-then-read round trip that must give the same figures, the checks, and both analyses,
// none of them printing a figure that is no number.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/network/network_file.h"
#include "core/network/network_report.h"
#include "fuzz_support.h"

namespace {

std::vector<std::string> Texts(const std::vector<wachtrix::StyledLine>& lines) {
    std::vector<std::string> texts;
    for (const auto& line : lines)
        texts.push_back(line.text);
    return texts;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wachtrix::fuzz::TrapInvalidArithmetic();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wachtrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const NetworkReading reading = ParseNetworkText(text);
    if (!reading.network) {
        if (reading.reason.empty()) std::abort();  // every refusal says why
        return 0;
    }
    const std::string saved = NetworkFileText(*reading.network);
    const NetworkReading again = ParseNetworkText(saved);
    if (!again.network || NetworkFileText(*again.network) != saved) std::abort();
    const CheckedNetwork checked = CheckNetwork(*reading.network);
    if (!checked.network) {
        if (checked.fault.message.empty()) std::abort();
        return 0;
    }
    for (const NetworkAnalysis analysis : {NetworkAnalysis::Solve, NetworkAnalysis::Populations}) {
        const NetworkReport report = RunNetworkAnalysis(*checked.network, analysis);
        if (fuzz::PrintsNonNumber(Texts(report.lines))) std::abort();
    }
    return 0;
}
