#include "core/queue/output_group.h"

namespace wachtrix {

OutputRequest ReadOutput(OutputGroup group, int item, const ValueEdits& edits,
                         const ValueBounds& bounds) {
    if (item < 0 || item >= static_cast<int>(group.size())) return {kStatistics, {}};
    const OutputItem& chosen = group[item];
    switch (chosen.values) {
        case ValueGroupKind::T:
            return {chosen.mode, ReadRealValues(*edits.t, bounds.tUpper)};
        case ValueGroupKind::P:
            return {chosen.mode, ReadProbValues(*edits.p)};
        case ValueGroupKind::N:
            return {chosen.mode, ReadIntValues(*edits.n, bounds.nUpper)};
        case ValueGroupKind::None:
            break;
    }
    return {chosen.mode, {}};
}

}  // namespace wachtrix
