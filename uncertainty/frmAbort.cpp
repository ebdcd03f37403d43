#include "uncertainty/frmAbort.h"

#include "app/App.h"

namespace tivelor {

frmAbort::frmAbort(App& a)
    : Form(a.ui, kName, "Abort randomizations?", platform::FormKind::TopLevel, 3015, 975), app(a) {
    cmdAbort.OnClick = [this] { cmdAbort_Click(); };
}

void frmAbort::Form_Load() { ZOrder(1); }

void frmAbort::cmdAbort_Click() {
    app.sw.AbortFlag = platform::True;
    Unload();
}

}  // namespace tivelor
