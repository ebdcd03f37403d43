#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "shell/MenuRun.h"
#include "shell/frmMenu.h"
#include "windows/frmSimplex.h"

namespace tivelor {

void frmMenu::cmdSimplex_Click() {
    App& a = app;   // this window is closed below; the App outlives it
    if (a.simplex.Running) return;
    MenuRunGuard busy(a, "Simplex", a.sw.SimplexBusy);
    if (!busy) return;
    CloseRunWindows();

    SetUpFusedParameters(a.eng);
    PackAdjustableParameters(a);
    EngineState& eng = a.eng;
    if (eng.free.NFree == 0) return NothingToDo(a);
    if (eng.SimplexValid == 0) SizeSimplexArrays(a.eng);
    a.sw.CovDone = "off";
    SimplexWatch watch(a);
    SimplexMinimize(a, watch);
    ReturnAtTaskEnd(a);
}

}  // namespace tivelor
