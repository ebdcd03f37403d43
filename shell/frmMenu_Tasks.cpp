#include "state/App.h"
#include "state/Memory.h"
#include "state/Task.h"
#include "evaluation/Covariance.h"
#include "evaluation/frmCovData.h"
#include "evaluation/frmParEvals.h"
#include "priors/frmLoadPriors.h"
#include "ranking/frmRank.h"
#include "shell/AlgoEditor.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

void frmMenu::cmdEditAlg_Click() {
    CloseRunWindows();
    app.sw.AlgoFromMenu = "on";
    platform::Vec<int>& on = app.shell.AlgoColOn;
    if (on.UBound() < 9) on.ReDimPreserve(9);
    for (int k = 1; k <= 9; ++k) on(k) = 0;
    ShowAlgorithmEditor(app);
}

void frmMenu::cmdCovariance_Click() {
    App& a = app;   // this window is closed below; the App outlives it
    TaskGuard task(a, "Covariances");
    if (!task) return;
    // Covariance windows left open from an earlier run would show that run's
    // report next to this one's grids.
    a.UnloadIfLoaded<frmCovDisplay>();
    a.UnloadIfLoaded<frmCovData>();
    CloseRunWindows();

    if (a.sw.CovDone == "on" &&
        a.ShowMsg("View the last set of calculated covariance results?",
                  platform::vbYesNo + platform::vbQuestion, "Covariance") == platform::vbYes) {
        a.sw.CovCompleted = "0";
        frmCovDisplay& chooser = a.form<frmCovDisplay>();
        chooser.Show();
        chooser.SetFocus();
        // The chooser brings the main menu back when it closes.
        return ReturnToMainMenu(a, MenuBack::ApplicationMenu);
    }

    EngineState& e = a.eng;
    const int n = e.par.NumPars;
    ArraySizes sizes;
    for (platform::Matrix<double>* m : {&e.AnaHess, &e.HessMat, &e.InvWork, &e.CholFactor}) sizes.Set(*m, n, n);
    sizes.Set(e.AnaGrad, n);
    sizes.Set(e.MarqBeta, n);
    sizes.Set(e.GridNegLnL, n, n, 2);
    sizes.Set(e.CovStore, n, n, 3);
    if (!sizes.Commit()) {
        // As a cancel: the earlier results stay, and can still be viewed.
        ReturnToMainMenu(a);
        return TellNotEnoughMemory(a, "the covariance calculation", "Covariance calculator");
    }
    ++e.Generation;
    // The store no longer holds a finished run's results.
    a.sw.CovDone = "off";

    if (CovarianceCalculator(a)) a.sw.CovDone = "on";
    ReturnToMainMenu(a, MenuBack::ApplicationMenu);
}

void frmMenu::cmdParEstimate_Click() {
    App& a = app;   // this window is closed below
    CloseRunWindows();
    HandOver();
    a.sw.PriorProfileOn = "off";
    a.form<frmParEvals>().Show();
}

void frmMenu::cmdBayesian_Click() {
    App& a = app;   // this window is closed below
    a.sw.PriorsFromMenu = "on";
    CloseRunWindows();
    HandOver();
    a.form<frmLoadPriors>().Show();
}

void frmMenu::cmdRank_Click() {
    App& a = app;   // this window is closed below
    Unload();
    a.form<frmMain>().mnuApplication.Enabled = false;
    a.form<frmRank>().Show();
}

}  // namespace tivelor
