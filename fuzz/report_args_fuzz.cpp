// The batch tool end to end on arbitrary argument lists (one argument a line): no crash, an exit
// code of 0, 2 or 3, a message for every refusal, and no report printed as a success that shows
// a figure which is no number. Files are never written: --graph-csv is taken out of the
// arguments.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/report_tool.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wachtrix::fuzz::TrapInvalidArithmetic();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= input.size() && words.size() < 40) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        std::string word = input.substr(start, end - start);
        if (word != "--graph-csv") words.push_back(std::move(word));
        start = end + 1;
    }
    std::ostringstream out, err;
    const int code = wachtrix::cli::RunReportTool(words, out, err);
    if (code != 0 && code != 2 && code != 3) std::abort();
    if (code != 0 && err.str().empty()) std::abort();
    // Markov reports print an input's own "INF" nowhere; any model's figure so printed is wrong.
    if (code == 0 && wachtrix::fuzz::PrintsNonNumber(out.str())) std::abort();
    return 0;
}
