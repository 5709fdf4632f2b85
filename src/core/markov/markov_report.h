#pragma once
// What an analysis hands back for its memo.

#include <string>
#include <vector>

namespace wachtrix {

struct MarkovReport {
    std::vector<std::string> lines;
    // Stop was pressed during the run: lines hold only the header and the memo is not shown.
    bool stopped = false;
    // The computation gave up: its message lines, for standard output; lines end with a notice.
    std::vector<std::string> failure;
};

}  // namespace wachtrix
