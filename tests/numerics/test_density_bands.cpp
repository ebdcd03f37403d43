// Rules of the density plot: the colour bands, the rounding of the widened
// area and the correlation under a gridded density (the windows' tests
// cover the rest).
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "numerics/DistributionPlotMath.h"

using namespace tivelor::numerics;

TEST(DistributionPlotMath, BandsByStandardErrors) {
    // Each test is strict: a density on a bound falls in the band above it.
    const double d[] = {1.0, std::nextafter(1.0, 0.0), std::nextafter(std::exp(-0.125), 0.0), std::exp(-0.5), 0.6,
                        0.2, 0.1, std::exp(-4.5), 0.005, 0, -0.1, 1.2, std::nan("")};
    const int band[] = {12, 6, 14, 14, 2, 3, 1, 5, 15, 15, 15, 0, 0};
    for (int k = 0; k < 13; ++k) EXPECT_EQ(DensityBandColour(d[k]), band[k]) << d[k];
}

TEST(DistributionPlotMath, HalvesGoToEvenInTheWidenedArea) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    // 1001 nodes: half a spacing is 3.96 twips across, 3.12 down.
    const DensityArea a = WidenedDensityArea(1001, 1001);
    EXPECT_TRUE(a.Left == 716 && a.Top == 477);
}

TEST(DistributionPlotMath, CorrelationUnderAGriddedDensity) {
    // x, y in {0, 1} with weights 2 on the diagonal and 1 off it: means 1/2,
    // variances 1/4, covariance 2/6 - 1/4 = 1/12, so r = 1/3.
    DensityMoments m;
    m.Add(0, 0, 2);
    m.Add(1, 1, 2);
    m.Add(0, 1, 1);
    m.Add(1, 0, 1);
    EXPECT_NEAR(*DensityCorrelation(m, 2, 2), 1.0 / 3, 1e-14);
    EXPECT_FALSE(DensityCorrelation(m, 1, 2).has_value());
    EXPECT_FALSE(DensityCorrelation(m, 2, 1).has_value());
    EXPECT_FALSE(DensityCorrelation(DensityMoments{}, 5, 5).has_value());
    // Weight on a line: no spread in Y.
    DensityMoments line;
    for (int i = 0; i < 5; ++i) line.Add(i * 0.1, 3.3, 1);
    EXPECT_FALSE(DensityCorrelation(line, 5, 5).has_value());
}

TEST(DistributionPlotMath, RoundingResiduesGiveNoCorrelation) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-5, 5), step(0.001, 0.7), dens(0.01, 3);
    for (int trial = 0; trial < 300; ++trial) {
        const double x0 = u(gen), dx = step(gen), y0 = u(gen), dy = step(gen), d = dens(gen);
        // A constant density over a block of at least 2 x 2 nodes: r is 0,
        // never -0.
        const int cols = 2 + trial % 9, rows = 2 + (trial / 9) % 7;
        DensityMoments m;
        for (int i = 0; i < cols; ++i)
            for (int j = 0; j < rows; ++j) m.Add(x0 + i * dx, y0 + j * dy, d);
        const auto r = DensityCorrelation(m, cols, rows);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(*r, 0.0);
        EXPECT_FALSE(std::signbit(*r));
    }
}
