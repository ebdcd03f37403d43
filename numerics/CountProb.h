// Probabilities of one quadrat's count: binomial and beta-binomial.
#pragma once

#include "numerics/LnGamma.h"

namespace tivelor::numerics {

// Log-gamma terms that depend only on N and the count, kept by the two
// count-probability routines (each in its own slots, with its own keys).
// Level: 0 log-gamma only, 1 with digamma, 2 with trigamma.
struct CountProbSlots {
    double LGN1 = 0, DigN1 = 0, TrigN1 = 0;      // at N + 1
    double LGX1 = 0;                             // at X + 1
    double LGNX1 = 0, DigNX1 = 0, TrigNX1 = 0;   // at N - X + 1
    int LevelN1 = 0, LevelNX1 = 0;
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
