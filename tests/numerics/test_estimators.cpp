// Classical richness estimators, the t table and the ln-normal bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "numerics/Estimators.h"

using namespace tivelor::numerics;

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
    const ClassicalEstimates e = ClassicalRichnessEstimates(inc);   // t = 3.18 on 3 df
    const struct {
        RichnessEstimate r;
        double est, var, lo, hi;
    } cases[] = {
        {e.Chao2, 7.0, 14.0, 5.040485, 103.802774},
        {e.Jack1, 6.5, 2.625, 5.091561, 29.573725},
        {e.Jack2, 7.16667, 5.40278, 5.134019, 40.028229},
        {e.Boot, 5.69922, 0.48375, 5.050027, 14.772896},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(*c.r.Est, c.est, 5e-6);
        EXPECT_NEAR(*c.r.Var, c.var, 5e-6);
        EXPECT_NEAR(*c.r.L95, c.lo, 1e-5);
        EXPECT_NEAR(*c.r.U95, c.hi, 1e-5);
    }
}

TEST(RichnessEstimators, RareSpeciesCountsAndJointAbsenceBeyondOneWord) {
    CountTable t(3, 150);
    t(1, 1) = 1, t(2, 1) = 1, t(2, 130) = 1, t(3, 70) = 2;
    const IncidenceSummary inc = SummarizeIncidence(t);
    EXPECT_EQ(std::vector<int>({inc.NSingletons, inc.NDoubletons, inc.NUniques, inc.NDuplicates}),
              std::vector<int>({1, 2, 2, 1}));
    EXPECT_EQ(inc.JointAbsent(1, 2), 147);
    EXPECT_EQ(inc.JointAbsent(2, 0), 148);
}

TEST(RichnessEstimators, UndefinedCases) {
    // Without uniques or duplicates everything is S with undefined bounds.
    const IncidenceSummary common = Incidence(4, {{1, 2, 3}, {2, 3, 4}});
    for (const RichnessEstimate& r : {ChaoTwo(common, 3.18), FirstOrderJackknife(common, 3.18),
                                      SecondOrderJackknife(common, 3.18)}) {
        EXPECT_DOUBLE_EQ(*r.Est, 2.0);
        EXPECT_FALSE(r.L95 || r.U95);
    }
    // Q1 = 0, Q2 = 2, m = 4: below S, with a negative variance and so no SE.
    const RichnessEstimate below = SecondOrderJackknife(Incidence(4, {{1, 2}, {3, 4}, {1, 2, 3}}), 3.18);
    EXPECT_LT(*below.Est, 3.0);
    EXPECT_FALSE(StandardError(below.Var) || below.L95 || below.U95);
    // m = 2: B = 0, so S + Q1/2; m = 1: no second-order jackknife.
    EXPECT_DOUBLE_EQ(*SecondOrderJackknife(Incidence(2, {{1}, {2}, {1, 2}}), 12.71).Est, 4.0);
    EXPECT_FALSE(SecondOrderJackknife(Incidence(1, {{1}, {1}}), 0).Est);
    // Bounds: both at E without spread, none without degrees of freedom.
    RichnessEstimate r{12.0, 0.0, std::nullopt, std::nullopt};
    LnNormalBounds(r, 10, 2.0);
    EXPECT_DOUBLE_EQ(*r.L95 + *r.U95, 24.0);
    LnNormalBounds(r, 10, 0.0);
    EXPECT_FALSE(r.L95 || StandardError(std::nan("")));
}

TEST(StudentT, Table) {
    const std::pair<int, double> cases[] = {
        {-3, 0},    {0, 0},     {1, 12.71}, {3, 3.18},  {18, 2.10}, {20, 2.09},  {21, 2.08},
        {23, 2.07}, {26, 2.06}, {29, 2.05}, {32, 2.04}, {37, 2.03}, {40, 2.02},  {45, 2.01},
        {68, 2.00}, {95, 1.99}, {158, 1.98}, {200, 1.97}, {472, 1.97}, {473, 1.96}, {500, 1.96}};
    for (auto [df, t] : cases) EXPECT_DOUBLE_EQ(StudentT975(df), t) << "df " << df;
}
