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

TEST(PlotStatistics, CorrelationItsStandardErrorAndTheSpreadOfY) {
    // X = 1..5, Y = 2 4 5 4 5: Sxx 10, Syy 6, Sxy 6.
    const PlotStatistics st = ComputePlotStatistics(Sums({1, 2, 3, 4, 5}, {2, 4, 5, 4, 5}));
    EXPECT_NEAR(st.r, 6 / std::sqrt(60.0), 1e-12);
    EXPECT_NEAR(st.s, std::sqrt(0.4 / 3), 1e-12);   // 0.3651, not 0.2108
    EXPECT_DOUBLE_EQ(st.MeanY, 4);
    EXPECT_NEAR(st.SDY * st.SDY, 1.5, 1e-12);
    // Y read as frequencies of X: mean 66/20, variance 252/20 - 3.3^2.
    EXPECT_TRUE(st.WDefined);
    EXPECT_NEAR(st.MeanX, 3.3, 1e-12);
    EXPECT_NEAR(st.W, 1.71, 1e-12);
}

TEST(PlotStatistics, GuardsEveryDivision) {
    // A constant Y: no correlation, s = Sqr(1 / (n - 2)), no spread.
    PlotStatistics st = ComputePlotStatistics(Sums({1, 2, 3, 4, 5, 6}, {3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(st.r, 0);
    EXPECT_DOUBLE_EQ(st.s, 0.5);
    EXPECT_EQ(st.SDY, 0);
    // A straight line: r 1 and s 0.
    st = ComputePlotStatistics(Sums({1, 2, 3}, {2, 4, 6}));
    EXPECT_NEAR(st.r, 1, 1e-12);
    EXPECT_LT(st.s, 1e-6);
    // Two points: only the weighted X figures.
    st = ComputePlotStatistics(Sums({0, 0.1}, {1, 2}));
    EXPECT_EQ(st.r, 0);
    EXPECT_EQ(st.MeanY, 0);
    EXPECT_NEAR(st.MeanX, 0.2 / 3, 1e-12);
    EXPECT_NEAR(st.W, 0.02 / 3 - (0.2 / 3) * (0.2 / 3), 1e-12);
    // All Y 0: no weighted figures at all; nothing at all without points.
    st = ComputePlotStatistics(Sums({1, 2, 3}, {0, 0, 0}));
    EXPECT_FALSE(st.WDefined);
    st = ComputePlotStatistics(PlotSums{});
    EXPECT_EQ(st.r, 0);
    EXPECT_EQ(st.s, 0);
    EXPECT_FALSE(st.WDefined);
    // Counts 1 2 1 of X = 1 2 3: mean 2, variance 0.5.
    st = ComputePlotStatistics(Sums({1, 2, 3}, {1, 2, 1}));
    EXPECT_DOUBLE_EQ(st.MeanX, 2);
    EXPECT_DOUBLE_EQ(st.W, 0.5);
    EXPECT_EQ(st.r, 0);
    EXPECT_DOUBLE_EQ(st.s, 1);
}

TEST(Densities, NormalAndBetaByMoments) {
    EXPECT_NEAR(NormalDensity(1, 0, 4), 0.176033, 5e-7);
    EXPECT_NEAR(NormalDensity(0, 0, 1), 1 / std::sqrt(2 * M_PI), 1e-12);
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
    EXPECT_FALSE(BetaFromMoments(0.3, 0.5).ok);
    EXPECT_TRUE(BetaFromMoments(0.3, 0.45).ok);
    EXPECT_EQ(BetaDensity(0.5, 0.3, 0.5), 0);
}

TEST(PlotAxes, RoundsRangeTextsToSixDecimals) {
    EXPECT_DOUBLE_EQ(RoundTo6(1.0000006), 1.000001);
    EXPECT_DOUBLE_EQ(RoundTo6(-0.0000006), -0.000001);   // rounds down, not towards 0
    EXPECT_DOUBLE_EQ(RoundTo6(-0.0000004), 0);
    EXPECT_DOUBLE_EQ(RoundTo6(0.1234564), 0.123456);
    EXPECT_DOUBLE_EQ(RoundTo6(10000), 10000);
}

TEST(PlotAxes, DensityPageAxisInWholeSDs) {
    // Deviations from (0, 1): -2.5 0 1; from (1, 4): -1.75 -0.5 0.
    const std::vector<double> values = {-2.5, 0, 1};
    const AxisRange a = DensityPageAxis(values, {0, 1}, {1, 4});
    EXPECT_DOUBLE_EQ(a.L, -7);
    EXPECT_DOUBLE_EQ(a.H, 7);
    const platform::Vec<double> n =
        PlaceOnRecords(values, 1000, [&](long r) { return a.L + r * (a.H - a.L) / 1000; }, 0.007);
    EXPECT_EQ(n(321), 1);
    EXPECT_EQ(n(500), 1);
    EXPECT_EQ(n(571), 1);
    double total = 0;
    for (double c : n) total += c;
    EXPECT_EQ(total, 3);
    // Within 2 SD of both: mean - 3 SD to mean + 3 SD.
    const AxisRange b = DensityPageAxis({0.5}, {0, 1}, {0, 0.25});
    EXPECT_DOUBLE_EQ(b.L, -3);
    EXPECT_DOUBLE_EQ(b.H, 3);
}

TEST(PlotAxes, DistributionsWithoutVarianceStayOutOfTheAxis) {
    // Only the inferred pair (2, 1) counts: -3 SD .. +3 SD.
    AxisRange a = DensityPageAxis({2}, {100, 0}, {2, 1});
    EXPECT_DOUBLE_EQ(a.L, -1);
    EXPECT_DOUBLE_EQ(a.H, 5);
    // Neither: the species' range widened by 1.
    a = DensityPageAxis({-18.42, 0.5, 3}, {0, 0}, {1, -1});
    EXPECT_DOUBLE_EQ(a.L, -19.42);
    EXPECT_DOUBLE_EQ(a.H, 4);
    a = DensityPageAxis({}, {0, 0}, {0, 0});
    EXPECT_DOUBLE_EQ(a.L, -1);
    EXPECT_DOUBLE_EQ(a.H, 1);
    // A value that is not finite is ignored.
    a = DensityPageAxis({-INFINITY, 1}, {0, 0}, {0, 0});
    EXPECT_DOUBLE_EQ(a.L, 0);
    EXPECT_DOUBLE_EQ(a.H, 2);
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
