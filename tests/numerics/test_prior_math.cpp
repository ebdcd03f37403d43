// Beta shapes from moments and the domains of prior profiles.
#include <gtest/gtest.h>

#include <cmath>

#include "numerics/PriorMath.h"

using namespace tivelor::numerics;

TEST(PriorMath, BetaShapesFromMeanAndSD) {
    // K = 0.25 - 0.0625 - 0.04 = 0.1475; a = 0.25 K / 0.04, b = 0.75 K / 0.04.
    BetaShapes ok = BetaShapesFromMoments(0.25, 0.2);
    EXPECT_DOUBLE_EQ(ok.a, 0.921875);
    EXPECT_DOUBLE_EQ(ok.b, 2.765625);
    // K = 0.5 - 0.25 - 0.36 = -0.11: both negative.
    BetaShapes bad = BetaShapesFromMoments(0.5, 0.6);
    EXPECT_NEAR(bad.a, -0.11 * 0.5 / 0.36, 1E-15);
    EXPECT_NEAR(bad.b, bad.a, 1E-15);
    // Signs are dropped; the uniform distribution (m 0.5, s^2 1/12) has a = b = 1.
    BetaShapes neg = BetaShapesFromMoments(-0.25, -0.2);
    EXPECT_DOUBLE_EQ(neg.a, ok.a);
    BetaShapes flat = BetaShapesFromMoments(0.5, std::sqrt(1.0 / 12));
    EXPECT_NEAR(flat.a, 1, 1E-12);
    EXPECT_NEAR(flat.b, 1, 1E-12);
}

TEST(PriorMath, ProfilePointCountIsOddFromThreeUp) {
    const int in[] = {0, 1, 2, 3, 4, 100, 101, 1000, 1001};
    const int out[] = {101, 3, 3, 3, 5, 101, 101, 1001, 1001};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(CorrectedProfilePoints(in[i]), out[i]) << in[i];
}

namespace {
void ExpectGrid(const ProfileGrid& g, int K, double first, double last, double step) {
    ASSERT_EQ(g.x.size(), static_cast<std::size_t>(K) + 1);
    EXPECT_NEAR(g.x[1], first, 1E-12);
    EXPECT_NEAR(g.x[K], last, 1E-12);
    EXPECT_NEAR(g.step, step, 1E-12);
    for (int p = 2; p < K; ++p) EXPECT_NEAR(g.x[p + 1] - g.x[p], step, 1E-12) << p;
}
}  // namespace

TEST(PriorMath, ProfileDomainsOfTheMomentKinds) {
    // Normal: mean -/+ 5 SD, centred on point 51.
    ProfileGrid n = PriorProfileGrid('N', 10, 2, 0, 0, 101);
    ExpectGrid(n, 101, 0, 20, 0.2);
    EXPECT_DOUBLE_EQ(n.x[51], 10);
    // Gamma (1, 0.5): -1.5 .. 3.5 by 0.05 is squeezed to start at 1E-6; the
    // spacing becomes 0.05 * 3.5 / 5.
    ExpectGrid(PriorProfileGrid('G', 1, 0.5, 0, 0, 101), 101, 1E-6, 3.500001, 0.035);
    // Gamma and ln-normal (1, 1): -4 .. 6 becomes 1E-6 .. 6 + 1E-6.
    ExpectGrid(PriorProfileGrid('G', 1, 1, 0, 0, 101), 101, 1E-6, 6 + 1E-6, 0.06);
    ExpectGrid(PriorProfileGrid('L', 1, 1, 0, 0, 101), 101, 1E-6, 6 + 1E-6, 0.06);
    // A gamma domain that stays positive is not squeezed.
    ExpectGrid(PriorProfileGrid('G', 10, 1, 0, 0, 11), 11, 5, 15, 1);
    // Exponential with mean 4: 0 to 40.
    ExpectGrid(PriorProfileGrid('E', 4, 4, 0, 0, 101), 101, 0, 40, 0.4);
    // Beta: the ends pulled inside (0, 1).
    ProfileGrid b = PriorProfileGrid('B', 0.3, 0.1, 0, 0, 11);
    EXPECT_DOUBLE_EQ(b.x[1], 0.000001);
    EXPECT_DOUBLE_EQ(b.x[11], 0.999999);
    EXPECT_NEAR(b.x[2], 0.1, 1E-12);
    EXPECT_NEAR(b.x[10], 0.9, 1E-12);
    EXPECT_NEAR(b.step, 0.1, 1E-15);
}

TEST(PriorMath, ProfileDomainsOfTheFootKinds) {
    ExpectGrid(PriorProfileGrid('S', 2, 0.5, 0, 0, 7), 7, 0.5, 3.5, 0.5);    // foot -/+ 3 SD
    ExpectGrid(PriorProfileGrid('D', 2, 0, 0, 0, 101), 101, 0, 4, 0.04);     // SD 0: 0 to twice the foot
    ExpectGrid(PriorProfileGrid('S', -2, 0, 0, 0, 101), 101, -4, 0, 0.04);   // ascending for a negative foot
    ExpectGrid(PriorProfileGrid('S', 0, 0, 0, 0, 101), 101, -5, 5, 0.1);     // both 0
    ExpectGrid(PriorProfileGrid('T', 1, 0.5, 3, 0.5, 101), 101, -0.5, 4.5, 0.05);
    ExpectGrid(PriorProfileGrid('T', 0, 0, 0, 0, 3), 3, -0.1, 0.1, 0.1);     // no width at all
}
