#include "core/network/network_file.h"

#include "core/text/file_writer.h"
#include "core/text/markov_format.h"
#include "core/text/number_lines.h"

namespace wachtrix {
namespace {

template <class Lines>
bool ReadNetwork(Lines& lines, NetworkInput& in, std::string& reason) {
    LineReader<Lines> reader(lines);
    const auto fail = [&] { return reason = reader.reason(), false; };
    const auto code = reader.Integer("the network kind (1 open, 2 closed)");
    if (!code) return fail();
    if (*code != 1 && *code != 2) {
        reader.Refuse("the network kind must be 1 (open) or 2 (closed)");
        return fail();
    }
    in.kind = static_cast<NetworkKind>(*code);
    const auto n = reader.Integer("the number of stations");
    if (!n) return fail();
    if (*n < 1 || *n > kMaxStations) {
        reader.Refuse("the number of stations must be 1 to 50");
        return fail();
    }
    in.servers.assign(*n, 0.0);
    in.serviceTimes.assign(*n, 0.0);
    for (int k = 0; k < *n; ++k) {
        const auto take = [&](int j, double v, bool) {
            (j == 0 ? in.servers : in.serviceTimes)[k] = v;
        };
        if (!reader.Numbers(2, "station " + std::to_string(k + 1), take)) return fail();
    }
    if (in.kind == NetworkKind::Open) {
        in.arrivalRates.assign(*n, 0.0);
        const auto take = [&](int k, double v, bool) { in.arrivalRates[k] = v; };
        if (!reader.Numbers(*n, "the arrival rates", take)) return fail();
    } else {
        const auto population = reader.Integer("the population");
        if (!population) return fail();
        in.population = *population;
    }
    in.routing.assign(*n, std::vector<double>(*n, 0.0));
    for (int j = 0; j < *n; ++j) {
        const auto take = [&](int k, double v, bool) { in.routing[j][k] = v; };
        if (!reader.Numbers(*n, "routing row " + std::to_string(j + 1), take)) return fail();
    }
    return true;
}

std::string Line(const std::vector<double>& values) {
    std::string line;
    for (const double v : values)
        line += (line.empty() ? "" : " ") + FormatGeneral15(v);
    return line + "\n";
}

}  // namespace

NetworkReading ParseNetworkText(std::string_view text) {
    TextLines lines(text);
    NetworkInput in;
    std::string reason;
    if (!ReadNetwork(lines, in, reason)) return {std::nullopt, reason};
    return {std::move(in), {}};
}

NetworkReading ReadNetworkFile(const std::string& path) {
    NetworkInput in;
    std::string reason;
    const auto read = [&](FileLines& lines) { return ReadNetwork(lines, in, reason); };
    if (!ReadNumberFile(path, read, reason)) return {std::nullopt, reason};
    return {std::move(in), {}};
}

std::string NetworkFileText(const NetworkInput& in) {
    std::string text = std::to_string(static_cast<int>(in.kind)) + "\n";
    text += std::to_string(in.StationCount()) + "\n";
    for (int k = 0; k < in.StationCount(); ++k)
        text += Line({in.servers[k], in.serviceTimes[k]});
    text +=
        in.kind == NetworkKind::Open ? Line(in.arrivalRates) : std::to_string(in.population) + "\n";
    for (const auto& row : in.routing)
        text += Line(row);
    return text;
}

std::string WriteNetworkFile(const std::string& path, const NetworkInput& network) {
    return WriteFileSafely(path, NetworkFileText(network));
}

}  // namespace wachtrix
