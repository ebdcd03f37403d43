// Count probabilities of the quadrat-count model and log-gamma.
#pragma once

#include "model/ModelState.h"

namespace tivelor {

class App;

// An output argument holding exactly this value on entry is not wanted.
inline constexpr double kNotWanted = 1E-100;

// Probability that a quadrat receives X of N individuals, each falling in it
// with probability P (0 becomes 1E-06 and 1 becomes 0.999999 in P itself).
// D1, D2: dResult/dN and d2Result/dN2 when wanted; D3, D4, D5 become 0.
// Qd = 1 recomputes the cached log-gamma terms.
void QuadratProbBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                         double& P, double& D1, double& D2, double& D3, double& D4, double& D5);
void QuadratProbBinomial(App& app, double& Result, double N, long X, int Qd, double& P,
                         double& D1, double& D2, double& D3, double& D4, double& D5);

// The same under overdispersion with intra-quadrat correlation T (0 < T < 1).
// D1 dResult/dN, D2 d2Result/dN2, D3 dResult/dT, D4 d2Result/dT2, D5 d2Result/dNdT.
void QuadratProbBetaBinomial(CountProbCache& cache, double& Result, double N, long X, int Qd,
                             double P, double T, double& D1, double& D2, double& D3,
                             double& D4, double& D5);
void QuadratProbBetaBinomial(App& app, double& Result, double N, long X, int Qd, double P,
                             double T, double& D1, double& D2, double& D3, double& D4,
                             double& D5);

// Ln Gamma(X) with digamma and trigamma when wanted (Trig only with Dig).
// Writes nothing for X < 0.
void LnGammaDerivs(double X, double& LnG, double& Dig, double& Trig);
// Ln Gamma(X) for X > 0.
void LnGamma(double X, double& Result);
double LnGammaValue(double X);

}  // namespace tivelor
