#include "core/queue/state_tails.h"

namespace wachtrix {

std::vector<double> StateTails(const std::vector<double>& equal, long double beyond) {
    const int N = static_cast<int>(equal.size()) - 1;
    std::vector<long double> upTo(N + 1);
    long double cumulative = 0;
    for (int n = 0; n <= N; ++n)
        upTo[n] = cumulative += equal[n];
    std::vector<double> tails(N + 1);
    long double above = beyond;
    for (int n = N; n >= 0; --n) {
        tails[n] = static_cast<double>(above < 0.5L ? above : 1 - upTo[n]);
        above += equal[n];
    }
    return tails;
}

std::vector<StateProbability> StatesWithTails(const std::vector<double>& equal,
                                              long double beyond) {
    const std::vector<double> tails = StateTails(equal, beyond);
    std::vector<StateProbability> rows(equal.size());
    for (std::size_t n = 0; n < equal.size(); ++n)
        rows[n] = {equal[n], tails[n]};
    return rows;
}

}  // namespace wachtrix
