#include "core/markov/uniformisation.h"

#include <gtest/gtest.h>

#include "core/markov/chain_builders.h"
#include "support/expect_near.h"

namespace wachtrix {
namespace {

using testing::MakeChain;
using testing::OneBased;

TEST(Uniformise, GivesAStochasticMatrixWithPositiveSelfTransitions) {
    const UniformisedChain u =
        Uniformise(OneBased({{0, 1, 2, 0}, {0, 0, 0, 0}, {7, 0, 0, 3}, {0.5, 0, 0, 0}}), 4);
    EXPECT_DOUBLE_EQ(u.nu, 10.0001);
    for (int i = 1; i <= 4; ++i) {
        long double sum = 0;
        for (int j = 1; j <= 4; ++j) {
            EXPECT_GE(u.w[i][j], 0);
            sum += u.w[i][j];
        }
        EXPECT_NEAR(static_cast<double>(sum), 1, 1e-15) << i;
        EXPECT_GT(u.w[i][i], 0) << i;
    }
    EXPECT_EQ(u.w[2][2], 1) << "a state without rates stays where it is";
}

TEST(ContinuousCostRates, AddTheTransitionCostsAtTheirRates) {
    // c(i) = r(i) + sum over j of F(j) q(i,j).
    const ChainData chain = MakeChain({{0, 2, 1}, {4, 0, 0}, {0, 0, 0}}, ChainKind::Continuous,
                                      {{1, 2, 3}, {10, 20, 30}});
    const std::vector<double> c = ContinuousCostRates(chain);
    EXPECT_DOUBLE_EQ(c[1], 1 + 20 * 2 + 30 * 1);
    EXPECT_DOUBLE_EQ(c[2], 2 + 10 * 4);
    EXPECT_DOUBLE_EQ(c[3], 3);
}

}  // namespace
}  // namespace wachtrix
