// The Bayesian prior penalty added to the objective while priors are on.
#pragma once

#include "numerics/PriorTerms.h"
#include "platform/arrays.h"

namespace tivelor {

class App;

// Sets PriorTerm(1..NumPars) to each parameter's -ln prior density at P,
// measured from the prior's mode, and PriorPenaltyTotal to RecipLnLConst
// times their sum. P is not changed.
void PriorPenalty(App& app, platform::Vec<double>& P);

// The standard normal cumulative probability of the cliff priors.
using numerics::NormalCDF;

// Shows the review of prior likelihoods after a run or a function call
// while priors are on.
void ShowPriorReview(App& app);

}  // namespace tivelor
