#pragma once
// A published setting of the chart: assigning a different value tells the owner (the graph
// repaints when plotting, a series marks itself changed); reading converts implicitly.
//
//   graph.YAxis().Min = 0.001;     double low = graph.YAxis().Min;
//   graph.XAxis().Title = "Time t"; graph.XAxis().Title().size()

#include <utility>

namespace wachtrix::chart {

class PropertyOwner {
public:
    virtual void PropertyChanged() = 0;

protected:
    ~PropertyOwner() = default;
};

template <class T>
class Property {
public:
    Property(PropertyOwner& owner, T initial) : owner_(owner), value_(std::move(initial)) {}
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    Property& operator=(T value) {
        if (!(value == value_)) {
            value_ = std::move(value);
            owner_.PropertyChanged();
        }
        return *this;
    }

    const T& operator()() const { return value_; }
    operator const T&() const { return value_; }

private:
    PropertyOwner& owner_;
    T value_;
};

}  // namespace wachtrix::chart
