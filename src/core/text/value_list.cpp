#include "core/text/value_list.h"

#include <utility>

#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

struct Entry {
    std::string text;
    double value = 0;
    int errorCode = 0;  // 0: read, and within the bounds
    bool empty() const { return text.empty(); }
    bool valid() const { return !empty() && errorCode == 0; }
};

// Non-empty before empty; valid before invalid; smaller value first.
bool ComesBefore(const Entry& a, const Entry& b) {
    if (a.empty() != b.empty()) return !a.empty();
    if (a.empty()) return false;
    if (a.valid() != b.valid()) return a.valid();
    return a.valid() && a.value < b.value;
}

}  // namespace

ValueList ReadValueList(TEditArray& edits, ValueKind kind, double Upper, double Lower) {
    std::array<Entry, 12> entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Entry& e = entries[i];
        e.text = std::string(Trim(edits[i]));
        if (e.empty()) continue;
        if (kind == ValueKind::Real) {
            const auto v = ParseReal(e.text);
            e.errorCode = v ? 0 : 2;
            if (v) e.value = *v;
        } else {
            const auto v = ParseInt(e.text);
            e.errorCode = v ? 0 : 2;
            if (v) e.value = *v;
        }
        if (e.errorCode == 0 && (e.value < Lower || e.value > Upper)) e.errorCode = 1;
        if (e.errorCode != 0 && e.text.back() != '*') e.text += "**";
    }
    // The exchange sort the value groups have always used; its order for ties is part of what
    // the user sees.
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        for (std::size_t j = entries.size() - 1; j > i; --j)
            if (ComesBefore(entries[j], entries[i])) std::swap(entries[i], entries[j]);

    ValueList list;
    bool leading = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        edits[i] = entries[i].text;
        if (leading && entries[i].valid()) {
            list[++list.Count] = entries[i].value;
        } else {
            leading = false;
        }
    }
    return list;
}

ValueList ReadRealValues(TEditArray& edits, double Upper) {
    return ReadValueList(edits, ValueKind::Real, Upper, 0);
}

ValueList ReadProbValues(TEditArray& edits) {
    return ReadValueList(edits, ValueKind::Real, 0.999999, 0);
}

ValueList ReadIntValues(TEditArray& edits, int Upper) {
    return ReadValueList(edits, ValueKind::Integer, Upper, 0);
}

}  // namespace wachtrix
