// Beta and binomial random variates on a uniform source.
#pragma once

#include <cstdint>

#include "numerics/Random.h"

namespace tivelor::numerics {

// One Beta(a, b) variate (mean a / (a + b)) by Cheng's rejection algorithms
// BB (both shapes above 1) and BC (either at most 1), kept within
// [1E-8, 0.99999999]; -1 without drawing when a <= 0 or b <= 0.
double RandomBeta(double a, double b, UniformSource& u);

// One binomial(n, p) variate, a whole number in 0..n: inversion when
// n min(p, 1 - p) < 30, else BTPE (Kachitvichyanukul and Schmeiser); 0
// without drawing when p < 0, p > 1 or n < 0.
double RandomBinomial(std::int32_t n, double p, UniformSource& u);

// Places total individuals quadrat by quadrat without replacement: quadrat
// j (0..nquad-1) takes a beta-binomial share, of mean p[j] and overdispersion
// R, of those not yet placed (binomial with p[j] when R is 0, or when one
// individual is left). Writes counts[0..nquad-1] and returns what is left.
std::int64_t PlaceIndividuals(std::int64_t total, const double* p, int nquad, double R,
                              UniformSource& u, std::int64_t* counts);

}  // namespace tivelor::numerics
