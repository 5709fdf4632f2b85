#include "core/numeric/root_finders.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/failure_lines.h"

namespace wachtrix {
namespace {

constexpr RootFinderCopy kCopy{
    100,
    {"pause in routine ZBRENT", "root must be bracketed"},
    {"pause in routine ZBRENT", "maximum number of iterations exceeded"}};
constexpr RootFinderCopy kBisection{10000,
                                    {"Error : No correct interval for bisection !", ""},
                                    {"Error : Too many bisections", ""}};

// Counts the evaluations, so that a finder's work can be bounded.
template <class F>
struct Counting {
    F f;
    int calls = 0;
    template <class Real>
    Real operator()(Real x) {
        ++calls;
        return f(x);
    }
};
template <class F>
Counting(F) -> Counting<F>;

using testing::FailureLines;

// The stopping rule is a bracket half-width of 6e-8 |b| + tol / 2, so that is the accuracy.
double BrentBound(double root, double tol) {
    return 2 * (6e-8 * std::fabs(root) + 0.5 * tol);
}

TEST(ZBRENT, FindsARootWithinItsStoppingBoundInBothPrecisions) {
    Counting f{[](auto x) { return x * x - 2; }};
    const double root = ZBRENT<double>(f, 0.0, 2.0, 1e-12, kCopy);
    EXPECT_NEAR(root, std::sqrt(2.0), BrentBound(std::sqrt(2.0), 1e-12));
    EXPECT_LE(f.calls, 20);  // superlinear, far from the 100-step limit

    const long double rootL = ZBRENT<long double>([](long double x) { return std::cos(x) - x; },
                                                  0.0L, 1.0L, 1e-15L, kCopy);
    EXPECT_NEAR(static_cast<double>(rootL), 0.7390851332151607, BrentBound(0.739, 1e-15));
}

TEST(ZBRENT, RefusesAnUnbracketedIntervalWithItsTexts) {
    Counting f{[](double x) { return x * x + 1; }};
    const auto lines = FailureLines([&] { ZBRENT<double>(f, -1.0, 1.0, 1e-9, kCopy); });
    EXPECT_EQ(lines,
              (std::vector<std::string>{"pause in routine ZBRENT", "root must be bracketed"}));
    EXPECT_EQ(f.calls, 2);
}

TEST(ZBRENT, GivesUpAfterItsIterationLimit) {
    constexpr RootFinderCopy tight{3, kCopy.notBracketed, kCopy.limitExceeded};
    Counting f{[](double x) { return std::atan(x - 0.3); }};
    const auto lines = FailureLines([&] { ZBRENT<double>(f, -1e6, 1e6, 1e-15, tight); });
    EXPECT_EQ(lines, (std::vector<std::string>{"pause in routine ZBRENT",
                                               "maximum number of iterations exceeded"}));
    EXPECT_EQ(f.calls, 2 + 3);
}

TEST(RTBIS, ReturnsAnExactMidpointAtOnce) {
    Counting f{[](double x) { return x - 1; }};
    EXPECT_EQ(RTBIS<double>(f, 0.0, 2.0, 1e-12, kCopy), 1.0);
    EXPECT_EQ(f.calls, 3);
}

TEST(RTBIS, ConvergesFromTheNegativeSideWithinTheAccuracy) {
    for (const auto& [x1, x2] : {std::pair{0.0, 3.0}, std::pair{3.0, 0.0}}) {
        Counting f{[](double x) { return x * x - 2; }};
        const double root = RTBIS<double>(f, x1, x2, 1e-12, kCopy);
        EXPECT_NEAR(root, std::sqrt(2.0), 1e-12);
        EXPECT_LE(root * root - 2, 0);
        // Each halving costs one evaluation: log2(3 / 1e-12) of them, plus the two ends.
        EXPECT_LE(f.calls, 2 + 42);
    }
}

TEST(RTBIS, RefusesARootAtAnEndAsUnbracketed) {
    const auto lines =
        FailureLines([] { RTBIS<double>([](double x) { return x; }, 0.0, 1.0, 1e-9, kCopy); });
    EXPECT_EQ(lines.size(), 2u);
}

TEST(UnitIntervalBisection, ReturnsZeroOrOneWithoutIterating) {
    Counting positive{[](double) { return 1.0; }};
    EXPECT_EQ(UnitIntervalBisection(positive, kBisection), 0.0);
    EXPECT_EQ(positive.calls, 2);

    Counting negative{[](double) { return -1.0; }};
    EXPECT_EQ(UnitIntervalBisection(negative, kBisection), 1.0);
    EXPECT_EQ(negative.calls, 2);
}

TEST(UnitIntervalBisection, FindsAnInteriorRoot) {
    EXPECT_NEAR(UnitIntervalBisection([](double x) { return x - 0.3; }, kBisection), 0.3, 1e-15);
    EXPECT_NEAR(UnitIntervalBisection([](double x) { return x * x - 0.5; }, kBisection),
                std::sqrt(0.5), 1e-15);
}

TEST(UnitIntervalBisection, ReportsItsOwnFailures) {
    // Zero at the lower end: no sign change.
    EXPECT_EQ(FailureLines([] {
                  UnitIntervalBisection([](double x) { return x > 0.5 ? 1.0 : 0.0; }, kBisection);
              }),
              (std::vector<std::string>{"Error : No correct interval for bisection !"}));
    constexpr RootFinderCopy tight{5, kBisection.notBracketed, kBisection.limitExceeded};
    EXPECT_EQ(FailureLines([&] { UnitIntervalBisection([](double x) { return x - 0.3; }, tight); }),
              (std::vector<std::string>{"Error : Too many bisections"}));
}

TEST(BisectToNegativeEnd, KeepsTheNegativeEndFromEitherSide) {
    const FailureTexts limit{"te veel bisectieiteraties", ""};
    // Decreasing through the root (f > 0 on the left) and increasing (f < 0 on the left).
    for (const double sign : {-1.0, 1.0}) {
        Counting f{[sign](double x) { return sign * (x * x - 0.5); }};
        const double root = BisectToNegativeEnd<double>(f, 0.0, 1.0, f(0.0), 1e-14, 10000, limit);
        EXPECT_NEAR(root, std::sqrt(0.5), 2e-14);
        EXPECT_LE(sign * (root * root - 0.5), 0);
        // One evaluation per halving: about log2(1 / 1e-14) of them.
        EXPECT_LE(f.calls, 1 + 48);
    }
}

TEST(BisectToNegativeEnd, StopsAtAnExactRootOrTheLimit) {
    const FailureTexts limit{"te veel bisectieiteraties", ""};
    Counting exact{[](double x) { return 0.25 - x; }};
    EXPECT_EQ(BisectToNegativeEnd<double>(exact, 0.0, 1.0, 0.25, 1e-14, 10000, limit), 0.25);
    EXPECT_EQ(exact.calls, 2);  // 0.5, then 0.25
    EXPECT_EQ(FailureLines([&] {
                  BisectToNegativeEnd<double>([](double x) { return x - 0.3; }, 0.0, 1.0, -0.3,
                                              1e-14, 5, limit);
              }),
              (std::vector<std::string>{"te veel bisectieiteraties"}));
}

TEST(ZBRENT, StopsAtTheCopysRelativeAccuracy) {
    // With a relative accuracy of 1e-12 and tol 1e-7 the bracket shrinks to about 5e-8 + 2e-12 |b|.
    RootFinderCopy fine = kCopy;
    fine.relativeAccuracy = 1e-12;
    const double root =
        ZBRENT<double>([](double x) { return std::exp(-x) - 1e-3; }, 0.0, 20.0, 1e-7, fine);
    EXPECT_NEAR(root, 3 * std::log(10.0), 1e-7);
}

}  // namespace
}  // namespace wachtrix
