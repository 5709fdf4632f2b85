#pragma once
// The value groups of the queue tabs: twelve texts read, checked, marked, sorted and written
// back, of which the leading valid run is returned.
//
//   texts {" 3", "", "1", "1.2.3", "2", "" ...} with ReadRealValues(texts, 10)
//   -> texts {"1", "2", "3", "1.2.3**", "", ...}, list {1, 2, 3}, Count 3

#include <array>
#include <string>

namespace wachtrix {

// The texts of the twelve edits of one value group, in the order 1..12.
using TEditArray = std::array<std::string, 12>;

// Up to twelve values at positions 1..Count, ascending.
struct ValueList {
    std::array<double, 13> values{};  // position 0 unused
    int Count = 0;
    double operator[](int position) const { return values.at(position); }
    double& operator[](int position) { return values.at(position); }
};

enum class ValueKind { Real, Integer };

// Both bounds belong to the valid range. Invalid entries get "**" appended once.
ValueList ReadValueList(TEditArray& edits, ValueKind kind, double Upper, double Lower);

ValueList ReadRealValues(TEditArray& edits, double Upper);  // Lower 0
ValueList ReadProbValues(TEditArray& edits);                // 0..0.999999
ValueList ReadIntValues(TEditArray& edits, int Upper);      // Lower 0

}  // namespace wachtrix
