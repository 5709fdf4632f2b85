#include "core/queue/queue_host.h"

namespace wachtrix {

void WriteFailureNotice(ResultWriter& out, const std::vector<std::string>& lines) {
    out.SetNormalStyle();
    out.AddResultLine(NumericalFailureNotice(lines));
    out.AddResultLine("");
}

}  // namespace wachtrix
