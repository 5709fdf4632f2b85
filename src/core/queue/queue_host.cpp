#include "core/queue/queue_host.h"

#include <cstdio>

namespace wachtrix {

std::string NumericalFailureNotice(const std::vector<std::string>& lines) {
    std::string text = "The computation failed";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "; " : ": ") + lines[i];
    const char last = text.back();
    if (last != '.' && last != '!' && last != '?') text += '.';
    return text;
}

void WriteFailureNotice(ResultWriter& out, const std::vector<std::string>& lines) {
    out.SetNormalStyle();
    out.AddResultLine(NumericalFailureNotice(lines));
    out.AddResultLine("");
}

void PrintFailureLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace wachtrix
