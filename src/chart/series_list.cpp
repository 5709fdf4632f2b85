#include "chart/series_list.h"

#include <algorithm>

namespace wachtrix::chart {

TSeries& SeriesList::Series(int n, bool duplicatesAllowed,
                            const std::function<void(TSeries&)>& onNew) {
    const auto at = std::find_if(series_.begin(), series_.end(),
                                 [n](const auto& s) { return s->Number() >= n; });
    if (at != series_.end() && (*at)->Number() == n) return **at;
    TSeries& created =
        **series_.insert(at, std::make_unique<TSeries>(&owner_, n, duplicatesAllowed));
    highest_ = std::max(highest_, n);
    if (onNew) onNew(created);
    return created;
}

TSeries* SeriesList::Find(int n) const {
    for (const auto& s : series_)
        if (s->Number() == n) return s.get();
    return nullptr;
}

bool SeriesList::Delete(int n, const std::function<void(TSeries&)>& onDelete) {
    const auto find = [&] {
        return std::find_if(series_.begin(), series_.end(),
                            [n](const auto& s) { return s->Number() == n; });
    };
    if (find() == series_.end()) return false;
    if (onDelete) onDelete(**find());
    // Looked up again: the handler may have changed the list.
    if (const auto at = find(); at != series_.end()) series_.erase(at);
    return true;
}

}  // namespace wachtrix::chart
