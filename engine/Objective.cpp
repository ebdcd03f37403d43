#include "engine/Objective.h"

#include "engine/Parameters.h"
#include "engine/Priors.h"
#include "state/App.h"

namespace tivelor {

double EvaluateObjective(App& app, platform::Vec<double>& X, long selector, bool withPrior) {
    EngineState& eng = app.eng;
    const bool prior = withPrior && app.sw.PriorsOn == "on";
    // A prior term needs the likelihood constant; without it the penalty
    // would silently be 0.
    if (prior && eng.RecipLnLConst <= 0) eng.AskLikelihoodConstant();
    ApplyFusedParameters(app, X);
    double F = eng.Objective(X, selector);
    if (prior) {
        PriorPenalty(app, X);
        F += eng.PriorPenaltyTotal;
    }
    return F;
}

}  // namespace tivelor
