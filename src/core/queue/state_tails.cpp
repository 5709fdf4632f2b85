#include "core/queue/state_tails.h"

namespace wachtrix {

namespace {

// The tails from above into `tails`, each one not below one half marked in `large` instead. A
// function of its own, without calls: there GCC keeps the sum in a register, where beside the
// allocations it stores and reloads it at every step, a quarter of a long chain's solution.
[[gnu::noinline]] void SumFromAbove(const double* equal, int N, long double above, double* tails,
                                    char* large) {
    for (int n = N; n >= 0; --n) {
        tails[n] = static_cast<double>(above);
        large[n] = !(above < 0.5L);
        above += equal[n];
    }
}

}  // namespace

std::vector<double> StateTails(const std::vector<double>& equal, long double beyond) {
    // The cumulative sum, for the tails not below one half, runs only as far up as the last.
    const int N = static_cast<int>(equal.size()) - 1;
    std::vector<double> tails(N + 1);
    std::vector<char> large(N + 1);
    SumFromAbove(equal.data(), N, beyond, tails.data(), large.data());
    int last = N;
    while (last >= 0 && !large[last])
        --last;
    long double cumulative = 0;
    for (int n = 0; n <= last; ++n) {
        cumulative += equal[n];
        if (large[n]) tails[n] = static_cast<double>(1 - cumulative);
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
