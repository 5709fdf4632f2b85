#include "core/markov/chain_file.h"

#include <string_view>
#include <vector>

#include "core/text/file_writer.h"
#include "core/text/markov_format.h"
#include "core/text/number_lines.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

constexpr int kMaxStates = 100;

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
    return ReadNumberFile(
        path, [&](FileLines& lines) { return ReadChain(lines, sink, reason); }, reason);
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
