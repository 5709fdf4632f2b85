#pragma once
// Batch-tool arguments from one line of key=value words.
//
//   ArgumentsOf("c=2 rho=0.5") -> keys {c: "2", rho: "0.5"}

#include <string>

#include "cli/commands.h"
#include "support/words.h"

namespace wachtrix::testing {

inline cli::Arguments ArgumentsOf(const std::string& line) {
    cli::Arguments args;
    for (const std::string& w : Words(line)) {
        const auto eq = w.find('=');
        args.keys[w.substr(0, eq)] = w.substr(eq + 1);
    }
    return args;
}

}  // namespace wachtrix::testing
