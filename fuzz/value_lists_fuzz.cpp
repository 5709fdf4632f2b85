// The number readers and the value-group readers on arbitrary text: no crash, and reading a
// group the reader has rewritten gives the same list and the same texts again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/number_parse.h"
#include "core/text/value_list.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wachtrix::fuzz::TrapInvalidArithmetic();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)wachtrix::ParseReal(input);
    (void)wachtrix::ParseInt(input);

    // Up to twelve texts, one a line; the first byte picks the reader.
    wachtrix::TEditArray texts;
    std::size_t start = input.empty() ? 0 : 1, k = 0;
    while (start <= input.size() && k < texts.size()) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        texts[k++] = input.substr(start, end - start);
        start = end + 1;
    }
    const int kind = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 3;
    const auto read = [kind](wachtrix::TEditArray& edits) {
        switch (kind) {
            case 0:
                return wachtrix::ReadRealValues(edits, 2500);
            case 1:
                return wachtrix::ReadProbValues(edits);
            default:
                return wachtrix::ReadIntValues(edits, 5000);
        }
    };
    const wachtrix::ValueList first = read(texts);
    const wachtrix::TEditArray rewritten = texts;
    const wachtrix::ValueList second = read(texts);
    if (texts != rewritten || first.Count != second.Count) std::abort();
    for (int i = 1; i <= first.Count; ++i) {
        if (first[i] != second[i]) std::abort();
        if (i > 1 && first[i] < first[i - 1]) std::abort();  // ascending
    }
    return 0;
}
