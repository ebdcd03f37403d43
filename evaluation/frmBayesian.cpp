#include "evaluation/frmBayesian.h"

#include "state/App.h"
#include "state/Task.h"
#include "platform/runtime.h"
#include "ranking/frmRank.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

frmBayesian::frmBayesian(App& a)
    : Form(a.ui, kName, "Bayesian statistics", platform::FormKind::MdiChild, 11000, 6800), app(a) {
    cmdSaveBayesian.ToolTipText = "Saves the (possibly edited) output appearing in the textbox below";
    rtbBayesian.FontName = "Courier New";
    cmdSaveBayesian.OnClick = [this] { cmdSaveBayesian_Click(); };
}

void frmBayesian::Form_Load() { Form_Resize(); }

void frmBayesian::Form_Resize() { LayoutTextWindow(*this, &cmdSaveBayesian, 0, rtbBayesian); }

void frmBayesian::Form_Unload(int&) {
    if (app.sw.PriorsFromMenu == "on") {
        app.sw.PriorsFromMenu = "off";
        ReturnToMainMenu(app);
    }
    if (app.sw.PriorsFromRank == "on") {
        app.sw.PriorsFromRank = "off";
        frmRank& rank = app.form<frmRank>();
        rank.Show();
        rank.cmdAICc.SetFocus();
    }
    app.form<frmMain>().stbMain5.SetPanel(1, "");
    app.ui.DoEvents();
}

void frmBayesian::cmdSaveBayesian_Click() {
    TextWindowSave what;
    what.title = "Save Bayesian posterior values in...";
    what.filter = std::string("All files (*.*)|*.*|") + "Bayesian posterior files (*.pos)|*.pos";
    what.filterIndex = 2;
    what.proposedName = platform::DateTimeFileName(app.ui.Now(), ".pos");
    SaveTextWindow(app, CommonDialog1, rtbBayesian, what);
}

}  // namespace tivelor
