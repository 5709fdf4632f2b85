#include "cli/commands.h"

#include <algorithm>

#include "core/text/number_parse.h"

namespace wachtrix::cli {

const std::vector<ModelCommand>& Commands() {
    static const std::vector<ModelCommand> commands{MmcCommand(), Mg1Command(), MarkovCommand()};
    return commands;
}

const ModelCommand* FindCommand(const std::string& name) {
    for (const auto& c : Commands())
        if (c.name == name) return &c;
    return nullptr;
}

std::vector<std::string> Values(const Arguments& args, const std::string& key, std::size_t most) {
    std::vector<std::string> texts;
    const auto it = args.keys.find(key);
    if (it == args.keys.end() || it->second.empty()) return texts;
    std::size_t start = 0;
    while (true) {
        const auto comma = it->second.find(',', start);
        if (texts.size() == most)
            throw UsageError("at most " + std::to_string(most) + " values for " + key + "=");
        texts.push_back(it->second.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return texts;
}

TEditArray ValueGroup(const Arguments& args, const std::string& key) {
    TEditArray texts;
    const auto values = Values(args, key, texts.size());
    std::copy(values.begin(), values.end(), texts.begin());
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
