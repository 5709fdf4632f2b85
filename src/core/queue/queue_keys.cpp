#include "core/queue/queue_keys.h"

#include <algorithm>
#include <cctype>

#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

// "a, b, c or d"
std::string Alternatives(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return text;
}

const std::string* Find(const KeyTexts& keys, std::string_view key) {
    const auto it = keys.find(std::string(key));
    return it == keys.end() ? nullptr : &it->second;
}

// An item number 0..count-1, 0 when the key is absent.
int ItemNumber(const KeyTexts& keys, std::string_view key, int count, std::string& fault) {
    const std::string* text = Find(keys, key);
    if (!text) return 0;
    const auto value = ParseInt(*text);
    if (!value || *value < 0 || *value >= count) {
        fault = std::string(key) + " must be a whole number from 0 to " + std::to_string(count - 1);
        return 0;
    }
    return *value;
}

int ChoiceItem(const KeyTexts& keys, const ChoiceSpec& choice, std::string& fault) {
    if (!choice.impliedBy.empty()) {
        int picked = -1, named = 0;
        for (std::size_t i = 0; i < choice.impliedBy.size(); ++i) {
            const std::vector<std::string> implied = ImpliedKeys(choice.impliedBy[i]);
            const auto given = std::count_if(implied.begin(), implied.end(),
                                             [&](const std::string& k) { return keys.count(k); });
            named += given ? 1 : 0;
            if (given == static_cast<long>(implied.size())) picked = static_cast<int>(i);
        }
        if (named == 1 && picked >= 0) return picked;
        std::string title(choice.title);
        std::transform(title.begin(), title.end(), title.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        fault = "give one " + title + ": " + ImpliedAlternatives(choice);
        return 0;
    }
    if (choice.key.empty()) return 0;
    const bool asAlias = !choice.alias.empty() && Find(keys, choice.alias);
    if (asAlias && Find(keys, choice.key)) {
        fault = "give " + std::string(choice.key) + "= or " + std::string(choice.alias) +
                "=, not both";
        return 0;
    }
    const std::string_view key = asAlias ? choice.alias : choice.key;
    if (choice.itemKeys.empty())
        return ItemNumber(keys, key, static_cast<int>(choice.items.size()), fault);
    const std::string* name = Find(keys, key);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < choice.itemKeys.size(); ++i) {
        if (name && choice.itemKeys[i] == *name) return static_cast<int>(i);
        names.emplace_back(choice.itemKeys[i]);
    }
    fault = std::string(key) + " must be " + Alternatives(names);
    return 0;
}

}  // namespace

std::vector<std::string> ImpliedKeys(std::string_view implied) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < implied.size()) {
        const auto blank = std::min(implied.find(' ', start), implied.size());
        keys.emplace_back(implied.substr(start, blank - start));
        start = blank + 1;
    }
    return keys;
}

std::string ImpliedAlternatives(const ChoiceSpec& choice, const char* separator) {
    std::vector<std::string> alternatives;
    for (const std::string_view implied : choice.impliedBy) {
        std::string words;
        for (const std::string& key : ImpliedKeys(implied))
            words += (words.empty() ? "" : " ") + key + "=" + KeyPlaceholder(key);
        alternatives.push_back(words);
    }
    if (!separator) return Alternatives(alternatives);
    std::string text;
    for (const std::string& words : alternatives)
        text += (text.empty() ? "" : separator) + words;
    return text;
}

std::string KeyPlaceholder(std::string_view key) {
    std::string upper(key);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return upper;
}

std::vector<std::string> SplitValues(const std::string& text) {
    std::vector<std::string> values;
    if (text.empty()) return values;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        values.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values;
}

KeyedForm FormFromKeys(const QueueModelSpec& model, const KeyTexts& keys) {
    KeyedForm keyed{EmptyForm(model), {}};
    QueueForm& form = keyed.form;
    for (std::size_t i = 0; i < model.choices.size() && keyed.fault.empty(); ++i)
        form.selection.items[i] = ChoiceItem(keys, model.choices[i], keyed.fault);
    if (const OutputSpec* output = model.outputFor(form.selection); output && keyed.fault.empty())
        form.selection.output =
            ItemNumber(keys, "output", static_cast<int>(output->items.size()), keyed.fault);
    for (std::size_t i = 0; i < model.fields.size(); ++i)
        if (const std::string* text = Find(keys, model.fields[i].key())) form.fields[i] = *text;
    for (auto [key, texts] : {std::pair{"t", &form.t}, {"p", &form.p}, {"n", &form.n}}) {
        const std::string* text = Find(keys, key);
        if (!text || !model.group(KeyPlaceholder(key)[0])) continue;  // or a field's key
        const std::vector<std::string> values = SplitValues(*text);
        if (values.size() > texts->size() && keyed.fault.empty())
            keyed.fault = "at most " + std::to_string(texts->size()) + " values for " + key + "=";
        std::copy_n(values.begin(), std::min(values.size(), texts->size()), texts->begin());
    }
    return keyed;
}

}  // namespace wachtrix
