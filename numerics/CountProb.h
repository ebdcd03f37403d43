// Probabilities of one quadrat's count: binomial and beta-binomial.
//
// Ln of a probability is a sum of log-gamma terms. Terms whose arguments
// differ by the count x are taken together: for 0 <= x <= kShortCountMax
//   Ln[R!/(x!(R-x)!)] and Ln[Gamma(x+a)/Gamma(a)]
// are the logarithm of a short product (nothing for x = 0), which is faster
// than the series and free of its cancellation. Larger counts use the series.
// The pieces below are shared by the two routines and by callers that loop
// over many quadrats, so that both give the same numbers.
#pragma once

#include "numerics/LnGamma.h"

namespace tivelor::numerics {

inline constexpr long kShortCountMax = 12;

// Ln Gamma by the series.
inline double LnG(double x) {
    double lg = 0, unused = 0;
    detail::LnGammaCore(x, 0, lg, unused, unused);
    return lg;
}

// Ln of R!/(x!(R-x)!), times Gamma(x+a)/Gamma(a) when a > 0, for 0 <= x <= kShortCountMax.
double LnShortCountTerm(double R, long x, double a);

// The same by the series, from its log-gamma values.
inline double SeriesCountTerm(double lgR1, double lgX1, double lgRX1) {
    return lgR1 - lgX1 - lgRX1;
}
inline double SeriesCountTerm(double lgR1, double lgX1, double lgRX1, double lgXA, double lgA) {
    return (lgR1 - lgX1 - lgRX1) + (lgXA - lgA);
}

// Ln of the binomial probability of x of R, with lp = Ln P and l1p = Ln(1 - P).
inline double BinomialLnP(double countTerm, double x, double R, double lp, double l1p) {
    return countTerm + x * lp + (R - x) * l1p;
}

// Beta parameters of the beta-binomial with mean P and intra-quadrat
// correlation T: a = (1 - T) P / T, at most 1E+07, b = (1 - P) a / P, s = a + b.
struct BetaShape {
    double a = 0, b = 0, s = 0;
};
inline BetaShape BetaBinomialShape(double P, double T) {
    BetaShape sh;
    sh.a = (1 - T) * P / T;
    if (sh.a > 1E+07) {
        sh.a = 1E+07;
        sh.b = (1 - P) * sh.a / P;
        sh.s = sh.a + sh.b;
    } else {
        sh.b = (1 - P) * sh.a / P;
        sh.s = (1 - T) / T;   // a + b, the same for every P
    }
    return sh;
}

// Ln of the beta-binomial probability of x of R from the count term and
// Ln Gamma at R - x + b, R + s, s and b.
inline double BetaBinomialLnP(double countTerm, double lgRXB, double lgRS, double lgS, double lgB) {
    return countTerm + (lgRXB - lgRS) + (lgS - lgB);
}

// Log-gamma terms that depend only on N and the count, kept by the two
// count-probability routines (each in its own slots, with its own keys).
// Level: -1 not held, 0 log-gamma only, 1 with digamma, 2 with trigamma.
struct CountProbSlots {
    double LGN1 = 0, DigN1 = 0, TrigN1 = 0;      // at N + 1
    double LGX1 = 0;                             // at X + 1
    double LGNX1 = 0, DigNX1 = 0, TrigNX1 = 0;   // at N - X + 1
    int LevelN1 = -1, LevelX1 = -1, LevelNX1 = -1;
};

// The cache of both routines, owned by the caller. Keys of -1 make the next
// call recompute; so does a call for quadrat 1 or with N = 1.
struct CountProbCache {
    CountProbSlots Bin, BB;
    double CacheNBin = -1.0, CacheNBB = -1.0;
    long CacheXBin = -1, CacheXBB = -1;
    void Invalidate() {
        CacheNBin = -1.0;
        CacheNBB = -1.0;
        CacheXBin = -1;
        CacheXBB = -1;
    }
};

// Probability that a quadrat receives X of N individuals, each falling in it
// with probability P (0 becomes 1E-06 and 1 becomes 0.999999 in P itself).
// D1, D2: dResult/dN and d2Result/dN2 when wanted; D3, D4, D5 become 0.
// An output holding kNotWanted on entry is left alone. D2 only with D1.
void QuadratProbBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                         double& P, double& D1, double& D2, double& D3, double& D4, double& D5);

// The same under overdispersion with intra-quadrat correlation T (0 < T < 1).
// D1 dResult/dN, D2 d2Result/dN2, D3 dResult/dT, D4 d2Result/dT2, D5 d2Result/dNdT;
// D2 only with D1, D4 and D5 only with D3. Past the cap of a the derivatives
// in T are those of the uncapped a and b.
void QuadratProbBetaBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                             double P, double T, double& D1, double& D2, double& D3,
                             double& D4, double& D5);

}  // namespace tivelor::numerics
