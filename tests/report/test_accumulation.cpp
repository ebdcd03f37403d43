// The greedy accumulation curve and its two fits.
#include <gtest/gtest.h>

#include <algorithm>

#include "model/Accumulation.h"
#include "model/Estimators.h"

using namespace tivelor;

namespace {

// A curve with these values at steps 1..m, or the hyperbola K*i/(B + i).
AccumulationCurve Curve(const std::vector<double>& accum) {
    AccumulationCurve c;
    c.Accum = accum;
    c.Accum.insert(c.Accum.begin(), 0.0);
    c.X.assign(c.Accum.size(), 0);
    for (std::size_t i = 1; i < c.X.size(); ++i) c.X[i] = 1.0 / static_cast<double>(i);
    return c;
}
AccumulationCurve Hyperbola(double K, double B, int m) {
    std::vector<double> v;
    for (int i = 1; i <= m; ++i) v.push_back(K * i / (B + i));
    return Curve(v);
}

}  // namespace

TEST(GreedyCurve, OneQuadratHoldingEverySpecies) {
    CountTable t(3, 4);
    for (int i = 1; i <= 3; ++i) t(i, 3) = 2;
    t(1, 1) = 5;
    const AccumulationCurve c = GreedyAccumulation(t);
    EXPECT_EQ(c.Order[1], 3);
    EXPECT_EQ(c.Incr, (std::vector<double>{0, 3, 0, 0, 0}));
    EXPECT_EQ(c.Accum[4], 3);
    EXPECT_EQ(c.LevelsAt, 2);
}

TEST(GreedyCurve, TiesGoToTheLowerQuadratAndNoQuadratIsTakenTwice) {
    CountTable t(5, 4);   // quadrats 2 and 4 add two species each, 1 and 3 one
    t(1, 2) = 1, t(2, 2) = 1, t(3, 4) = 1, t(4, 4) = 1, t(5, 1) = 1, t(5, 3) = 1;
    const AccumulationCurve c = GreedyAccumulation(t);
    EXPECT_EQ(c.Order, (std::vector<int>{0, 2, 4, 1, 3}));
    EXPECT_EQ(c.Accum, (std::vector<double>{0, 2, 4, 5, 5}));
    EXPECT_DOUBLE_EQ(c.X[4], 0.25);
    // A curve still rising at its last step has no levelling point.
    CountTable rising(2, 2);
    rising(1, 1) = 1, rising(2, 2) = 1;
    EXPECT_EQ(GreedyAccumulation(rising).LevelsAt, 0);
}

TEST(HyperbolicFit, ExactHyperbolaAndUndefinedCases) {
    MaybeNumber resid;
    const RichnessEstimate r = FitMichaelisMenten(Hyperbola(40, 3, 10), 20, resid);
    EXPECT_NEAR(*r.Est, 40, 1e-9);
    EXPECT_NEAR(*r.Var, 0, 1e-9);
    EXPECT_NEAR(*r.L95, 40, 1e-6);
    // Intercept above 1/S: no asymptote above the species counted.
    EXPECT_FALSE(FitMichaelisMenten(Hyperbola(40, 3, 10), 50, resid).Est);
    // A negative intercept: 1/A = -0.1 + 2/i.
    std::vector<double> a;
    for (int i = 1; i <= 6; ++i) a.push_back(1 / (-0.1 + 2.0 / i));
    const RichnessEstimate neg = FitMichaelisMenten(Curve(a), 5, resid);
    EXPECT_FALSE(neg.Est || neg.Var || neg.U95);
    // Fewer than three quadrats.
    EXPECT_FALSE(FitMichaelisMenten(Curve({3, 5}), 5, resid).Est);
    EXPECT_FALSE(resid);
}

TEST(AsymptoteFit, ExactHyperbolaAndUndefinedCases) {
    MaybeNumber resid;
    const RichnessEstimate r = FitAsymptoteML(Hyperbola(40, 3, 10), 20, resid);
    EXPECT_NEAR(*r.Est, 40, 1e-8);
    EXPECT_NEAR(*r.Var, 0, 1e-8);
    EXPECT_NEAR(*r.U95, 40, 1e-6);
    // Not above S: estimate and variance stay, the bounds do not.
    const RichnessEstimate low = FitAsymptoteML(Hyperbola(40, 3, 10), 45, resid);
    EXPECT_NEAR(*low.Est, 40, 1e-8);
    EXPECT_TRUE(low.Var);
    EXPECT_FALSE(low.L95 || low.U95);
    // Every step adding the same number of species, and too few steps.
    EXPECT_FALSE(FitAsymptoteML(Curve({2, 4, 6, 8, 10}), 10, resid).Est);
    EXPECT_FALSE(FitAsymptoteML(Curve({2, 3}), 3, resid).Var);
    // A noisy curve has a positive residual variance and bounds around K.
    const RichnessEstimate n = FitAsymptoteML(Curve({5, 9, 12, 13, 15, 16, 16, 17}), 17, resid);
    EXPECT_GT(*resid, 0);
    EXPECT_LT(*n.L95, *n.Est);
    EXPECT_GT(*n.U95, *n.Est);
}
