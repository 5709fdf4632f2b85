#include "core/network/closed_network.h"

#include <algorithm>
#include <limits>

namespace wachtrix {
namespace {

using Sequence = std::vector<long double>;

// G(n) lies between 1 and about 1E2220 (at most (sum of the c_k and z)^n / n! times the number
// of ways to place n customers), so a term below this cannot matter against G(N); and the product
// of two terms at least this large is still a normal number, which keeps the x87 unit off its
// slow subnormal path.
constexpr long double kNegligible = 1e-2400L;

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

// The sum over j = 0..last of a[j] b[n-j], in four partial sums so that the x87 additions need
// not wait for one another (the inner loop of the closed networks).
long double Dot(const long double* a, const long double* b, int n, int last) {
    long double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    const long double* y = b + n;
    int j = 0;
    for (; j + 3 <= last; j += 4) {
        s0 += a[j] * y[-j];
        s1 += a[j + 1] * y[-j - 1];
        s2 += a[j + 2] * y[-j - 2];
        s3 += a[j + 3] * y[-j - 3];
    }
    for (; j <= last; ++j)
        s0 += a[j] * y[-j];
    return (s0 + s1) + (s2 + s3);
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
        if (n >= c) {
            tail = head[c] * g[n - c] + ratio * tail;
            if (tail < kNegligible) tail = 0;
        }
        const long double sum = tail + Dot(head.data(), g.data(), n, std::min(n, c - 1));
        out[n] = sum < kNegligible ? 0 : sum;
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
    // Fewest servers first (SolveClosedNetwork finds the single servers before the others).
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

// Hands take(i, G_(-i)) the constants of the network without factor i, for each i in [lo, hi),
// given those without all of them (outside): by halves, the constants without one half are
// outside convolved with the other half's factors, so each factor is convolved in once per
// halving, K log K convolutions in all rather than K^2 / 2.
template <class Take>
void EachComplement(const std::vector<Factor>& factors, const Sequence& outside, std::size_t lo,
                    std::size_t hi, Take& take) {
    if (hi - lo == 1) return take(lo, outside);
    const std::size_t mid = (lo + hi) / 2;
    Sequence without = outside;
    for (std::size_t l = mid; l < hi; ++l)
        without = Convolve(without, factors[l]);
    EachComplement(factors, without, lo, mid, take);
    without = outside;
    for (std::size_t l = lo; l < mid; ++l)
        without = Convolve(without, factors[l]);
    EachComplement(factors, without, mid, hi, take);
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
    // The factors run delay, single servers, then several servers: those before the first with
    // several are the outside of all of those.
    std::size_t several = 0;
    for (; several < form.factors.size(); ++several) {
        const Factor& f = form.factors[several];
        if (f.station < 0) continue;
        if (f.servers > 1) break;
        StationFigures& st = figures.stations[f.station];
        const QueueMeans means = SingleServerMeans(form, f, st.meanNumber);
        st.meanNumber = static_cast<double>(means.number);
        st.meanQueue = static_cast<double>(means.queue);
    }
    auto take = [&](std::size_t i, const Sequence& others) {
        const Factor& f = form.factors[i];
        const QueueMeans means = MultiServerMeans(form, f, others);
        figures.stations[f.station].meanNumber = static_cast<double>(means.number);
        figures.stations[f.station].meanQueue = static_cast<double>(means.queue);
    };
    if (several < form.factors.size())
        EachComplement(form.factors, form.prefix[several], several, form.factors.size(), take);
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
