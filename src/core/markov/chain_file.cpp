#include "core/markov/chain_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/text/file_writer.h"
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

// The lines of a text in memory.
class TextLines {
public:
    explicit TextLines(std::string_view text) : text_(text) {}

    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t end = text_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The lines of a file, read through a buffer of a few pages that the lines pass through: the
// file is read in one pass and never held whole. A line stays valid until the next one.
class FileLines {
public:
    explicit FileLines(std::ifstream& in) : in_(in), buffer_(kChunk) {}

    bool Next(std::string_view& line) {
        for (;;) {
            const auto newline = std::find(buffer_.begin() + begin_, buffer_.begin() + end_, '\n');
            if (newline != buffer_.begin() + end_) {
                const auto stop = static_cast<std::size_t>(newline - buffer_.begin());
                line = std::string_view(buffer_.data() + begin_, stop - begin_);
                begin_ = stop + 1;
                return true;
            }
            if (atEnd_) {
                if (begin_ == end_) return false;
                line = std::string_view(buffer_.data() + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
            // Keep the started line, make room and read on.
            std::copy(buffer_.begin() + begin_, buffer_.begin() + end_, buffer_.begin());
            end_ -= begin_;
            begin_ = 0;
            if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
            in_.read(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
            end_ += static_cast<std::size_t>(in_.gcount());
            if (!in_) {
                atEnd_ = true;
                failed_ = in_.bad();
            }
        }
    }

    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kChunk = 16 << 10;

    std::ifstream& in_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    bool atEnd_ = false, failed_ = false;
};

// Reads a chain file's lines in one pass and remembers why it stopped, for the batch tool's
// message.
template <class Lines>
class LineReader {
public:
    explicit LineReader(Lines& lines) : lines_(lines) {}

    // The first integer of the next line; the rest of the line is ignored.
    std::optional<int> Integer(const char* what) {
        std::string_view line;
        if (!NextLine(line)) return Refuse(std::string(what) + " is missing");
        const std::string_view token = NextToken(line);
        const auto value = token.empty() ? std::nullopt : ParseInt(token);
        if (!value) return Refuse(std::string(what) + " is not a whole number");
        return value;
    }

    // The first n numbers of the next line, each handed to take(j, value, same in the grid);
    // the rest is ignored.
    template <class Take>
    bool Numbers(int n, const std::string& what, Take take) {
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
            int digits = 0;
            const auto value = ParseRealToken(token, digits);
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
            if (!std::isfinite(*value))
                return Fail(what + ": \"" + std::string(token) +
                            "\" is beyond the range of numbers (1E308)");
            take(j, *value, digits <= kGridDigits);
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
        return lines_.Next(line);
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

    Lines& lines_;
    int line_ = 0;
    std::string reason_;
};

// Reads the kind, N, the matrix rows and the cost lines, handing the kind and N to
// sink.Start(kind, n), each cell to sink.Cell(i, j, value, same) and each cost to
// sink.Cost(i, k, value, same) (0-based; same: the grid's text of the value reads back as it).
template <class Lines, class Sink>
bool ReadChain(Lines& lines, Sink& sink, std::string& reason) {
    LineReader<Lines> reader(lines);
    const auto code = reader.Integer("the chain kind (99 or 88)");
    if (!code) return reason = reader.reason(), false;
    const auto n = reader.Integer("the number of states");
    if (!n) return reason = reader.reason(), false;
    if (*n < 1 || *n > kMaxStates) {
        reader.Refuse("the number of states must be 1 to 100");
        return reason = reader.reason(), false;
    }
    const ChainKind kind = ChainKindFromCode(*code);
    sink.Start(kind, *n);
    for (int i = 0; i < *n; ++i) {
        const auto cell = [&](int j, double v, bool same) { sink.Cell(i, j, v, same); };
        if (!reader.Numbers(*n, "matrix row " + std::to_string(i + 1), cell))
            return reason = reader.reason(), false;
    }
    for (int k = 0; k < CostColumnCount(kind); ++k) {
        const auto cost = [&](int i, double v, bool same) { sink.Cost(i, k, v, same); };
        if (!reader.Numbers(*n, k == 0 ? "the cost line" : "the second cost line", cost))
            return reason = reader.reason(), false;
    }
    return true;
}

// The grid texts of the numbers, as Open fills the grids.
struct TextSink {
    ChainInput chain;

    void Start(ChainKind kind, int n) {
        chain.kind = kind;
        chain.matrix.assign(n, {});
        chain.costs.assign(n, {});
    }
    void Cell(int i, int, double value, bool) { chain.matrix[i].push_back(FormatGeneral15(value)); }
    void Cost(int i, int, double value, bool) { chain.costs[i].push_back(FormatGeneral15(value)); }
};

// The numbers the grid cells hold after Open: the value itself when its text reads back the
// same, else the general format of it read again (which may leave the range of numbers).
struct NumberSink {
    ChainNumbers chain;

    static std::optional<double> GridValue(double value, bool same) {
        if (same) return value;
        return ParseReal(FormatGeneral15(value));
    }
    void Start(ChainKind kind, int n) { chain = ChainNumbers::Empty(n, kind); }
    void Cell(int i, int j, double value, bool same) {
        chain.SetCell(i, j, GridValue(value, same));
        // The grid's text of a number is "0" only for zero.
        if (i == j) chain.plainZeroDiagonal[i] = value == 0;
    }
    void Cost(int i, int k, double value, bool same) {
        chain.SetCost(i, k, GridValue(value, same));
    }
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
    TextLines lines(text);
    TextSink sink;
    std::string reason;
    if (!ReadChain(lines, sink, reason)) return {std::nullopt, reason};
    return {std::move(sink.chain), {}};
}

ChainNumbersReading ParseChainNumbersWithReason(std::string_view text) {
    TextLines lines(text);
    NumberSink sink;
    std::string reason;
    if (!ReadChain(lines, sink, reason)) return {std::nullopt, reason};
    return {std::move(sink.chain), {}};
}

std::optional<ChainInput> ParseChainFileText(const std::string& text) {
    return ParseChainFileTextWithReason(text).chain;
}

namespace {

// Reads the file at path through sink; the reason when it cannot.
template <class Sink>
bool ReadChainFileInto(const std::string& path, Sink& sink, std::string& reason) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return reason = "the file cannot be opened", false;
    if (size > kMaxFileBytes) return reason = "the file is larger than 16 MB", false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return reason = "the file cannot be opened", false;
    FileLines lines(in);
    const bool read = ReadChain(lines, sink, reason);
    if (lines.failed()) return reason = "the file cannot be read whole", false;
    return read;
}

}  // namespace

ChainFileReading ReadChainFileWithReason(const std::string& path) {
    TextSink sink;
    std::string reason;
    if (!ReadChainFileInto(path, sink, reason)) return {std::nullopt, reason};
    return {std::move(sink.chain), {}};
}

ChainNumbersReading ReadChainNumbersWithReason(const std::string& path) {
    NumberSink sink;
    std::string reason;
    if (!ReadChainFileInto(path, sink, reason)) return {std::nullopt, reason};
    return {std::move(sink.chain), {}};
}

std::optional<ChainInput> ReadChainFile(const std::string& path) {
    return ReadChainFileWithReason(path).chain;
}

bool WriteChainFile(const std::string& path, const ChainInput& chain) {
    return WriteFileSafely(path, ChainFileText(chain)).empty();
}

}  // namespace wachtrix
