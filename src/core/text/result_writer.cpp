#include "core/text/result_writer.h"

namespace wachtrix {

char StyleLetter(ResultTextStyle style) {
    switch (style) {
        case ResultTextStyle::Title:
            return 'T';
        case ResultTextStyle::Bold:
            return 'B';
        case ResultTextStyle::Underline:
            return 'U';
        case ResultTextStyle::Normal:
            break;
    }
    return 'N';
}

void WriteResultTable(ResultWriter& out, const std::string& header,
                      const std::vector<std::string>& rows) {
    if (rows.empty()) return;
    out.AddResultLine("");
    out.SetUnderlineStyle();
    out.AddResultLine(header);
    out.SetNormalStyle();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + 1 == rows.size()) out.SetUnderlineStyle();
        out.AddResultLine(rows[i]);
    }
    out.SetNormalStyle();
}

}  // namespace wachtrix
