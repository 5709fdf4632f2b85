#pragma once
// The GI/M/c queue by a method independent of the models, for their tests. Between two arrivals
// the c servers are a pure death process; uniformised at rate c it takes one step down (from n,
// with probability min(n, c) / c) or stays at each event, and the interarrival time only enters
// through the distribution of the number of events in it (`events`). The chain embedded at
// arrivals, truncated to N states, is solved by Grassmann-Taksar-Heyman elimination, which
// subtracts nothing; the chain only moves up by one state, so the elimination is banded.
// Everything is in extended precision.

#include <algorithm>
#include <cmath>
#include <vector>

namespace wachtrix::testing {

struct GimcReference {
    std::vector<long double> embedded;     // an arrival finds n, n = 0..N-1
    std::vector<long double> timeAverage;  // n present over time, n = 0..N
    long double Pwait = 0;                 // an arrival finds c or more
};

// P{m events in an interarrival time}, m = 0, 1, ... (the tail beyond the vector negligible).
struct EventWeights {
    std::vector<long double> embedded;
    // P{m events in the age of the interarrival period at a random time}: P{more than m} / mean.
    std::vector<long double> timeAverage;
};

// The time-average weights from the embedded ones.
inline EventWeights WithTimeAverage(std::vector<long double> embedded) {
    EventWeights w;
    long double mean = 0;
    for (std::size_t m = 0; m < embedded.size(); ++m)
        mean += m * embedded[m];
    long double below = 0;
    for (const long double e : embedded) {
        below += e;
        w.timeAverage.push_back(std::max(0.0L, 1 - below) / mean);
    }
    w.embedded = std::move(embedded);
    return w;
}

// Deterministic interarrival times D: Poisson(c D) events.
inline EventWeights DeterministicEvents(int c, long double D) {
    const long double mean = c * D;
    std::vector<long double> embedded;
    long double term = std::exp(-mean);
    for (int m = 0; m < mean || term > 1e-40L; ++m) {
        embedded.push_back(term);
        term *= mean / (m + 1);
    }
    return WithTimeAverage(std::move(embedded));
}

// Erlang(k - 1, nu) with probability p, else Erlang(k, nu): negative binomial event counts.
inline EventWeights ErlangMixtureEvents(int c, int k, long double p, long double nu) {
    const long double stay = nu / (nu + c), move = c / (nu + c);
    std::vector<long double> embedded;
    // NB(m; r) = C(m + r - 1, m) stay^r move^m, kept as running terms for r = k - 1 and k.
    long double shorter = std::pow(stay, k - 1), longer = std::pow(stay, k);
    const long double mean = k * move / stay;
    for (int m = 0; m < mean || shorter + longer > 1e-40L; ++m) {
        embedded.push_back(p * shorter + (1 - p) * longer);  // NB(m; 0) is 1 at m = 0 only
        shorter *= move * (m + k - 1) / (m + 1);
        longer *= move * (m + k) / (m + 1);
    }
    return WithTimeAverage(std::move(embedded));
}

// A*(s) = p mu1 / (mu1 + s) + q mu2 / (mu2 + s): a signed mix of geometric event counts.
inline EventWeights TwoExponentialEvents(int c, long double mu1, long double mu2, long double p,
                                         long double q) {
    std::vector<long double> embedded;
    long double first = p * mu1 / (mu1 + c), second = q * mu2 / (mu2 + c);
    for (int m = 0; std::fabs(first) + std::fabs(second) > 1e-40L; ++m) {
        embedded.push_back(first + second);
        first *= c / (mu1 + c);
        second *= c / (mu2 + c);
    }
    return WithTimeAverage(std::move(embedded));
}

namespace detail {

// Probabilities over the states lo..lo + p.size() - 1, zero elsewhere.
struct Band {
    int lo = 0;
    std::vector<long double> p;
    long double at(int n) const {
        return n >= lo && n < lo + static_cast<int>(p.size()) ? p[n - lo] : 0.0L;
    }
    long double& operator[](int n) { return p[n - lo]; }
};

// The death process from `start` customers over an interarrival time: the sum over m of
// weights[m] (e_start P^m).
inline Band Deaths(int c, int start, const std::vector<long double>& weights) {
    Band out;
    out.lo = std::max(0, start - static_cast<int>(weights.size()));
    out.p.assign(start - out.lo + 1, 0.0L);
    std::vector<long double> v(start - out.lo + 1, 0.0L);  // v[n - lo]
    v.back() = 1;
    int lowest = start;
    for (const long double w : weights) {
        for (int n = lowest; n <= start; ++n)
            out[n] += w * v[n - out.lo];
        if (lowest > out.lo) --lowest;
        for (int n = lowest; n <= start; ++n) {  // one event: v <- v P
            const long double down = n < start ? v[n + 1 - out.lo] * std::min(n + 1, c) / c : 0.0L;
            v[n - out.lo] =
                v[n - out.lo] * (1 - static_cast<long double>(std::min(n, c)) / c) + down;
        }
    }
    return out;
}

}  // namespace detail

// turnAway: the system holds at most N - 1 (the finite waiting room), so an arrival that finds
// N - 1 is turned away; otherwise N truncates the infinite queue.
inline GimcReference SolveGimcReference(int c, int N, const EventWeights& events,
                                        bool turnAway = false) {
    // Row i: an arrival finds i, i + 1 go through the interarrival time (N - 1 of a full system
    // that turns it away); an arrival beyond the truncation is kept in state N - 1.
    const auto present = [&](int i) { return turnAway ? std::min(i + 1, N - 1) : i + 1; };
    std::vector<detail::Band> P(N);
    for (int i = 0; i < N; ++i) {
        P[i] = detail::Deaths(c, present(i), events.embedded);
        if (present(i) == N) {
            P[i][N - 1] += P[i][N];
            P[i].p.pop_back();
        }
    }
    // Eliminate states from the top; only row n - 1 reaches state n, and row n's band lies
    // inside row n - 1's.
    std::vector<long double> S(N, 0.0L);
    for (int n = N - 1; n >= 1; --n) {
        for (int j = P[n].lo; j < n; ++j)
            S[n] += P[n][j];
        const long double up = P[n - 1][n];
        for (int j = P[n].lo; j < n; ++j)
            P[n - 1][j] += up * P[n][j] / S[n];
    }
    GimcReference r;
    r.embedded.assign(N, 0.0L);
    r.embedded[0] = 1;
    long double total = 1;
    for (int n = 1; n < N; ++n) {
        r.embedded[n] = r.embedded[n - 1] * P[n - 1].at(n) / S[n];
        total += r.embedded[n];
    }
    for (int n = 0; n < N; ++n) {
        r.embedded[n] /= total;
        if (n >= c) r.Pwait += r.embedded[n];
    }
    r.timeAverage.assign(turnAway ? N : N + 1, 0.0L);
    for (int i = 0; i < N; ++i) {
        const detail::Band row = detail::Deaths(c, present(i), events.timeAverage);
        for (int n = row.lo; n <= present(i); ++n)
            r.timeAverage[n] += r.embedded[i] * row.at(n);
    }
    return r;
}

}  // namespace wachtrix::testing
