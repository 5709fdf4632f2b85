#include "cli/commands.h"

#include <algorithm>
#include <charconv>

#include "core/text/number_parse.h"

namespace wachtrix::cli {

const std::vector<ModelCommand>& Commands() {
    static const std::vector<ModelCommand> commands{MmcCommand(), Mg1Command(), FinCapCommand(),
                                                    MmcnCommand(), MarkovCommand()};
    return commands;
}

const ModelCommand* FindCommand(const std::string& name) {
    for (const auto& c : Commands())
        if (c.name == name) return &c;
    return nullptr;
}

namespace {

std::string Shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

std::string ValueGroupHelp(const ValueGroupLimit& group) {
    const char* what = group.kind == 'T'   ? "t-values for P{Wq>t}"
                       : group.kind == 'P' ? "p-values for percentiles"
                                           : "n-values for state probabilities";
    const std::string upper =
        group.upperText.empty() ? Shortest(group.upper) : std::string(group.upperText);
    return std::string(what) + ", up to 12, each <= " + upper;
}

}  // namespace

std::string OutputHelp(OutputGroup output) {
    std::string help;
    for (std::size_t i = 0; i < output.size(); ++i)
        help += (i ? ", " : "") + std::to_string(i) + " " + std::string(output[i].caption);
    return help + " (default 0)";
}

std::vector<KeyHelp> QueueKeys(std::vector<KeyHelp> choices, const ModelLimits& limits) {
    std::vector<KeyHelp> keys = std::move(choices);
    for (const FieldLimit& field : limits.fields) {
        const std::string help = std::string(field.help) + ", " + RangeText(field);
        auto same = std::find_if(keys.begin(), keys.end(),
                                 [&](const KeyHelp& k) { return k.key == field.key; });
        if (same == keys.end())
            keys.push_back({std::string(field.key), help});
        else
            same->help += "; " + help;
    }
    if (!limits.output.empty()) keys.push_back({"output", OutputHelp(limits.output)});
    for (const char kind : {'T', 'P', 'N'})
        if (const ValueGroupLimit* group = limits.group(kind))
            keys.push_back(
                {std::string(1, static_cast<char>(kind - 'A' + 'a')), ValueGroupHelp(*group)});
    return keys;
}

TEditArray ValueGroup(const Arguments& args, const std::string& key) {
    TEditArray texts;
    const auto it = args.keys.find(key);
    if (it == args.keys.end() || it->second.empty()) return texts;
    std::size_t count = 0, start = 0;
    while (true) {
        const auto comma = it->second.find(',', start);
        if (count == texts.size()) throw UsageError("at most 12 values for " + key + "=");
        texts[count++] = it->second.substr(start, comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return texts;
}

std::string Text(const Arguments& args, const std::string& key) {
    const auto it = args.keys.find(key);
    return it == args.keys.end() ? std::string() : it->second;
}

int Choice(const Arguments& args, const std::string& key, int count) {
    const auto it = args.keys.find(key);
    if (it == args.keys.end()) return 0;
    const auto value = ParseInt(it->second);
    if (!value || *value < 0 || *value >= count)
        throw UsageError(key + " must be a whole number from 0 to " + std::to_string(count - 1));
    return *value;
}

}  // namespace wachtrix::cli
