#include "cli/commands.h"

#include "cli/queue_command.h"

#include <algorithm>

#include "core/text/number_parse.h"

namespace wachtrix::cli {

const std::vector<ModelCommand>& Commands() {
    static const std::vector<ModelCommand> commands = [] {
        std::vector<ModelCommand> all;
        for (const QueueModelSpec* model : QueueModels())
            all.push_back(QueueCommand(*model));
        all.push_back(MarkovCommand());
        all.push_back(NetworkCommand());
        return all;
    }();
    return commands;
}

const ModelCommand* FindCommand(const std::string& name) {
    for (const auto& c : Commands())
        if (c.name == name) return &c;
    return nullptr;
}

std::string Printable(std::string_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    const auto escape = [&](unsigned char byte) {
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // The length of the UTF-8 sequence this byte starts, 0 when it starts none.
        const int length = byte < 0x80                    ? 1
                           : byte >= 0xC2 && byte <= 0xDF ? 2
                           : byte >= 0xE0 && byte <= 0xEF ? 3
                           : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                          : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid && length == 3) {  // no overlong forms, no surrogates
            const auto next = static_cast<unsigned char>(text[i + 1]);
            valid = !(byte == 0xE0 && next < 0xA0) && !(byte == 0xED && next >= 0xA0);
        }
        if (valid && length == 4) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            valid = !(byte == 0xF0 && next < 0x90) && !(byte == 0xF4 && next >= 0x90);
        }
        if (!valid || (length == 1 && (byte < 0x20 || byte == 0x7F))) {
            escape(byte);
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
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
