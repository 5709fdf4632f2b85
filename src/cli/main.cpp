// wachtrix-report: runs a model without windows and prints its report, for scripts and course
// material. Exit codes: 0 done, 2 usage or input refused, 3 the computation failed, 4 the
// report could not be written.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/report_tool.h"
#include "core/numeric/allocator_reuse.h"

int main(int argc, char* argv[]) {
    wachtrix::KeepFreedMemoryForReuse();
    wachtrix::cli::ReportOutput output(STDOUT_FILENO);
    std::ostream report(&output);
    const int status = wachtrix::cli::RunReportTool(std::vector<std::string>(argv + 1, argv + argc),
                                                    report, std::cerr);
    return output.Finish(status, std::cerr);
}
