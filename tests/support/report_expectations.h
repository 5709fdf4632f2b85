#pragma once
// Helpers for the queue model tests: value-group texts. (Their reports are
// golden data, see tests/cli/golden_report_test.cpp.)

#include <initializer_list>
#include <string>

#include "core/text/value_list.h"

namespace wachtrix::testing {

// The first texts of a value group, the rest empty.
inline TEditArray Texts(std::initializer_list<const char*> given) {
    TEditArray texts;
    std::size_t i = 0;
    for (const char* t : given)
        texts[i++] = t;
    return texts;
}

}  // namespace wachtrix::testing
