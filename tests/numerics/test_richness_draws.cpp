// Expected-richness weights, the probability of being seen, the bivariate
// integration, the polar normal deviates and the perturbed moments.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "numerics/Random.h"
#include "numerics/RichnessDraws.h"
#include "platform/random.h"

namespace {

using namespace tivelor::numerics;

class GivenUniforms : public UniformSource {
public:
    explicit GivenUniforms(std::deque<double> u) : u_(std::move(u)) {}
    double Rnd() override {
        if (u_.empty()) {
            ADD_FAILURE() << "more uniforms drawn than given";
            return 0.5;
        }
        const double v = u_.front();
        u_.pop_front();
        return v;
    }
    std::size_t Left() const { return u_.size(); }

private:
    std::deque<double> u_;
};

class Seeded : public UniformSource {
public:
    explicit Seeded(double seed) : g_(seed) {}
    double Rnd() override { return g_.Rnd(); }

private:
    platform::Rng g_;
};

// p_j = 1 / (nh - j + 1) for j = 1..nq.
SampleQuadrats Quadrats(int nq, long nh) {
    std::vector<double> p;
    for (int j = 1; j <= nq; ++j) p.push_back(1.0 / static_cast<double>(nh - j + 1));
    return MakeSampleQuadrats(p.data(), nq, 1.0001);
}

}  // namespace

TEST(ExpectedRichness, WorkedWeightsOfTwoQuadratsInTen) {
    const SampleQuadrats q = Quadrats(2, 10);
    // Absent from both: 0.9 * 8/9 = 0.8 for one individual, 0.64 for two.
    EXPECT_NEAR(SpeciesWeight(q, 1, 0), 5.0, 1E-9);
    EXPECT_NEAR(SpeciesWeight(q, 2, 0), 2.777778, 1E-6);
    // Beta-binomial, a + b = 3: Gamma(3) Gamma(10 + b) / (Gamma(b) Gamma(13)) per quadrat.
    EXPECT_NEAR(SpeciesWeight(q, 10, 0.5), 1.539372, 1E-6);
    EXPECT_NEAR(SpeciesWeight(q, 1, 0) + SpeciesWeight(q, 2, 0) + SpeciesWeight(q, 10, 0.5), 9.317150, 1E-6);
    // One individual takes the binomial whatever its Theta.
    EXPECT_DOUBLE_EQ(SpeciesWeight(q, 1, 0.9), SpeciesWeight(q, 1, 0));
    // A huge or endless abundance weighs 1.
    EXPECT_NEAR(SpeciesWeight(q, 1E+12, 0.3), 1.0, 1E-12);
    EXPECT_NEAR(SpeciesWeight(q, 1E+300, 0.3), 1.0, 1E-12);
    EXPECT_NEAR(SpeciesWeight(q, INFINITY, 0.0), 1.0, 1E-12);
}

TEST(ExpectedRichness, HeldAbsenceProbabilities) {
    // Near-certain absence in every quadrat is held at 0.99999999: a finite weight.
    const SampleQuadrats q = Quadrats(3, 1000000000);
    const Absence r = AbsentFromSample(q, 1, 0);
    EXPECT_NEAR(r.Prod, std::pow(0.99999999, 3), 1E-15);
    EXPECT_NEAR(r.Seen / 3E-08, 1, 1E-7);   // 1 - (1 - 1E-8)^3
    EXPECT_NEAR(r.LastQuadP, 0.99999999, 1E-15);
    EXPECT_NEAR(r.ShrinkRatio, 1E-04, 1E-15);   // one individual
    // A Theta near 1 puts the individuals in one place: the held upper bound.
    EXPECT_NEAR(AbsentFromSample(q, 50, 0.99999999).Prod, std::pow(0.99999999, 3), 1E-12);
    // The last quadrat of a fully sampled habitat takes every remaining individual.
    const SampleQuadrats whole = Quadrats(2, 2);
    EXPECT_NEAR(AbsentFromSample(whole, 5, 0.4).LastQuadP, 1E-08, 1E-20);
    EXPECT_NEAR(AbsentFromSample(whole, 5, 0.0).LastQuadP, 1E-08, 1E-20);
    // Every weight is at least 1.
    for (double N : {1.0, 3.0, 40.0, 5000.0})
        for (double th : {0.0, 0.2, 0.7})
            EXPECT_GE(SpeciesWeight(Quadrats(50, 1000), N, th), 1.0);
}

TEST(ProbSampled, WholeAbundanceAndHugeValues) {
    const SampleQuadrats q = Quadrats(2, 10);
    // N is the whole part of Exp(LnN) plus 1: 0.5 gives 1 (binomial at any
    // Theta), 1.9 gives 2 and 2 gives 3; a Logit of -30 is practically Theta 0.
    EXPECT_NEAR(ProbSampled(q, 0, std::log(0.5)), 0.2, 1E-12);
    EXPECT_NEAR(ProbSampled(q, -30, std::log(1.9)), 0.36, 1E-12);
    EXPECT_NEAR(ProbSampled(q, -30, std::log(2.0)), 1 - std::pow(0.8, 3), 1E-9);
    // Logits far out neither overflow nor lose the probability.
    const double hi = ProbSampled(q, 800, 3);
    EXPECT_GT(hi, 0);
    EXPECT_LE(hi, 1);
    // An abundance beyond any count is certain to be seen.
    EXPECT_EQ(ProbSampled(q, 0, 40), 1.0);
    EXPECT_EQ(ProbSampled(q, 0, 1000), 1.0);
}

TEST(BivariateIntegration, GridMassAndWorkedRichness) {
    const SampleQuadrats q = Quadrats(5, 100);
    struct Case { double rho, totalPerSpp; };
    for (Case c : {Case{0, 0.999877}, Case{0.9, 0.999898}, Case{0.99, 1.000030}}) {
        const BivariateSums s = IntegrateBivariate(q, 50, -1, 1, 3, 1, c.rho);
        EXPECT_NEAR(s.Total / 50, c.totalPerSpp, 1E-6) << c.rho;
        EXPECT_LE(SloppyPercent(s.Total, 50), 0.1) << c.rho;
    }
    const BivariateSums r3 = IntegrateBivariate(q, 50, -1, 1, 3, 1, 0.3);
    EXPECT_NEAR(r3.ESR, 149.7002, 1E-4);
    EXPECT_NEAR(r3.Total, 49.99385, 1E-5);
    EXPECT_NEAR(IntegrateBivariate(q, 50, -1, 1, 3, 1, 0).ESR, 151.2239, 1E-4);
    // The grid's mass does not depend on the means or the spreads.
    EXPECT_NEAR(IntegrateBivariate(q, 50, 2, 0.1, 8, 3, 0.3).Total, r3.Total, 1E-10);
    // Rows add up to the whole.
    BivariateSums rows;
    for (int a = kBivarFirst; a <= kBivarLast; ++a) {
        const BivariateSums r = BivariateRow(q, 50, a, -1, 1, 3, 1, 0.3);
        rows.ESR += r.ESR;
        rows.Total += r.Total;
    }
    EXPECT_NEAR(rows.ESR, r3.ESR, 1E-9);
}

TEST(BivariateIntegration, LargeAbundancesAndNoSpread) {
    const SampleQuadrats q = Quadrats(5, 100);
    // Species abundant and little clumped everywhere on the grid are all seen:
    // ESR is the grid's mass.
    const BivariateSums big = IntegrateBivariate(q, 50, -6, 1, 20, 1, 0.2);
    EXPECT_NEAR(big.ESR, big.Total, 1E-6);
    // Standard deviations of 0 put every cell at the means: one species kind.
    const BivariateSums flat = IntegrateBivariate(q, 50, -1, 0, 3, 0, 0.2);
    ASSERT_TRUE(std::isfinite(flat.ESR));
    EXPECT_NEAR(flat.ESR, flat.Total / ProbSampled(q, -1, 3), 1E-9);
}

TEST(NormalDeviates, PolarMethodAndRedraws) {
    // (0.5, 0.5) gives s = 0 and (0.9, 0.9) s = 1.28: both drawn again.
    GivenUniforms u({0.5, 0.5, 0.9, 0.9, 0.75, 0.5});
    double z1 = 0, z2 = 0;
    NormalDeviate(u, z1, z2);
    EXPECT_EQ(u.Left(), 0u);
    // u1 = 0.5, u2 = 0: s = 0.25, f = Sqr(-2 Ln 0.25 / 0.25).
    EXPECT_NEAR(z1, 0.5 * std::sqrt(-2 * std::log(0.25) / 0.25), 1E-12);
    EXPECT_EQ(z2, 0.0);

    Seeded rng(12345);
    const int n = 200000;
    double s1 = 0, s2 = 0, q1 = 0, q2 = 0, c = 0;
    for (int i = 0; i < n / 2; ++i) {
        NormalDeviate(rng, z1, z2);
        s1 += z1;
        s2 += z2;
        q1 += z1 * z1;
        q2 += z2 * z2;
        c += z1 * z2;
    }
    const double m = n / 2.0;
    EXPECT_NEAR(s1 / m, 0, 0.015);
    EXPECT_NEAR(s2 / m, 0, 0.015);
    EXPECT_NEAR(q1 / m, 1, 0.02);
    EXPECT_NEAR(q2 / m, 1, 0.02);
    EXPECT_NEAR(c / m, 0, 0.015);
}

TEST(PerturbedMoments, MeansAndLogNormalSpreads) {
    EXPECT_DOUBLE_EQ(PerturbedMean(3, 4, 16, 1.5), 3 + 0.5 * 1.5);
    EXPECT_EQ(PerturbedSD(0, 10, 1.0), 0.0);
    // var 2, n 5: w = 0.2; the log-normal has mean Sqr(2) and variance 0.2.
    Seeded rng(7);
    const int n = 200000;
    double s = 0, q = 0;
    for (int i = 0; i < n / 2; ++i) {
        double z1 = 0, z2 = 0;
        NormalDeviate(rng, z1, z2);
        for (double z : {z1, z2}) {
            const double v = PerturbedSD(2, 5, z);
            s += v;
            q += v * v;
        }
    }
    const double mean = s / n;
    EXPECT_NEAR(mean, std::sqrt(2.0), 0.005);
    EXPECT_NEAR(q / n - mean * mean, 0.2, 0.005);
}
