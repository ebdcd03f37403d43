#include <cmath>

#include <gtest/gtest.h>

#include "numerics/CountProb.h"

namespace tivelor::numerics {
namespace {

const double NW = kNotWanted;

double Bin(CountProbCache& c, double n, long x, double p, int qd = 1) {
    double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW;
    QuadratProbBinomial(c, r, n, x, qd, p, d1, d2, d3, d4, d5);
    return r;
}

double BB(CountProbCache& c, double n, long x, double p, double t, int qd = 1) {
    double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW;
    QuadratProbBetaBinomial(c, r, n, x, qd, p, t, d1, d2, d3, d4, d5);
    return r;
}

TEST(CountProb, WorkedValues) {
    CountProbCache c;
    EXPECT_NEAR(Bin(c, 5, 0, 0.5), 0.03125, 1E-9);
    EXPECT_NEAR(Bin(c, 5, 2, 0.2), 0.2048, 1E-9);
    EXPECT_NEAR(BB(c, 5, 2, 0.2, 0.1), 0.1772576, 5E-7);
    EXPECT_NEAR(BB(c, 5, 0, 0.2, 0.1), 0.4017839, 5E-7);
    EXPECT_NEAR(BB(c, 5, 2, 0.5, 1E-08), 0.3125, 1E-5);   // a capped at 1E+07: near the binomial
    double sum = 0;
    for (long x = 0; x <= 7; ++x) sum += BB(c, 7, x, 0.3, 0.2);
    EXPECT_NEAR(sum, 1.0, 1E-8);

    // P = 1 and P = 0 are replaced in the caller's variable; unwanted outputs
    // are left alone, but the binomial's T outputs always become 0.
    double p = 1, r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW;
    QuadratProbBinomial(c, r, 3, 3, 1, p, d1, d2, d3, d4, d5);
    EXPECT_EQ(std::make_tuple(p, d1, d2, d3 + d4 + d5), std::make_tuple(0.999999, NW, NW, 0.0));
    EXPECT_NEAR(r, std::pow(0.999999, 3), 1E-9);
    p = 0;
    QuadratProbBinomial(c, r, 3, 0, 1, p, d1, d2, d3, d4, d5);
    EXPECT_EQ(p, 1E-06);
    d3 = d4 = d5 = NW;
    QuadratProbBetaBinomial(c, r, 6, 2, 1, 0.3, 0.2, d1, d2, d3, d4, d5);
    EXPECT_EQ(d1 + d3 + d5, 3 * NW);
}

// Beta-binomial probability of x of n (whole) with the uncapped a and b, by products.
long double BBProduct(int n, int x, long double p, long double t) {
    const long double a = (1 - t) * p / t, b = (1 - p) * a / p, s = a + b;
    long double r = 1;
    for (int k = 0; k < x; ++k) r *= a + k;
    for (int k = 0; k < n - x; ++k) r *= b + k;
    for (int k = 0; k < n; ++k) r /= s + k;
    for (int k = 1; k <= x; ++k) r = r * (n - x + k) / k;
    return r;
}

// The derivatives in T are the slopes of the uncapped formula, also where a
// is capped (T = 1E-8) and where the polygammas nearly cancel (T = 1E-6).
TEST(CountProb, CappedADerivativeKeepsTheUncappedSlope) {
    CountProbCache c;
    EXPECT_EQ(BB(c, 5, 2, 0.5, 1.1E-08), BB(c, 5, 2, 0.5, 0.9E-08));   // the capped probability is flat
    struct Case {
        int n, x;
        double p, t;
    } cases[] = {{5, 2, 0.5, 1E-08}, {5, 2, 0.5, 1E-06}, {7, 3, 0.1, 1E-07}, {6, 0, 0.3, 0.1}, {9, 4, 0.2, 1E-03}};
    for (const Case& k : cases) {
        double r = 0, d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0;
        QuadratProbBetaBinomial(c, r, k.n, k.x, 1, k.p, k.t, d1, d2, d3, d4, d5);
        const long double h = k.t * 1E-4L;
        const double slope = static_cast<double>(
            (BBProduct(k.n, k.x, k.p, k.t + h) - BBProduct(k.n, k.x, k.p, k.t - h)) / (2 * h));
        EXPECT_NEAR(d3, slope, 1E-6 * std::fabs(slope) + 1E-12) << k.n << " " << k.x << " " << k.t;
        if (k.t >= 1E-3) {
            const long double h2 = k.t * 1E-3L;
            const double curv = static_cast<double>(
                (BBProduct(k.n, k.x, k.p, k.t + h2) - 2 * BBProduct(k.n, k.x, k.p, k.t) +
                 BBProduct(k.n, k.x, k.p, k.t - h2)) / (h2 * h2));
            EXPECT_NEAR(d4, curv, 1E-5 * std::fabs(curv)) << k.n << " " << k.x << " " << k.t;
        }
    }
    // Counts of individuals that are not whole take the large-argument
    // differences; the slope moves smoothly from the whole N.
    double r = 0, d1 = 0, d2 = 0, d3w = 0, d3 = 0, d4 = 0, d5 = 0;
    QuadratProbBetaBinomial(c, r, 5, 2, 1, 0.5, 1E-08, d1, d2, d3w, d4, d5);
    QuadratProbBetaBinomial(c, r, 5 + 1E-7, 2, 1, 0.5, 1E-08, d1, d2, d3, d4, d5);
    EXPECT_NEAR(d3, d3w, 1E-5 * std::fabs(d3w));
}

// Derivatives where N is not whole: against differences of the probability
// from long-double log-gammas, and against values worked to 50 digits.
TEST(CountProb, DerivativesInN) {
    auto prob = [](long double n, long double x, long double p, long double t) {
        const long double a = (1 - t) * p / t, b = (1 - p) * a / p;
        return expl(lgammal(n + 1) - lgammal(x + 1) - lgammal(n - x + 1) + lgammal(x + a) + lgammal(n - x + b) -
                    lgammal(n + a + b) + lgammal(a + b) - lgammal(a) - lgammal(b));
    };
    CountProbCache c;
    const double n = 7.3, p = 0.2, t = 0.3, h = 1E-4;
    for (long x : {0L, 2L, 5L}) {
        double r = 0, d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0;
        QuadratProbBetaBinomial(c, r, n, x, 1, p, t, d1, d2, d3, d4, d5);
        const long double up = prob(n + h, x, p, t), mid = prob(n, x, p, t), down = prob(n - h, x, p, t);
        EXPECT_NEAR(d1, static_cast<double>((up - down) / (2 * h)), 1E-7) << x;
        EXPECT_NEAR(d2, static_cast<double>((up - 2 * mid + down) / (h * h)), 1E-5) << x;
    }
    // All five at N = 7.3, x = 2, P = 0.2, from 50-digit log-gammas; near T = 0
    // the derivatives in T are sums of large cancelling terms.
    struct Case {
        double t, d[5], tolD4;
    } cases[] = {{0.3, {-0.002264974024984679, -0.00039712948998042579, -0.30012698360295277,
                        0.7493457951037624, -0.0084225175923942564}, 1E-8},
                 {1E-6, {0.020456835368476229, -0.010907049230637418, -1.0574090085209456,
                         8.1289602066506639, -0.30224226063384674}, 1E-4}};
    for (const Case& k : cases) {
        double r = 0, d[5] = {};
        QuadratProbBetaBinomial(c, r, n, 2, 1, p, k.t, d[0], d[1], d[2], d[3], d[4]);
        for (int j = 0; j < 5; ++j)
            EXPECT_NEAR(d[j], k.d[j], (j == 3 ? k.tolD4 : 1E-8) * std::fabs(k.d[j])) << k.t << " D" << j + 1;
    }
}

// Near the most likely N the binomial slope in N is a small difference of
// digamma terms and Ln(1 - P); worked to 60 digits with P = 2^-10.
TEST(CountProb, BinomialSlopeNearItsMaximum) {
    struct Case {
        double n;
        long x;
        double d1, d2, tol1;
    } cases[] = {{3071.75, 3, -1.7831840567936238e-8, -7.1313811397249177e-8, 1E-10},
                 {40959.5, 40, -3.0593059279450134e-15, -1.5029754576829443e-9, 1E-4}};
    CountProbCache c;
    for (const Case& k : cases) {
        double r = 0, p = 1.0 / 1024, d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0;
        QuadratProbBinomial(c, r, k.n, k.x, 1, p, d1, d2, d3, d4, d5);
        EXPECT_NEAR(d1, k.d1, k.tol1 * std::fabs(k.d1)) << k.x;
        EXPECT_NEAR(d2, k.d2, 1E-8 * std::fabs(k.d2)) << k.x;
    }
}

// Counts up to kShortCountMax take the short product, larger ones the series
// with its cache; both agree with log-gamma values computed apart.
TEST(CountProb, ShortAndLongCounts) {
    auto lnC = [](long double n, long double x) { return lgammal(n + 1) - lgammal(x + 1) - lgammal(n - x + 1); };
    for (double R : {12.0, 37.25, 1000.5})
        for (long x = 0; x <= kShortCountMax; ++x)
            for (double a : {0.0, 0.003, 0.7, 45.0}) {
                long double want = lnC(R, x);
                if (a > 0) want += lgammal(x + (long double)a) - lgammal((long double)a);
                EXPECT_NEAR(LnShortCountTerm(R, x, a), static_cast<double>(want), 1E-12) << R << " " << x << " " << a;
            }
    // Probabilities over every count sum to 1, across the two paths.
    CountProbCache c;
    double bin = 0, bb = 0;
    for (long x = 0; x <= 30; ++x) {
        bin += Bin(c, 30, x, 0.4, 1 + static_cast<int>(x));
        bb += BB(c, 30, x, 0.4, 0.3, 1 + static_cast<int>(x));
    }
    EXPECT_NEAR(bin, 1.0, 1E-8);
    EXPECT_NEAR(bb, 1.0, 1E-8);
    // A single individual of a billion: no cancellation of large log-gammas.
    const double N = 1E9, p = 1E-9;
    EXPECT_NEAR(Bin(c, N, 1, p) / Bin(c, N, 0, p), N * p / (1 - p), 1E-12);
}

TEST(CountProb, CacheRule) {
    CountProbCache c;
    const long big = kShortCountMax + 8;   // a count that uses the cached series terms
    const double good = Bin(c, 40, big, 0.2, 1);
    c.Bin.LGN1 += 1;   // spoil the cached term: a later quadrat with the same N and X reuses it...
    EXPECT_NE(Bin(c, 40, big, 0.2, 2), good);
    EXPECT_EQ(Bin(c, 40, big, 0.2, 1), good);   // ...quadrat 1 recomputes it
    c.Bin.LGN1 += 1;
    CountProbCache fresh;
    EXPECT_EQ(Bin(c, 41, big, 0.2, 3), Bin(fresh, 41, big, 0.2, 1));   // so does a new N
    c.Bin.LGN1 += 1;
    EXPECT_EQ(Bin(c, 41, 2, 0.2, 4), Bin(fresh, 41, 2, 0.2, 1));   // a short count does not use it
    // A call that leaves the slots behind its new keys marks them, so a long
    // count with that N afterwards recomputes them.
    Bin(c, 40, big, 0.2, 1);
    Bin(c, 42, 3, 0.2, 2);
    EXPECT_EQ(Bin(c, 42, big, 0.2, 3), Bin(fresh, 42, big, 0.2, 1));
    const double b = BB(c, 40, big, 0.1, 0.2, 1);
    c.BB.LGNX1 += 1;
    c.Invalidate();
    EXPECT_EQ(BB(c, 40, big, 0.1, 0.2, 2), b);
    // The two routines keep their own terms.
    const double b0 = Bin(c, 40, big, 0.2, 1), bb0 = BB(c, 45, big, 0.2, 0.2, 1);
    EXPECT_EQ(Bin(c, 40, big, 0.2, 2), b0);
    EXPECT_EQ(BB(c, 45, big, 0.2, 0.2, 2), bb0);
    // N = 1 always recomputes; a request for a derivative after one without gets its digamma.
    double r = 0, d1 = 0, d2 = NW, d3 = NW, d4 = NW, d5 = NW, p = 0.3;
    QuadratProbBinomial(c, r, 1, 1, 1, p, d1, d2, d3, d4, d5);
    c.Bin.DigN1 += 1;
    d1 = 0;
    QuadratProbBinomial(c, r, 1, 1, 2, p, d1, d2, d3, d4, d5);
    EXPECT_NEAR(d1, (1 + std::log(0.7)) * 0.3, 1E-9);   // digamma(2) - digamma(1) = 1
    Bin(c, 5, 2, 0.2, 1);
    d1 = 0;
    p = 0.2;
    QuadratProbBinomial(c, r, 5, 2, 2, p, d1, d2, d3, d4, d5);
    EXPECT_NEAR(d1, (1.0 / 4 + 1.0 / 5 + std::log(0.8)) * 0.2048, 1E-9);   // digamma(6) - digamma(4)
}

TEST(LnGamma, ValuesAndDerivatives) {
    struct Case {
        double x, lg, dig, trig;
    } cases[] = {{1, 0, -0.5772156649, 1.6449340668},
                 {2, 0, 1 - 0.5772156649, 0.6449340668},
                 {0.5, 0.5723649429, -1.9635100260, 4.9348022005},   // by reflection
                 {1 - 1E-15, 0, -0.5772156649, 1.6449340668},        // just below the reflection bound
                 {0.1, std::lgamma(0.1), -10.4237549404, 101.4332991507}};
    for (const Case& c : cases) {
        double lg = 0, dig = 0, trig = 0;
        LnGammaDerivs(c.x, lg, dig, trig);
        EXPECT_NEAR(lg, c.lg, 1E-9) << c.x;
        EXPECT_NEAR(dig, c.dig, 1E-7) << c.x;
        EXPECT_NEAR(trig, c.trig, 1E-6 * c.trig) << c.x;
    }
    double r = 0;
    LnGamma(123.4, r);
    EXPECT_NEAR(r, std::lgamma(123.4), 1E-8);
    // Only what is wanted is written; nothing for X < 0.
    double l2 = 7, d2 = NW, t2 = NW;
    LnGammaDerivs(3, l2, d2, t2);
    EXPECT_NEAR(l2, std::log(2.0), 1E-9);
    EXPECT_EQ(std::make_pair(d2, t2), std::make_pair(NW, NW));
    double l3 = 7, d3 = 8, t3 = 9;
    LnGammaDerivs(-0.5, l3, d3, t3);
    EXPECT_EQ(l3 + d3 + t3, 24);
}

}  // namespace
}  // namespace tivelor::numerics
