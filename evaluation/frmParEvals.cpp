#include "evaluation/frmParEvals.h"

#include "state/App.h"
#include "state/Task.h"
#include "evaluation/BayesianEvaluation.h"
#include "evaluation/MLEvaluation.h"

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
    ReturnToMainMenu(app, MenuBack::ApplicationMenu);
}

void frmParEvals::Form_Unload(int&) { ReturnToMainMenu(app, MenuBack::ApplicationMenu); }

void frmParEvals::cmdML_Click() {
    App& a = app;   // this window is unloaded below; the App outlives it
    TaskGuard task(a, "Likelihood profile", this);
    if (!task) return;
    Unload();
    MLParameterEvaluation(a);
    ReturnToMainMenu(a, MenuBack::ApplicationMenu);
}

void frmParEvals::cmdBP_Click() {
    App& a = app;
    TaskGuard task(a, "Bayesian posterior", this);
    if (!task) return;
    Unload();
    BayesianEvaluation(a);
    ReturnToMainMenu(a, MenuBack::ApplicationMenu);
}

void frmParEvals::cmdCancel_Click() {
    App& a = app;
    Unload();
    ReturnToMainMenu(a);
}

}  // namespace tivelor
