#pragma once
// A model's run kept in memory, and its figures read back as its report prints them: scenario
// tables and the simulation block show a figure exactly as the single run writes it.
//
//   "Results: Pwait   = 0.711111"      PrintedStatistic(lines, "Pwait")        -> "0.711111"
//   "         t     P{Wq>t}" (underlined), then "       0.5   0.5822085"
//                                      PrintedTableCell(lines, "P{Wq>t}", 0)   -> "0.5822085"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/queue/queue_model.h"

namespace wachtrix {

struct MemoryReport {
    std::vector<StyledLine> lines;
    std::string refusal;  // the validation box's text
    std::string failure;  // a numerical failure's lines, joined by "; "
};

// The run as the tab would make it; the form's value groups are rewritten as the tab's are.
MemoryReport RunInMemory(const QueueModelSpec& model, QueueForm& form);

// The value beside "NAME =" on the last line that names it (the name is what stands between the
// last colon before the "=" and the "=").
std::optional<std::string> PrintedStatistic(const std::vector<StyledLine>& lines,
                                            std::string_view name);

// The cell of row `row` (0: the first under the header) of the table whose underlined header
// names the figure: the row's word that overlaps the name's columns the most.
std::optional<std::string> PrintedTableCell(const std::vector<StyledLine>& lines,
                                            std::string_view name, std::size_t row = 0);

const FigureSpec* FindFigure(const QueueModelSpec& model, std::string_view name);

}  // namespace wachtrix
