#include "model/Model.h"

#include "state/App.h"

namespace tivelor {

double ModelObjective(App& app, platform::Vec<double>& P, long NF) {
    EngineState& eng = app.eng;
    double F = 0;
    MODEL(app, F, P, eng.par.StepSize, eng.par.ParName, eng.par.FuseCode, eng.par.NumPars, NF, eng.NObs,
          eng.AnaGrad, eng.AnaHess, eng.SampleSize);
    return F;
}

void SetModelTitle(App& app) { app.model.ModelTitle = "Orsadine Estimation Model"; }

}  // namespace tivelor
