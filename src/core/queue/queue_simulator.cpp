#include "core/queue/queue_simulator.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace wachtrix {
namespace {

// How often a replication asks whether to go on.
constexpr long long kCheckEvery = 1 << 16;

// A binary min-heap of times in a vector reserved up front: sift by hand, so that replacing the
// smallest (a server taken again) is one pass down instead of a pop and a push.
class MinHeap {
public:
    explicit MinHeap(std::size_t capacity) { data_.reserve(capacity); }

    bool empty() const { return data_.empty(); }
    std::size_t size() const { return data_.size(); }
    double top() const { return data_.front(); }

    void push(double x) {
        std::size_t i = data_.size();
        data_.push_back(x);
        while (i > 0) {
            const std::size_t parent = (i - 1) / 2;
            if (data_[parent] <= x) break;
            data_[i] = data_[parent];
            i = parent;
        }
        data_[i] = x;
    }

    void pop() {
        const double last = data_.back();
        data_.pop_back();
        if (!data_.empty()) siftDown(last);
    }

    void replaceTop(double x) { siftDown(x); }

private:
    void siftDown(double x) {
        const std::size_t n = data_.size();
        std::size_t i = 0;
        for (;;) {
            std::size_t child = 2 * i + 1;
            if (child >= n) break;
            if (child + 1 < n && data_[child + 1] < data_[child]) ++child;
            if (data_[child] >= x) break;
            data_[i] = data_[child];
            i = child;
        }
        data_[i] = x;
    }

    std::vector<double> data_;
};

// The time averages of the window: the state changes only at arrivals and departures.
class TimeAverages {
public:
    TimeAverages(QueueTally& tally, int servers, int topState)
        : tally_(tally), servers_(servers), topState_(topState) {}

    void start(double now) {
        counting_ = true;
        clock_ = now;
    }
    // The system held `present` customers from the last change until `now`.
    void advance(double now, std::size_t present) {
        if (counting_) {
            const double dt = now - clock_;
            const int n = static_cast<int>(present);
            const int queue = std::max(n - servers_, 0);
            tally_.time += dt;
            tally_.queueArea += dt * queue;
            tally_.queueArea2 += dt * queue * static_cast<double>(queue);
            tally_.busyArea += dt * std::min(n, servers_);
            if (n >= servers_) tally_.fullArea += dt;
            if (topState_ >= 0)
                tally_.stateTime[static_cast<std::size_t>(std::min(n, topState_ + 1))] += dt;
        }
        clock_ = now;
    }

private:
    QueueTally& tally_;
    int servers_, topState_;
    bool counting_ = false;
    double clock_ = 0;
};

// The arrival epochs: a renewal stream, or the failures of a finite source's working machines.
class Arrivals {
public:
    Arrivals(const QueueTwin& twin, Xoshiro256& rng)
        : twin_(twin), rng_(rng), working_(static_cast<std::size_t>(twin.sources)) {
        for (int m = 0; m < twin.sources; ++m)
            working_.push(rng.Exponential(twin.failureRate));
    }

    double next() {
        if (twin_.sources == 0) return clock_ += twin_.arrivals.Draw(rng_);
        const double failure = working_.top();
        working_.pop();
        return failure;
    }
    // A machine repaired at `time` works until its next failure.
    void departs(double time) {
        if (twin_.sources > 0) working_.push(time + rng_.Exponential(twin_.failureRate));
    }

private:
    const QueueTwin& twin_;
    Xoshiro256& rng_;
    MinHeap working_;
    double clock_ = 0;
};

}  // namespace

std::optional<QueueTally> SimulateQueue(const QueueTwin& twin, const TallyRequest& request,
                                        long long warmup, long long customers, Xoshiro256& rng,
                                        const std::function<bool(long long)>& keepGoing) {
    QueueTally tally;
    const std::size_t times = request.waitTimes.size();
    tally.waitBeyond.assign(times, 0);
    tally.offeredBeyond.assign(times, 0);
    if (request.keepWaits) tally.waits.reserve(static_cast<std::size_t>(customers));
    if (request.topState >= 0) {
        tally.stateTime.assign(static_cast<std::size_t>(request.topState) + 2, 0);
        tally.stateSeen.assign(static_cast<std::size_t>(request.topState) + 2, 0);
    }
    const int c = twin.servers;
    MinHeap freeAt(static_cast<std::size_t>(c));
    for (int s = 0; s < c; ++s)
        freeAt.push(0);
    // Room for every customer a bounded system can hold; an unbounded queue rarely grows past it.
    const std::size_t room = twin.capacity > 0  ? static_cast<std::size_t>(twin.capacity)
                             : twin.sources > 0 ? static_cast<std::size_t>(twin.sources)
                                                : static_cast<std::size_t>(c) + 4096;
    MinHeap present(room);
    Arrivals arrivals(twin, rng);
    TimeAverages averages(tally, c, request.topState);

    const long long total = warmup + customers;
    for (long long k = 0; k < total; ++k) {
        if (keepGoing && k % kCheckEvery == kCheckEvery - 1 && !keepGoing(k + 1)) return {};
        const double now = arrivals.next();
        while (!present.empty() && present.top() <= now) {
            averages.advance(present.top(), present.size());
            present.pop();
        }
        averages.advance(now, present.size());
        const bool counted = k >= warmup;
        if (k == warmup) averages.start(now);
        const std::size_t found = present.size();
        if (counted) {
            ++tally.arrivals;
            if (request.topState >= 0)
                ++tally.stateSeen[std::min(found, static_cast<std::size_t>(request.topState) + 1)];
        }
        if (twin.capacity > 0 && found >= static_cast<std::size_t>(twin.capacity)) {
            if (counted) ++tally.rejected;
            continue;
        }
        const double offered = std::max(freeAt.top() - now, 0.0);
        double wait = offered;
        bool served = true;
        if (twin.abandonment > 0 && offered > 0) {
            const double patience = rng.Exponential(twin.abandonment);
            if (patience < offered) {
                wait = patience;
                served = false;
            }
        }
        const double leaves = served ? now + offered + twin.service.Draw(rng) : now + wait;
        if (served) freeAt.replaceTop(leaves);
        present.push(leaves);
        arrivals.departs(leaves);
        if (!counted) continue;
        if (offered > 0) ++tally.waited;
        if (!served) ++tally.abandoned;
        tally.wait += wait;
        tally.wait2 += wait * wait;
        if (served) tally.servedWait += wait;
        for (std::size_t i = 0; i < times; ++i) {
            if (wait > request.waitTimes[i]) ++tally.waitBeyond[i];
            if (offered > request.waitTimes[i]) ++tally.offeredBeyond[i];
        }
        if (request.keepWaits) tally.waits.push_back(wait);
    }
    return tally;
}

std::optional<TransientTally> SimulateTransientMM1(
    const QueueTwin& twin, const std::vector<double>& times, long long paths, Xoshiro256& rng,
    const std::function<bool(long long)>& keepGoing) {
    TransientTally tally;
    tally.atEnd.assign(times.size(), 0);
    tally.atMostEnd.assign(times.size(), 0);
    tally.queue.assign(times.size(), 0);
    tally.queue2.assign(times.size(), 0);
    const double up = twin.rho;
    constexpr double kNever = std::numeric_limits<double>::infinity();
    // From n customers the next jump comes at rate rho + 1 (rho alone when empty); it is an
    // arrival with probability rho / rate.
    const auto nextJump = [&](double now, int n) {
        const double rate = up + (n > 0 ? 1 : 0);
        return rate > 0 ? now + rng.Exponential(rate) : kNever;
    };
    // About as many jumps between two questions as customers in the queue simulation: a path to
    // t = 1e6 asks after each path.
    const double jumpsPerPath = (1 + up) * (times.empty() ? 0 : times.back()) + 1;
    const auto checkEvery = std::max(1LL, static_cast<long long>(kCheckEvery / jumpsPerPath));
    for (long long path = 0; path < paths; ++path) {
        if (keepGoing && path % checkEvery == checkEvery - 1 && !keepGoing(path + 1)) return {};
        int n = twin.initial;
        double jump = nextJump(0, n);
        for (std::size_t i = 0; i < times.size(); ++i) {
            while (jump <= times[i]) {
                const double rate = up + (n > 0 ? 1 : 0);
                n += rng.Uniform() * rate <= up ? 1 : -1;
                jump = nextJump(jump, n);
            }
            if (n == twin.endState) ++tally.atEnd[i];
            if (n <= twin.endState) ++tally.atMostEnd[i];
            const double queue = std::max(n - 1, 0);
            tally.queue[i] += queue;
            tally.queue2[i] += queue * queue;
        }
        ++tally.paths;
    }
    return tally;
}

}  // namespace wachtrix
