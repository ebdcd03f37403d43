// The greedy species accumulation curve of a sample and the two richness
// estimators that extrapolate it: the hyperbolic (Michaelis-Menten) fit of the
// reciprocals and the maximum-likelihood asymptote.
#pragma once

#include <vector>

#include "numerics/Estimators.h"

namespace tivelor::numerics {

struct AccumulationCurve {
    // Index 0 .. m; element 0 stays 0.
    std::vector<double> Incr;    // species first seen at step i
    std::vector<double> Accum;   // species seen after i steps
    std::vector<double> X;       // 1/i
    std::vector<int> Order;      // quadrat taken at step i
    int LevelsAt = 0;            // first step adding nothing after one that did; 0 when none
};

// Adds the quadrats one at a time, always the untaken quadrat that adds the
// most unseen species (the lowest-numbered on a tie). A quadrat is never taken
// twice; once nothing new remains, the rest follow in their own order, adding 0.
AccumulationCurve GreedyAccumulation(const CountTable& counts);

// A fitted estimator with the residual variance of its regression.
struct CurveFit {
    RichnessEstimate Est;
    MaybeNumber ResidVar;
};

// Hyperbolic fit of 1/Accum(i) on 1/i; S is the number of species counted.
// The estimate is defined only for an intercept b0 with 0 < b0 < 1/S.
CurveFit FitMichaelisMenten(const AccumulationCurve& curve, int S);

// Maximum-likelihood asymptote of the curve: regression of Accum(i) on Accum(i)/i.
CurveFit FitAsymptoteML(const AccumulationCurve& curve, int S);

}  // namespace tivelor::numerics
