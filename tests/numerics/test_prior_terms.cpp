// Prior terms on values: worked values beyond the penalty's own cases, the
// clamped beta mode and the far side of the cliffs.
#include <gtest/gtest.h>

#include <cmath>

#include "numerics/PriorTerms.h"

using namespace tivelor::numerics;

TEST(PriorTerms, WorkedValuesAwayFromTheMode) {
    EXPECT_NEAR(NormalCDF(1.0), 0.8413447, 2E-7);
    EXPECT_NEAR(NormalCDF(-1.0), 1 - 0.8413447, 2E-7);
    EXPECT_DOUBLE_EQ(NormalPriorTerm(-1, 1, -2), 0.5);          // the SD's sign does not matter
    EXPECT_DOUBLE_EQ(ExponentialPriorTerm(2, -4), 0.5);         // the mean is taken by magnitude
    EXPECT_NEAR(GammaPriorTerm(1, 2, 1), -1 + 3 * std::log(1.5), 1E-12);   // k 4, scale 0.5, mode 1.5
    EXPECT_NEAR(LnNormalPriorTerm(1, 1, 1), 9 * std::log(2.0) / 8, 1E-12);
    EXPECT_NEAR(LnNormalPriorTerm(0.5E-6, 1, 1), 0.25E-12 * 1E20, 1E-2);
}

TEST(PriorTerms, BetaModeHeldWithinTheSupport) {
    // m 0.1, s 0.2: a 0.125, b 1.125, mode 7/6 held at 0.999999.
    EXPECT_EQ(BetaPriorTerm(0.999999, 0.1, 0.2), 0);
    EXPECT_NEAR(BetaPriorTerm(0.5, 0.1, 0.2),
                0.875 * std::log(0.5) - 0.125 * std::log(0.5) - 0.875 * std::log(0.999999) + 0.125 * std::log(1E-6),
                1E-9);
    // m 0.9, s 0.2: a 1.125, b 0.125, mode -1/6 held at 1E-6.
    EXPECT_EQ(BetaPriorTerm(1E-6, 0.9, 0.2), 0);
    // The mode formula falls outside (0, 1) here: the term is below 0 away from the held mode.
    EXPECT_NEAR(BetaPriorTerm(0.5, 0.9, 0.2), 0.75 * std::log(0.5) + 0.125 * std::log(1E-6) - 0.875 * std::log(1 - 1E-6),
                1E-9);
}

TEST(PriorTerms, CliffsAndTheUniformBoundedPrior) {
    EXPECT_NEAR(LeftCliffPriorTerm(3, 3, 1), std::log(2.0), 1E-7);
    EXPECT_DOUBLE_EQ(LeftCliffPriorTerm(-37, 3, 1), 1600E20);   // Phi is exactly 0
    EXPECT_NEAR(RightCliffPriorTerm(-30, 3, 1), 0, 1E-12);
    // Feet 0 and 10 with SD 1 each: at a foot the term is about ln 2.
    EXPECT_NEAR(UniformBoundedPriorTerm(0, 0, 1, 10, 1), std::log(2.0), 1E-7);
    EXPECT_NEAR(UniformBoundedPriorTerm(10, 0, 1, 10, 1), std::log(2.0), 1E-7);
    EXPECT_NEAR(UniformBoundedPriorTerm(5, 0, 1, 10, 1), 0, 1E-6);
    EXPECT_DOUBLE_EQ(UniformBoundedPriorTerm(12, 0, 1, 10, 0), 4E20);
}
