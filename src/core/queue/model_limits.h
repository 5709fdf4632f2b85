#pragma once
// What a model accepts, in one table per model that validation, the tab's range labels and the
// batch tool's help all read, so the three cannot drift apart.
//
//   constexpr FieldLimit kServers{"c", "number of servers", 1, 2500, "<=2500", true};
//   kServers.contains(2500) -> true      kServers.contains(2501) -> false

#include <string>
#include <string_view>

namespace wachtrix {

// One typed parameter of a tab.
struct FieldLimit {
    std::string_view key;         // the batch tool's key
    std::string_view help;        // what the value is
    double lower = 0, upper = 0;  // the closed interval validation accepts
    std::string_view rangeLabel;  // the tab's label beside the edit ("" when it has none)
    bool integer = false;
    // Values up to upper + slack pass, so that a typed bound is never refused for the rounding
    // of its binary value.
    double slack = 0;
    std::string_view refusal = {};  // the refusal of a value outside, where the field's own is not

    constexpr bool contains(double v) const { return v >= lower && v <= upper + slack; }
};

// One value group of a tab (t-, p- or n-values): its largest value and its box caption.
struct ValueGroupLimit {
    char kind = 'T';  // 'T', 'P' or 'N'
    double upper = 0;
    std::string_view caption;
    std::string_view help = {};  // what the values are for, where a tab's differ from the usual
    // The bound as help texts show it when it depends on other fields ("c+N"); upper is then
    // its largest value.
    std::string_view upperText = {};
    bool firstEditUnfiltered = false;
};

// "1 to 2500", "1e-10 to 0.999": the accepted interval for help texts.
std::string RangeText(const FieldLimit& field);

}  // namespace wachtrix
