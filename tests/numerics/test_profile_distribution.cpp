// Profile distribution statistics against densities whose moments are known.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "numerics/ProfileDistribution.h"

namespace tivelor::numerics {
namespace {

struct Table {
    long n;
    platform::Vec<double> X, NegLnL, PDF, Cum, CIMode, CIMean, Norm;
    double Mean = -99, Diff = 0, SD = -99;
    Table(long points, double x0, double step, const std::function<double(double)>& negLnL) : n(points) {
        for (auto* v : {&X, &NegLnL, &PDF, &CIMode, &CIMean, &Norm}) v->ReDim(n);
        for (long k = 1; k <= n; ++k) {
            X(k) = x0 + step * static_cast<double>(k - 1);
            NegLnL(k) = negLnL(X(k)) + 7;   // any offset: only differences count
        }
    }
    void Run(long mode, double step, double ev = 0) {
        ProfileDistribution({n, X, NegLnL, PDF, Cum, CIMode, CIMean, Norm}, ev, Mean, Diff, SD, mode, step);
    }
};

TEST(ProfileDistribution, NormalProfileGivesItsMomentsAndSymmetricConfidence) {
    // N(10, 2) on 0..20 by 0.2.
    Table t(101, 0, 0.2, [](double x) { return (x - 10) * (x - 10) / 8; });
    t.Run(51, 0.2, 10.5);
    EXPECT_NEAR(t.Mean, 10, 1E-9);
    EXPECT_NEAR(t.SD, 1.9999851, 1E-7);
    EXPECT_NEAR(t.PDF(51), 0.1994713, 1E-7);
    EXPECT_NEAR(t.Norm(51), 1 / (std::sqrt(2 * M_PI) * t.SD), 1E-12);
    EXPECT_NEAR(t.Diff, 0.5, 1E-9);
    EXPECT_EQ(t.NegLnL(51), 0);
    EXPECT_EQ(t.Cum(101), 1);
    for (long k = 1; k <= 101; ++k) EXPECT_EQ(t.CIMode(k), t.CIMean(k)) << k;
    EXPECT_EQ(t.CIMode(51), 0);
    EXPECT_NEAR(t.CIMode(41), t.CIMode(61), 0.02);   // each side scaled by its own half
    // The table now holds differences from the mode: a second call agrees.
    const double mean = t.Mean, sd = t.SD, pdf = t.PDF(30);
    t.Run(51, 0.2, 10.5);
    EXPECT_EQ(std::make_tuple(t.Mean, t.SD, t.PDF(30)), std::make_tuple(mean, sd, pdf));
}

TEST(ProfileDistribution, ModeAtTheFirstPointLeavesItsConfidenceColumnAlone) {
    // Exponential with mean 4 on 0..40 by 0.4.
    Table t(101, 0, 0.4, [](double x) { return x / 4; });
    t.CIMode(5) = -1;
    t.Run(1, 0.4);
    EXPECT_NEAR(t.Mean, 3.998175, 1E-6);
    EXPECT_NEAR(t.SD, 3.990922, 1E-6);
    EXPECT_NEAR(t.PDF(1), 0.250011, 1E-6);
    EXPECT_EQ(t.CIMode(5), -1);
    EXPECT_EQ(t.CIMean(11), 0);   // x = 4.0 is the point nearest the mean
    EXPECT_GT(t.CIMean(10), 0);
}

TEST(ProfileDistribution, ThreePointsAndAnEvenCount) {
    Table t(3, -1, 1, [](double x) { return x * x / 2; });
    t.Run(2, 1);
    const double e = std::exp(-0.5), area = 2.0 / 6 * (2 * e + 4);
    EXPECT_NEAR(area, 1.7376871, 1E-7);
    EXPECT_NEAR(t.Mean, 0, 1E-15);
    EXPECT_NEAR(t.SD, 0.4823863, 1E-7);
    const double pdf[] = {0.3490448, 0.5754776, 0.3490448}, cum[] = {0.3490448, 0.9245224, 1},
                 ci[] = {0.6224593, 0, 1}, norm[] = {0.0964578, 0.8270183, 0.0964578};
    for (long k = 1; k <= 3; ++k) {
        EXPECT_NEAR(t.PDF(k), pdf[k - 1], 1E-7);
        EXPECT_NEAR(t.Cum(k), cum[k - 1], 1E-7);
        EXPECT_NEAR(t.CIMode(k), ci[k - 1], 1E-7);
        EXPECT_NEAR(t.Norm(k), norm[k - 1], 1E-7);
    }
    Table wide(17, -4, 0.5, [](double x) { return x * x / 2; });
    wide.Run(9, 0.5);
    EXPECT_NEAR(1 / wide.PDF(9), 2.5064602, 1E-7);
    EXPECT_NEAR(wide.SD, 0.9994461, 1E-7);

    // With four points the last takes no part in the sums and its cumulative row stays 0.
    Table even(4, -1, 1, [](double x) { return x * x / 2; });
    even.Run(2, 1);
    EXPECT_NEAR(even.Mean, 0, 1E-15);
    EXPECT_NEAR(even.PDF(4), std::exp(-2) / area, 1E-12);
    EXPECT_EQ(even.Cum(4), 0);

    // A flat profile sampled at one point pair keeps Mean and SD when the area is 0.
    Table flat(3, 0, 1, [](double) { return 0; });
    flat.NegLnL(1) = flat.NegLnL(2) = flat.NegLnL(3) = 800;
    flat.NegLnL(2) = 0;
    flat.PDF(1) = 5;
    flat.Run(2, -1);   // a negative step makes the area negative
    EXPECT_EQ(std::make_tuple(flat.Mean, flat.SD), std::make_tuple(-99.0, -99.0));
}

}  // namespace
}  // namespace tivelor::numerics
