// The greedy accumulation curve and its two fits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/Accumulation.h"
#include "model/Estimators.h"

using namespace tivelor;

namespace {

// A curve with the given values at steps 1..m.
AccumulationCurve Curve(const std::vector<double>& accum) {
    AccumulationCurve c;
    const std::size_t n = accum.size() + 1;
    c.Accum.assign(n, 0);
    c.Incr.assign(n, 0);
    c.X.assign(n, 0);
    for (std::size_t i = 1; i < n; ++i) {
        c.Accum[i] = accum[i - 1];
        c.Incr[i] = c.Accum[i] - c.Accum[i - 1];
        c.X[i] = 1.0 / static_cast<double>(i);
    }
    return c;
}

// The hyperbola K*i/(B + i) at steps 1..m.
std::vector<double> Hyperbola(double K, double B, int m) {
    std::vector<double> v;
    for (int i = 1; i <= m; ++i) v.push_back(K * i / (B + i));
    return v;
}

}  // namespace

TEST(GreedyCurve, OneQuadratHoldingEverySpecies) {
    CountTable t(3, 4);
    for (int i = 1; i <= 3; ++i) t(i, 3) = 2;
    t(1, 1) = 5;
    const AccumulationCurve c = GreedyAccumulation(t);
    EXPECT_EQ(c.Order[1], 3);
    EXPECT_EQ(c.Incr[1], 3);
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(c.Incr[static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(c.Accum[4], 3);
    EXPECT_EQ(c.LevelsAt, 2);
}

TEST(GreedyCurve, TiesGoToTheLowerQuadratAndNoQuadratIsTakenTwice) {
    // Quadrats 2 and 4 each add two species; 1 and 3 add one.
    CountTable t(5, 4);
    t(1, 2) = 1, t(2, 2) = 1;
    t(3, 4) = 1, t(4, 4) = 1;
    t(5, 1) = 1, t(5, 3) = 1;
    const AccumulationCurve c = GreedyAccumulation(t);
    EXPECT_EQ(c.Order[1], 2);
    EXPECT_EQ(c.Order[2], 4);
    EXPECT_EQ(c.Order[3], 1);
    std::vector<int> order(c.Order.begin() + 1, c.Order.end());
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(c.Accum[3], 5);
    EXPECT_EQ(c.Incr[4], 0);
    EXPECT_DOUBLE_EQ(c.X[4], 0.25);
}

TEST(GreedyCurve, CurveStillRisingLeavesTheLevellingPointUnset) {
    CountTable t(3, 3);
    for (int i = 1; i <= 3; ++i) t(i, i) = 1;
    EXPECT_EQ(GreedyAccumulation(t).LevelsAt, 0);
}

TEST(HyperbolicFit, ExactHyperbolaGivesItsAsymptote) {
    MaybeNumber resid;
    const RichnessEstimate r = FitMichaelisMenten(Curve(Hyperbola(40, 3, 10)), 20, resid);
    ASSERT_TRUE(r.Est);
    EXPECT_NEAR(*r.Est, 40, 1e-9);
    EXPECT_NEAR(*r.Var, 0, 1e-9);
    EXPECT_NEAR(*resid, 0, 1e-12);
    EXPECT_NEAR(*r.L95, 40, 1e-6);
}

TEST(HyperbolicFit, NoAsymptoteAboveSIsUndefined) {
    MaybeNumber resid;
    // Intercept above 1/S: the curve levels below the species counted.
    EXPECT_FALSE(FitMichaelisMenten(Curve(Hyperbola(40, 3, 10)), 50, resid).Est);
    // A negative intercept: 1/A = -0.1 + 2/i, a line with no positive asymptote.
    std::vector<double> a;
    for (int i = 1; i <= 6; ++i) a.push_back(1 / (-0.1 + 2.0 / i));
    const RichnessEstimate r = FitMichaelisMenten(Curve(a), 5, resid);
    EXPECT_FALSE(r.Est);
    EXPECT_FALSE(r.Var);
    EXPECT_FALSE(r.U95);
    // Fewer than three quadrats.
    EXPECT_FALSE(FitMichaelisMenten(Curve({3, 5}), 5, resid).Est);
    EXPECT_FALSE(resid);
}

TEST(AsymptoteFit, ExactHyperbolaGivesItsAsymptote) {
    MaybeNumber resid;
    const RichnessEstimate r = FitAsymptoteML(Curve(Hyperbola(40, 3, 10)), 20, resid);
    ASSERT_TRUE(r.Est);
    EXPECT_NEAR(*r.Est, 40, 1e-8);
    EXPECT_NEAR(*r.Var, 0, 1e-8);
    EXPECT_NEAR(*r.U95, 40, 1e-6);
}

TEST(AsymptoteFit, NotAboveSKeepsEstimateButNotBounds) {
    MaybeNumber resid;
    const RichnessEstimate r = FitAsymptoteML(Curve(Hyperbola(40, 3, 10)), 45, resid);
    ASSERT_TRUE(r.Est);
    EXPECT_NEAR(*r.Est, 40, 1e-8);
    EXPECT_TRUE(r.Var);
    EXPECT_FALSE(r.L95);
    EXPECT_FALSE(r.U95);
}

TEST(AsymptoteFit, EqualIncrementsAndFewQuadratsAreUndefined) {
    MaybeNumber resid;
    const RichnessEstimate r = FitAsymptoteML(Curve({2, 4, 6, 8, 10}), 10, resid);
    EXPECT_FALSE(r.Est);
    EXPECT_FALSE(r.Var);
    EXPECT_FALSE(FitAsymptoteML(Curve({2, 3}), 3, resid).Est);
}

TEST(AsymptoteFit, NoisyCurveHasFiniteBounds) {
    MaybeNumber resid;
    const RichnessEstimate r = FitAsymptoteML(Curve({5, 9, 12, 13, 15, 16, 16, 17}), 17, resid);
    ASSERT_TRUE(r.Est && r.Var);
    EXPECT_GT(*r.Est, 17);
    EXPECT_GT(*resid, 0);
    ASSERT_TRUE(r.L95 && r.U95);
    EXPECT_LT(*r.L95, *r.Est);
    EXPECT_GT(*r.U95, *r.Est);
}
