#include "shell/AlgoEditor.h"
#include "app/App.h"
#include "evaluation/frmParEvals.h"
#include "ranking/frmRank.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

namespace {

// The tasks that later versions add: the button says so and the main menu stays.
void NotInThisVersion(App& app, const std::string& what, const std::string& title) {
    app.ShowMsg("This version of Tivelor does not " + what + " yet.", 64, title);
}

}  // namespace

void frmMenu::cmdEditAlg_Click() {
    CloseRunWindows();
    app.sw.AlgoFromMenu = "on";
    platform::Vec<int>& on = app.shell.AlgoColOn;
    if (on.UBound() < 9) on.ReDimPreserve(9);
    for (int k = 1; k <= 9; ++k) on(k) = 0;
    ShowAlgorithmEditor(app);
}

void frmMenu::cmdCovariance_Click() {
    NotInThisVersion(app, "calculate covariances", "Single model covariances");
}

void frmMenu::cmdParEstimate_Click() {
    App& a = app;   // this window is closed below
    CloseRunWindows();
    HandOver();
    a.sw.PriorProfileOn = "off";
    a.form<frmParEvals>().Show();
}

void frmMenu::cmdBayesian_Click() {
    NotInThisVersion(app, "set Bayesian priors", "Set Bayesian priors");
}

void frmMenu::cmdRank_Click() {
    App& a = app;   // this window is closed below
    Unload();
    a.form<frmMain>().mnuApplication.Enabled = false;
    a.form<frmRank>().Show();
}

}  // namespace tivelor
