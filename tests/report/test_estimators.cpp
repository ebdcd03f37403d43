// Classical richness estimators, the t table and the ln-normal bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model/Estimators.h"

using namespace tivelor;

namespace {

// Species present (count 1) in the listed quadrats.
IncidenceSummary Incidence(int m, const std::vector<std::set<int>>& species) {
    CountTable t(static_cast<int>(species.size()), m);
    for (std::size_t i = 0; i < species.size(); ++i)
        for (int q : species[i]) t(static_cast<int>(i) + 1, q) = 1;
    return SummarizeIncidence(t);
}

}  // namespace

TEST(RichnessEstimators, WorkedExample) {
    const IncidenceSummary inc = Incidence(4, {{1}, {3}, {1, 2}, {1, 3, 4}, {1, 2, 3, 4}});
    EXPECT_EQ(inc.NUniques, 2);
    EXPECT_EQ(inc.NDuplicates, 1);
    const double t = StudentT975(inc.m - 1);
    EXPECT_DOUBLE_EQ(t, 3.18);
    const struct {
        RichnessEstimate r;
        double est, var, lo, hi;
    } cases[] = {
        {ChaoTwo(inc, t), 7.0, 14.0, 5.040485, 103.802774},
        {FirstOrderJackknife(inc, t), 6.5, 2.625, 5.091561, 29.573725},
        {SecondOrderJackknife(inc, t), 7.16667, 5.40278, 5.134019, 40.028229},
        {BootstrapEstimate(inc, t), 5.69922, 0.48375, 5.050027, 14.772896},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(*c.r.Est, c.est, 5e-6);
        EXPECT_NEAR(*c.r.Var, c.var, 5e-6);
        EXPECT_NEAR(*c.r.L95, c.lo, 1e-5);
        EXPECT_NEAR(*c.r.U95, c.hi, 1e-5);
    }
}

TEST(RichnessEstimators, RareSpeciesCountsAndJointAbsence) {
    CountTable t(3, 150);
    t(1, 1) = 1;                 // singleton, unique
    t(2, 1) = 1, t(2, 130) = 1;  // doubleton, duplicate
    t(3, 70) = 2;                // doubleton, unique
    const IncidenceSummary inc = SummarizeIncidence(t);
    EXPECT_EQ(inc.NSingletons, 1);
    EXPECT_EQ(inc.NDoubletons, 2);
    EXPECT_EQ(inc.NUniques, 2);
    EXPECT_EQ(inc.NDuplicates, 1);
    // Quadrats beyond the first machine word count too.
    EXPECT_EQ(inc.JointAbsent(1, 2), 147);
    EXPECT_EQ(inc.JointAbsent(2, 0), 148);
}

TEST(RichnessEstimators, WithoutRareSpeciesEverythingIsSWithUndefinedBounds) {
    const IncidenceSummary inc = Incidence(4, {{1, 2, 3}, {2, 3, 4}});
    const double t = StudentT975(3);
    for (const RichnessEstimate& r :
         {ChaoTwo(inc, t), FirstOrderJackknife(inc, t), SecondOrderJackknife(inc, t)}) {
        EXPECT_DOUBLE_EQ(*r.Est, 2.0);
        EXPECT_FALSE(r.L95 || r.U95);
    }
    EXPECT_DOUBLE_EQ(*ChaoTwo(inc, t).Var, 0.0);
}

TEST(RichnessEstimators, SecondOrderJackknifeBelowSHasNoSEOrBounds) {
    // Q1 = 0, Q2 = 2 with m = 4: below S, with a negative variance.
    const RichnessEstimate r = SecondOrderJackknife(Incidence(4, {{1, 2}, {3, 4}, {1, 2, 3}}), 3.18);
    EXPECT_LT(*r.Est, 3.0);
    EXPECT_LT(*r.Var, 0.0);
    EXPECT_FALSE(StandardError(r.Var));
    EXPECT_FALSE(r.L95 || r.U95);
}

TEST(RichnessEstimators, FewQuadrats) {
    // m = 2: B = 0, so the second-order jackknife is S + Q1/2.
    EXPECT_DOUBLE_EQ(*SecondOrderJackknife(Incidence(2, {{1}, {2}, {1, 2}}), 12.71).Est, 4.0);
    // m = 1: no second-order jackknife; every species in the one quadrat adds nothing.
    const IncidenceSummary one = Incidence(1, {{1}, {1}});
    EXPECT_FALSE(SecondOrderJackknife(one, 0).Est);
    EXPECT_DOUBLE_EQ(*BootstrapEstimate(one, 0).Est, 2.0);
    EXPECT_DOUBLE_EQ(*BootstrapEstimate(one, 0).Var, 0.0);
}

TEST(StudentT, Table) {
    const std::pair<int, double> cases[] = {
        {-3, 0},    {0, 0},     {1, 12.71}, {3, 3.18},  {18, 2.10}, {20, 2.09},  {21, 2.08},
        {23, 2.07}, {26, 2.06}, {29, 2.05}, {32, 2.04}, {37, 2.03}, {40, 2.02},  {45, 2.01},
        {68, 2.00}, {95, 1.99}, {158, 1.98}, {200, 1.97}, {472, 1.97}, {473, 1.96}, {500, 1.96}};
    for (auto [df, t] : cases) EXPECT_DOUBLE_EQ(StudentT975(df), t) << "df " << df;
}

TEST(LnNormal, BoundsAndStandardErrorsThatCannotBeFormed) {
    EXPECT_DOUBLE_EQ(*StandardError(2.25), 1.5);
    EXPECT_FALSE(StandardError(-0.5));
    EXPECT_FALSE(StandardError(std::nan("")));
    RichnessEstimate r{10.0, 4.0, std::nullopt, std::nullopt};
    LnNormalBounds(r, 10, 2.0);   // E = S
    EXPECT_FALSE(r.L95);
    r.Est = 12.0;
    r.Var = -1.0;
    LnNormalBounds(r, 10, 2.0);
    EXPECT_FALSE(r.U95);
    r.Var = 0.0;                  // no spread: both bounds at the estimate
    LnNormalBounds(r, 10, 2.0);
    EXPECT_DOUBLE_EQ(*r.L95, 12.0);
    EXPECT_DOUBLE_EQ(*r.U95, 12.0);
    LnNormalBounds(r, 10, 0.0);   // no degrees of freedom
    EXPECT_FALSE(r.L95);
}
