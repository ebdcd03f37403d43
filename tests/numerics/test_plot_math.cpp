// Statistics of a plotted series, the densities of the plot pages and their
// axis rules, against values worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numerics/Densities.h"
#include "numerics/PlotAxes.h"
#include "numerics/PlotStats.h"

namespace {

using namespace tivelor::numerics;

PlotSums Sums(const std::vector<double>& x, const std::vector<double>& y) {
    PlotSums s;
    for (std::size_t i = 0; i < x.size(); ++i) s.Add(x[i], y[i]);
    return s;
}

TEST(PlotStatistics, GuardsEveryDivision) {
    // s is Sqr(1 - r^2) / (n - 2), the root taken before the division: 0.2108 here.
    PlotStatistics st = ComputePlotStatistics(Sums({1, 2, 3, 4, 5}, {2, 4, 5, 4, 5}));
    EXPECT_NEAR(st.r * st.r, 0.6, 1e-12);
    EXPECT_NEAR(st.s, std::sqrt(0.4) / 3, 1e-12);
    // A constant Y has no correlation: r 0 and s 1 / (n - 2).
    st = ComputePlotStatistics(Sums({1, 2, 3, 4, 5, 6}, {3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(st.r, 0);
    EXPECT_DOUBLE_EQ(st.s, 0.25);
    EXPECT_EQ(st.SDY, 0);
    // A straight line: r 1, s 0.
    st = ComputePlotStatistics(Sums({1, 2, 3}, {2, 4, 6}));
    EXPECT_NEAR(st.r, 1, 1e-12);
    EXPECT_LT(st.s, 1e-6);
    // Two points: no r, s or spread of Y; all Y 0: no weighted X; no points: nothing.
    st = ComputePlotStatistics(Sums({0, 0.1}, {1, 2}));
    EXPECT_TRUE(st.r == 0 && st.s == 0 && st.SDY == 0 && st.WDefined);
    EXPECT_FALSE(ComputePlotStatistics(Sums({1, 2, 3}, {0, 0, 0})).WDefined);
    st = ComputePlotStatistics(PlotSums{});
    EXPECT_TRUE(st.r == 0 && st.s == 0 && !st.WDefined);
}

TEST(Densities, NormalAndBetaByMoments) {
    EXPECT_NEAR(NormalDensity(1, 0, 4), 0.176033, 5e-7);
    const BetaShape s = BetaFromMoments(0.3, 0.1);
    ASSERT_TRUE(s.ok);
    EXPECT_NEAR(s.a, 6, 1e-9);
    EXPECT_NEAR(s.b, 14, 1e-9);
    EXPECT_NEAR(BetaDensity(0.3, 0.3, 0.1), 3.832780, 5e-7);
    EXPECT_NEAR(BetaDensity(0.1, 0.3, 0.1), 0.413795, 5e-7);
    // Beta(1, 1) is flat.
    EXPECT_NEAR(BetaDensity(0.77, 0.5, std::sqrt(1.0 / 12)), 1, 1e-8);
}

TEST(Densities, NoBetaWithoutAFittingMeanAndVariance) {
    EXPECT_FALSE(BetaFromMoments(0.3, 0).ok);
    EXPECT_FALSE(BetaFromMoments(0, 0.1).ok);
    EXPECT_FALSE(BetaFromMoments(1, 0.1).ok);
    // Variance at and above Mean * (1 - Mean) = 0.21.
    EXPECT_FALSE(BetaFromMoments(0.3, std::sqrt(0.21)).ok);
    EXPECT_TRUE(BetaFromMoments(0.3, 0.45).ok);
    EXPECT_EQ(BetaDensity(0.5, 0.3, 0.5), 0);
}

// The plot pages' shape is their own arithmetic to the last bit, not the
// priors' (K = m - m² - s², a = m·K/s²): the two differ in the last bits of
// most shapes, and where SD² is near Mean·(1 - Mean) in the sign of a.
TEST(Densities, BetaShapeByThePlotPagesArithmetic) {
    const double cases[][2] = {{0.3, 0.1}, {0.6, 0.3}, {0.25, 0.2}, {0.123, 0.0456}, {0.9, 0.01}};
    for (const auto& [m, sd] : cases) {
        const BetaShape s = BetaFromMoments(m, sd);
        const double a = m * m * (1 - m) / (sd * sd) - m;
        EXPECT_EQ(s.a, a) << m << " " << sd;
        EXPECT_EQ(s.b, (1 - m) * a / m) << m << " " << sd;
    }
    EXPECT_EQ(BetaFromMoments(0.3, 0.1).a, 5.999999999999999);   // the priors' rule gives 5.999999999999998
    EXPECT_EQ(BetaFromMoments(0.6, 0.3).a, 0.9999999999999999);  // and 1 here
    // a is 0 (the priors' rule: 9.3E-17), so no density is drawn ...
    EXPECT_FALSE(BetaFromMoments(0.7, std::sqrt(0.21)).ok);
    // ... and 2.8E-17 (the priors' rule: 0), so one is.
    EXPECT_TRUE(BetaFromMoments(0.1, 0.3).ok);
    EXPECT_GT(BetaFromMoments(0.1, 0.3).a, 0);
}

TEST(PlotAxes, RoundsRangeTextsToSixDecimals) {
    EXPECT_DOUBLE_EQ(RoundTo6(1.0000006), 1.000001);
    EXPECT_DOUBLE_EQ(RoundTo6(-0.0000006), -0.000001);   // rounds down, not towards 0
    EXPECT_DOUBLE_EQ(RoundTo6(-0.0000004), 0);
}

TEST(PlotAxes, DensityPageAxisInWholeSDs) {
    // Deviations from (0, 1): -2.5 0 1; from (1, 4): -1.75 -0.5 0.
    AxisRange a = DensityPageAxis({-2.5, 0, 1}, {0, 1}, {1, 4});
    EXPECT_TRUE(a.L == -7 && a.H == 7);
    // Within 2 SD of both: mean - 3 SD to mean + 3 SD.
    a = DensityPageAxis({0.5}, {0, 1}, {0, 0.25});
    EXPECT_TRUE(a.L == -3 && a.H == 3);
    // Only the pair with a variance counts; with neither, the values' range
    // widened by 1 (values that are not finite ignored), or -1 to 1.
    a = DensityPageAxis({2}, {100, 0}, {2, 1});
    EXPECT_TRUE(a.L == -1 && a.H == 5);
    a = DensityPageAxis({-18.42, 0.5, 3, -INFINITY}, {0, 0}, {1, -1});
    EXPECT_TRUE(a.L == -19.42 && a.H == 4);
    a = DensityPageAxis({}, {0, 0}, {0, 0});
    EXPECT_TRUE(a.L == -1 && a.H == 1);
}

TEST(PlotAxes, ThetaRecordsTakeBordersToTheLowerRecord) {
    auto centre = [](long r) { return static_cast<double>(r) / 10000; };
    const platform::Vec<double> n =
        PlaceOnRecords({0, 0.00005, 1, 0.00015, 0.5, -0.0001, 1.001, NAN}, 10000, centre, 0.5 / 10000);
    EXPECT_EQ(n(0), 2);       // 0 and the border value 0.00005
    EXPECT_EQ(n(1), 3);       // record 0's count added, plus 0.00015 on the border of 1 and 2
    EXPECT_EQ(n(2), 0);
    EXPECT_EQ(n(5000), 1);
    EXPECT_EQ(n(10000), 1);
    double total = 0;
    for (double c : n) total += c;
    EXPECT_EQ(total, 7);      // -0.0001, 1.001 and NaN lie in no cell
}

TEST(PlotAxes, TheCurveLevelsAtTheFirstStepAddingNothing) {
    platform::Vec<double> incr(6);
    for (long i = 1; i <= 6; ++i) incr(i) = i <= 3 ? 4 - i : 0;   // 3 2 1 0 0 0
    EXPECT_EQ(LevellingStep(incr, 6), 4);
    for (long i = 1; i <= 6; ++i) incr(i) = 1;
    EXPECT_EQ(LevellingStep(incr, 6), 6);
    EXPECT_EQ(LevellingStep(platform::Vec<double>(0), 0), 0);
}

}  // namespace
