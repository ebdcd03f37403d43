#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "shell/MenuRun.h"
#include "state/Memory.h"
#include "shell/frmMenu.h"
#include "windows/frmSimplex.h"

namespace tivelor {

void frmMenu::cmdSimplex_Click() {
    App& a = app;   // this window is closed below; the App outlives it
    if (a.simplex.Running) return;
    MenuRunGuard busy(a, "Simplex", a.sw.SimplexBusy);
    if (!busy) return;
    CloseRunWindows();

    EngineState& eng = a.eng;
    // A new simplex's arrays are made before the fuse codes and the free
    // parameters are touched; with every step 0 there is nothing to make.
    ArraySizes sizes;
    bool anyStep = false;
    for (int i = 1; i <= eng.par.NumPars && !anyStep; ++i) anyStep = eng.par.StepSize(i) != 0;
    if (eng.SimplexValid == 0 && anyStep) SimplexArraySizes(a, sizes);
    if (!sizes.Made()) {
        ReturnToMainMenu(a);
        return TellNoMemoryForSimplex(a);
    }
    SetUpFusedParameters(a.eng);
    PackAdjustableParameters(a);
    if (eng.free.NFree == 0) return NothingToDo(a);
    sizes.Commit();
    a.sw.CovDone = "off";
    SimplexWatch watch(a);
    SimplexMinimize(a, watch);
    ReturnToMainMenu(a);
}

}  // namespace tivelor
