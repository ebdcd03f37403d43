#include "engine/Marquardt.h"
#include "engine/Parameters.h"
#include "shell/App.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdMarquardt_Click() {
    App& a = app;
    a.sw.MarquardtBusy = platform::True;
    // Whatever way the handler leaves, the run is over and TerminalFreq is
    // what it was.
    struct Restore {
        App& app;
        int terminalFreq;
        ~Restore() {
            app.eng.opt.TerminalFreq = terminalFreq;
            app.sw.MarquardtBusy = platform::False;
        }
    } restore{a, a.eng.opt.TerminalFreq};

    CloseRunWindows();
    EnableTaskButtons(false);
    HandOver();

    auto backToMenu = [&a] {
        a.form<frmMain>().mnuApplication.Enabled = true;
        frmMenu& menu = a.form<frmMenu>();
        menu.Show();
        menu.EnableTaskButtons(true);
    };

    MarquardtSetup(a);
    EngineState& e = a.eng;
    const int n = e.par.NumPars;
    e.InvWork.ReDim(n, n);
    e.HessMat.ReDim(n, n);
    e.MarqBeta.ReDim(n);
    if (e.DerivMethod == "N") e.GridNegLnL.ReDim(n, n, 2);
    if (e.DerivMethod == "A") {
        e.AnaHess.ReDim(n, n);
        e.AnaGrad.ReDim(n);
    }
    if (e.DerivMethod.empty()) {
        a.form<frmMenu>().Show();
        a.form<frmMain>().mnuApplication.Enabled = true;
        return;
    }

    SetUpFusedParameters(a);
    PackAdjustableParameters(a);
    if (e.free.NFree == 0) {
        backToMenu();
        a.sw.MarquardtBusy = platform::False;
        a.ShowMsg("All step sizes are zero", 48, "There is nothing to do!");
        return;
    }

    a.sw.CovDone = "off";
    MarquardtMinimize(a);
    e.SimplexValid = 0;
    e.opt.TerminalFreq = restore.terminalFreq;

    backToMenu();
}

}  // namespace tivelor
