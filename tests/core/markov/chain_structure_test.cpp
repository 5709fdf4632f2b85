#include "core/markov/chain_structure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "core/markov/chain_builders.h"

namespace wachtrix {
namespace {

using testing::Identity;
using testing::MakeChain;
using testing::OneBased;

// The reports themselves are golden data (tests/data/reports/markov_structure*.txt).
TEST(ChainStructureReport, WritesNothingBeforeTheChainIsLoaded) {
    ChainData chain = MakeChain(Identity(2), ChainKind::Discrete);
    chain.DataLoaded = false;
    EXPECT_TRUE(ChainStructureReport(chain).empty());
}

TEST(ClassifyChain, ZeroRowEndsAsTransientInsteadOfHanging) {
    // Not a stochastic matrix, but a caller of the library may pass one.
    const ChainStructure s = ClassifyChain(OneBased({{0, 1, 0}, {0, 0, 0}, {0, 0, 1}}), 3);
    ASSERT_EQ(s.subchains.size(), 1u);
    EXPECT_EQ(s.subchains[0].states, std::vector<int>{3});
    EXPECT_EQ(s.transientStates, (std::vector<int>{1, 2}));
}

// The reference: closed communicating classes from the transitive closure of the graph.
struct Reference {
    std::set<std::vector<int>> classes;
    std::vector<int> transient;
};

Reference ClosedClassesByReachability(const Matrix& p, int n) {
    std::vector<std::vector<char>> reach(n + 1, std::vector<char>(n + 1, 0));
    for (int i = 1; i <= n; ++i) {
        reach[i][i] = 1;  // reflexive: every state communicates with itself
        for (int j = 1; j <= n; ++j)
            if (p[i][j] > 0) reach[i][j] = 1;
    }
    for (int k = 1; k <= n; ++k)  // Floyd-Warshall
        for (int i = 1; i <= n; ++i)
            if (reach[i][k])
                for (int j = 1; j <= n; ++j)
                    if (reach[k][j]) reach[i][j] = 1;
    Reference ref;
    for (int i = 1; i <= n; ++i) {
        bool closed = true;
        for (int j = 1; j <= n; ++j)
            if (reach[i][j] && !reach[j][i]) closed = false;
        if (!closed) {
            ref.transient.push_back(i);
            continue;
        }
        std::vector<int> members;
        for (int j = 1; j <= n; ++j)
            if (reach[i][j] && reach[j][i]) members.push_back(j);
        ref.classes.insert(members);
    }
    return ref;
}

// Random chains with a mix of structures: sparse rows to a few targets, often near the state
// itself (long paths and cycles), sometimes anywhere, sometimes absorbing.
Matrix RandomChain(std::mt19937& rng, int n) {
    Matrix p(n + 1, std::vector<double>(n + 1, 0.0));
    std::uniform_int_distribution<int> anyState(1, n);
    std::uniform_int_distribution<int> fanOut(1, 3);
    std::uniform_int_distribution<int> near(-3, 3);
    std::uniform_real_distribution<double> unit(0, 1);
    const double absorbing = unit(rng) * 0.1;
    for (int i = 1; i <= n; ++i) {
        if (unit(rng) < absorbing) {
            p[i][i] = 1;
            continue;
        }
        const int targets = fanOut(rng);
        for (int t = 0; t < targets; ++t) {
            const int j = unit(rng) < 0.7 ? std::clamp(i + near(rng), 1, n) : anyState(rng);
            p[i][j] += 1.0 / targets;
        }
    }
    return p;
}

TEST(ClassifyChain, AgreesWithTheTransitiveClosureOnRandomChains) {
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> size(1, 100);
    for (int trial = 0; trial < 600; ++trial) {
        const int n = trial < 100 ? 1 + trial % 8 : size(rng);
        const Matrix p = RandomChain(rng, n);
        const ChainStructure s = ClassifyChain(p, n);
        const Reference ref = ClosedClassesByReachability(p, n);

        std::set<std::vector<int>> found;
        for (std::size_t k = 0; k < s.subchains.size(); ++k) {
            const auto& states = s.subchains[k].states;
            ASSERT_TRUE(std::is_sorted(states.begin(), states.end()));
            found.insert(states);
            for (int m : states)
                ASSERT_EQ(s.classOf[m], static_cast<int>(k + 1)) << "trial " << trial;
        }
        ASSERT_EQ(found, ref.classes) << "trial " << trial << ", n = " << n;
        ASSERT_EQ(found.size(), s.subchains.size()) << "each class once, trial " << trial;
        ASSERT_EQ(s.transientStates, ref.transient) << "trial " << trial;
        ASSERT_EQ(IsUnichained(p, n), ref.classes.size() == 1) << "trial " << trial;
        // Absorbing states come first, in increasing order.
        for (std::size_t k = 0; k < s.subchains.size(); ++k) {
            if (!s.subchains[k].absorbing) continue;
            const int state = s.subchains[k].states.at(0);
            ASSERT_EQ(s.subchains[k].states.size(), 1u) << "trial " << trial;
            ASSERT_EQ(p[state][state], 1.0) << "trial " << trial;
            ASSERT_TRUE(k == 0 ||
                        (s.subchains[k - 1].absorbing && s.subchains[k - 1].states[0] < state))
                << "trial " << trial;
        }
    }
}

}  // namespace
}  // namespace wachtrix
