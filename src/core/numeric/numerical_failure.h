#pragma once
// Thrown when a numerical routine gives up (an unbracketed root, an iteration limit, a singular
// matrix). It carries the routine's message lines; the host reports them and the run ends.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace wachtrix {

class NumericalFailure : public std::runtime_error {
public:
    explicit NumericalFailure(std::vector<std::string> lines)
        : std::runtime_error(Join(lines)), lines_(std::move(lines)) {}
    const std::vector<std::string>& lines() const { return lines_; }

private:
    static std::string Join(const std::vector<std::string>& lines) {
        std::string all;
        for (const auto& l : lines)
            all += (all.empty() ? "" : "; ") + l;
        return all;
    }
    std::vector<std::string> lines_;
};

// The line a report gets when a computation gave up:
//   {"pause in RTBIS", "Root must be bracketed"}
//     -> "The computation failed: pause in RTBIS; Root must be bracketed."
inline std::string NumericalFailureNotice(const std::vector<std::string>& lines) {
    std::string text = "The computation failed";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "; " : ": ") + lines[i];
    const char last = text.back();
    if (last != '.' && last != '!' && last != '?') text += '.';
    return text;
}

// Writes the failure lines to standard output, as the numerical routines always have.
inline void PrintFailureLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace wachtrix
