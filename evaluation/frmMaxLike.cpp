#include "evaluation/frmMaxLike.h"

#include "state/App.h"
#include "state/Task.h"
#include "platform/runtime.h"
#include "windows/TextWindows.h"

namespace tivelor {

frmMaxLike::frmMaxLike(App& a)
    : Form(a.ui, kName, "Maximum likelihood statistics", platform::FormKind::MdiChild, 11000, 6800), app(a) {
    cmdSaveML.ToolTipText = "Saves the (possibly edited) output appearing in the textbox below";
    rtbMaxLike.FontName = "Courier New";
    cmdSaveML.OnClick = [this] { cmdSaveML_Click(); };
}

void frmMaxLike::Form_Load() { Form_Resize(); }

void frmMaxLike::Form_Resize() { LayoutTextWindow(*this, &cmdSaveML, 0, rtbMaxLike); }

void frmMaxLike::Form_Unload(int&) { ReturnToMainMenu(app); }

void frmMaxLike::cmdSaveML_Click() {
    TextWindowSave what;
    what.title = "Save maximum-likelihood values in...";
    what.filter = std::string("All files (*.*)|*.*|") + "Max-like files (*.mlc)|*.mlc";
    what.filterIndex = 2;
    what.proposedName = platform::DateTimeFileName(app.ui.Now(), ".mlc");
    SaveTextWindow(app, CommonDialog1, rtbMaxLike, what);
}

}  // namespace tivelor
