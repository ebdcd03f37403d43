#include "uncertainty/frmAbort.h"

#include "state/App.h"

namespace tivelor {

frmAbort::frmAbort(App& a)
    : Form(a.ui, kName, "Abort randomizations?", platform::FormKind::TopLevel, 3015, 975), app(a) {
    cmdAbort.OnClick = [this] { cmdAbort_Click(); };
    cmdAbort.StopsRun = true;
}

void frmAbort::Form_Load() { ZOrder(1); }

void frmAbort::cmdAbort_Click() {
    if (watch) watch->AskToStop();
    Unload();
}

AbortWatch::~AbortWatch() {
    if (platform::Form* f = app.ui.forms.Find(frmAbort::kName)) {
        frmAbort& w = static_cast<frmAbort&>(*f);
        if (w.watch == this) w.watch = nullptr;
    }
}

bool AbortWatch::GoOn(const Iteration&) { return !stopAsked; }

void AbortWatch::Begin(bool) {
    frmAbort& w = app.form<frmAbort>();
    w.watch = this;
    w.Show();
}

void AbortWatch::Close() { app.UnloadIfLoaded<frmAbort>(); }

}  // namespace tivelor
