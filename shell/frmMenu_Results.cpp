#include "engine/Objective.h"
#include "state/App.h"
#include "state/Task.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdUserSummary_Click() {
    App& app = this->app;   // this window is closed below; the App outlives it
    EngineState& eng = app.eng;
    ParameterSet& par = eng.par;
    bool allZero = true;
    for (int i = 1; i <= par.NumPars && i <= par.ParValue.UBound(); ++i)
        if (par.ParValue(i) != 0) allZero = false;

    TaskGuard task(app, "Results summary");
    if (!task) return;
    CloseRunWindows();
    frmMain& main = app.form<frmMain>();

    // Neither call adds the prior term.
    if (!allZero) {
        main.stbMain5.SetPanel(1, "One moment please while one function call is executed...");
        EvaluateObjective(app, par.ParValue, 1, false);
        main.stbMain5.SetPanel(1, "");
    }
    EvaluateObjective(app, par.ParValue, -1, false);
    ReturnToMainMenu(app, MenuBack::ApplicationMenu);
}

}  // namespace tivelor
