#include "engine/Marquardt.h"
#include "engine/Parameters.h"
#include "shell/MenuRun.h"
#include "shell/frmMenu.h"
#include "windows/frmMarquardt.h"

namespace tivelor {

void frmMenu::cmdMarquardt_Click() {
    App& a = app;   // this window is closed below; the App outlives it
    MenuRunGuard busy(a, "Marquardt", a.sw.MarquardtBusy);
    if (!busy) return;
    // Whatever way the handler leaves, TerminalFreq is what it was.
    struct Restore {
        App& app;
        int terminalFreq;
        ~Restore() { app.eng.opt.TerminalFreq = terminalFreq; }
    } restore{a, a.eng.opt.TerminalFreq};

    CloseRunWindows();

    MarquardtSetup(a);
    EngineState& e = a.eng;
    // A cancelled set-up needs no arrays.
    if (e.DerivMethod.empty() || !SizeMarquardtArrays(a)) return ReturnToMainMenu(a);   // no run

    SetUpFusedParameters(a.eng);
    PackAdjustableParameters(a);
    if (e.free.NFree == 0) return NothingToDo(a);

    a.sw.CovDone = "off";
    MarquardtWatch watch(a);
    MarquardtMinimize(a, watch);
    e.SimplexValid = 0;
    e.opt.TerminalFreq = restore.terminalFreq;
    ReturnToMainMenu(a);
}

}  // namespace tivelor
