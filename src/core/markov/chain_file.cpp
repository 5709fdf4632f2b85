#include "core/markov/chain_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "core/text/markov_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr int kMaxStates = 100;
// Far above any chain of 100 states; a larger file is not a chain file and is not read whole.
constexpr std::uintmax_t kMaxFileBytes = 16 << 20;

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    std::string token;
    for (char c : line) {
        if (static_cast<unsigned char>(c) <= ' ') {
            if (!token.empty()) tokens.push_back(std::move(token));
            token.clear();
        } else {
            token += c;
        }
    }
    if (!token.empty()) tokens.push_back(std::move(token));
    return tokens;
}

// Reads the file line by line and remembers why it stopped, for the batch tool's message.
class LineReader {
public:
    explicit LineReader(const std::string& text) : in_(text) {}

    // The first integer of the next line; the rest of the line is ignored.
    std::optional<int> Integer(const char* what) {
        const auto tokens = NextTokens();
        if (!tokens) return Refuse(std::string(what) + " is missing");
        if (tokens->empty() || !ParseInt(tokens->front()))
            return Refuse(std::string(what) + " is not a whole number");
        return ParseInt(tokens->front());
    }

    // The first n numbers of the next line, in general format; the rest is ignored.
    std::optional<std::vector<std::string>> Numbers(int n, const std::string& what) {
        const auto tokens = NextTokens();
        if (!tokens) return Refuse(what + " is missing");
        if (static_cast<int>(tokens->size()) < n)
            return Refuse(what + " has " + std::to_string(tokens->size()) + " of its " +
                          std::to_string(n) + " numbers");
        std::vector<std::string> cells;
        for (int j = 0; j < n; ++j) {
            const auto value = ParseReal((*tokens)[j]);
            if (!value) return Refuse(what + ": \"" + (*tokens)[j] + "\" is not a number");
            cells.push_back(FormatGeneral15(*value));
        }
        return cells;
    }

    // "line 4: ..." for the line last read.
    std::nullopt_t Refuse(const std::string& why) {
        reason_ = "line " + std::to_string(line_) + ": " + why;
        return std::nullopt;
    }
    const std::string& reason() const { return reason_; }

private:
    std::optional<std::vector<std::string>> NextTokens() {
        std::string line;
        ++line_;
        if (!std::getline(in_, line)) return std::nullopt;
        return Tokens(line);
    }

    std::istringstream in_;
    int line_ = 0;
    std::string reason_;
};

std::string JoinCells(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t j = 0; j < cells.size(); ++j) {
        if (j > 0) line += ' ';
        line += cells[j];
    }
    return line;
}

std::string CostLine(const ChainInput& chain, std::size_t column) {
    std::string line;
    for (std::size_t i = 0; i < chain.costs.size(); ++i) {
        if (i > 0) line += ' ';
        line += column < chain.costs[i].size() ? chain.costs[i][column] : std::string();
    }
    return line;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    const std::filesystem::path dir = target.parent_path();
    const std::string base = "." + target.filename().string() + ".tmp";
    for (int k = 0;; ++k) {
        const std::filesystem::path candidate = dir / (base + std::to_string(k));
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec) && !ec) return candidate;
        if (ec || k > 1000) return {};
    }
}

}  // namespace

std::string ChainFileText(const ChainInput& chain) {
    std::string text = std::to_string(ChainKindCode(chain.kind)) + "\n";
    text += std::to_string(chain.StateCount()) + "\n";
    for (const auto& row : chain.matrix)
        text += JoinCells(row) + "\n";
    for (int k = 0; k < CostColumnCount(chain.kind); ++k)
        text += CostLine(chain, k) + "\n";
    return text;
}

ChainFileReading ParseChainFileTextWithReason(const std::string& text) {
    LineReader reader(text);
    const auto code = reader.Integer("the chain kind (99 or 88)");
    if (!code) return {std::nullopt, reader.reason()};
    const auto n = reader.Integer("the number of states");
    if (!n) return {std::nullopt, reader.reason()};
    if (*n < 1 || *n > kMaxStates) {
        reader.Refuse("the number of states must be 1 to 100");
        return {std::nullopt, reader.reason()};
    }
    ChainInput chain;
    chain.kind = ChainKindFromCode(*code);
    for (int i = 0; i < *n; ++i) {
        auto row = reader.Numbers(*n, "matrix row " + std::to_string(i + 1));
        if (!row) return {std::nullopt, reader.reason()};
        chain.matrix.push_back(std::move(*row));
    }
    chain.costs.assign(*n, {});
    for (int k = 0; k < CostColumnCount(chain.kind); ++k) {
        const auto line = reader.Numbers(*n, k == 0 ? "the cost line" : "the second cost line");
        if (!line) return {std::nullopt, reader.reason()};
        for (int i = 0; i < *n; ++i)
            chain.costs[i].push_back((*line)[i]);
    }
    return {std::move(chain), {}};
}

std::optional<ChainInput> ParseChainFileText(const std::string& text) {
    return ParseChainFileTextWithReason(text).chain;
}

ChainFileReading ReadChainFileWithReason(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return {std::nullopt, "the file cannot be opened"};
    if (size > kMaxFileBytes) return {std::nullopt, "the file is larger than 16 MB"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, "the file cannot be opened"};
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size))
        return {std::nullopt, "the file cannot be read whole"};
    return ParseChainFileTextWithReason(text);
}

std::optional<ChainInput> ReadChainFile(const std::string& path) {
    return ReadChainFileWithReason(path).chain;
}

bool WriteChainFile(const std::string& path, const ChainInput& chain) {
    const std::filesystem::path target(path);
    const std::filesystem::path temporary = TemporaryBeside(target);
    if (temporary.empty()) return false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << ChainFileText(chain);
        out.flush();
        const bool written = out.good();
        out.close();
        if (!written || out.fail()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace wachtrix
