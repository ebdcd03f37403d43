#include "shell/frmEditVS.h"

#include <cmath>

#include "platform/runtime.h"
#include "shell/AlgoEditor.h"
#include "app/App.h"
#include "shell/frmAlgo.h"

namespace tivelor {

using platform::QBColor;

namespace {
bool Near(double a, double b) { return std::fabs(a - b) < 1E-10; }
}  // namespace

frmEditVS::frmEditVS(App& a)
    : Form(a.ui, kName, "Edit all parameters", platform::FormKind::MdiChild, 4380, 3855), app(a) {
    int tab = 0;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &cmdFree, &cmdProp, &cmdNoProp, &lblNote, &Change_Fraction, &cmdUnFuse})
        c->TabIndex = tab++;
    cmdFree.OnClick = [this] { cmdFree_Click(); };
    cmdProp.OnClick = [this] { cmdProp_Click(); };
    cmdNoProp.OnClick = [this] { cmdNoProp_Click(); };
    Change_Fraction.OnClick = [this] { Change_Fraction_Click(); };
    cmdUnFuse.OnClick = [this] { cmdUnFuse_Click(); };
}

frmAlgo* frmEditVS::Editor() const {
    return static_cast<frmAlgo*>(app.ui.forms.Find(frmAlgo::kName));
}

void frmEditVS::Form_Load() {
    Move(500, 500, -1, -1);
    if (frmAlgo* algo = Editor()) algo->Enabled = false;
}

void frmEditVS::Form_Unload(int&) {
    if (frmAlgo* algo = Editor()) algo->Enabled = true;
}

void frmEditVS::cmdFree_Click() { ChangeValues(Steps::Free); }
void frmEditVS::cmdProp_Click() { ChangeValues(Steps::All); }
void frmEditVS::cmdNoProp_Click() { ChangeValues(Steps::Keep); }

void frmEditVS::Change_Fraction_Click() {
    Unload();
    AskStepProportion(app);
}

void frmEditVS::ChangeValues(Steps steps) {
    Unload();
    if (steps != Steps::Keep) AskStepProportion(app);
    app.msg.MsgTitle = steps == Steps::Free  ? "Edit free parameter values"
                       : steps == Steps::All ? "Edit all parameter values"
                                             : "Edit a parameter value";
    frmAlgo* algo = Editor();
    if (!algo) return;
    app.msg.NumFormat = "0.0000E+00";
    algo->ZeroFormat = "0";
    algo->grdVS.TopRow = 1;
    const ParameterSet& par = app.eng.par;
    for (int i = 1; i <= par.NumPars; ++i) {
        if (steps == Steps::Free && par.StepSize(i) == 0) {
            algo->ScrollForRow(i);
            continue;
        }
        if (!ValuePrompt(*algo, i)) return;
        if (steps != Steps::Keep) StepUpdate(*algo, i, steps);
    }
}

bool frmEditVS::ValuePrompt(frmAlgo& algo, int i) {
    ParameterSet& par = app.eng.par;
    algo.ScrollForRow(i);
    const std::int32_t oldColor = algo.MarkAsked(i, 1);
    app.msg.MsgText = "Enter the new value of parameter #" + platform::CStr(i);
    for (;;) {
        std::string answer =
            app.ui.InputBox(app.msg.MsgText, app.msg.MsgTitle, platform::CStr(par.ParValue(i)), 8000, 1500);
        if (answer.empty()) {
            algo.Paint(i, 1, oldColor);
            return false;
        }
        const double v = platform::Val(answer);
        if (Near(v, par.ParValue(i))) {
            algo.Paint(i, 1, oldColor);
            return true;
        }
        if (!IsNumeric(answer)) continue;
        par.ParValue(i) = v;
        algo.ShowNumber(i, 1, v);
        algo.Paint(i, 1, QBColor(12));
        return true;
    }
}

void frmEditVS::StepUpdate(frmAlgo& algo, int i, Steps steps) {
    ParameterSet& par = app.eng.par;
    algo.grdVS.Row = i;
    algo.grdVS.Col = 2;
    const std::int32_t oldColor = algo.grdVS.CellForeColor(i, 2);
    const double oldStep = par.StepSize(i);
    const double v = par.ParValue(i), prop = app.shell.StepProp;
    double step = v == 0 ? prop : prop * v;
    if (steps == Steps::All) step = std::fabs(step);
    par.StepSize(i) = step;
    algo.ShowNumber(i, 2, step);
    algo.Paint(i, 2, Near(step, oldStep) ? oldColor : QBColor(12));
}

void frmEditVS::cmdUnFuse_Click() {
    ParameterSet& par = app.eng.par;
    frmAlgo* algo = Editor();
    for (int i = 1; i <= par.NumPars; ++i) {
        par.FuseCode(i) = "~~";
        if (!algo) continue;
        algo->ScrollForRow(i);
        algo->grdVS.Row = i;
        algo->grdVS.Col = 3;
        algo->ShowFuse(i, "~~");
        algo->Paint(i, 3, QBColor(12));
    }
}

}  // namespace tivelor
