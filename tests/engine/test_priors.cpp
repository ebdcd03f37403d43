// The prior penalty of the nine prior kinds and the normal probability.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestUtil.h"
#include "engine/Objective.h"
#include "engine/Priors.h"
#include "platform/headless/headless.h"
#include "shell/App.h"

using namespace tivelor;

namespace {

struct OnePrior {
    platform::headless::Session s;
    App app{s.ui};
    platform::Vec<double> X{1};
    OnePrior(const std::string& type, double m, double sd) {
        enginetest::MakeParameterSet(app, 1);
        app.priors.PriorType(1) = type;
        app.priors.PriorMean(1) = m;
        app.priors.PriorSD(1) = sd;
        app.eng.RecipLnLConst = 1;
    }
    double At(double x) {
        X(1) = x;
        PriorPenalty(app, X);
        EXPECT_EQ(app.priors.PriorTerm(1), app.eng.PriorPenaltyTotal);
        return app.priors.PriorTerm(1);
    }
};

}  // namespace

TEST(NormalCDF, KnownPoints) {
    EXPECT_NEAR(NormalCDF(0.0), 0.5, 1E-7);
    EXPECT_NEAR(NormalCDF(1.959964), 0.975, 1E-6);
    EXPECT_NEAR(NormalCDF(-1.959964), 0.025, 1E-6);
    double r = 0;
    NormalCDF(1.0, r);
    EXPECT_NEAR(r, 0.841344746, 1E-6);
    EXPECT_EQ(NormalCDF(40.0), 1.0);
}

TEST(PriorPenalty, UniformUnboundedAddsNothingAndTheConstantScalesTheTotal) {
    platform::headless::Session s;
    App app{s.ui};
    enginetest::MakeParameterSet(app, 3);
    platform::Vec<double> X(3);
    X(1) = 5;
    app.eng.RecipLnLConst = 2;
    PriorPenalty(app, X);
    EXPECT_EQ(app.eng.PriorPenaltyTotal, 0);

    app.priors.PriorType(2) = "N";
    app.priors.PriorMean(2) = 1;
    app.priors.PriorSD(2) = 0.5;
    X(2) = 2;
    PriorPenalty(app, X);
    EXPECT_DOUBLE_EQ(app.priors.PriorTerm(2), 2);
    EXPECT_DOUBLE_EQ(app.eng.PriorPenaltyTotal, 4);
    EXPECT_EQ(X(2), 2);   // the vector is not changed

    app.eng.RecipLnLConst = 0;
    PriorPenalty(app, X);
    EXPECT_EQ(app.eng.PriorPenaltyTotal, 0);
}

TEST(PriorPenalty, ExponentialGammaLnNormalBeta) {
    OnePrior e("E", 4, 4);
    EXPECT_DOUBLE_EQ(e.At(2), 0.5);
    EXPECT_DOUBLE_EQ(e.At(-1), 1E20);
    EXPECT_EQ(e.At(0), 0);

    OnePrior g("G", 2, 1);   // shape 4, scale 0.5, mode 1.5
    EXPECT_NEAR(g.At(1.5), 0, 1E-12);
    EXPECT_GT(g.At(1.2), 0);
    EXPECT_GT(g.At(2.5), 0);
    EXPECT_DOUBLE_EQ(g.At(0), 1E-12 * 1E20);

    OnePrior l("L", 1, 1);
    EXPECT_NEAR(l.At(0), 1E08, 1E-4);
    double sigma = std::sqrt(std::log(2.0));
    double mode = std::exp(-sigma * sigma / 2 - sigma * sigma);
    EXPECT_NEAR(l.At(mode), 0, 1E-12);
    EXPECT_GT(l.At(2), 0);

    OnePrior b("B", 0.5, 0.1);   // alpha = beta = 12, mode 0.5
    EXPECT_NEAR(b.At(0.5), 0, 1E-12);
    EXPECT_NEAR(b.At(0.6), -11 * (std::log(0.6) + std::log(0.4)) + 22 * std::log(0.5), 1E-9);
    EXPECT_DOUBLE_EQ(b.At(1.2), 0.200001 * 0.200001 * 1E20);
    EXPECT_DOUBLE_EQ(b.At(-1), (-1 - 1E-06) * (-1 - 1E-06) * 1E20);
}

TEST(PriorPenalty, CliffsAndUniformBounded) {
    OnePrior s0("S", 3, 0);
    EXPECT_DOUBLE_EQ(s0.At(2), 1E20);
    EXPECT_EQ(s0.At(4), 0);
    OnePrior s1("S", 3, 1);
    EXPECT_NEAR(s1.At(3), std::log(2.0), 1E-7);
    EXPECT_NEAR(s1.At(30), 0, 1E-12);

    OnePrior d0("D", 3, 0);
    EXPECT_EQ(d0.At(2), 0);
    EXPECT_DOUBLE_EQ(d0.At(5), 4E20);
    OnePrior d1("D", 3, 1);
    EXPECT_NEAR(d1.At(3), std::log(2.0), 1E-7);
    EXPECT_DOUBLE_EQ(d1.At(43), 40.0 * 40.0 * 1E20);   // 1 - Phi is exactly 0 there

    OnePrior t("T", 0, 0);
    t.app.priors.PriorMean2(1) = 10.0;
    t.app.priors.PriorSD2(1) = std::string("0");   // as read from a priors file
    EXPECT_EQ(t.At(0), 0);
    EXPECT_EQ(t.At(5), 0);
    EXPECT_EQ(t.At(10), 0);
    EXPECT_DOUBLE_EQ(t.At(12), 4E20);
    EXPECT_DOUBLE_EQ(t.At(-1), 1E20);

    OnePrior other("Q", 1, 1);
    EXPECT_EQ(other.At(100), 0);
}
