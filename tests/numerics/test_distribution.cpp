// Distribution statistics of the species' Thetas and abundances.
#include <gtest/gtest.h>

#include <cmath>

#include "numerics/DistributionStats.h"

using namespace tivelor::numerics;

namespace {

DistributionStatistics Stats(std::vector<double> theta, std::vector<double> abund, std::vector<double> detect) {
    SpeciesSpread s{std::move(theta), std::move(abund), std::move(detect), 0};
    for (double d : s.DetectProb) s.ESR += 1 / d;
    return ComputeDistributionStatistics(s);
}

double InvLogit(double l) { return std::exp(l) / (1 + std::exp(l)); }

}  // namespace

TEST(DistributionStatistics, WorkedValues) {
    const DistributionStatistics d = Stats({0.2, 0.4}, {10, 20}, {0.5, 1});
    EXPECT_NEAR(d.ThetaMeanEst, 0.3, 1e-12);
    EXPECT_NEAR(d.ThetaVarEst, 0.02, 1e-12);
    EXPECT_NEAR(d.ThetaMeanInf, 4.0 / 15, 1e-12);
    EXPECT_NEAR(d.ThetaVarInf, 1.0 / 75, 1e-12);
    EXPECT_NEAR(std::fabs(*d.CorLogitThetaLnUA), 1, 1e-12);   // two species: no SE
    EXPECT_FALSE(d.CorLogitThetaLnUASE);

    const DistributionStatistics c = Stats({InvLogit(-1), InvLogit(0), InvLogit(1)},
                                           {std::exp(1.0), std::exp(2.0), std::exp(4.0)}, {1, 1, 1});
    EXPECT_NEAR(*c.CorLogitThetaLnUA, 0.98198, 5e-6);
    EXPECT_NEAR(*c.CorLogitThetaLnUASE, 0.18898, 5e-6);
    EXPECT_NEAR(c.LnAbundVarInf, c.LnAbundVarEst, 1e-9);   // every D = 1

    // With more species the division by n - 2 stays inside the root.
    const DistributionStatistics f = Stats({0.1, 0.3, 0.2, 0.6, 0.5}, {3, 8, 30, 12, 100}, {1, 1, 1, 1, 1});
    const double r = *f.CorLogitThetaLnUA;
    EXPECT_NEAR(*f.CorLogitThetaLnUASE, std::sqrt((1 - r * r) / 3), 1e-12);
}

TEST(DistributionStatistics, NoSpreadGivesZeroVariancesAndUndefinedCorrelation) {
    for (const DistributionStatistics& d : {Stats({0.3}, {50}, {0.4}), Stats({0.7, 0.7, 0.7}, {9, 9, 9}, {0.3, 0.6, 0.9})}) {
        for (double v : {d.ThetaVarEst, d.LogitThetaVarEst, d.AbundVarEst, d.LnAbundVarEst, d.ThetaVarInf,
                         d.LogitThetaVarInf, d.AbundVarInf, d.LnAbundVarInf})
            EXPECT_EQ(v, 0.0);
        EXPECT_FALSE(d.CorLogitThetaLnUA || d.CorLogitThetaLnUASE);
    }
    // A Theta of 0 counts as Logit[Theta] -18.42.
    EXPECT_NEAR(Stats({0.0, 0.5}, {4, 9}, {1, 1}).LogitThetaMeanEst, -9.21, 1e-12);
}
