#pragma once
// Reading the plain-text files of numbers the program saves (chain files, network files): lines
// of numbers separated by blanks, read in one pass, with the reason a reading stopped in the
// words a user can act on ("line 4: matrix row 2: \"x\" is not a number").
//
//   TextLines lines("99\n2\n0.5 0.5\n");  LineReader reader(lines);
//   reader.Integer("the kind") -> 99;  reader.Integer("N") -> 2;
//   reader.Numbers(2, "row 1", take) -> true, take(0, 0.5, true), take(1, 0.5, true)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/text/number_parse.h"

namespace wachtrix {

// Far above any file of 100 x 100 numbers; a larger file is not one of ours and is not read whole.
inline constexpr std::uintmax_t kMaxNumberFileBytes = 16 << 20;

// Mantissa digits from the first nonzero one: up to 15 of them, a number comes back the same
// from the general format with 15 digits that the grids are filled with.
inline constexpr int kGridDigits = 15;

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

// Reads a file's lines in one pass and remembers why it stopped, for the messages.
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
    static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

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

// Reads the file at path by read(lines), a function of FileLines& giving true when the file
// held what it should (and setting reason when not); the reason when it cannot.
template <class Read>
bool ReadNumberFile(const std::string& path, Read read, std::string& reason) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return reason = "the file cannot be opened", false;
    if (size > kMaxNumberFileBytes) return reason = "the file is larger than 16 MB", false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return reason = "the file cannot be opened", false;
    FileLines lines(in);
    const bool done = read(lines);
    if (lines.failed()) return reason = "the file cannot be read whole", false;
    return done;
}

}  // namespace wachtrix
