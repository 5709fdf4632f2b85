#include "cli/text_host.h"

namespace wachtrix::cli {

void TextQueueHost::showError(const std::string&, const std::string& text, const std::string&) {
    errors_.push_back(text);
}

GraphHandle TextQueueHost::createGraphWindow(GraphWindowKind, const std::vector<std::string>&) {
    return windows_++;
}

void TextQueueHost::plot(GraphHandle window, int chart, const ChartPlot& plot) {
    charts_.push_back({window, chart, plot});
}

void TextQueueHost::numericalFailure(const std::vector<std::string>& lines) {
    failed_ = true;
    failure_ = lines;
}

}  // namespace wachtrix::cli
