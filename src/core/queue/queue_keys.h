#pragma once
// A queue model's form from the keys a batch call names (c=2 rho=0.8 output=1 t=1,2): each field
// by its key, each choice by its key (an item number, or the item's name where the choice has
// names), by its alias, or by the keys that imply one of its items; the Output item by "output"
// and the value groups by "t", "p" and "n", up to twelve values each.
//
//   FormFromKeys(*FindQueueModel("mmc"), {{"c", "2"}, {"rho", "0.8"}, {"output", "9"}})
//   -> fault "output must be a whole number from 0 to 4"

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/queue/queue_model.h"

namespace wachtrix {

using KeyTexts = std::map<std::string, std::string>;

struct KeyedForm {
    QueueForm form;
    std::string fault;  // what is wrong with the keys (the run cannot start), empty when nothing
};
KeyedForm FormFromKeys(const QueueModelSpec& model, const KeyTexts& keys);

// "t alpha" -> {"t", "alpha"}: the keys that together imply an item of a choice.
std::vector<std::string> ImpliedKeys(std::string_view implied);

// "t=T alpha=ALPHA, ewq=EWQ or pwait=PWAIT"; with a separator, "t=T alpha=ALPHA | ewq=EWQ | ...".
std::string ImpliedAlternatives(const ChoiceSpec& choice, const char* separator = nullptr);

// "rho" -> "RHO": a key's placeholder in usage lines.
std::string KeyPlaceholder(std::string_view key);

// "1,0.5,2" -> {"1", "0.5", "2"}; "" -> {}.
std::vector<std::string> SplitValues(const std::string& text);

}  // namespace wachtrix
