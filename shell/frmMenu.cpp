#include "shell/frmMenu.h"

#include "model/Model.h"
#include "state/App.h"
#include "shell/Quit.h"
#include "windows/frmMain.h"

namespace tivelor {

frmMenu::frmMenu(App& a)
    : Form(a.ui, kName, "Main menu", platform::FormKind::MdiChild, 8790, 4050), app(a) {
    cmdInitialize.ToolTipText = "Loads a form that tells you how to prepare your data and initialize your model";
    cmdLoadAlg.ToolTipText = "Loads or creates a file that contains parameter estimates and other info used by the minimization algorithms";
    cmdEditAlg.ToolTipText = "Allows you to edit the algorithm data";
    cmdSaveAlg.ToolTipText = "Allows you to save the algorithm data";
    cmdOneFunction.ToolTipText = "Calculates the objective function at the current parameter estimates";
    cmdBayesian.ToolTipText = "Allows you to assign Bayesian prior probabilities to the parameters to be estimated";
    cmdSimplex.ToolTipText = "Searches for an objective function minimum using simplex geometry";
    cmdMarquardt.ToolTipText = "Searches for an objective function minimum using numerical (automatic) or analytical (if user-supplied) derivatives";
    cmdRank.ToolTipText = "Uses AICc to rank and average among the best competing models";
    cmdUserSummary.ToolTipText = "Produces a saveable summary (and perhaps plots) of the results for a single model at the current parameter estimates";
    cmdCovariance.ToolTipText = "Produces an asymptotically consistent (i.e., central limit theorem applies when sample size is large) covariance matrix of the estimated parameters";
    cmdParEstimate.ToolTipText = "Uses maximum-likelihood or Bayesian procedures to assess individual parameter estimates";
    cmdQuit.ToolTipText = "Quit Tivelor";

    lblWelcome.FontName = "Times New Roman";
    lblWelcome.FontSize = 15.75;
    lblWelcome.FontBold = true;
    lblWelcome.FontItalic = true;
    lblModelName.FontName = "Times New Roman";
    lblModelName.FontSize = 12;
    lblModelName.FontBold = true;
    lblModelName.Alignment = 2;
    Label1.FontItalic = true;

    for (platform::CommandButton* b : TaskButtons())
        if (b != &cmdInitialize) b->Enabled = false;

    int tab = 0;
    for (platform::CommandButton* b : {&cmdInitialize, &cmdLoadAlg, &cmdEditAlg, &cmdSaveAlg,
                                       &cmdSimplex, &cmdMarquardt, &cmdUserSummary,
                                       &cmdOneFunction, &cmdCovariance, &cmdBayesian,
                                       &cmdParEstimate, &cmdQuit, &cmdRank})
        b->TabIndex = tab++;

    cmdInitialize.OnClick = [this] { cmdInitialize_Click(); };
    cmdLoadAlg.OnClick = [this] { cmdLoadAlg_Click(); };
    cmdEditAlg.OnClick = [this] { cmdEditAlg_Click(); };
    cmdSaveAlg.OnClick = [this] { cmdSaveAlg_Click(); };
    cmdSimplex.OnClick = [this] { cmdSimplex_Click(); };
    cmdMarquardt.OnClick = [this] { cmdMarquardt_Click(); };
    cmdOneFunction.OnClick = [this] { cmdOneFunction_Click(); };
    cmdUserSummary.OnClick = [this] { cmdUserSummary_Click(); };
    cmdCovariance.OnClick = [this] { cmdCovariance_Click(); };
    cmdParEstimate.OnClick = [this] { cmdParEstimate_Click(); };
    cmdBayesian.OnClick = [this] { cmdBayesian_Click(); };
    cmdRank.OnClick = [this] { cmdRank_Click(); };
    cmdQuit.OnClick = [this] { cmdQuit_Click(); };
}

std::vector<platform::CommandButton*> frmMenu::TaskButtons() {
    return {&cmdInitialize, &cmdLoadAlg,     &cmdEditAlg,    &cmdSaveAlg,
            &cmdSimplex,    &cmdMarquardt,   &cmdUserSummary, &cmdOneFunction,
            &cmdCovariance, &cmdBayesian,    &cmdParEstimate, &cmdRank};
}

void frmMenu::EnableTaskButtons(bool enabled) {
    for (platform::CommandButton* b : TaskButtons()) b->Enabled = enabled;
}

void frmMenu::Form_Load() {
    Move(3000, 2000, -1, -1);
    SetFocus();
    ApplyButtonRule();
    SetModelTitle(app);
    lblModelName.Caption = app.model.ModelTitle;
}

void frmMenu::ApplyButtonRule() {
    if (!app.form<frmMain>().Initialized) return;
    if (app.eng.AlgFileName.empty()) {
        EnableTaskButtons(false);
        cmdInitialize.Enabled = true;
        cmdLoadAlg.Enabled = true;
    } else {
        EnableTaskButtons(true);
    }
}

void frmMenu::CloseRunWindows() {
    for (const char* name : {"frmOneFunction", "frmSimplex", "frmMarquardt", "frmParEvals"})
        if (platform::Form* f = app.ui.forms.Find(name)) f->Unload();
}

void frmMenu::HandOver() { app.shellAccess->HandOver(true); }

void frmMenu::cmdQuit_Click() { RunQuitSequence(app, QuitFrom::Other); }

}  // namespace tivelor
