#pragma once
// wachtrix-report: runs a model without windows and prints its report, for scripts and course
// material. Exit codes: 0 done, 2 usage or input refused, 3 the computation failed.

#include <ostream>
#include <string>
#include <vector>

namespace wachtrix::cli {

// The words after the program name; the report goes to `out`, messages to `err`.
int RunReportTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace wachtrix::cli
