// Distribution statistics of the species' Thetas and abundances.
#include <gtest/gtest.h>

#include <cmath>

#include "model/DistributionStats.h"

using namespace tivelor;

namespace {

SpeciesSpread Spread(std::vector<double> theta, std::vector<double> abund,
                     std::vector<double> detect) {
    SpeciesSpread s{std::move(theta), std::move(abund), std::move(detect), 0};
    for (double d : s.DetectProb) s.ESR += 1 / d;
    return s;
}

}  // namespace

TEST(DistributionStatistics, EstimatedAndInferredTheta) {
    const DistributionStatistics d =
        ComputeDistributionStatistics(Spread({0.2, 0.4}, {10, 20}, {0.5, 1}));
    EXPECT_NEAR(d.ThetaMeanEst, 0.3, 1e-12);
    EXPECT_NEAR(d.ThetaVarEst, 0.02, 1e-12);
    EXPECT_NEAR(d.ThetaMeanInf, 4.0 / 15, 1e-12);
    EXPECT_NEAR(d.ThetaVarInf, 1.0 / 75, 1e-12);
    // Two species: a correlation of plus or minus 1 and no SE.
    ASSERT_TRUE(d.CorLogitThetaLnUA);
    EXPECT_NEAR(std::fabs(*d.CorLogitThetaLnUA), 1, 1e-12);
    EXPECT_FALSE(d.CorLogitThetaLnUASE);
}

TEST(DistributionStatistics, CorrelationAndItsStandardError) {
    // Logits -1, 0, 1 and Ln abundances 1, 2, 4.
    auto inv = [](double l) { return std::exp(l) / (1 + std::exp(l)); };
    const DistributionStatistics d = ComputeDistributionStatistics(Spread(
        {inv(-1), inv(0), inv(1)}, {std::exp(1.0), std::exp(2.0), std::exp(4.0)}, {1, 1, 1}));
    ASSERT_TRUE(d.CorLogitThetaLnUA && d.CorLogitThetaLnUASE);
    EXPECT_NEAR(*d.CorLogitThetaLnUA, 0.98198, 5e-6);
    EXPECT_NEAR(*d.CorLogitThetaLnUASE, 0.18898, 5e-6);
    // With every detection probability 1 the inferred values are the estimated ones.
    EXPECT_NEAR(d.LogitThetaMeanInf, d.LogitThetaMeanEst, 1e-12);
    EXPECT_NEAR(d.LnAbundVarInf, d.LnAbundVarEst, 1e-9);
    EXPECT_NEAR(d.AbundMeanInf, d.AbundMeanEst, 1e-9);
}

TEST(DistributionStatistics, StandardErrorOfTheCorrelationDividesInsideTheRoot) {
    // Five species: SE = Sqr((1 - r^2)/(n - 2)).
    const DistributionStatistics d = ComputeDistributionStatistics(
        Spread({0.1, 0.3, 0.2, 0.6, 0.5}, {3, 8, 30, 12, 100}, {1, 1, 1, 1, 1}));
    ASSERT_TRUE(d.CorLogitThetaLnUA && d.CorLogitThetaLnUASE);
    const double r = *d.CorLogitThetaLnUA;
    EXPECT_NEAR(*d.CorLogitThetaLnUASE, std::sqrt((1 - r * r) / 3), 1e-12);
}

TEST(DistributionStatistics, SingleSpeciesHasZeroVariances) {
    const DistributionStatistics d = ComputeDistributionStatistics(Spread({0.3}, {50}, {0.4}));
    EXPECT_DOUBLE_EQ(d.ThetaMeanEst, 0.3);
    for (double v : {d.ThetaVarEst, d.LogitThetaVarEst, d.AbundVarEst, d.LnAbundVarEst,
                     d.ThetaVarInf, d.LogitThetaVarInf, d.AbundVarInf, d.LnAbundVarInf})
        EXPECT_EQ(v, 0.0);
    EXPECT_NEAR(d.ThetaMeanInf, 0.3, 1e-12);
    EXPECT_FALSE(d.CorLogitThetaLnUA);
    EXPECT_FALSE(d.CorLogitThetaLnUASE);
}

TEST(DistributionStatistics, CertainSingleSpeciesAndEqualSpecies) {
    // ESR = 1: the inferred variance has no value by its formula and is 0.
    const DistributionStatistics one = ComputeDistributionStatistics(Spread({0.3}, {50}, {1}));
    EXPECT_EQ(one.ThetaVarInf, 0.0);
    // Equal species: no spread, no correlation; rounding never makes a variance negative.
    const DistributionStatistics same =
        ComputeDistributionStatistics(Spread({0.1, 0.1, 0.1}, {7, 7, 7}, {0.3, 0.3, 0.3}));
    EXPECT_GE(same.ThetaVarInf, 0.0);
    EXPECT_GE(same.ThetaVarEst, 0.0);
    EXPECT_FALSE(same.CorLogitThetaLnUA);
}

TEST(DistributionStatistics, ThetaOfZeroCountsAsLogitMinus1842) {
    EXPECT_DOUBLE_EQ(ReportLogit(0), -18.42);
    EXPECT_DOUBLE_EQ(ReportLogit(1), 18.42);
    EXPECT_NEAR(ReportLogit(0.5), 0, 1e-15);
    const DistributionStatistics d =
        ComputeDistributionStatistics(Spread({0.0, 0.5}, {4, 9}, {1, 1}));
    EXPECT_NEAR(d.LogitThetaMeanEst, -9.21, 1e-12);
    EXPECT_TRUE(std::isfinite(d.LogitThetaVarEst));
    EXPECT_TRUE(std::isfinite(d.LogitThetaMeanInf));
}
