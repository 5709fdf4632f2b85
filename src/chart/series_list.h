#pragma once
// The numbered series of a graph, kept in ascending number. Series(n) finds series n or
// creates it in its place: Series(2) then Series(1) lists 1, 2.

#include <functional>
#include <memory>
#include <vector>

#include "chart/series.h"

namespace wachtrix::chart {

class SeriesList {
public:
    explicit SeriesList(SeriesOwner& owner) : owner_(owner) {}

    // Series n, created with the defaults of its number when there is none; onNew is called
    // for a created one.
    TSeries& Series(int n, bool duplicatesAllowed, const std::function<void(TSeries&)>& onNew = {});
    TSeries* Find(int n) const;
    // Removes series n; onDelete sees it before it goes. False when there is none.
    bool Delete(int n, const std::function<void(TSeries&)>& onDelete = {});

    // The highest number ever created (0 before the first).
    int HighestNumber() const { return highest_; }
    int Count() const { return static_cast<int>(series_.size()); }

    // In ascending number.
    auto begin() const { return series_.begin(); }
    auto end() const { return series_.end(); }

private:
    SeriesOwner& owner_;
    std::vector<std::unique_ptr<TSeries>> series_;
    int highest_ = 0;
};

}  // namespace wachtrix::chart
