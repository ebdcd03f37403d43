// The uniform generator and the Beta and binomial variates.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "StatTestSupport.h"
#include "numerics/PearsonStats.h"
#include "numerics/Random.h"
#include "numerics/Variates.h"
#include "platform/random.h"

namespace {

using namespace tivelor::numerics;

// The runtime's generator as the variates' uniform source.
class Rng : public UniformSource {
public:
    Rng() = default;
    explicit Rng(double seed) : g_(seed) {}
    void Seed(double seed) { g_.Seed(seed); }
    double Rnd() override { return g_.Rnd(); }

private:
    platform::Rng g_;
};

// Hands out given uniforms, then fails the test if more are asked for.
class Scripted : public UniformSource {
public:
    explicit Scripted(std::deque<double> u) : u_(std::move(u)) {}
    double Rnd() override {
        if (u_.empty()) {
            ADD_FAILURE() << "more uniforms drawn than given";
            return 0.5;
        }
        const double v = u_.front();
        u_.pop_front();
        ++drawn;
        return v;
    }
    int drawn = 0;
    std::size_t Left() const { return u_.size(); }

private:
    std::deque<double> u_;
};

// Counts the uniforms drawn from a seeded generator.
class Counting : public UniformSource {
public:
    explicit Counting(double seed) : g(seed) {}
    double Rnd() override { ++drawn; return g.Rnd(); }
    Rng g;
    long drawn = 0;
};

TEST(Rng, SeedGivesAFixedStreamOfSinglePrecisionValues) {
    // xoshiro256** seeded by SplitMix64 from the seed's bits, top 24 bits.
    const long first36000[] = {14581993, 11125641, 8521054, 9071683, 8681948};
    const long first0[] = {10087519, 12545567, 1728388, 6989204, 12297645};
    Rng a(36000.0), z(0.0), nz(-0.0), nan(std::nan(""));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(a.Rnd(), first36000[i] / 16777216.0);
        const double v = z.Rnd();
        EXPECT_EQ(v, first0[i] / 16777216.0);
        EXPECT_EQ(nz.Rnd(), v);    // -0 seeds as 0
        EXPECT_EQ(nan.Rnd(), v);   // so does a value that is not a number
    }
    Rng b(36000.0), c(36000.5);
    b.Rnd();
    b.Seed(36000.0);   // seeding again restarts the stream
    EXPECT_EQ(b.Rnd(), first36000[0] / 16777216.0);
    EXPECT_NE(c.Rnd(), first36000[0] / 16777216.0);
}

TEST(Rng, UniformOverTheUnitInterval) {
    Rng g(12345.678);
    const int n = 1 << 20, cells = 256;
    std::vector<double> obs(cells, 0), exp(cells, static_cast<double>(n) / cells);
    double lo = 1, hi = 0;
    for (int i = 0; i < n; ++i) {
        const double u = g.Rnd();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        ASSERT_EQ(u * 16777216.0, std::floor(u * 16777216.0));
        lo = std::min(lo, u);
        hi = std::max(hi, u);
        obs[static_cast<int>(u * cells)] += 1;
    }
    EXPECT_LT(lo, 1E-5);
    EXPECT_GT(hi, 1 - 1E-5);
    EXPECT_TRUE(stattest::Compare(obs, exp).Passes());
    // Successive pairs are not correlated.
    Rng h(1.0);
    double sxy = 0, prev = h.Rnd() - 0.5;
    for (int i = 0; i < n; ++i) {
        const double u = h.Rnd() - 0.5;
        sxy += prev * u;
        prev = u;
    }
    EXPECT_LT(std::fabs(sxy / n / (1.0 / 12)), 5 / std::sqrt(static_cast<double>(n)));
}

TEST(RandomVariates, SpecialCasesDrawNothingAndBinomialInversionByHand) {
    Counting g(1.0);
    EXPECT_EQ(RandomBinomial(-1, 0.3, g), 0);
    EXPECT_EQ(RandomBinomial(10, 1.5, g), 0);
    EXPECT_EQ(RandomBinomial(10, -0.1, g), 0);
    EXPECT_EQ(RandomBeta(0, 2, g) + RandomBeta(2, -1, g) + RandomBeta(-0.5, -0.5, g), -3);   // no Beta draw
    EXPECT_EQ(g.drawn, 0);
    EXPECT_EQ(RandomBinomial(0, 0.3, g), 0);
    for (int n : {1, 7, 500, 100000}) {
        g.drawn = 0;
        EXPECT_EQ(RandomBinomial(n, 0.0, g), 0);
        EXPECT_EQ(RandomBinomial(n, 1.0, g), n);
        EXPECT_EQ(g.drawn, 2);   // one uniform each
    }
    // n = 2, p = 0.5: f = 0.25, 0.5, 0.25 walked down by the uniform.
    Scripted s({0.1, 0.3, 0.8, 0.74999});
    EXPECT_EQ(RandomBinomial(2, 0.5, s), 0);
    EXPECT_EQ(RandomBinomial(2, 0.5, s), 1);
    EXPECT_EQ(RandomBinomial(2, 0.5, s), 2);
    EXPECT_EQ(RandomBinomial(2, 0.5, s), 1);
    // p above 0.5 walks the mirror distribution: n minus the draw.
    Scripted m({0.1});
    EXPECT_EQ(RandomBinomial(2, 0.75, m), 2);   // x = 0 under p' = 0.25 (f = 0.5625)
}

// Draws count times and compares the frequencies with the binomial's.
stattest::ChiSquare BinomialFit(int n, double p, int count, UniformSource& g) {
    std::vector<double> obs(n + 1, 0), exp(n + 1);
    for (int i = 0; i < count; ++i) {
        const double x = RandomBinomial(n, p, g);
        EXPECT_EQ(x, std::floor(x));
        EXPECT_GE(x, 0);
        EXPECT_LE(x, n);
        if (x >= 0 && x <= n) obs[static_cast<int>(x)] += 1;
    }
    for (int k = 0; k <= n; ++k) exp[k] = count * stattest::BinomialPmf(n, p, k);
    return stattest::Compare(obs, exp);
}

TEST(RandomBinomial, FollowsTheBinomialOnBothMethods) {
    // (59, 0.5) has mean 29.5: inversion, exactly one uniform a draw.
    Counting inv(36000.0);
    const auto c59 = BinomialFit(59, 0.5, 200000, inv);
    EXPECT_TRUE(c59.Passes()) << c59.stat << " on " << c59.df;
    EXPECT_EQ(inv.drawn, 200000);
    // (60, 0.5) has mean 30: BTPE, two uniforms a trial.
    Counting btpe(36000.0);
    const auto c60 = BinomialFit(60, 0.5, 200000, btpe);
    EXPECT_TRUE(c60.Passes()) << c60.stat << " on " << c60.df;
    EXPECT_EQ(btpe.drawn % 2, 0);
    EXPECT_GE(btpe.drawn, 400000);
    // Shapes the test meets, and far tails where the squeeze and Stirling's
    // bound decide.
    struct Case { int n; double p; };
    for (Case c : {Case{200, 0.02}, Case{10000, 0.3}, Case{300, 0.003}, Case{1000, 0.5},
                   Case{100000, 0.01}, Case{5, 0.9}}) {
        Rng g(7.0 + c.n);
        const auto chi = BinomialFit(c.n, c.p, 100000, g);
        EXPECT_TRUE(chi.Passes()) << c.n << ", " << c.p << ": " << chi.stat << " on " << chi.df;
    }
}

TEST(RandomBinomial, AboveOneHalfIsNMinusTheMirrorDraw) {
    Rng a(99.0), b(99.0);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(RandomBinomial(100, 0.9, a), 100 - RandomBinomial(100, 0.1, b));
        ASSERT_EQ(RandomBinomial(5000, 0.7, a), 5000 - RandomBinomial(5000, 0.3, b));
    }
}

// Sample mean and variance within 5 standard errors, and a chi-square of
// the frequencies in cells evenly spaced on the x^a scale.
void CheckBeta(double a, double b, double mean, double var) {
    SCOPED_TRACE(testing::Message() << "Beta(" << a << ", " << b << ")");
    Rng g(36000.0 + a);
    const int n = 200000, cells = 40;
    double s = 0, s2 = 0;
    std::vector<double> obs(cells, 0), exp(cells);
    for (int i = 0; i < n; ++i) {
        const double x = RandomBeta(a, b, g);
        ASSERT_GE(x, 1E-8);
        ASSERT_LE(x, 0.99999999);
        s += x;
        s2 += x * x;
        obs[std::min(cells - 1, static_cast<int>(std::pow(x, a) * cells))] += 1;
    }
    double prev = 0;
    for (int k = 0; k < cells; ++k) {
        const double F = stattest::BetaCdf(a, b, std::pow((k + 1.0) / cells, 1 / a));
        exp[k] = n * (F - prev);
        prev = F;
    }
    const double m = s / n, v = s2 / n - m * m;
    EXPECT_NEAR(m, mean, 5 * std::sqrt(var / n));
    EXPECT_NEAR(v, var, 0.02 * var);
    const auto chi = stattest::Compare(obs, exp);
    EXPECT_TRUE(chi.Passes()) << chi.stat << " on " << chi.df;
}

TEST(RandomBeta, FollowsTheBetaOnBothBranches) {
    CheckBeta(2, 5, 0.285714, 0.025510);      // BB
    CheckBeta(0.5, 0.5, 0.5, 0.125);          // BC
    CheckBeta(0.3, 2.7, 0.1, 0.0225);         // BC, as the test meets it
    CheckBeta(1, 1, 0.5, 1.0 / 12);           // BC at the boundary
    CheckBeta(1.5, 1.5, 0.5, 0.0625);         // BB just above it
    CheckBeta(3, 0.8, 3 / 3.8, 3 * 0.8 / (3.8 * 3.8 * 4.8));
}

TEST(RandomBeta, SwappedShapesAddUpToOneAndExtremeShapesStayClamped) {
    for (auto [a, b] : std::vector<std::pair<double, double>>{
             {2, 5}, {0.3, 2.7}, {0.5, 0.9}, {1, 3}, {1.5, 40}, {0.001, 1000}}) {
        Rng g1(11.0), g2(11.0);
        for (int i = 0; i < 5000; ++i) {
            const double x = RandomBeta(a, b, g1), y = RandomBeta(b, a, g2);
            ASSERT_NEAR(x + y, 1.0, 1E-12) << a << ", " << b;
        }
    }
    // Extreme shapes stay inside the clamp.
    Rng g(8.0);
    for (auto [a, b] : std::vector<std::pair<double, double>>{{1E-9, 3}, {1E6, 1E6}, {1E-6, 1E-6}, {1000, 0.001}})
        for (int i = 0; i < 2000; ++i) {
            const double x = RandomBeta(a, b, g);
            ASSERT_TRUE(x >= 1E-8 && x <= 0.99999999) << a << ", " << b << ": " << x;
        }
}

TEST(RandomBeta, AUniformOfZeroIsDrawnAgain) {
    // A pair holding a 0 is thrown away on both branches: the result is the
    // one the next pair gives.
    for (auto [a, b] : std::vector<std::pair<double, double>>{{0.3, 2.7}, {0.5, 0.5}, {2, 5}}) {
        Scripted plain({0.3, 0.6, 0.8, 0.2, 0.45, 0.55, 0.1, 0.9, 0.65, 0.35});
        const double want = RandomBeta(a, b, plain);
        const int used = plain.drawn;
        std::deque<double> u = {0.0, 0.4, 0.7, 0.0, 0.3, 0.6, 0.8, 0.2, 0.45, 0.55, 0.1, 0.9, 0.65, 0.35};
        Scripted zero(u);
        EXPECT_EQ(RandomBeta(a, b, zero), want) << a << ", " << b;
        EXPECT_EQ(zero.drawn, used + 4);
    }
}

TEST(PlaceIndividuals, FirstQuadratFollowsTheBetaBinomial) {
    // 20 individuals, quadrat probability 1/10, overdispersion 0.25 (Theta
    // 0.5): the first count is beta-binomial (20; 0.3, 2.7).
    std::vector<double> p(10);
    for (int j = 0; j < 10; ++j) p[j] = 1.0 / (10 - j);
    Rng g(36000.0);
    const int n = 200000;
    std::vector<double> obs(21, 0), exp(21);
    std::int64_t counts[10];
    double s = 0, s2 = 0;
    for (int i = 0; i < n; ++i) {
        const std::int64_t left = PlaceIndividuals(20, p.data(), 10, 0.25, g, counts);
        ASSERT_EQ(left, 0);   // the last quadrat (p = 1) takes the rest
        obs[counts[0]] += 1;
        s += counts[0];
        s2 += counts[0] * counts[0];
    }
    for (int k = 0; k <= 20; ++k) exp[k] = n * stattest::BetaBinomialPmf(20, 0.3, 2.7, k);
    EXPECT_NEAR(obs[0] / n, 0.509796, 0.005);
    EXPECT_NEAR(obs[1] / n, 0.140958, 0.004);
    EXPECT_NEAR(obs[2] / n, 0.084098, 0.003);
    EXPECT_NEAR(s / n, 2, 0.03);
    EXPECT_NEAR(s2 / n - (s / n) * (s / n), 10.35, 0.25);
    const auto chi = stattest::Compare(obs, exp);
    EXPECT_TRUE(chi.Passes()) << chi.stat << " on " << chi.df;
}

TEST(PlaceIndividuals, NoOverdispersionIsBinomialAndEveryIndividualIsPlaced) {
    const double p[4] = {0.1, 1.0 / 9, 0.125, 1.0 / 7};
    Rng g(2.0);
    const int n = 100000;
    std::vector<double> obs(21, 0), exp(21);
    std::int64_t counts[4];
    for (int i = 0; i < n; ++i) {
        const std::int64_t left = PlaceIndividuals(20, p, 4, 0.0, g, counts);
        ASSERT_EQ(counts[0] + counts[1] + counts[2] + counts[3] + left, 20);
        obs[counts[0]] += 1;
    }
    for (int k = 0; k <= 20; ++k) exp[k] = n * stattest::BinomialPmf(20, 0.1, k);
    const auto chi = stattest::Compare(obs, exp);
    EXPECT_TRUE(chi.Passes()) << chi.stat << " on " << chi.df;
    // Totals of 0 and 1, strong and extreme overdispersion: nothing is lost.
    for (std::int64_t total : {0, 1, 2, 37, 5000}) {
        for (double R : {0.0, 0.01, 0.5, 0.99999998}) {
            for (int i = 0; i < 200; ++i) {
                const std::int64_t left = PlaceIndividuals(total, p, 4, R, g, counts);
                ASSERT_GE(left, 0);
                for (std::int64_t c : counts) ASSERT_GE(c, 0);
                ASSERT_EQ(counts[0] + counts[1] + counts[2] + counts[3] + left, total);
            }
        }
    }
}

TEST(PearsonStats, TermsAndSummaries) {
    EXPECT_DOUBLE_EQ(PearsonTerm(3, 2), 0.5);
    EXPECT_DOUBLE_EQ(PearsonTerm(4, 4), 0.0);
    EXPECT_EQ(PearsonTerm(0, 0), 0.0);   // nothing expected, nothing added

    RandomizedSums none;
    const RandomizedSummary u = Summarize(none);
    EXPECT_FALSE(u.Mean || u.SD || u.Min || u.Max || u.P || u.SE);

    // One randomization: p is the tally itself and its SE 0; an equal sum
    // counts as at least as large, one 1E-6 below does not.
    for (auto [value, tally] : std::vector<std::pair<double, double>>{
             {2.0, 1}, {2.0 - 5E-7, 1}, {2.0 - 2E-6, 0}, {7.5, 1}, {0.1, 0}}) {
        RandomizedSums one;
        one.Add(value, 2.0);
        const RandomizedSummary s = Summarize(one);
        EXPECT_EQ(*s.P, tally) << value;
        EXPECT_EQ(*s.SE, 0.0);
        EXPECT_EQ(*s.Mean, value);
        EXPECT_FALSE(s.SD);   // no spread
        EXPECT_EQ(*s.Min, value);
        EXPECT_EQ(*s.Max, value);
    }
    // 1, 2, 3, 4 against 2.5: mean 2.5, SD Sqr(1.25) (divisor n), p 0.5,
    // SE Sqr(0.25 / 3).
    RandomizedSums four;
    for (double v : {3.0, 1.0, 4.0, 2.0}) four.Add(v, 2.5);
    const RandomizedSummary f = Summarize(four);
    EXPECT_DOUBLE_EQ(*f.Mean, 2.5);
    EXPECT_DOUBLE_EQ(*f.SD, std::sqrt(1.25));
    EXPECT_EQ(*f.Min, 1.0);
    EXPECT_EQ(*f.Max, 4.0);
    EXPECT_DOUBLE_EQ(*f.P, 0.5);
    EXPECT_DOUBLE_EQ(*f.SE, std::sqrt(0.25 / 3));
}

}  // namespace
