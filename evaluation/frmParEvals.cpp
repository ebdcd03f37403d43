#include "evaluation/frmParEvals.h"

#include "state/App.h"
#include "evaluation/BayesianEvaluation.h"
#include "evaluation/MLEvaluation.h"
#include "windows/frmMain.h"

namespace tivelor {

frmParEvals::frmParEvals(App& a)
    : Form(a.ui, kName, "Evaluation of estimates", platform::FormKind::MdiChild, 6015, 3555), app(a) {
    lblNote4.FontName = "Times New Roman";
    lblNote3.FontName = "Times New Roman";
    cmdML.OnClick = [this] { cmdML_Click(); };
    cmdBP.OnClick = [this] { cmdBP_Click(); };
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmParEvals::Form_Load() {
    Move(3000, 1200, -1, -1);
    app.form<frmMain>().mnuApplication.Enabled = true;
}

void frmParEvals::Form_Unload(int&) { app.form<frmMain>().mnuApplication.Enabled = true; }

void frmParEvals::cmdML_Click() {
    App& a = app;   // this window is unloaded below; the App outlives it
    Unload();
    frmMain& main = a.form<frmMain>();
    main.mnuApplication.Enabled = false;
    MLParameterEvaluation(a);
    main.mnuApplication.Enabled = true;
}

void frmParEvals::cmdBP_Click() {
    App& a = app;
    Unload();
    frmMain& main = a.form<frmMain>();
    main.mnuApplication.Enabled = false;
    BayesianEvaluation(a);
    main.mnuApplication.Enabled = true;
}

void frmParEvals::cmdCancel_Click() {
    App& a = app;
    Unload();
    a.shellAccess->MainMenu().Show();
    a.form<frmMain>().mnuApplication.Enabled = true;
}

}  // namespace tivelor
