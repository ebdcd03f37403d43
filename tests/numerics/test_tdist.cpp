// Two-sided t probabilities with 999 degrees of freedom.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/TDist.h"

namespace {

using tivelor::numerics::kTProbabilityFloor;
using tivelor::numerics::TProbability;

TEST(TProbability, WorkedValues) {
    // scipy.stats.t.sf(T, 999) * 2, rounded as the report rounds.
    EXPECT_NEAR(TProbability(0.5), 0.6172, 1e-12);
    EXPECT_NEAR(TProbability(1), 0.3176, 1e-12);
    EXPECT_NEAR(TProbability(1.96), 0.0502, 1e-12);
    EXPECT_NEAR(TProbability(3), 0.0028, 1e-12);
    EXPECT_NEAR(TProbability(3.5), 0.0004, 1e-12);
    EXPECT_NEAR(TProbability(3.9), 0.0002, 1e-12);
    EXPECT_LT(TProbability(4), kTProbabilityFloor);
    EXPECT_NEAR(TProbability(0), 1.0, 1e-12);
}

TEST(TProbability, LargeOrUnusableStatisticsAreBelowTheFloor) {
    EXPECT_EQ(TProbability(7), 0);
    EXPECT_EQ(TProbability(20), 0);
    EXPECT_EQ(TProbability(25), 0);
    EXPECT_EQ(TProbability(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(TProbability(std::numeric_limits<double>::quiet_NaN()), 0);
    // Always a multiple of 0.0002.
    for (double t = 0.05; t < 4; t += 0.37) {
        const double p = TProbability(t) / 0.0002;
        EXPECT_NEAR(p, std::round(p), 1e-9) << t;
    }
}

}  // namespace
