#include "shell/frmOneFunction.h"

#include "state/App.h"
#include "state/Task.h"
#include "windows/TextWindows.h"

namespace tivelor {

frmOneFunction::frmOneFunction(App& a)
    : Form(a.ui, kName, "One function call", platform::FormKind::MdiChild, 13880, 5000), app(a) {}

void frmOneFunction::Form_Load() {
    Move(500, 500, 14000, -1);
    app.sw.OneFunctionOpen = platform::True;
    Form_Resize();
}

void frmOneFunction::Form_Resize() { LayoutTextWindow(*this, nullptr, 0, rtbOneFunction); }

void frmOneFunction::Form_Unload(int&) {
    rtbOneFunction.Text = "";
    app.sw.OneFunctionOpen = platform::False;
    ReturnToMainMenu(app);
}

}  // namespace tivelor
