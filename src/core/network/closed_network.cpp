#include "core/network/closed_network.h"

#include <algorithm>
#include <limits>

namespace wachtrix {
namespace {

using Sequence = std::vector<long double>;

// Below this a term cannot matter against G(N) >= 1 however large the rest of its product
// (at most about 1E3100); flushing it keeps the x87 unit off its slow subnormal path.
constexpr long double kNegligible = 1e-4000L;

// One station's factor f(j) = d^j / (min(1,c) ... min(j,c)), its demand d scaled.
struct Factor {
    int station = -1;  // 0-based; -1 for the delay stations together
    long double demand = 0;
    int servers = 0;  // more than the population: no customer ever waits
};

// f(0 .. min(c, top)): before the servers are all busy the factor is d^j / j!.
Sequence FactorHead(const Factor& f, int top) {
    Sequence head(std::min(f.servers, top) + 1);
    head[0] = 1;
    for (std::size_t j = 1; j < head.size(); ++j) {
        head[j] = head[j - 1] * f.demand / static_cast<long double>(j);
        if (head[j] < kNegligible) head[j] = 0;
    }
    return head;
}

// (g * f)(n), n = 0..top. The terms from j = c on form a geometric sequence (ratio d / c), so
// their sum follows from the previous one: T(n) = f(c) g(n-c) + (d/c) T(n-1).
Sequence Convolve(const Sequence& g, const Factor& f) {
    const int top = static_cast<int>(g.size()) - 1;
    const int c = f.servers;
    const Sequence head = FactorHead(f, top);
    const long double ratio = f.demand / c;
    Sequence out(top + 1);
    long double tail = 0;
    for (int n = 0; n <= top; ++n) {
        if (n >= c) tail = head[c] * g[n - c] + ratio * tail;
        long double sum = tail;
        for (int j = 0, last = std::min(n, c - 1); j <= last; ++j)
            sum += head[j] * g[n - j];
        out[n] = sum < kNegligible ? 0 : sum;
    }
    return out;
}

// (a * b)(n), n = 0..top; four partial sums, so that the x87 additions need not wait for one
// another (the inner loop of the closed networks).
Sequence Product(const Sequence& a, const Sequence& b) {
    const int top = static_cast<int>(a.size()) - 1;
    Sequence out(top + 1);
    for (int n = 0; n <= top; ++n) {
        long double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
        const long double* x = a.data();
        const long double* y = b.data() + n;
        int i = 0;
        for (; i + 3 <= n; i += 4) {
            s0 += x[i] * y[-i];
            s1 += x[i + 1] * y[-i - 1];
            s2 += x[i + 2] * y[-i - 2];
            s3 += x[i + 3] * y[-i - 3];
        }
        for (; i <= n; ++i)
            s0 += x[i] * y[-i];
        out[n] = (s0 + s1) + (s2 + s3);
    }
    return out;
}

Sequence Unit(int top) {
    Sequence unit(top + 1, 0);
    unit[0] = 1;
    return unit;
}

// The network's factors, scaled by theta, and the products of the first i of them.
struct ProductForm {
    long double theta = 1;
    std::vector<Factor> factors;   // the delay stations together first, then the queueing ones
    std::vector<Sequence> prefix;  // prefix[i] = f_0 * ... * f_(i-1); prefix.back() = G

    const Sequence& G() const { return prefix.back(); }
    // X(n) for n >= 1: the scaled constants hold G(n) / theta^n.
    double Throughput(int n) const { return static_cast<double>(G()[n - 1] / G()[n] / theta); }
};

// A queueing station with at least as many servers as customers never lets one wait.
bool Queues(const Network& network, int k) {
    const int c = network.stations[k].servers;
    return c > 0 && c < network.population && network.visits[k] > 0;
}

ProductForm ProductFormOf(const Network& network, int top) {
    ProductForm form;
    long double delay = 0;
    for (int k = 0; k < network.StationCount(); ++k)
        if (!Queues(network, k)) delay += network.Demand(k);
    // theta: the largest service rate needed, so that every scaled factor and G stay in range.
    form.theta = delay / top;
    for (int k = 0; k < network.StationCount(); ++k)
        if (Queues(network, k))
            form.theta = std::max<long double>(
                form.theta, network.Demand(k) / std::min(network.stations[k].servers, top));
    if (delay > 0) form.factors.push_back({-1, delay / form.theta, top + 1});
    const auto queueing = form.factors.end() - form.factors.begin();
    for (int k = 0; k < network.StationCount(); ++k)
        if (Queues(network, k))
            form.factors.push_back(
                {k, network.Demand(k) / form.theta, network.stations[k].servers});
    // Fewest servers first: the factors after a multi-server station are then the cheap ones to
    // convolve again (Complement).
    std::stable_sort(form.factors.begin() + queueing, form.factors.end(),
                     [](const Factor& a, const Factor& b) { return a.servers < b.servers; });
    form.prefix.push_back(Unit(top));
    for (const Factor& f : form.factors)
        form.prefix.push_back(Convolve(form.prefix.back(), f));
    return form;
}

// E(L) and E(Lq) of the queueing station of factor i at population N.
struct QueueMeans {
    long double number = 0, queue = 0;
};

// One server: P(L >= m) = d^m G(N-m) / G(N).
QueueMeans SingleServerMeans(const ProductForm& form, const Factor& f, long double busy) {
    const Sequence& g = form.G();
    const int top = static_cast<int>(g.size()) - 1;
    QueueMeans means;
    long double power = f.demand;
    for (int m = 2; m <= top && power > 0; ++m) {
        power *= f.demand;
        if (power < kNegligible) power = 0;
        means.queue += power * g[top - m];
    }
    means.queue /= g[top];
    means.number = busy + means.queue;
    return means;
}

// Several servers: the distribution p(j|N) = f(j) G_(-k)(N-j) / G(N).
QueueMeans MultiServerMeans(const ProductForm& form, const Factor& f, const Sequence& others) {
    const Sequence& g = form.G();
    const int top = static_cast<int>(g.size()) - 1;
    const int c = f.servers;
    QueueMeans means;
    long double factor = 1;  // f(j)
    for (int j = 1; j <= top; ++j) {
        factor *= f.demand / std::min(j, c);
        if (factor < kNegligible) factor = 0;
        const long double p = factor * others[top - j];
        means.number += j * p;
        if (j > c) means.queue += (j - c) * p;
    }
    means.number /= g[top];
    means.queue /= g[top];
    return means;
}

// The constants of the network without factor i: those before it times suffix[i+1], the
// product of those after it; when the factors after it have few servers it is cheaper to
// convolve them one by one than to multiply out the two sequences.
Sequence Complement(const ProductForm& form, const std::vector<Sequence>& suffix, int i) {
    const long long top = static_cast<long long>(form.G().size()) - 1;
    long long chain = 0;  // multiply-adds of the convolutions, per population
    for (std::size_t l = i + 1; l < form.factors.size(); ++l)
        chain += std::min<long long>(form.factors[l].servers, top) + 1;
    if (chain > top / 2) return Product(form.prefix[i], suffix[i + 1]);
    Sequence without = form.prefix[i];
    for (std::size_t l = i + 1; l < form.factors.size(); ++l)
        without = Convolve(without, form.factors[l]);
    return without;
}

}  // namespace

double ThroughputBounds::Bound(int n) const {
    const double total = n / (queueingDemand + delayDemand);
    return bottleneck < 0 ? total : std::min(total, bottleneckRate);
}

ThroughputBounds BoundsOf(const Network& network) {
    ThroughputBounds bounds;
    for (int k = 0; k < network.StationCount(); ++k) {
        const Station& s = network.stations[k];
        const double demand = network.Demand(k);
        if (s.IsDelay()) {
            bounds.delayDemand += demand;
            continue;
        }
        bounds.queueingDemand += demand;
        if (demand == 0) continue;
        const double rate = s.servers / demand;
        if (bounds.bottleneck < 0 || rate < bounds.bottleneckRate) {
            bounds.bottleneck = k;
            bounds.bottleneckRate = rate;
        }
    }
    return bounds;
}

NetworkFigures SolveClosedNetwork(const Network& network) {
    const int top = network.population;
    const ProductForm form = ProductFormOf(network, top);
    const double x = form.Throughput(top);
    const int count = static_cast<int>(form.factors.size());
    std::vector<Sequence> suffix(count + 1);
    suffix[count] = Unit(top);
    for (int i = count - 1; i >= 1; --i)
        suffix[i] = Convolve(suffix[i + 1], form.factors[i]);

    NetworkFigures figures;
    for (int k = 0; k < network.StationCount(); ++k) {
        const Station& s = network.stations[k];
        StationFigures st;
        st.servers = s.servers;
        st.visits = network.visits[k];
        st.throughput = st.visits * x;
        const double busy = network.Demand(k) * x;  // mean busy servers
        st.utilisation = s.IsDelay() ? std::numeric_limits<double>::quiet_NaN() : busy / s.servers;
        st.meanNumber = busy;  // until the station queues
        st.meanResponse = s.serviceTime;
        figures.stations.push_back(st);
    }
    for (int i = 0; i < count; ++i) {
        const Factor& f = form.factors[i];
        if (f.station < 0) continue;
        StationFigures& st = figures.stations[f.station];
        const QueueMeans means = f.servers == 1
                                     ? SingleServerMeans(form, f, st.meanNumber)
                                     : MultiServerMeans(form, f, Complement(form, suffix, i));
        st.meanNumber = static_cast<double>(means.number);
        st.meanQueue = static_cast<double>(means.queue);
    }
    for (StationFigures& st : figures.stations)
        if (st.visited()) st.meanResponse = st.meanNumber / st.throughput;
    figures.throughput = x;
    figures.meanNumber = top;
    figures.meanTime = top / x;
    return figures;
}

std::vector<PopulationRow> ClosedPopulations(const Network& network) {
    const ProductForm form = ProductFormOf(network, network.population);
    const ThroughputBounds bounds = BoundsOf(network);
    std::vector<PopulationRow> rows;
    for (int n = 1; n <= network.population; ++n) {
        const double x = form.Throughput(n);
        rows.push_back({n, x, n / x, bounds.Bound(n)});
    }
    return rows;
}

}  // namespace wachtrix
