// The initial-value grid search: a per-species search over Logit[Theta] by
// Ln[UA] that proposes starting values, offered through frmGuessPars.
#pragma once

#include <string>

#include "platform/arrays.h"

namespace tivelor {

class App;

// Overwrites P(i) and P(NSpp + i) of every species with the best point of
// its ThetaGridRes by UAGridRes grid, in the link scales. A species fused to
// an earlier one takes that species' values.
void SearchInitialValues(App& app, platform::Vec<double>& P, platform::Vec<std::string>& FuseCode);

}  // namespace tivelor
