#pragma once
// The chain text file: the kind code ("99" discrete, "88" continuous), N, the N matrix rows,
// then one cost line (c(j)) for a discrete chain or two (r(j), then F(k)) for a continuous one.
// Values are separated by single blanks, one item per line:
//
//   99
//   2
//   0.5 0.5
//   1 0
//   3 -1

#include <optional>
#include <string>
#include <string_view>

#include "core/markov/chain_input.h"

namespace wachtrix {

// Reads the kind and N as integers (the rest of those lines is ignored), then the numbers; a
// kind code other than 99 reads as continuous. The cells come back in general format with up to
// 15 digits. Nothing when the file cannot be read or does not hold a chain of 1 to 100 states.
std::optional<ChainInput> ReadChainFile(const std::string& path);

// A reading and, when it failed, why: "the file is larger than 16 MB", "line 4: matrix row 2:
// \"x\" is not a number", "line 5: the cost line is missing".
struct ChainFileReading {
    std::optional<ChainInput> chain;
    std::string reason;
};
ChainFileReading ReadChainFileWithReason(const std::string& path);
ChainFileReading ParseChainFileTextWithReason(const std::string& text);

// The numbers of a chain file as the grids would hold them after Open, read in one pass
// without the texts: for the batch tool, which validates and runs them as the dialog would.
struct ChainNumbersReading {
    std::optional<ChainNumbers> chain;
    std::string reason;
};
ChainNumbersReading ReadChainNumbersWithReason(const std::string& path);
ChainNumbersReading ParseChainNumbersWithReason(std::string_view text);

// Writes the cell texts as they stand, through a temporary file beside the target that replaces
// it only when complete: on failure (false) an existing file is left as it was.
bool WriteChainFile(const std::string& path, const ChainInput& chain);

// The file's text, and its reading from a text, for both functions above.
std::string ChainFileText(const ChainInput& chain);
std::optional<ChainInput> ParseChainFileText(const std::string& text);

}  // namespace wachtrix
