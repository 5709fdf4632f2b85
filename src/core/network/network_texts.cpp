#include "core/network/network_texts.h"

#include <cmath>

#include "core/text/delphi_format.h"
#include "core/text/markov_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {
namespace {

std::optional<double> Number(const std::string& text) {
    const auto value = ParseReal(text);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

NetworkFault NotANumber(const std::string& where, const std::string& text, NetworkPart part,
                        int row = 0, int column = 0) {
    return {where + " \"" + text + "\" is not a number.", part, row, column};
}

std::vector<std::string> Texts(const std::vector<double>& values) {
    std::vector<std::string> texts;
    for (const double v : values)
        texts.push_back(FormatGeneral15(v));
    return texts;
}

}  // namespace

NetworkTextReading ReadNetworkTexts(const NetworkTexts& texts) {
    NetworkInput in;
    in.kind = texts.kind;
    const int n = static_cast<int>(texts.servers.size());
    for (int k = 0; k < n; ++k) {
        const std::string station = "Station " + std::to_string(k + 1) + ": the ";
        const auto servers = Number(texts.servers[k]);
        if (!servers)
            return {std::nullopt, NotANumber(station + "number of servers", texts.servers[k],
                                             NetworkPart::Servers, k)};
        const auto time = Number(texts.serviceTimes.at(k));
        if (!time)
            return {std::nullopt, NotANumber(station + "mean service time", texts.serviceTimes[k],
                                             NetworkPart::ServiceTime, k)};
        in.servers.push_back(*servers);
        in.serviceTimes.push_back(*time);
    }
    if (texts.kind == NetworkKind::Open) {
        for (int k = 0; k < n; ++k) {
            const auto gamma = Number(texts.arrivalRates.at(k));
            if (!gamma)
                return {
                    std::nullopt,
                    NotANumber("Station " + std::to_string(k + 1) + ": the external arrival rate",
                               texts.arrivalRates[k], NetworkPart::ArrivalRate, k)};
            in.arrivalRates.push_back(*gamma);
        }
    } else {
        const auto population = ParseInt(texts.population);
        if (!population)
            return {std::nullopt,
                    {"The population \"" + texts.population + "\" is not a whole number.",
                     NetworkPart::Population}};
        in.population = *population;
    }
    in.routing.assign(n, std::vector<double>(n, 0.0));
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k) {
            const std::string& text = texts.routing.at(j).at(k);
            const auto r = Number(text);
            if (!r)
                return {std::nullopt,
                        NotANumber(Format("The routing probability r(%d,%d)", {j + 1, k + 1}), text,
                                   NetworkPart::RoutingCell, j, k)};
            in.routing[j][k] = *r;
        }
    return {std::move(in), {}};
}

NetworkTexts TextsOf(const NetworkInput& input) {
    NetworkTexts texts;
    texts.kind = input.kind;
    texts.servers = Texts(input.servers);
    texts.serviceTimes = Texts(input.serviceTimes);
    texts.arrivalRates = Texts(input.arrivalRates);
    texts.population = std::to_string(input.population);
    for (const auto& row : input.routing)
        texts.routing.push_back(Texts(row));
    return texts;
}

}  // namespace wachtrix
