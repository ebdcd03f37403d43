#include "numerics/CountProb.h"

#include <cmath>

namespace tivelor::numerics {

using detail::LnGammaCore;

namespace {

inline bool Wanted(double d) { return d != kNotWanted; }

constexpr double kFactorial[kShortCountMax + 1] = {1,       1,        2,         6,         24,
                                                   120,     720,      5040,      40320,     362880,
                                                   3628800, 39916800, 479001600};

// Whether psi(z + h) - psi(z) has a form free of the cancellation of two
// close values: a short sum when h is a small whole number, the asymptotic
// series of the difference for large z.
inline bool DirectStep(double z, double h) {
    return h >= 0 && ((h <= kShortCountMax && h == std::floor(h)) || z >= 100);
}

// psi(z + h) - psi(z), and at level 2 psi'(z + h) - psi'(z), by that form.
void PolygammaStep(double z, double h, int level, double& dd, double& dt) {
    dd = 0;
    dt = 0;
    if (h <= kShortCountMax && h == std::floor(h)) {
        for (double k = 0; k < h; ++k) {
            const double q = 1 / (z + k);
            dd += q;
            dt -= q * q;
        }
        return;
    }
    const double u = 1 / z, v = 1 / (z + h), d = -h * u * v;   // v - u
    dd = std::log1p(h * u) - d / 2 - d * (v + u) / 12 + d * (v + u) * (v * v + u * u) / 120;
    if (level >= 2) {
        const double v2 = v * v, u2 = u * u;
        dt = d + d * (v + u) / 2 + d * (v2 + v * u + u2) / 6 -
             d * (v2 * v2 + v2 * v * u + v2 * u2 + v * u2 * u + u2 * u2) / 30;
    }
}

// The cache rule shared by both routines. The terms at N + 1 and N - X + 1
// are held to level nLevel (-1: not needed), the term at X + 1 when a long
// count needs it; a slot not brought up to date for the new keys is marked as
// not held.
void UpdateCache(CountProbSlots& c, double kN, long kX, double N, long X, int Qd, int nLevel,
                 bool longCount) {
    double unused = 0;
    const double x = static_cast<double>(X);
    const bool fresh = Qd == 1 || N == 1;
    const bool sameN = !fresh && N == kN;
    const bool sameX = !fresh && X == kX;
    const bool needN = nLevel >= 0;
    if (!(sameN && c.LevelN1 >= nLevel)) {
        if (needN) {
            LnGammaCore(N + 1, nLevel, c.LGN1, c.DigN1, c.TrigN1);
            c.LevelN1 = nLevel;
        } else {
            c.LevelN1 = -1;
        }
    }
    if (!(sameX && c.LevelX1 >= 0)) {
        if (longCount) {
            LnGammaCore(x + 1, 0, c.LGX1, unused, unused);
            c.LevelX1 = 0;
        } else {
            c.LevelX1 = -1;
        }
    }
    if (!(sameN && sameX && c.LevelNX1 >= nLevel)) {
        if (needN) {
            LnGammaCore(N - x + 1, nLevel, c.LGNX1, c.DigNX1, c.TrigNX1);
            c.LevelNX1 = nLevel;
        } else {
            c.LevelNX1 = -1;
        }
    }
}

// Level to which the cache holds the terms at N + 1 and N - X + 1: the
// polygammas only when their difference is not taken directly.
inline int CacheLevel(int level, bool direct, bool longCount) {
    if (level >= 1 && !direct) return level;
    return longCount ? 0 : -1;
}

// psi(N + 1) - psi(N - X + 1) and the same of trigamma, directly or from the cache.
void CountStep(const CountProbSlots& c, double N, long X, int level, bool direct, double& pN,
               double& qN) {
    const double x = static_cast<double>(X);
    if (direct) {
        PolygammaStep(N - x + 1, x, level, pN, qN);
    } else {
        pN = c.DigN1 - c.DigNX1;
        qN = c.TrigN1 - c.TrigNX1;
    }
}

inline bool ShortCount(long X) { return X >= 0 && X <= kShortCountMax; }

// Log-gamma with digamma and trigamma up to a level.
struct Polygammas {
    double lg = 0, d = 0, t = 0;
};
inline Polygammas At(double z, int level) {
    Polygammas g;
    LnGammaCore(z, level, g.lg, g.d, g.t);
    return g;
}

}  // namespace

double LnShortCountTerm(double R, long x, double a) {
    if (x <= 0) return 0;
    const double base = R - static_cast<double>(x);
    double prod = 1;
    if (a > 0) {
        for (long k = 1; k <= x; ++k) {
            const double kd = static_cast<double>(k);
            prod *= (base + kd) * (a + kd - 1);
        }
    } else {
        for (long k = 1; k <= x; ++k) prod *= base + static_cast<double>(k);
    }
    return std::log(prod / kFactorial[x]);
}

void QuadratProbBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                         double& P, double& D1, double& D2, double& D3, double& D4, double& D5) {
    const bool want1 = Wanted(D1);
    const bool want2 = Wanted(D2) || Wanted(D4) || Wanted(D5);
    const int level = want2 ? 2 : (want1 ? 1 : 0);
    D3 = 0;
    D4 = 0;
    D5 = 0;
    const bool shortCount = ShortCount(X);
    CountProbSlots& c = cache.Bin;
    const bool direct = DirectStep(N - static_cast<double>(X) + 1, static_cast<double>(X));
    UpdateCache(c, cache.CacheNBin, cache.CacheXBin, N, X, Qd, CacheLevel(level, direct, !shortCount),
                !shortCount);
    if (P == 0) P = 1E-06;
    if (P == 1) P = 0.999999;
    const double x = static_cast<double>(X);
    const double l1p = std::log(1 - P);
    const double term =
        shortCount ? LnShortCountTerm(N, X, 0) : SeriesCountTerm(c.LGN1, c.LGX1, c.LGNX1);
    Result = std::exp(BinomialLnP(term, x, N, std::log(P), l1p));
    if (level >= 1) {
        double pN = 0, qN = 0;
        CountStep(c, N, X, level, direct, pN, qN);
        const double d1 = (pN + l1p) * Result;
        if (want1) D1 = d1;
        if (Wanted(D2)) D2 = (pN + l1p) * d1 + qN * Result;
    }
    cache.CacheNBin = N;
    cache.CacheXBin = X;
}

void QuadratProbBetaBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                             double P, double T, double& D1, double& D2, double& D3,
                             double& D4, double& D5) {
    const bool want2 = Wanted(D2) || Wanted(D4) || Wanted(D5);
    const bool want1 = Wanted(D1) || Wanted(D3);
    const int level = want2 ? 2 : (want1 ? 1 : 0);
    const BetaShape sh = BetaBinomialShape(P, T);
    const double a = sh.a, b = sh.b, s = sh.s;
    const bool shortCount = ShortCount(X);
    CountProbSlots& c = cache.BB;
    const double x = static_cast<double>(X);
    // The two differences in N are taken directly together or from the
    // series together, whose errors then largely cancel.
    const bool direct = DirectStep(N - x + 1, x) && DirectStep(N - x + b, x + a);
    UpdateCache(c, cache.CacheNBB, cache.CacheXBB, N, X, Qd, CacheLevel(level, direct, !shortCount),
                !shortCount);

    // The slopes in T are those of the uncapped a, b and s, with the
    // polygammas taken at the uncapped values too. Each pair of polygammas
    // whose difference has no direct form is taken from the series.
    const double au = (1 - T) * P / T;
    const double bu = (1 - P) * au / P, su = (1 - T) / T;
    const bool capped = au != a;
    const bool seriesA = level >= 1 && !DirectStep(au, x);
    const bool seriesB = level >= 1 && !DirectStep(bu, N - x);
    const bool seriesS = level >= 1 && !DirectStep(su, N);
    const int levelA = seriesA && !capped ? level : 0;
    const Polygammas gNXB = At(N - x + b, level), gNS = At(N + s, level);
    const Polygammas gS = At(s, seriesS && !capped ? level : 0);
    const Polygammas gB = At(b, seriesB && !capped ? level : 0);
    Polygammas gA, gXA;
    if (!shortCount || levelA > 0) {
        gA = At(a, levelA);
        gXA = At(x + a, levelA);
    }
    const double term = shortCount ? LnShortCountTerm(N, X, a)
                                    : SeriesCountTerm(c.LGN1, c.LGX1, c.LGNX1, gXA.lg, gA.lg);
    Result = std::exp(BetaBinomialLnP(term, gNXB.lg, gNS.lg, gS.lg, gB.lg));
    cache.CacheNBB = N;
    cache.CacheXBB = X;
    if (level == 0) return;
    // Derivatives of L in N: [psi(N + 1) - psi(N - x + 1)] - [psi(N + s) - psi(N - x + b)].
    double pN = 0, qN = 0, pR = gNS.d - gNXB.d, qR = gNS.t - gNXB.t;
    CountStep(c, N, X, level, direct, pN, qN);
    if (direct) PolygammaStep(N - x + b, x + a, level, pR, qR);
    const double gN = pN - pR;
    const double d1 = gN * Result;
    if (Wanted(D1)) D1 = d1;
    if (Wanted(D2)) D2 = gN * d1 + (qN - qR) * Result;

    const Polygammas uNXB = capped ? At(N - x + bu, level) : gNXB;
    const Polygammas uNS = capped ? At(N + su, level) : gNS;
    double pA = 0, qA = 0, pB = 0, qB = 0, pS = 0, qS = 0;
    if (seriesA) {
        const Polygammas uA = capped ? At(au, level) : gA, uXA = capped ? At(x + au, level) : gXA;
        pA = uXA.d - uA.d;
        qA = uXA.t - uA.t;
    } else {
        PolygammaStep(au, x, level, pA, qA);
    }
    if (seriesB) {
        const Polygammas uB = capped ? At(bu, level) : gB;
        pB = uNXB.d - uB.d;
        qB = uNXB.t - uB.t;
    } else {
        PolygammaStep(bu, N - x, level, pB, qB);
    }
    if (seriesS) {
        const Polygammas uS = capped ? At(su, level) : gS;
        pS = uNS.d - uS.d;
        qS = uNS.t - uS.t;
    } else {
        PolygammaStep(su, N, level, pS, qS);
    }
    const double T2 = T * T, T3 = T * T * T;
    const double da = -P / T2, db = -(1 - P) / T2;
    const double dda = 2 * P / T3, ddb = 2 * (1 - P) / T3;
    const double ds = da + db, dds = dda + ddb;
    // The large first-order parts of the three terms cancel as T nears 0.
    const double gT = da * pA + db * pB - ds * pS;
    const double d3 = gT * Result;
    if (Wanted(D3)) D3 = d3;
    if (Wanted(D4)) {
        const double hT = (da * da * qA + dda * pA) + (db * db * qB + ddb * pB) -
                          (ds * ds * qS + dds * pS);
        D4 = gT * d3 + hT * Result;
    }
    if (Wanted(D5)) {
        // d/dN of gT: db trigamma(N - x + b) - ds trigamma(N + s), as
        // -db [trigamma(N + s) - trigamma(N - x + b)] - da trigamma(N + s).
        double unused = 0, tStep = uNS.t - uNXB.t;
        if (DirectStep(N - x + bu, x + au)) PolygammaStep(N - x + bu, x + au, 2, unused, tStep);
        D5 = (-db * tStep - da * uNS.t) * Result + gN * d3;
    }
}

}  // namespace tivelor::numerics
