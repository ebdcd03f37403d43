#include "evaluation/frmCovData.h"

#include "state/App.h"
#include "state/Task.h"
#include "evaluation/Covariance.h"
#include "platform/runtime.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

namespace {

constexpr const char* kSaveNote = "Originally saved with the file name: ";

// The text without the save notes at its head (each a note line and an
// empty line).
std::string WithoutSaveNotes(const std::string& text) {
    std::size_t at = 0;
    while (text.compare(at, std::string::traits_type::length(kSaveNote), kSaveNote) == 0) {
        const std::size_t end = text.find("\r\n\r\n", at);
        if (end == std::string::npos) break;
        at = end + 4;
    }
    return text.substr(at);
}

}  // namespace

// ------------------------------------------------------------- frmCovData

frmCovData::frmCovData(App& a)
    : Form(a.ui, kName, "Covariance calculations", platform::FormKind::MdiChild, 14880, 7000), app(a) {
    cmdStop.OnClick = [this] { cmdStop_Click(); };
    cmdStop.StopsRun = true;
}

void frmCovData::Form_Load() {
    Move(100, 500, 15000, -1);
    Form_Resize();
}

void frmCovData::Form_Resize() {
    if (Width - 120 > 0) {
        cmdStop.Width = Width - 120;
        rtbCovData.Width = Width - 120;
    }
    const int height = Height - cmdStop.Height - 400;
    if (height > 0) rtbCovData.Height = height;
}

void frmCovData::cmdStop_Click() {
    if (cmdStop.Caption() == kInterruptCaption) {
        if (watch) watch->AskToStop();
        cmdStop.Enabled = false;
    } else if (platform::Form* chooser = app.ui.forms.Find(frmCovDisplay::kName)) {
        chooser->Show();
        chooser->SetFocus();
    }
}

void frmCovData::Form_Unload(int&) {
    if (platform::Form* f = app.ui.forms.Find(frmCovDisplay::kName))
        static_cast<frmCovDisplay*>(f)->cmdFile.Enabled = false;
    cmdStop.Caption = kInterruptCaption;
    cmdStop.StopsRun = true;
}

frmCovData& CovDataWindow(App& app) {
    frmCovData& w = app.form<frmCovData>();
    if (!w.Visible()) w.Show();
    return w;
}

void AppendCovData(App& app, const std::string& text) { CovDataWindow(app).rtbCovData.Append(text); }

CovGridWatch::~CovGridWatch() {
    if (platform::Form* f = app.ui.forms.Find(frmCovData::kName)) {
        frmCovData& w = static_cast<frmCovData&>(*f);
        if (w.watch == this) w.watch = nullptr;
    }
}

void CovGridWatch::Begin(bool) { CovDataWindow(app).watch = this; }

void CovGridWatch::Interruptible(bool on) { CovDataWindow(app).cmdStop.Enabled = on; }

void CovGridWatch::Panel(int i, const std::string& text) { app.form<frmMain>().stbMain5.SetPanel(i, text); }

// ---------------------------------------------------------- frmCovDisplay

frmCovDisplay::frmCovDisplay(App& a)
    : Form(a.ui, kName, "Covariance data", platform::FormKind::MdiChild, 3600, 5595), app(a) {
    cmdFile.ToolTipText = "Saves the (possibly edited) covariance output";
    txtExplain.Locked = true;
    cmdScreen.OnClick = [this] { cmdScreen_Click(); };
    cmdFile.OnClick = [this] { cmdFile_Click(); };
    cmdFinish.OnClick = [this] { cmdFinish_Click(); };
}

void frmCovDisplay::Form_Load() {
    cmdScreen.SetFocus();
    app.form<frmMain>().stbMain5.SetPanel(1, "");
    if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Unload();
    Move(11000, 1200, -1, -1);
    lblCovDisplay.Caption = app.sw.CovCompleted == "1" ? "Calculation completed. Do you wish to:" : "Do you wish to:";
    Show();
    SetFocus();
    cmdFile.Enabled = false;
    txtExplain.Text = "";
    txtExplain.Text =
        std::string("If the results for numerically calculated SEs etc. are similar for all three grids,") +
        " then the model's behaviour can be considered to be 'close-to-linear' and the" +
        " uncertainty around the parameter estimates can be considered to be" +
        " represented by a normal distribution.  Else the SEs etc. are probably" +
        " inaccurate and parameter uncertainty is more difficult to interpret.  This" +
        " problem tends to diminish as sample size increases and the central limit" +
        " theorem starts to apply.  Alternatively, you can choose the option 'Evaluate" +
        " estimates' from the Main Menu, then use maximum-likelihood or Bayesian" +
        " utilities to evaluate parameter uncertainty.";
}

void frmCovDisplay::cmdScreen_Click() {
    TaskGuard task(app, "Covariance report", this);
    if (!task) return;
    // A minimization, an edit or a new model since the run has dropped its
    // results: nothing is left to show, and the chooser closes.
    if (app.sw.CovDone != "on") {
        Unload();
        return;
    }
    cmdScreen.Enabled = false;
    CovarianceReport(app);
    // The report may have been abandoned because the chooser closed meanwhile.
    if (IsUnloaded()) return;
    cmdScreen.Enabled = true;
    cmdFile.Enabled = app.IsLoaded<frmCovData>();
}

void frmCovDisplay::cmdFile_Click() {
    if (!app.IsLoaded<frmCovData>()) return;
    const std::string& title = app.eng.AlgFileTitle;
    app.msg.DlgFilter = "All files (*.*)|*.*|";
    app.msg.DlgFilter += "Covariance files (*.cov)|*.cov|";
    app.msg.DlgFilter += "Named for algorithm file (" + title + ".*)|" + title + ".*|";
    TextWindowSave what;
    what.title = "Save covariance data in...";
    what.filter = app.msg.DlgFilter;
    what.filterIndex = 3;
    what.proposedName = platform::DateTimeFileName(app.ui.Now(), ".cov");
    // A covariance file carries one note: a later save replaces it, so that
    // the readers find the report's lines where they expect them.
    platform::RichTextBox& box = app.form<frmCovData>().rtbCovData;
    const std::string before = box.Text();
    box.Text = WithoutSaveNotes(before);
    if (!SaveTextWindow(app, CommonDialog1, box, what)) box.Text = before;
}

void frmCovDisplay::cmdFinish_Click() { Unload(); }

void frmCovDisplay::Form_Unload(int&) {
    app.UnloadIfLoaded<frmCovData>();
    ReturnToMainMenu(app);
    app.form<frmMain>().stbMain5.SetPanel(1, "");
}

}  // namespace tivelor
