// The one sequence by which the objective is evaluated at a vector X:
// fuse groups, the objective the engine was given (MODEL's), and the prior
// penalty when priors are on.
#pragma once

#include "platform/arrays.h"

namespace tivelor {

class App;

// selector: the NF passed to MODEL (the minimizers pass the raised call
// counter, other callers a constant; 0 sets the model up and -1 writes the
// results report, both without a prior term). withPrior: whether this evaluation
// includes the prior term; it is added only while PriorsOn is "on".
double EvaluateObjective(App& app, platform::Vec<double>& X, long selector, bool withPrior);

}  // namespace tivelor
