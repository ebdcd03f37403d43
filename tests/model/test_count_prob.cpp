#include <cmath>

#include <gtest/gtest.h>

#include "model/CountProb.h"

namespace tivelor {
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
    // a of about 5E+07 is capped at 1E+07: close to the binomial.
    EXPECT_NEAR(BB(c, 5, 2, 0.5, 1E-08), 0.3125, 1E-5);
    // N need not be whole: the probabilities of 0..N still sum to about 1
    // when N is whole, and stay positive in between.
    double sum = 0;
    for (long x = 0; x <= 7; ++x) sum += BB(c, 7, x, 0.3, 0.2);
    EXPECT_NEAR(sum, 1.0, 1E-8);
    EXPECT_GT(Bin(c, 7.5, 3, 0.3), 0.0);
}

TEST(CountProb, BinomialReplacesProbabilityOneInCallersVariable) {
    CountProbCache c;
    double p = 1;
    double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW;
    QuadratProbBinomial(c, r, 3, 3, 1, p, d1, d2, d3, d4, d5);
    EXPECT_EQ(p, 0.999999);
    const double first = r;
    QuadratProbBinomial(c, r, 3, 3, 1, p, d1, d2, d3, d4, d5);
    EXPECT_EQ(p, 0.999999);
    EXPECT_EQ(r, first);
    EXPECT_NEAR(r, std::pow(0.999999, 3), 1E-9);
    double z = 0;
    QuadratProbBinomial(c, r, 3, 0, 1, z, d1, d2, d3, d4, d5);
    EXPECT_EQ(z, 1E-06);
}

TEST(CountProb, SentinelOutputsAreLeftAlone) {
    CountProbCache c;
    double r = 0, d1 = NW, d2 = NW, d3 = NW, d4 = NW, d5 = NW, p = 0.3;
    QuadratProbBinomial(c, r, 6, 2, 1, p, d1, d2, d3, d4, d5);
    EXPECT_EQ(d1, NW);
    EXPECT_EQ(d2, NW);
    EXPECT_EQ(d3, 0.0);   // the binomial has no T
    EXPECT_EQ(d4, 0.0);
    EXPECT_EQ(d5, 0.0);
    d1 = d2 = d3 = d4 = d5 = NW;
    QuadratProbBetaBinomial(c, r, 6, 2, 1, 0.3, 0.2, d1, d2, d3, d4, d5);
    EXPECT_EQ(d1, NW);
    EXPECT_EQ(d3, NW);
    EXPECT_EQ(d5, NW);
}

TEST(CountProb, BinomialDerivativesMatchDifferences) {
    CountProbCache c;
    const double n = 12.3, p = 0.15, h = 1E-4;
    double r = 0, d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0, pp = p;
    QuadratProbBinomial(c, r, n, 2, 1, pp, d1, d2, d3, d4, d5);
    const double up = Bin(c, n + h, 2, p), dn = Bin(c, n - h, 2, p);
    EXPECT_NEAR(d1, (up - dn) / (2 * h), 1E-7);
    EXPECT_NEAR(d2, (up - 2 * r + dn) / (h * h), 1E-5);
}

TEST(CountProb, BetaBinomialDerivativesMatchDifferences) {
    CountProbCache c;
    const double n = 9.7, p = 0.2, t = 0.15;
    const long x = 3;
    double r = 0, d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0;
    QuadratProbBetaBinomial(c, r, n, x, 1, p, t, d1, d2, d3, d4, d5);
    auto deriv = [&](double nn, double tt, int which) {
        double rr = 0, e1 = 0, e2 = 0, e3 = 0, e4 = 0, e5 = 0;
        QuadratProbBetaBinomial(c, rr, nn, x, 1, p, tt, e1, e2, e3, e4, e5);
        return which == 0 ? rr : which == 1 ? e1 : e3;
    };
    const double hn = 1E-4, ht = 1E-5;
    EXPECT_NEAR(d1, (deriv(n + hn, t, 0) - deriv(n - hn, t, 0)) / (2 * hn), 1E-7);
    EXPECT_NEAR(d3, (deriv(n, t + ht, 0) - deriv(n, t - ht, 0)) / (2 * ht), 1E-6);
    EXPECT_NEAR(d2, (deriv(n + hn, t, 1) - deriv(n - hn, t, 1)) / (2 * hn), 1E-6);
    EXPECT_NEAR(d4, (deriv(n, t + ht, 2) - deriv(n, t - ht, 2)) / (2 * ht), 1E-4);
    EXPECT_NEAR(d5, (deriv(n + hn, t, 2) - deriv(n - hn, t, 2)) / (2 * hn), 1E-5);

    // With a capped, the slope in T stays the uncapped one.
    QuadratProbBetaBinomial(c, r, 5, 2, 1, 0.5, 1E-08, d1, d2, d3, d4, d5);
    const double flat = (BB(c, 5, 2, 0.5, 1.1E-08) - BB(c, 5, 2, 0.5, 0.9E-08)) / 2E-09;
    EXPECT_EQ(flat, 0.0);
    EXPECT_NE(d3, 0.0);
}

TEST(CountProb, CacheRule) {
    CountProbCache c;
    const double good = Bin(c, 5, 2, 0.2, 1);
    // Same N and X on a later quadrat reuse the cached terms...
    c.Bin.LGN1 += 1;
    EXPECT_NE(Bin(c, 5, 2, 0.2, 2), good);
    // ...quadrat 1 recomputes them, and so does a change of N.
    EXPECT_EQ(Bin(c, 5, 2, 0.2, 1), good);
    c.Bin.LGN1 += 1;
    EXPECT_NEAR(Bin(c, 6, 2, 0.2, 3), 15 * 0.04 * std::pow(0.8, 4), 1E-9);
    // N = 1 always recomputes.
    const double one = Bin(c, 1, 1, 0.3, 1);
    c.Bin.LGN1 += 1;
    EXPECT_EQ(Bin(c, 1, 1, 0.3, 2), one);
    // Invalidated keys recompute.
    const double b = BB(c, 8, 1, 0.1, 0.2, 1);
    c.BB.LGNX1 += 1;
    c.Invalidate();
    EXPECT_EQ(BB(c, 8, 1, 0.1, 0.2, 2), b);
}

TEST(CountProb, RoutinesKeepTheirOwnCachedTerms) {
    // Alternating the two routines with different N does not mix their terms.
    CountProbCache c;
    const double b0 = Bin(c, 5, 0, 0.2, 1);
    const double bb0 = BB(c, 9, 0, 0.2, 0.2, 1);
    EXPECT_EQ(Bin(c, 5, 0, 0.2, 2), b0);
    EXPECT_EQ(BB(c, 9, 0, 0.2, 0.2, 2), bb0);
    // A wider request after a narrower one on the same keys gets its digamma.
    Bin(c, 5, 2, 0.2, 1);
    double r = 0, d1 = 0, d2 = NW, d3 = NW, d4 = NW, d5 = NW, p = 0.2;
    QuadratProbBinomial(c, r, 5, 2, 2, p, d1, d2, d3, d4, d5);
    CountProbCache fresh;
    double r2 = 0, e1 = 0, e2 = NW, e3 = NW, e4 = NW, e5 = NW, p2 = 0.2;
    QuadratProbBinomial(fresh, r2, 5, 2, 1, p2, e1, e2, e3, e4, e5);
    EXPECT_EQ(d1, e1);
}

TEST(LnGamma, ValuesAndDerivatives) {
    double lg = 0, dig = 0, trig = 0;
    LnGammaDerivs(1, lg, dig, trig);
    EXPECT_NEAR(lg, 0, 1E-9);
    EXPECT_NEAR(dig, -0.5772157, 1E-7);
    EXPECT_NEAR(trig, 1.644934, 1E-6);
    LnGammaDerivs(2, lg, dig, trig);
    EXPECT_NEAR(dig, 1 - 0.5772156649, 1E-8);
    EXPECT_NEAR(trig, 0.6449340668, 1E-8);
    LnGammaDerivs(0.5, lg, dig, trig);   // by reflection
    EXPECT_NEAR(lg, 0.5723649, 1E-7);
    EXPECT_NEAR(dig, -1.9635100260, 1E-7);
    EXPECT_NEAR(trig, 4.9348022005, 1E-6);
    LnGammaDerivs(1 - 1E-15, lg, dig, trig);   // just below the reflection bound
    EXPECT_NEAR(dig, -0.5772157, 1E-7);
    EXPECT_NEAR(trig, 1.644934, 1E-6);
    LnGammaDerivs(0.1, lg, dig, trig);
    EXPECT_NEAR(lg, std::lgamma(0.1), 1E-9);
    double r = 0;
    LnGamma(10, r);
    EXPECT_NEAR(r, std::log(362880.0), 1E-8);
    LnGamma(123.4, r);
    EXPECT_NEAR(r, std::lgamma(123.4), 1E-8);

    // Only what is wanted is written; nothing for X < 0.
    double l2 = 7, d2 = NW, t2 = NW;
    LnGammaDerivs(3, l2, d2, t2);
    EXPECT_NEAR(l2, std::log(2.0), 1E-9);
    EXPECT_EQ(d2, NW);
    EXPECT_EQ(t2, NW);
    double l3 = 7, d3 = 8, t3 = 9;
    LnGammaDerivs(-0.5, l3, d3, t3);
    EXPECT_EQ(l3, 7);
    EXPECT_EQ(d3, 8);
    EXPECT_EQ(t3, 9);
}

}  // namespace
}  // namespace tivelor
