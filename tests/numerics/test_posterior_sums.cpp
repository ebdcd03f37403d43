// Log-space sums of node weights, the moving weight reference and the
// correlation under a grid density.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numerics/PosteriorSums.h"

namespace {

using tivelor::numerics::InnerNodeCorrelation;
using tivelor::numerics::LogWeightSum;
using tivelor::numerics::MarginalNegLnL;
using tivelor::numerics::WeightReference;

TEST(LogWeightSum, AgreesWithTheDirectSumAndSurvivesOverflow) {
    LogWeightSum s;
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(MarginalNegLnL(s, 1E+20), 1E+20);
    // In any order, -ln of exp(-1) + exp(-2) + exp(0.5).
    for (const std::vector<double>& xs : {std::vector<double>{-1, -2, 0.5}, {0.5, -2, -1}}) {
        s.Clear();
        for (double x : xs) s.Add(x);
        EXPECT_NEAR(MarginalNegLnL(s, 1E+20), -std::log(std::exp(-1.0) + std::exp(-2.0) + std::exp(0.5)), 1E-15);
    }
    // Weights of exp(1000) and exp(1001), and of exp(-1000) twice.
    s.Clear();
    s.Add(1000);
    s.Add(1001);
    EXPECT_NEAR(s.Log(), 1001 + std::log1p(std::exp(-1.0)), 1E-12);
    s.Clear();
    s.Add(-1000);
    s.Add(-1000);
    EXPECT_NEAR(MarginalNegLnL(s, 1E+20), 1000 - std::log(2.0), 1E-12);
    // Nodes without a value carry no weight.
    s.Clear();
    s.Add(std::nan(""));
    s.Add(-HUGE_VAL);
    EXPECT_EQ(MarginalNegLnL(s, 1E+20), 1E+20);
    s.Add(0);
    EXPECT_EQ(MarginalNegLnL(s, 1E+20), 0);
}

TEST(WeightReference, MovesDownToAFarNodeAndRescalesStoredWeights) {
    WeightReference r{2000};
    std::vector<double> stored;
    auto rescale = [&](double d) {
        for (double& w : stored) w = WeightReference::Rescaled(w, d);
    };
    stored.push_back(r.Weight(1999, rescale));
    EXPECT_NEAR(stored[0], std::exp(1.0), 1E-12);
    stored.push_back(r.Weight(1301, rescale));   // 699 below: no move
    EXPECT_EQ(r.ref, 2000);
    EXPECT_NEAR(std::log(stored[1]), 699, 1E-9);
    stored.push_back(r.Weight(1250, rescale));   // 750 below: the reference moves
    EXPECT_EQ(r.ref, 1250);
    EXPECT_EQ(stored[2], 1);
    // exp(699) x exp(-750): the factor alone would underflow to 0.
    EXPECT_NEAR(std::log(stored[1]), -51, 1E-9);
    EXPECT_EQ(stored[0], 0);
    EXPECT_NEAR(r.Weight(1260, rescale), std::exp(-10.0), 1E-18);
}

// Correlation of the inner nodes of exp(-x'S^-1 x / 2), S = [[1, .5], [.5, 1]],
// on a 25 x 25 grid of steps 1/3 and 7/24: 0.4979396 (computed independently).
TEST(InnerNodeCorrelation, OfACorrelatedNormalOnItsGrid) {
    platform::Vec<double> x(25), y(25);
    platform::Matrix<double> d(25, 25);
    for (long i = 1; i <= 25; ++i) {
        x(i) = static_cast<double>(i - 13) / 3;
        y(i) = static_cast<double>(i - 13) * 7 / 24;
    }
    for (long i = 1; i <= 25; ++i)
        for (long j = 1; j <= 25; ++j)
            d(i, j) = std::exp(-0.5 * (x(i) * x(i) - x(i) * y(j) + y(j) * y(j)) / 0.75);
    const auto r = InnerNodeCorrelation(x, y, d, 25, 25);
    ASSERT_TRUE(r);
    EXPECT_NEAR(*r, 0.4979396, 1E-7);
    // The outer ring carries no weight in the sums.
    for (long k = 1; k <= 25; ++k) d(1, k) = d(25, k) = d(k, 1) = d(k, 25) = 1E+6;
    EXPECT_NEAR(*InnerNodeCorrelation(x, y, d, 25, 25), 0.4979396, 1E-7);
    // An even density: 0; a single inner row: no variance, no value.
    d.Fill(2);
    EXPECT_NEAR(*InnerNodeCorrelation(x, y, d, 25, 25), 0, 1E-12);
    EXPECT_FALSE(InnerNodeCorrelation(x, y, d, 25, 3));
    d.Fill(0);
    EXPECT_FALSE(InnerNodeCorrelation(x, y, d, 25, 25));
}

}  // namespace
