#include "numerics/CountProb.h"

#include <cmath>

namespace tivelor::numerics {

using detail::LnGammaCore;

namespace {

inline bool Wanted(double d) { return d != kNotWanted; }

// The cache rule shared by both routines.
void UpdateCache(CountProbSlots& c, double& kN, long& kX, double N, long X, int Qd, int level) {
    double unused = 0;
    const double x = static_cast<double>(X);
    if (!(Qd != 1 && N == kN && N != 1 && c.LevelN1 >= level)) {
        LnGammaCore(N + 1, level, c.LGN1, c.DigN1, c.TrigN1);
        c.LevelN1 = level;
    }
    if (!(Qd != 1 && X == kX && N != 1)) LnGammaCore(x + 1, 0, c.LGX1, unused, unused);
    if (!(Qd != 1 && N == kN && X == kX && N != 1 && c.LevelNX1 >= level)) {
        LnGammaCore(N - x + 1, level, c.LGNX1, c.DigNX1, c.TrigNX1);
        c.LevelNX1 = level;
    }
}

}  // namespace

void QuadratProbBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                         double& P, double& D1, double& D2, double& D3, double& D4, double& D5) {
    const bool want1 = Wanted(D1);
    const bool want2 = Wanted(D2) || Wanted(D4) || Wanted(D5);
    const int level = want2 ? 2 : (want1 ? 1 : 0);
    D3 = 0;
    D4 = 0;
    D5 = 0;
    CountProbSlots& c = cache.Bin;
    UpdateCache(c, cache.CacheNBin, cache.CacheXBin, N, X, Qd, level);
    if (P == 0) P = 1E-06;
    if (P == 1) P = 0.999999;
    const double x = static_cast<double>(X);
    const double l1p = std::log(1 - P);
    const double L = c.LGN1 - c.LGX1 - c.LGNX1 + x * std::log(P) + (N - x) * l1p;
    Result = std::exp(L);
    const double d1 = (c.DigN1 + l1p - c.DigNX1) * Result;
    if (want1) D1 = d1;
    if (Wanted(D2)) D2 = (c.DigN1 - c.DigNX1 + l1p) * d1 + (c.TrigN1 - c.TrigNX1) * Result;
    cache.CacheNBin = N;
    cache.CacheXBin = X;
}

void QuadratProbBetaBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                             double P, double T, double& D1, double& D2, double& D3,
                             double& D4, double& D5) {
    const bool want2 = Wanted(D2) || Wanted(D4) || Wanted(D5);
    const bool want1 = Wanted(D1) || Wanted(D3);
    const int level = want2 ? 2 : (want1 ? 1 : 0);
    double a = (1 - T) * P / T;
    if (a > 1E+07) a = 1E+07;
    const double b = (1 - P) * a / P;
    CountProbSlots& c = cache.BB;
    UpdateCache(c, cache.CacheNBB, cache.CacheXBB, N, X, Qd, level);
    const double x = static_cast<double>(X);
    double lgAB = 0, dAB = 0, tAB = 0, lgA = 0, dA = 0, tA = 0, lgB = 0, dB = 0, tB = 0;
    double lgXA = 0, dXA = 0, tXA = 0, lgNXB = 0, dNXB = 0, tNXB = 0, lgNAB = 0, dNAB = 0,
           tNAB = 0;
    LnGammaCore(a + b, level, lgAB, dAB, tAB);
    LnGammaCore(a, level, lgA, dA, tA);
    LnGammaCore(b, level, lgB, dB, tB);
    LnGammaCore(x + a, level, lgXA, dXA, tXA);
    LnGammaCore(N - x + b, level, lgNXB, dNXB, tNXB);
    LnGammaCore(N + a + b, level, lgNAB, dNAB, tNAB);
    const double L = c.LGN1 - c.LGX1 - c.LGNX1 + lgAB - lgA - lgB + lgXA + lgNXB - lgNAB;
    Result = std::exp(L);
    if (level == 0) {
        cache.CacheNBB = N;
        cache.CacheXBB = X;
        return;
    }
    const double gN = c.DigN1 - c.DigNX1 + dNXB - dNAB;
    const double d1 = gN * Result;
    if (Wanted(D1)) D1 = d1;
    const double T2 = T * T, T3 = T * T * T;
    const double da = -P / T2, db = -(1 - P) / T2;
    const double dda = 2 * P / T3, ddb = 2 * (1 - P) / T3;
    const double ds = da + db, dds = dda + ddb;
    const double gT = dAB * ds - dA * da - dB * db + dXA * da + dNXB * db - dNAB * ds;
    const double d3 = gT * Result;
    if (Wanted(D3)) D3 = d3;
    if (Wanted(D2)) D2 = gN * d1 + (c.TrigN1 - c.TrigNX1 + tNXB - tNAB) * Result;
    if (Wanted(D4)) {
        const double hT = (tAB * ds * ds + dAB * dds) - (tA * da * da + dA * dda) -
                          (tB * db * db + dB * ddb) + (tXA * da * da + dXA * dda) +
                          (tNXB * db * db + dNXB * ddb) - (tNAB * ds * ds + dNAB * dds);
        D4 = gT * d3 + hT * Result;
    }
    if (Wanted(D5)) D5 = (tNXB * db - tNAB * ds) * Result + gN * d3;
    cache.CacheNBB = N;
    cache.CacheXBB = X;
}

}  // namespace tivelor::numerics
