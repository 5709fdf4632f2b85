// The times the simulator draws: every fit the models use, converted, keeps the mean and the
// squared coefficient of variation it was fitted to, and the draws have those moments.

#include "core/queue/renewal_time.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expect_near.h"

namespace wachtrix {
namespace {

struct Fitted {
    std::string what;
    RenewalTime time;
    double mean, cv2;
};

std::vector<Fitted> EveryFit() {
    std::vector<Fitted> all;
    for (const double cs2 : {0.01, 0.011, 0.07, 0.3, 1.0 / 3, 0.4, 0.5, 0.77, 0.99, 1.0})
        all.push_back(
            {"Erlangian " + std::to_string(cs2), ErlangMixTime(FitErlangian(cs2)), 1, cs2});
    for (const CoxianKind kind : {CoxianKind::MG1Gamma, CoxianKind::MG1Balanced,
                                  CoxianKind::DG1Gamma, CoxianKind::DG1Balanced})
        for (const double cs2 : {0.6, 1.0, 2.0, 10.0, 100.0})
            all.push_back(
                {"Coxian " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(cs2),
                 CoxianTime(FitCoxian(kind, cs2)), 1, cs2});
    // G/M/c arrivals have mean 1 / (c rho).
    const int c = 3;
    const double rho = 0.7;
    for (const double ca2 : {0.01, 0.02, 0.4, 0.7, 0.999, 1.0})
        all.push_back({"Erlang arrivals " + std::to_string(ca2),
                       ErlangMixTime(FitErlang(ca2, c, rho)), 1 / (c * rho), ca2});
    for (const GmcArrivals fit : {GmcArrivals::CoxianGamma, GmcArrivals::CoxianBalanced})
        for (const double ca2 : {0.5, 0.6, 0.9, 1.0, 3.0, 50.0, 100.0})
            all.push_back({"Coxian arrivals " + std::to_string(static_cast<int>(fit)) + " " +
                               std::to_string(ca2),
                           TwoExponentialTime(FitCoxian2(fit, NudgeCoxianCa2(ca2), c, rho)),
                           1 / (c * rho), NudgeCoxianCa2(ca2)});
    for (const double cv2 : {0.0, 0.05, 1.0, 4.0})
        all.push_back({"G/G/c " + std::to_string(cv2), TimeOfVariation(2.5, cv2), 2.5, cv2});
    return all;
}

TEST(RenewalTime, EveryFitKeepsItsMeanAndVariation) {
    for (const Fitted& f : EveryFit()) {
        EXPECT_REL_NEAR(f.time.Mean(), f.mean, 1e-9) << f.what;
        EXPECT_REL_NEAR_FLOOR(f.time.SquaredVariation(), f.cv2, 1e-7, 1e-12) << f.what;
    }
}

// The draws against the moments: 400000 draws put the sample mean within 1% and the sample
// CS2 within 4% (variations up to 4, whose fourth moments keep the sampling error small).
TEST(RenewalTime, DrawsHaveTheFittedMoments) {
    Xoshiro256 rng(11);
    for (const Fitted& f : EveryFit()) {
        if (f.cv2 > 4) continue;
        constexpr int kDraws = 400000;
        double sum = 0, sum2 = 0;
        for (int i = 0; i < kDraws; ++i) {
            const double x = f.time.Draw(rng);
            sum += x;
            sum2 += x * x;
        }
        const double mean = sum / kDraws;
        EXPECT_REL_NEAR(mean, f.mean, 0.01) << f.what;
        EXPECT_REL_NEAR_FLOOR(sum2 / kDraws / (mean * mean) - 1, f.cv2, 0.04, 1e-9) << f.what;
    }
}

}  // namespace
}  // namespace wachtrix
