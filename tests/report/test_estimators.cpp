// Classical richness estimators, the t table and the ln-normal bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model/Estimators.h"

using namespace tivelor;

namespace {

// Species present (count 1) in the listed quadrats.
CountTable Incidence(int m, const std::vector<std::set<int>>& species) {
    CountTable t(static_cast<int>(species.size()), m);
    for (std::size_t i = 0; i < species.size(); ++i)
        for (int q : species[i]) t(static_cast<int>(i) + 1, q) = 1;
    return t;
}

// 4 quadrats, 5 species in {1}, {3}, {1,2}, {1,3,4}, {1,2,3,4}.
IncidenceSummary WorkedExample() {
    return SummarizeIncidence(Incidence(4, {{1}, {3}, {1, 2}, {1, 3, 4}, {1, 2, 3, 4}}));
}

}  // namespace

TEST(RichnessEstimators, WorkedExample) {
    const IncidenceSummary inc = WorkedExample();
    EXPECT_EQ(inc.NUniques, 2);
    EXPECT_EQ(inc.NDuplicates, 1);
    EXPECT_EQ(inc.JointAbsent(0, 1), 2);   // neither {1} nor {3}: quadrats 2 and 4
    const double t = StudentT975(inc.m - 1);
    EXPECT_DOUBLE_EQ(t, 3.18);

    const RichnessEstimate chao = ChaoTwo(inc, t);
    EXPECT_DOUBLE_EQ(*chao.Est, 7.0);
    EXPECT_DOUBLE_EQ(*chao.Var, 14.0);
    EXPECT_NEAR(*chao.L95, 5.040485, 1e-6);
    EXPECT_NEAR(*chao.U95, 103.802774, 1e-6);

    const RichnessEstimate j1 = FirstOrderJackknife(inc, t);
    EXPECT_DOUBLE_EQ(*j1.Est, 6.5);
    EXPECT_NEAR(*j1.Var, 2.625, 1e-12);
    EXPECT_NEAR(*j1.L95, 5.091561, 1e-6);
    EXPECT_NEAR(*j1.U95, 29.573725, 1e-6);

    const RichnessEstimate j2 = SecondOrderJackknife(inc, t);
    EXPECT_NEAR(*j2.Est, 7.16667, 5e-6);
    EXPECT_NEAR(*j2.Var, 5.40278, 5e-6);
    EXPECT_NEAR(*j2.U95, 40.028229, 1e-5);

    const RichnessEstimate boot = BootstrapEstimate(inc, t);
    EXPECT_NEAR(*boot.Est, 5.69922, 5e-6);
    EXPECT_NEAR(*boot.Var, 0.48375, 5e-6);
    EXPECT_NEAR(*boot.L95, 5.050027, 1e-6);
    EXPECT_NEAR(*boot.U95, 14.772896, 1e-6);
}

TEST(RichnessEstimators, CountsAndSingletonsFromTheMatrix) {
    CountTable t(3, 3);
    t(1, 1) = 1;               // singleton, unique
    t(2, 1) = 1, t(2, 3) = 1;  // doubleton, duplicate
    t(3, 2) = 2;               // doubleton, unique
    const IncidenceSummary inc = SummarizeIncidence(t);
    EXPECT_EQ(inc.NSingletons, 1);
    EXPECT_EQ(inc.NDoubletons, 2);
    EXPECT_EQ(inc.NUniques, 2);
    EXPECT_EQ(inc.NDuplicates, 1);
}

TEST(RichnessEstimators, JointAbsenceAcrossManyQuadrats) {
    // More quadrats than one machine word holds.
    std::set<int> a, b;
    for (int q = 1; q <= 150; q += 2) a.insert(q);
    for (int q = 1; q <= 150; q += 3) b.insert(q);
    const IncidenceSummary inc = SummarizeIncidence(Incidence(150, {a, b}));
    int neither = 0;
    for (int q = 1; q <= 150; ++q) neither += !a.count(q) && !b.count(q);
    EXPECT_EQ(inc.JointAbsent(0, 1), neither);
    EXPECT_EQ(inc.JointAbsent(1, 0), neither);
}

TEST(RichnessEstimators, WithoutRareSpeciesEverythingIsSAndUndefinedBounds) {
    // Every species in three of four quadrats: Q1 = Q2 = 0.
    const IncidenceSummary inc = SummarizeIncidence(Incidence(4, {{1, 2, 3}, {2, 3, 4}}));
    const double t = StudentT975(3);
    for (const RichnessEstimate& r :
         {ChaoTwo(inc, t), FirstOrderJackknife(inc, t), SecondOrderJackknife(inc, t)}) {
        EXPECT_DOUBLE_EQ(*r.Est, 2.0);
        EXPECT_FALSE(r.L95);
        EXPECT_FALSE(r.U95);
    }
    EXPECT_DOUBLE_EQ(*ChaoTwo(inc, t).Var, 0.0);
}

TEST(RichnessEstimators, SecondOrderJackknifeBelowSHasNoSEOrBounds) {
    // Q1 = 0, Q2 = 2 with m = 4: the estimate falls below S and the variance is negative.
    const IncidenceSummary inc = SummarizeIncidence(Incidence(4, {{1, 2}, {3, 4}, {1, 2, 3}}));
    const RichnessEstimate r = SecondOrderJackknife(inc, StudentT975(3));
    EXPECT_LT(*r.Est, 3.0);
    EXPECT_LT(*r.Var, 0.0);
    EXPECT_FALSE(StandardError(r.Var));
    EXPECT_FALSE(r.L95);
    EXPECT_FALSE(r.U95);
}

TEST(RichnessEstimators, FewQuadrats) {
    // m = 2: B = 0, so the second-order jackknife is S + Q1/2.
    const IncidenceSummary two = SummarizeIncidence(Incidence(2, {{1}, {2}, {1, 2}}));
    EXPECT_DOUBLE_EQ(*SecondOrderJackknife(two, StudentT975(1)).Est, 3.0 + 2.0 / 2);
    // m = 1: the second-order jackknife has no value; the others equal S.
    const IncidenceSummary one = SummarizeIncidence(Incidence(1, {{1}, {1}}));
    const RichnessEstimate j2 = SecondOrderJackknife(one, StudentT975(0));
    EXPECT_FALSE(j2.Est);
    EXPECT_FALSE(j2.Var);
    EXPECT_DOUBLE_EQ(*BootstrapEstimate(one, 0).Est, 2.0);
    EXPECT_DOUBLE_EQ(*FirstOrderJackknife(one, 0).Est, 2.0);
}

TEST(RichnessEstimators, SpeciesInEveryQuadratAddsNothingToTheBootstrap) {
    const IncidenceSummary inc = SummarizeIncidence(Incidence(3, {{1, 2, 3}, {1, 2, 3}}));
    const RichnessEstimate r = BootstrapEstimate(inc, StudentT975(2));
    EXPECT_DOUBLE_EQ(*r.Est, 2.0);
    EXPECT_DOUBLE_EQ(*r.Var, 0.0);
    EXPECT_FALSE(r.L95);
}

TEST(StudentT, Table) {
    const std::pair<int, double> cases[] = {
        {-3, 0},    {0, 0},     {1, 12.71}, {2, 4.30},  {3, 3.18},  {18, 2.10}, {19, 2.09},
        {20, 2.09}, {21, 2.08}, {23, 2.07}, {26, 2.06}, {29, 2.05}, {32, 2.04}, {37, 2.03},
        {40, 2.02}, {44, 2.02}, {45, 2.01}, {68, 2.00}, {95, 1.99}, {158, 1.98}, {200, 1.97},
        {472, 1.97}, {473, 1.96}, {500, 1.96}, {32767, 1.96}};
    for (auto [df, t] : cases) EXPECT_DOUBLE_EQ(StudentT975(df), t) << "df " << df;
}

TEST(LnNormal, BoundsAndStandardErrorsThatCannotBeFormed) {
    // Rounding below zero counts as 0; anything clearly negative has no SE.
    EXPECT_DOUBLE_EQ(*StandardError(0.0), 0.0);
    EXPECT_DOUBLE_EQ(*StandardError(2.25), 1.5);
    EXPECT_FALSE(StandardError(-0.5));
    EXPECT_FALSE(StandardError(std::nullopt));
    EXPECT_FALSE(StandardError(std::nan("")));

    RichnessEstimate r{10.0, 4.0, std::nullopt, std::nullopt};
    LnNormalBounds(r, 10, 2.0);   // E = S
    EXPECT_FALSE(r.L95);
    r.Est = 12.0;
    r.Var = -1.0;                 // negative variance
    LnNormalBounds(r, 10, 2.0);
    EXPECT_FALSE(r.U95);
    r.Var = 0.0;                  // no spread: both bounds at the estimate
    LnNormalBounds(r, 10, 2.0);
    EXPECT_DOUBLE_EQ(*r.L95, 12.0);
    EXPECT_DOUBLE_EQ(*r.U95, 12.0);
    LnNormalBounds(r, 10, 0.0);   // no degrees of freedom
    EXPECT_FALSE(r.L95);
    r.Var = std::numeric_limits<double>::infinity();
    LnNormalBounds(r, 10, 2.0);
    EXPECT_FALSE(r.U95);
}
