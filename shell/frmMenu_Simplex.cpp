#include <exception>

#include "engine/Parameters.h"
#include "engine/Simplex.h"
#include "shell/App.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

namespace {

// Clears SimplexBusy on every way out of the handler; after a failure it also
// gives back the Application menu, from which the main menu can be reached.
struct BusyMark {
    App& app;
    const int exceptions = std::uncaught_exceptions();
    explicit BusyMark(App& a) : app(a) { app.sw.SimplexBusy = platform::True; }
    ~BusyMark() {
        app.sw.SimplexBusy = platform::False;
        if (std::uncaught_exceptions() > exceptions)
            if (platform::Form* f = app.ui.forms.Find(frmMain::kName))
                static_cast<frmMain*>(f)->mnuApplication.Enabled = true;
    }
};

void BringMenuBack(App& app) {
    frmMenu& menu = app.form<frmMenu>();
    menu.Show();
    app.form<frmMain>().mnuApplication.Enabled = true;
    menu.EnableTaskButtons(true);
}

}  // namespace

void frmMenu::cmdSimplex_Click() {
    App& a = app;   // this window is closed below; the App outlives it
    if (a.simplex.Running) return;
    BusyMark busy(a);
    CloseRunWindows();
    EnableTaskButtons(false);
    HandOver();

    SetUpFusedParameters(a);
    PackAdjustableParameters(a);
    EngineState& eng = a.eng;
    if (eng.free.NFree == 0) {
        BringMenuBack(a);
        a.sw.SimplexBusy = platform::False;
        a.ShowMsg("All step sizes are zero", 48, "There is nothing to do!");
        return;
    }
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
