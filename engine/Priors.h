// The Bayesian prior penalty added to the objective while priors are on.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

class App;

// Sets PriorTerm(1..NumPars) to each parameter's -ln prior density at P,
// measured from the prior's mode, and PriorPenaltyTotal to RecipLnLConst
// times their sum. P is not changed.
void PriorPenalty(App& app, platform::Vec<double>& P);

// Standard normal cumulative probability of X, written into Result.
void NormalCDF(double X, double& Result);
double NormalCDF(double X);

}  // namespace tivelor
