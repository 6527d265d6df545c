// Tests for RandomRange's quantisation and the single-precision wrappers.
#include "render/MathHelpers.h"

#include "support/ProcessState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

using VantorGL::RandomRange;

// The distinct results of many draws, rounded to a thousandth so equal values compare equal.
static std::set<long> Thousandths(double a, double b, int draws = 20000) {
    std::set<long> seen;
    for (int i = 0; i < draws; ++i) {
        const double v = RandomRange(a, b);
        const double scaled = v * 1000.0;
        EXPECT_NEAR(scaled, std::round(scaled), 1e-6) << "off the 0.001 lattice: " << v;
        seen.insert(std::lround(scaled));
    }
    return seen;
}

TEST(RandomRange, StepsOfOneHundredthFromTheLowerEnd) {
    VantorGLTest::RandSeed seed(7);
    const auto wide = Thousandths(-1.0, 1.0);
    EXPECT_EQ(*wide.begin(), -1000);
    EXPECT_EQ(*wide.rbegin(), 990);  // never reaches b
    EXPECT_EQ(wide.size(), 200u);    // -1.00, -0.99, ..., 0.99
    for (long v : wide) EXPECT_EQ((v + 1000) % 10, 0) << v;

    EXPECT_EQ(Thousandths(0.0, 0.03), (std::set<long>{0, 10, 20}));
}

TEST(RandomRange, NarrowRangesCollapseToFewValues) {
    VantorGLTest::RandSeed seed(11);
    // Single-precision bounds: q = trunc(8.9999997) = 8, and (rand * 10) mod 8 is 0, 2, 4 or 6.
    EXPECT_EQ(Thousandths(0.001f, 0.01f), (std::set<long>{1, 3, 5, 7}));
    // Double bounds: q = trunc(9.000000000000002) = 9, every thousandth from 0.001 to 0.009.
    EXPECT_EQ(Thousandths(0.001, 0.01).size(), 9u);
    // q = 2 and rand * 10 is even: always the lower end.
    EXPECT_EQ(Thousandths(-0.001, 0.001), (std::set<long>{-1}));
}

TEST(RandomRange, LargeRangesStopAtRandMaxTimesTen) {
    VantorGLTest::RandSeed seed(13);
    double highest = 0.0;
    for (int i = 0; i < 200000; ++i) highest = std::max(highest, RandomRange(0.0, 360.0));
    EXPECT_LE(highest, 327.67 + 1e-9);
    EXPECT_GT(highest, 320.0);
}

TEST(RandomRange, DegenerateRangesReturnTheLowerEndWithoutDividingByZero) {
    EXPECT_EQ(RandomRange(0.5, 0.5), 0.5);
    EXPECT_EQ(RandomRange(0.5, 0.5005), 0.5);  // q would be 0
    EXPECT_EQ(RandomRange(2.0, -3.0), 2.0);    // reversed
}
