// The prior penalty of the nine prior kinds and the normal probability.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineTestUtil.h"
#include "engine/Priors.h"

using namespace tivelor;

namespace {

// The penalty total of one prior at x.
double Penalty(const std::string& type, double m, double sd, double x, PriorVariant m2 = std::string("Unused"),
               PriorVariant sd2 = std::string("Unused"), double recip = 1) {
    platform::headless::Session s;
    App app{s.ui};
    enginetest::MakeParameterSet(app, 1);
    app.priors.PriorType(1) = type;
    app.priors.PriorMean(1) = m;
    app.priors.PriorSD(1) = sd;
    app.priors.PriorMean2(1) = m2;
    app.priors.PriorSD2(1) = sd2;
    app.eng.RecipLnLConst = recip;
    platform::Vec<double> X(1);
    X(1) = x;
    PriorPenalty(app, X);
    EXPECT_EQ(app.priors.PriorTerm(1) * recip, app.eng.PriorPenaltyTotal);
    EXPECT_EQ(X(1), x);   // the vector is not changed
    return app.eng.PriorPenaltyTotal;
}

}  // namespace

TEST(PriorPenalty, WorkedValuesOfTheNineKinds) {
    EXPECT_NEAR(NormalCDF(0.0), 0.5, 1E-7);
    EXPECT_NEAR(NormalCDF(1.959964), 0.975, 1E-6);
    EXPECT_NEAR(NormalCDF(-1.959964), 0.025, 1E-6);
    const std::string unused = "Unused";
    EXPECT_DOUBLE_EQ(Penalty("N", 1, 0.5, 2, unused, unused, 2), 4);   // the constant scales the total
    EXPECT_EQ(Penalty("N", 1, 0.5, 2, unused, unused, 0), 0);
    const double lnMode = std::exp(-1.5 * std::log(2.0));   // ln-normal m = s = 1
    struct Case {
        const char* type;
        double m, sd, x, term, tol;
    } cases[] = {
        {"U", 1E-100, 1E-100, 5, 0, 0},      {"Q", 1, 1, 100, 0, 0},
        {"E", 4, 4, 2, 0.5, 1E-12},          {"E", 4, 4, -1, 1E20, 0},
        {"G", 2, 1, 1.5, 0, 1E-12},          {"G", 2, 1, 0, 1E08, 1E-4},
        {"L", 1, 1, 0, 1E08, 1E-4},          {"L", 1, 1, lnMode, 0, 1E-12},
        {"B", 0.5, 0.1, 0.5, 0, 1E-12},      {"B", 0.5, 0.1, 0.6, -11 * std::log(0.24) + 22 * std::log(0.5), 1E-9},
        {"B", 0.5, 0.1, 1.2, 0.200001 * 0.200001 * 1E20, 1E6},
        {"S", 3, 0, 2, 1E20, 0},             {"S", 3, 0, 4, 0, 0},
        {"S", 3, 1, 3, std::log(2.0), 1E-7}, {"S", 3, 1, 30, 0, 1E-12},
        {"D", 3, 0, 5, 4E20, 0},             {"D", 3, 0, 2, 0, 0},
        {"D", 3, 1, 3, std::log(2.0), 1E-7}, {"D", 3, 1, 43, 1600E20, 1E9},   // 1 - Phi is exactly 0
    };
    for (const Case& c : cases) EXPECT_NEAR(Penalty(c.type, c.m, c.sd, c.x), c.term, c.tol) << c.type << " at " << c.x;
    EXPECT_GT(Penalty("G", 2, 1, 1.2), 0);
    EXPECT_GT(Penalty("G", 2, 1, 2.5), 0);
    // T: feet 0 and 10, both SDs 0; the right SD as read from a priors file.
    for (double x : {0.0, 5.0, 10.0}) EXPECT_EQ(Penalty("T", 0, 0, x, 10.0, std::string("0")), 0);
    EXPECT_DOUBLE_EQ(Penalty("T", 0, 0, 12, 10.0, std::string("0")), 4E20);
    EXPECT_DOUBLE_EQ(Penalty("T", 0, 0, -1, 10.0, std::string("0")), 1E20);
}
