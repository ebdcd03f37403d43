// Expected-richness weights, the probability of being seen, the bivariate
// integration, the polar normal deviates and the perturbed moments.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "numerics/RichnessDraws.h"

namespace {

using namespace tivelor::numerics;

class GivenUniforms : public UniformSource {
public:
    explicit GivenUniforms(std::deque<double> u) : u_(std::move(u)) {}
    double Rnd() override {
        const double v = u_.empty() ? 0.5 : u_.front();
        if (!u_.empty()) u_.pop_front();
        return v;
    }
    std::deque<double> u_;
};

// p_j = 1 / (nh - j + 1) for j = 1..nq.
SampleQuadrats Quadrats(int nq, long nh) {
    std::vector<double> p;
    for (int j = 1; j <= nq; ++j) p.push_back(1.0 / static_cast<double>(nh - j + 1));
    return MakeSampleQuadrats(p.data(), nq, 1.0001);
}

}  // namespace

TEST(ExpectedRichness, WorkedWeightsAndHeldProbabilities) {
    const SampleQuadrats q = Quadrats(2, 10);
    // Absent from both quadrats: 0.9 * 8/9 = 0.8 for one individual, 0.64 for two.
    EXPECT_NEAR(SpeciesWeight(q, 1, 0), 5.0, 1E-9);
    EXPECT_NEAR(SpeciesWeight(q, 2, 0), 2.777778, 1E-6);
    // Beta-binomial, a + b = 3: Gamma(3) Gamma(10 + b) / (Gamma(b) Gamma(13)) per quadrat.
    EXPECT_NEAR(SpeciesWeight(q, 10, 0.5), 1.539372, 1E-6);
    EXPECT_NEAR(SpeciesWeight(q, 1, 0) + SpeciesWeight(q, 2, 0) + SpeciesWeight(q, 10, 0.5), 9.317150, 1E-6);
    EXPECT_DOUBLE_EQ(SpeciesWeight(q, 1, 0.9), SpeciesWeight(q, 1, 0));   // one individual: binomial
    for (double huge : {1E+12, 1E+300, double(INFINITY)}) EXPECT_NEAR(SpeciesWeight(q, huge, 0.3), 1.0, 1E-12);
    // Near-certain absence is held at 0.99999999 per quadrat: a finite weight.
    const SampleQuadrats rare = Quadrats(3, 1000000000);
    const Absence r = AbsentFromSample(rare, 1, 0);
    EXPECT_NEAR(r.Seen / 3E-08, 1, 1E-7);   // 1 - (1 - 1E-8)^3
    EXPECT_NEAR(r.LastQuadP, 0.99999999, 1E-15);
    EXPECT_NEAR(AbsentFromSample(rare, 50, 0.99999999).Seen / 3E-08, 1, 1E-6);   // Theta near 1
    // The last quadrat of a fully sampled habitat takes every remaining individual.
    EXPECT_NEAR(AbsentFromSample(Quadrats(2, 2), 5, 0.4).LastQuadP, 1E-08, 1E-20);
}

TEST(ProbSampled, WholeAbundanceAndHugeValues) {
    const SampleQuadrats q = Quadrats(2, 10);
    // N is the whole part of Exp(LnN) plus 1; a Logit of -30 is practically Theta 0.
    EXPECT_NEAR(ProbSampled(q, 0, std::log(0.5)), 0.2, 1E-12);
    EXPECT_NEAR(ProbSampled(q, -30, std::log(1.9)), 0.36, 1E-12);
    EXPECT_EQ(ProbSampled(q, 0, 40), 1.0);
    EXPECT_EQ(ProbSampled(q, 0, 1000), 1.0);
}

TEST(BivariateIntegration, GridMassAndWorkedRichness) {
    const SampleQuadrats q = Quadrats(5, 100);
    const double rho[3] = {0, 0.9, 0.99}, mass[3] = {0.999877, 0.999898, 1.000030};
    for (int k = 0; k < 3; ++k) {
        const BivariateSums s = IntegrateBivariate(q, 50, -1, 1, 3, 1, rho[k]);
        EXPECT_NEAR(s.Total / 50, mass[k], 1E-6) << rho[k];
        EXPECT_LE(SloppyPercent(s.Total, 50), 0.1);
    }
    const BivariateSums r3 = IntegrateBivariate(q, 50, -1, 1, 3, 1, 0.3);
    EXPECT_NEAR(r3.ESR, 149.7002, 1E-4);
    EXPECT_NEAR(r3.Total, 49.99385, 1E-5);
    EXPECT_NEAR(IntegrateBivariate(q, 50, -1, 1, 3, 1, 0).ESR, 151.2239, 1E-4);
    // No spread: every cell at the means.
    const BivariateSums flat = IntegrateBivariate(q, 50, -1, 0, 3, 0, 0.2);
    EXPECT_NEAR(flat.ESR, flat.Total / ProbSampled(q, -1, 3), 1E-9);
}

TEST(NormalDeviates, PolarMethodRedrawsAndPerturbedMoments) {
    // (0.5, 0.5) gives s = 0 and (0.9, 0.9) s = 1.28: both drawn again.
    GivenUniforms u({0.5, 0.5, 0.9, 0.9, 0.75, 0.5});
    double z1 = 0, z2 = 0;
    NormalDeviate(u, z1, z2);
    EXPECT_TRUE(u.u_.empty());
    // u1 = 0.5, u2 = 0: s = 0.25, f = Sqr(-2 Ln 0.25 / 0.25).
    EXPECT_NEAR(z1, 0.5 * std::sqrt(-2 * std::log(0.25) / 0.25), 1E-12);
    EXPECT_EQ(z2, 0.0);
    EXPECT_DOUBLE_EQ(PerturbedMean(3, 4, 16, 1.5), 3.75);
    EXPECT_EQ(PerturbedSD(0, 10, 1.0), 0.0);
    // var 2, n 5: w = 0.2, sigma^2 = Ln 1.1, mu = 0.5 Ln(4 / 2.2).
    EXPECT_NEAR(PerturbedSD(2, 5, 1.0), std::exp(std::sqrt(std::log(1.1)) + 0.5 * std::log(4 / 2.2)), 1E-12);
}
