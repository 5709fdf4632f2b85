#pragma once
// The discrete-event twin of the queue models: one engine for every system the tabs solve.
// Customers are served first come first served by c servers, so no event list is needed: each
// arrival takes the server that frees first (its wait is max(0, that time - its arrival)), and
// the departures of the customers present, in a min-heap, give the number in system an arrival
// finds and the time the system spends in each state. With a waiting room of N places an arrival
// that finds c + N present is rejected; an impatient customer whose offered wait exceeds its
// patience leaves without taking a server (exact under first come first served); a finite source
// of M machines sends each repaired machine back to work until it fails again.
//
// A replication starts empty (every machine working), discards a warm-up of customers and then
// counts n; its time averages run from the first counted arrival to the last. Time in mean
// service times as everywhere. Nothing is allocated per customer: the heaps and tables are sized
// before the first arrival.
//
// The transient M/M/1 twin follows independent sample paths from i customers over [0, t].

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/numeric/random.h"
#include "core/queue/renewal_time.h"

namespace wachtrix {

// What a model's run is simulated as; the model's unit says (QueueModelSpec::twin).
struct QueueTwin {
    enum class Kind { Queue, TransientMM1 };
    Kind kind = Kind::Queue;
    RenewalTime arrivals, service;  // interarrival times (not read by a finite source)
    int servers = 1;
    int capacity = 0;        // the most customers present, c + N; 0: no limit
    int sources = 0;         // machines of a finite source; 0: renewal arrivals
    double failureRate = 0;  // of a working machine
    double abandonment = 0;  // rate of a waiting customer's exponential patience; 0: none
    // The transient M/M/1: arrival rate `rho` (service rate 1) from `initial` customers, the
    // probabilities of `endState`.
    double rho = 0;
    int initial = 0, endState = 0;
};

// What a replication must count beyond its means.
struct TallyRequest {
    std::vector<double> waitTimes;  // t of P{Wq>t} (and P{V>t})
    bool keepWaits = false;         // every counted wait, for percentiles
    int topState = -1;              // states 0..topState counted over time and by arrivals
};

// One replication's sums over its counted customers and its time window.
struct QueueTally {
    long long arrivals = 0;      // counted arrivals
    long long rejected = 0;      // found the system full
    long long waited = 0;        // admitted and found every server busy
    long long abandoned = 0;     // left before service
    double wait = 0, wait2 = 0;  // waits of the admitted (an abandoner: its patience)
    double servedWait = 0;       // waits of the served
    std::vector<long long> waitBeyond, offeredBeyond;  // per t: wait > t, offered wait > t
    std::vector<double> waits;                         // with keepWaits
    double time = 0;                                   // the window's length
    double queueArea = 0, queueArea2 = 0;              // integrals of Lq and Lq^2
    double busyArea = 0;                               // integral of the busy servers
    double fullArea = 0;                               // time with every server busy
    std::vector<double> stateTime;     // time with n present, n = 0..top; the last: above top
    std::vector<long long> stateSeen;  // arrivals that found n, likewise

    long long admitted() const { return arrivals - rejected; }
};

// Called now and then with the work done and the work in all (customers or paths, warm-ups
// included); false stops the run.
using SimulationProgress = std::function<bool(long long done, long long total)>;

// One replication of a Queue twin: `warmup` customers, then `customers` counted. Empty when
// `keepGoing` said stop.
std::optional<QueueTally> SimulateQueue(const QueueTwin& twin, const TallyRequest& request,
                                        long long warmup, long long customers, Xoshiro256& rng,
                                        const std::function<bool(long long)>& keepGoing = {});

// One replication of the transient M/M/1: `paths` sample paths, the number in system of each at
// every time asked (ascending).
struct TransientTally {
    long long paths = 0;
    std::vector<long long> atEnd, atMostEnd;  // per time: L = j, L <= j
    std::vector<double> queue, queue2;        // per time: sums of Lq and Lq^2
};
std::optional<TransientTally> SimulateTransientMM1(
    const QueueTwin& twin, const std::vector<double>& times, long long paths, Xoshiro256& rng,
    const std::function<bool(long long)>& keepGoing = {});

}  // namespace wachtrix
