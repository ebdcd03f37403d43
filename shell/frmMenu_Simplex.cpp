#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "shell/MenuRun.h"

namespace tivelor {

void frmMenu::cmdSimplex_Click() {
    App& a = app;   // this window is closed below; the App outlives it
    if (a.simplex.Running) return;
    MenuRunGuard busy(a, a.sw.SimplexBusy);
    CloseRunWindows();
    EnableTaskButtons(false);
    HandOver();

    SetUpFusedParameters(a);
    PackAdjustableParameters(a);
    EngineState& eng = a.eng;
    if (eng.free.NFree == 0) return NothingToDo(a, a.sw.SimplexBusy);
    if (eng.SimplexValid == 0) {
        const int np = eng.par.NumPars;
        eng.InvWork.ReDim(1, 1);
        eng.HessMat.ReDim(1, 1);
        eng.AnaHess.ReDim(1, 1);
        eng.GridNegLnL.ReDim(1, 1, 1);
        eng.CovStore.ReDim(1, 1, 1);
        eng.MarqBeta.ReDim(1);
        eng.AnaGrad.ReDim(1);
        eng.Simplex.ReDim(np, np + 2);
    }
    a.sw.CovDone = "off";
    SimplexMinimize(a);
    BringMenuBack(a);
}

}  // namespace tivelor
