#include "core/queue/model_limits.h"

#include <charconv>

namespace wachtrix {
namespace {

// The shortest text that reads back as v: "2500", "0.999", "1e-10".
std::string Shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

}  // namespace

std::string RangeText(const FieldLimit& field) {
    return Shortest(field.lower) + " to " + Shortest(field.upper);
}

}  // namespace wachtrix
