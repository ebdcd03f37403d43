#include "engine/Parameters.h"
#include "model/Model.h"
#include "app/App.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdUserSummary_Click() {
    EngineState& eng = app.eng;
    ParameterSet& par = eng.par;
    bool allZero = true;
    for (int i = 1; i <= par.NumPars && i <= par.ParValue.UBound(); ++i)
        if (par.ParValue(i) != 0) allZero = false;

    CloseRunWindows();
    frmMain& main = app.form<frmMain>();
    HandOver();

    double ModelF = 0;
    long NF = 1;
    if (!allZero) {
        main.stbMain5.SetPanel(1, "One moment please while one function call is executed...");
        ApplyFusedParameters(app, par.ParValue);
        MODEL(app, ModelF, par.ParValue, par.StepSize, par.ParName, par.FuseCode, par.NumPars, NF,
              eng.NObs, eng.AnaGrad, eng.AnaHess, eng.SampleSize);
        main.stbMain5.SetPanel(1, "");
    }
    ApplyFusedParameters(app, par.ParValue);
    NF = -1;
    MODEL(app, ModelF, par.ParValue, par.StepSize, par.ParName, par.FuseCode, par.NumPars, NF,
          eng.NObs, eng.AnaGrad, eng.AnaHess, eng.SampleSize);
    main.mnuApplication.Enabled = true;
}

}  // namespace tivelor
