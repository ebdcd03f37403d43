#include "engine/Objective.h"

#include "engine/Likelihood.h"
#include "engine/Parameters.h"
#include "engine/Priors.h"
#include "model/Model.h"
#include "state/App.h"

namespace tivelor {

double EvaluateObjective(App& app, platform::Vec<double>& X, long selector, bool withPrior) {
    EngineState& eng = app.eng;
    const bool prior = withPrior && app.sw.PriorsOn == "on";
    // A prior term needs the likelihood constant; without it the penalty
    // would silently be 0.
    if (prior && eng.RecipLnLConst <= 0) EnterLikelihoodConstant(app);
    ApplyFusedParameters(app, X);
    double F = 0;
    long NF = selector;
    if (eng.TestModel)
        F = eng.TestModel(X, NF);
    else
        MODEL(app, F, X, eng.par.StepSize, eng.par.ParName, eng.par.FuseCode, eng.par.NumPars, NF,
              eng.NObs, eng.AnaGrad, eng.AnaHess, eng.SampleSize);
    if (prior) {
        PriorPenalty(app, X);
        F += eng.PriorPenaltyTotal;
    }
    return F;
}

}  // namespace tivelor
