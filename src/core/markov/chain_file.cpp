#include "core/markov/chain_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/text/markov_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr int kMaxStates = 100;
// Far above any chain of 100 states; a larger file is not a chain file and is not read whole.
constexpr std::uintmax_t kMaxFileBytes = 16 << 20;

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Mantissa digits from the first nonzero one: up to 15 of them, a number comes back the same
// from the general format with 15 digits that the grids are filled with.
constexpr int kGridDigits = 15;

int SignificantDigits(std::string_view token) {
    int digits = 0;
    for (const char c : token) {
        if (c == 'e' || c == 'E') break;
        if (c >= '0' && c <= '9' && (digits > 0 || c != '0')) ++digits;
    }
    return digits;
}

// A number of the file: its value and whether the grid's text of it reads back as the same.
struct FileNumber {
    double value = 0;
    bool sameInGrid = true;
};

// Reads the text line by line in one pass and remembers why it stopped, for the batch tool's
// message.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The first integer of the next line; the rest of the line is ignored.
    std::optional<int> Integer(const char* what) {
        std::string_view line;
        if (!NextLine(line)) return Refuse(std::string(what) + " is missing");
        const std::string_view token = NextToken(line);
        const auto value = token.empty() ? std::nullopt : ParseInt(token);
        if (!value) return Refuse(std::string(what) + " is not a whole number");
        return value;
    }

    // Appends the first n numbers of the next line; the rest is ignored.
    bool Numbers(int n, const std::string& what, std::vector<FileNumber>& out) {
        std::string_view line;
        if (!NextLine(line)) return Fail(what + " is missing");
        for (int j = 0; j < n; ++j) {
            const std::string_view token = NextToken(line);
            if (token.empty()) {
                int count = j;
                while (!NextToken(line).empty())
                    ++count;
                return Fail(what + " has " + std::to_string(count) + " of its " +
                            std::to_string(n) + " numbers");
            }
            const auto value = ParseReal(token);
            if (!value) {
                // A later short line is the reason only when this line has its n tokens.
                std::string_view rest = line;
                int count = j + 1;
                while (count < n && !NextToken(rest).empty())
                    ++count;
                if (count < n) {
                    return Fail(what + " has " + std::to_string(count) + " of its " +
                                std::to_string(n) + " numbers");
                }
                return Fail(what + ": \"" + std::string(token) + "\" is not a number");
            }
            out.push_back({*value, SignificantDigits(token) <= kGridDigits});
        }
        return true;
    }

    bool Fail(const std::string& why) {
        Refuse(why);
        return false;
    }

    // "line 4: ..." for the line last read.
    std::nullopt_t Refuse(const std::string& why) {
        reason_ = "line " + std::to_string(line_) + ": " + why;
        return std::nullopt;
    }
    const std::string& reason() const { return reason_; }

private:
    bool NextLine(std::string_view& line) {
        ++line_;
        if (pos_ >= text_.size()) return false;
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        return true;
    }

    // The next blank-separated token of line, taken off it; empty at the end.
    static std::string_view NextToken(std::string_view& line) {
        std::size_t i = 0;
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        std::size_t j = i;
        while (j < line.size() && !IsBlank(line[j]))
            ++j;
        const std::string_view token = line.substr(i, j - i);
        line.remove_prefix(j);
        return token;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 0;
    std::string reason_;
};

// The file's numbers: the kind, N, the n x n matrix row by row and the cost lines.
struct FileChain {
    ChainKind kind = ChainKind::Discrete;
    int n = 0;
    std::vector<FileNumber> matrix;
    std::vector<FileNumber> costLines;  // line by line
};

std::optional<FileChain> ReadNumbers(std::string_view text, std::string& reason) {
    LineReader reader(text);
    const auto code = reader.Integer("the chain kind (99 or 88)");
    if (!code) return reason = reader.reason(), std::nullopt;
    const auto n = reader.Integer("the number of states");
    if (!n) return reason = reader.reason(), std::nullopt;
    if (*n < 1 || *n > kMaxStates) {
        reader.Refuse("the number of states must be 1 to 100");
        return reason = reader.reason(), std::nullopt;
    }
    FileChain chain;
    chain.kind = ChainKindFromCode(*code);
    chain.n = *n;
    chain.matrix.reserve(static_cast<std::size_t>(*n) * *n);
    for (int i = 0; i < *n; ++i) {
        if (!reader.Numbers(*n, "matrix row " + std::to_string(i + 1), chain.matrix))
            return reason = reader.reason(), std::nullopt;
    }
    for (int k = 0; k < CostColumnCount(chain.kind); ++k) {
        if (!reader.Numbers(*n, k == 0 ? "the cost line" : "the second cost line", chain.costLines))
            return reason = reader.reason(), std::nullopt;
    }
    return chain;
}

// The number the grid cell holds after Open: the value itself when its text reads back the
// same, else the general format of it read again (which may leave the range of numbers).
std::optional<double> GridValue(const FileNumber& number) {
    if (number.sameInGrid) return number.value;
    return ParseReal(FormatGeneral15(number.value));
}

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
    std::string reason;
    const auto numbers = ReadNumbers(text, reason);
    if (!numbers) return {std::nullopt, reason};
    const int n = numbers->n;
    ChainInput chain;
    chain.kind = numbers->kind;
    chain.matrix.assign(n, {});
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            chain.matrix[i].push_back(FormatGeneral15(numbers->matrix[i * n + j].value));
    chain.costs.assign(n, {});
    for (int k = 0; k < CostColumnCount(chain.kind); ++k)
        for (int i = 0; i < n; ++i)
            chain.costs[i].push_back(FormatGeneral15(numbers->costLines[k * n + i].value));
    return {std::move(chain), {}};
}

ChainNumbersReading ParseChainNumbersWithReason(std::string_view text) {
    std::string reason;
    const auto numbers = ReadNumbers(text, reason);
    if (!numbers) return {std::nullopt, reason};
    const int n = numbers->n;
    const int columns = CostColumnCount(numbers->kind);
    ChainNumbers chain;
    chain.kind = numbers->kind;
    chain.n = n;
    chain.matrix.reserve(numbers->matrix.size());
    for (const FileNumber& cell : numbers->matrix)
        chain.matrix.push_back(GridValue(cell));
    // The grid's text of a number is "0" only for zero.
    chain.plainZeroDiagonal.assign(n, 0);
    for (int i = 0; i < n; ++i)
        chain.plainZeroDiagonal[i] = numbers->matrix[i * n + i].value == 0;
    chain.costs.resize(static_cast<std::size_t>(n) * columns);
    for (int k = 0; k < columns; ++k)
        for (int i = 0; i < n; ++i)
            chain.costs[i * columns + k] = GridValue(numbers->costLines[k * n + i]);
    return {std::move(chain), {}};
}

std::optional<ChainInput> ParseChainFileText(const std::string& text) {
    return ParseChainFileTextWithReason(text).chain;
}

namespace {

// The whole file, or why not.
std::optional<std::string> FileText(const std::string& path, std::string& reason) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return reason = "the file cannot be opened", std::nullopt;
    if (size > kMaxFileBytes) return reason = "the file is larger than 16 MB", std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return reason = "the file cannot be opened", std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size))
        return reason = "the file cannot be read whole", std::nullopt;
    return text;
}

}  // namespace

ChainFileReading ReadChainFileWithReason(const std::string& path) {
    std::string reason;
    const auto text = FileText(path, reason);
    if (!text) return {std::nullopt, reason};
    return ParseChainFileTextWithReason(*text);
}

ChainNumbersReading ReadChainNumbersWithReason(const std::string& path) {
    std::string reason;
    const auto text = FileText(path, reason);
    if (!text) return {std::nullopt, reason};
    return ParseChainNumbersWithReason(*text);
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
