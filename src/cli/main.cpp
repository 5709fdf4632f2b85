// wachtrix-report: runs a model without windows and prints its report, for scripts and course
// material. Exit codes: 0 done, 2 usage or input refused, 3 the computation failed, 4 the
// report could not be written.

#include <iostream>
#include <string>
#include <vector>

#include "cli/report_tool.h"

int main(int argc, char* argv[]) {
    return wachtrix::cli::RunReportTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                        std::cerr);
}
