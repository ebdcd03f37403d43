// The greedy accumulation curve and its two fits.
#include <gtest/gtest.h>

#include "numerics/Accumulation.h"

using namespace tivelor::numerics;

namespace {

// A curve with these values at steps 1..m.
AccumulationCurve Curve(std::vector<double> accum) {
    AccumulationCurve c;
    accum.insert(accum.begin(), 0.0);
    c.Accum = accum;
    for (std::size_t i = 0; i < accum.size(); ++i) c.X.push_back(i ? 1.0 / static_cast<double>(i) : 0);
    return c;
}
// The hyperbola 40 i/(3 + i) at steps 1..10.
AccumulationCurve Hyperbola() {
    std::vector<double> v;
    for (int i = 1; i <= 10; ++i) v.push_back(40.0 * i / (3 + i));
    return Curve(v);
}

}  // namespace

TEST(GreedyCurve, BestQuadratFirstTiesToTheLowerNoneTakenTwice) {
    CountTable t(5, 4);   // quadrats 2 and 4 add two species each, 1 and 3 one
    t(1, 2) = 1, t(2, 2) = 1, t(3, 4) = 1, t(4, 4) = 1, t(5, 1) = 1, t(5, 3) = 1;
    const AccumulationCurve c = GreedyAccumulation(t);
    EXPECT_EQ(c.Order, (std::vector<int>{0, 2, 4, 1, 3}));
    EXPECT_EQ(c.Incr, (std::vector<double>{0, 2, 2, 1, 0}));
    EXPECT_EQ(c.Accum, (std::vector<double>{0, 2, 4, 5, 5}));
    EXPECT_EQ(c.LevelsAt, 4);
    // A curve still rising at its last step has no levelling point.
    CountTable rising(2, 2);
    rising(1, 1) = 1, rising(2, 2) = 1;
    EXPECT_EQ(GreedyAccumulation(rising).LevelsAt, 0);
}

TEST(AccumulationFits, ExactHyperbolaAndUndefinedCases) {
    for (const CurveFit& f : {FitMichaelisMenten(Hyperbola(), 20), FitAsymptoteML(Hyperbola(), 20)}) {
        const RichnessEstimate& r = f.Est;
        EXPECT_NEAR(*r.Est, 40, 1e-8);
        EXPECT_NEAR(*r.Var, 0, 1e-8);
        EXPECT_NEAR(*r.L95, 40, 1e-6);
        EXPECT_NEAR(*f.ResidVar, 0, 1e-9);
    }
    // Intercept above 1/S: no hyperbolic asymptote; the ML asymptote keeps
    // its estimate and variance but has no bounds.
    EXPECT_FALSE(FitMichaelisMenten(Hyperbola(), 50).Est.Est);
    const RichnessEstimate low = FitAsymptoteML(Hyperbola(), 45).Est;
    EXPECT_TRUE(low.Est && low.Var);
    EXPECT_FALSE(low.L95 || low.U95);
    // A negative intercept: 1/A = -0.1 + 2/i.
    std::vector<double> a;
    for (int i = 1; i <= 6; ++i) a.push_back(1 / (-0.1 + 2.0 / i));
    EXPECT_FALSE(FitMichaelisMenten(Curve(a), 5).Est.Est);
    // Fewer than three quadrats, and a straight line with no asymptote.
    const CurveFit two = FitMichaelisMenten(Curve({3, 5}), 5);
    EXPECT_FALSE(two.Est.Est || two.ResidVar);
    EXPECT_FALSE(FitAsymptoteML(Curve({2, 4, 6, 8, 10}), 10).Est.Est);
}
