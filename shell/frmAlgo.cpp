#include "shell/frmAlgo.h"

#include <cmath>
#include <optional>

#include "engine/Parameters.h"
#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Task.h"
#include "shell/Quit.h"
#include "windows/TextWindows.h"
#include "shell/frmEditVS.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

using platform::QBColor;

namespace {

constexpr const char* kNumFormat = "0.0000E+00";
constexpr std::int32_t kEditBack = 0xE0E0E0;
constexpr int kAlignLeftCentre = 1, kAlignCentre = 4;
constexpr int kVisibleRows = 18;   // data rows in view below the heading

bool Near(double a, double b) { return std::fabs(a - b) < 1E-10; }

}  // namespace

// ------------------------------------------------------------------ window

frmAlgo::frmAlgo(App& a)
    : Form(a.ui, kName, "Algorithm data file name is:  ", platform::FormKind::MdiChild, 14130, 5895),
      app(a) {
    lblAction.ForeColor = 0x00FF0000;
    lblStep0.ForeColor = 0x00C00000;
    lblLinks.ForeColor = 0x00C00000;
    lblFilename.ToolTipText = "A log file will record the output of a minimization in progress";

    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&lblAbsRel, &txtAbsRel, &lblMaxIterations,
                                                   &lblMaxFunctions, &txtMaxFunctions,
                                                   &lblTerminalFreq, &txtTerminalFreq,
                                                   &lblReduction, &txtReduction, &fraLog,
                                                   &cmdUpdate, &cmdFinish})
        c->container = &fraEditBox;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &lblFilename, &txtFileName, &cmdOpenLog, &cmdCloseLog, &lblFileFreq, &txtFileFreq})
        c->container = &fraLog;

    for (platform::TextBox* t :
         {&txtAbsRel, &txtMaxFunctions, &txtTerminalFreq, &txtReduction, &txtFileName, &txtFileFreq})
        t->FontName = "Times New Roman";
    // Design state: the options are enabled by the load, item by item.
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &txtAbsRel, &txtMaxFunctions, &txtTerminalFreq, &txtReduction, &txtFileFreq,
             &lblAbsRel, &lblMaxIterations, &lblMaxFunctions, &lblTerminalFreq, &lblReduction,
             &lblFileFreq, &cmdCloseLog})
        c->Enabled = false;
    txtValue.Visible = false;

    cmdUpdate.OnClick = [this] { cmdUpdate_Click(); };
    cmdFinish.OnClick = [this] { cmdFinish_Click(); };
    grdVS.OnDblClick = [this] { grdVS_DblClick(); };
    txtValue.OnLostFocus = [this] { txtValue_LostFocus(); };
    txtAbsRel.OnClick = [this] { txtAbsRel_Click(); };
    txtMaxFunctions.OnLostFocus = [this] { txtMaxFunctions_LostFocus(); };
    txtReduction.OnLostFocus = [this] { txtReduction_LostFocus(); };
    txtTerminalFreq.OnLostFocus = [this] { txtTerminalFreq_LostFocus(); };
    txtFileFreq.OnLostFocus = [this] { txtFileFreq_LostFocus(); };
    cmdOpenLog.OnClick = [this] { cmdOpenLog_Click(); };
    cmdCloseLog.OnClick = [this] { cmdCloseLog_Click(); };
    mnuExit.OnClick = [this] { mnuExit_Click(); };
    mnuValue.OnClick = [this] { mnuValue_Click(); };
    mnuStep.OnClick = [this] { mnuStep_Click(); };
    mnuFraction.OnClick = [this] { mnuFraction_Click(); };
    mnuUnFuse.OnClick = [this] { mnuUnFuse_Click(); };
    mnuFinish.OnClick = [this] { mnuFinish_Click(); };
    mnuCascade.OnClick = [this] { app.form<frmMain>().Arrange(0); };
    mnuTileHorizontal.OnClick = [this] { app.form<frmMain>().Arrange(1); };
    mnuTileVertical.OnClick = [this] { app.form<frmMain>().Arrange(2); };
    mnuArrangeIcons.OnClick = [this] { app.form<frmMain>().Arrange(3); };
}

bool frmAlgo::Offered(int item) const {
    const platform::Vec<int>& on = app.shell.AlgoColOn;
    return item > on.UBound() || on(item) == 0;
}

void frmAlgo::Form_Load() {
    SetUpFusedParameters(app.eng);
    PackAdjustableParameters(app);
    app.UnloadIfLoaded<frmMenu>();
    if (app.shell.StepProp == 0) app.shell.StepProp = 0.1;

    Move(500, 1500, 14250, -1);
    fraEditBox.Left = 9750;
    Caption = "Algorithm data file name is:  " + app.eng.AlgFileName;

    SetUpGrid();
    app.msg.NumFormat = kNumFormat;
    ZeroFormat = "0";
    FillGrid();

    const MinOptions& opt = app.eng.opt;
    const bool logOpen = app.shell.LogFileOpen != 0;
    if (Offered(4)) {
        lblAbsRel.Enabled = true;
        txtAbsRel.Enabled = true;
        ShowTolerance();
    }
    if (Offered(5)) {
        lblMaxIterations.Enabled = true;
        lblMaxFunctions.Enabled = true;
        txtMaxFunctions.Enabled = true;
        txtMaxFunctions.Text = platform::CStr(static_cast<long long>(opt.MaxCalls));
    }
    if (Offered(6)) {
        lblTerminalFreq.Enabled = true;
        txtTerminalFreq.Enabled = true;
        txtTerminalFreq.Text = platform::CStr(opt.TerminalFreq);
    }
    if (Offered(7)) {
        txtFileFreq.Enabled = logOpen;
        lblFileFreq.Enabled = logOpen;
        txtFileName.Text = logOpen ? opt.LogFileName : "";
        txtFileFreq.Text = logOpen ? platform::CStr(opt.FileFreq) : "0";
    }
    if (Offered(8)) {
        cmdOpenLog.Enabled = !logOpen;
        cmdCloseLog.Enabled = logOpen;
    }
    if (Offered(9)) {
        lblReduction.Enabled = true;
        txtReduction.Enabled = true;
        txtReduction.Text = platform::Format(opt.StepReduction, "0.####");
    }
    if (app.sw.RankOn == "on" || app.sw.AlgoFromCov == "on") {
        for (platform::Control* c : std::initializer_list<platform::Control*>{
                 &fraLog, &lblFilename, &lblFileFreq, &cmdCloseLog, &cmdOpenLog})
            c->Enabled = false;
    }
}

void frmAlgo::SetUpGrid() {
    grdVS.TopRow = 1;
    grdVS.LeftCol = 1;
    grdVS.Rows = app.eng.par.NumPars + 1;
    grdVS.FixedRows = 1;
    for (int c = 1; c <= 4; ++c) grdVS.SetCellBackColor(0, c, QBColor(7));
    grdVS.GridColor = QBColor(8);
    grdVS.Height = 19 * kRowHeight + 60;
    grdVS.Width = 9500;
    const int widths[5] = {850, 1000, 1000, 500, 10000};
    const char* headings[5] = {"Parameter", "Value", "Step", "Fuse",
                               "Parameter description [null value; valid values]"};
    for (int c = 0; c < 5; ++c) {
        grdVS.SetColWidth(c, widths[c]);
        grdVS.SetTextMatrix(0, c, headings[c]);
        grdVS.SetCellAlignment(0, c, c < 4 ? kAlignCentre : kAlignLeftCentre);
    }
}

void frmAlgo::FillGrid() {
    const ParameterSet& par = app.eng.par;
    for (int i = 1; i <= par.NumPars; ++i) {
        if (Offered(1)) {
            grdVS.SetTextMatrix(i, 0, platform::CStr(i));
            grdVS.SetCellAlignment(i, 0, kAlignCentre);
            grdVS.SetTextMatrix(i, 4, par.ParName(i));
            grdVS.SetCellAlignment(i, 4, kAlignLeftCentre);
            Paint(i, 4, QBColor(1));
            ShowNumber(i, 1, par.ParValue(i));
            grdVS.SetCellAlignment(i, 1, kAlignCentre);
            Paint(i, 1, QBColor(par.ParValue(i) != 0 ? 1 : 0));
        }
        if (Offered(2)) {
            ShowNumber(i, 2, par.StepSize(i));
            grdVS.SetCellAlignment(i, 2, kAlignCentre);
            Paint(i, 2, QBColor(par.StepSize(i) != 0 ? 1 : 0));
        }
        if (Offered(3)) {
            ShowFuse(i, par.FuseCode(i));
            grdVS.SetCellAlignment(i, 3, kAlignCentre);
            Paint(i, 3, QBColor(par.FuseCode(i) != "~~" ? 1 : 0));
        }
    }
}

void frmAlgo::ShowTolerance() {
    const double tol = app.eng.opt.ConvTol;
    if (tol < 0) {
        lblAbsRel.Caption = "Relative tolerance for convergence (TC):";
        txtAbsRel.Text = platform::Format(std::fabs(tol), "0.000E+00");
    } else {
        lblAbsRel.Caption = "Absolute tolerance for convergence (TC):";
        txtAbsRel.Text = platform::Format(tol, "0.000E+00");
    }
}

void frmAlgo::cmdUpdate_Click() {
    CommitPendingEdit();
    Form_Load();
}

void frmAlgo::cmdFinish_Click() { Unload(); }

void frmAlgo::mnuFinish_Click() { Unload(); }

void frmAlgo::mnuExit_Click() {
    CommitPendingEdit();
    RunQuitSequence(app, QuitFrom::Other);
}

void frmAlgo::Form_Unload(int&) {
    CommitPendingEdit();
    app.UnloadIfLoaded<frmEditVS>();
    SetUpFusedParameters(app.eng);
    PackAdjustableParameters(app);
    app.ShowMsg("Algorithm data, if changed, have been updated", platform::vbInformation, "Just so you know");
    app.sw.FormClosed = platform::True;
    if (app.sw.AlgoFromMenu == "on") {
        ReturnToMainMenu(app);
        app.sw.AlgoFromMenu = "off";
    }
    if (app.sw.RankOn == "on") {
        if (platform::Form* rank = app.ui.forms.Find("frmRank")) {
            rank->Show();
            if (platform::Control* aicc = rank->FindControl("cmdAICc")) aicc->SetFocus();
        }
    }
    if (app.sw.AlgoFromCov == "on") app.sw.AlgoFromCov = "off";
}

// ---------------------------------------------------------- grid painting

void frmAlgo::ScrollForRow(int i) {
    if (i > 10 && grdVS.TopRow < grdVS.Rows - 1) grdVS.TopRow = grdVS.TopRow + 1;
}

std::int32_t frmAlgo::MarkAsked(int r, int c) {
    grdVS.Row = r;
    grdVS.Col = c;
    std::int32_t kept = grdVS.CellForeColor(r, c);
    grdVS.SetCellForeColor(r, c, QBColor(2));
    grdVS.SetCellBackColor(r, c, QBColor(15));
    return kept;
}

void frmAlgo::Paint(int r, int c, std::int32_t fore) {
    grdVS.SetCellForeColor(r, c, fore);
    grdVS.SetCellBackColor(r, c, grdVS.BackColor);
}

void frmAlgo::ShowNumber(int r, int c, double x) {
    const std::string& pattern = app.msg.NumFormat.empty() ? std::string(kNumFormat) : app.msg.NumFormat;
    grdVS.SetTextMatrix(r, c, x != 0 ? platform::Format(x, pattern) : platform::Format(x, ZeroFormat));
}

void frmAlgo::ShowFuse(int r, const std::string& code) {
    grdVS.SetTextMatrix(r, 3, platform::Format(std::string_view(code), "  "));
}

void frmAlgo::StartEditing() {
    app.eng.SimplexValid = 0;
    app.sw.CovDone = "off";
    app.sw.OptimisticSEs = platform::False;
    app.msg.NumFormat = kNumFormat;
    ZeroFormat = "0";
}

// ------------------------------------------------------------ cell editing

void frmAlgo::grdVS_DblClick() {
    CommitPendingEdit();
    StartEditing();
    if (grdVS.MouseRow == 0) {
        switch (grdVS.MouseCol) {
            case 1: EditAllValues(); return;
            case 2: CallEditAllSteps(); return;
            case 3: EditAllFuses(); return;
            default: break;
        }
    }
    const int r = grdVS.Row, c = grdVS.Col;
    if (r < 1 || r > app.eng.par.NumPars || c < 1 || c > 3) return;
    SavedCellColour = grdVS.CellForeColor(r, c);
    grdVS.SetCellForeColor(r, c, QBColor(2));
    grdVS.SetCellBackColor(r, c, kEditBack);
    if (c == 1) app.msg.MsgAnswer = platform::vbYes;
    BeginCellEdit();
}

void frmAlgo::BeginCellEdit() {
    EditRow = grdVS.Row;
    EditCol = grdVS.Col;
    txtValue.Visible = false;
    // Bring the cell into view, then lay the box over it.
    if (EditRow < grdVS.TopRow) grdVS.TopRow = EditRow;
    if (EditRow >= grdVS.TopRow + kVisibleRows) grdVS.TopRow = EditRow - kVisibleRows + 1;
    if (EditCol < grdVS.LeftCol) grdVS.LeftCol = EditCol;
    txtValue.Move(grdVS.Left + grdVS.CellLeft(), grdVS.Top + grdVS.CellTop(), grdVS.CellWidth(),
                  grdVS.CellHeight());

    const ParameterSet& par = app.eng.par;
    switch (EditCol) {
        case 1: txtValue.Text = platform::CStr(par.ParValue(EditRow)); break;
        case 2: txtValue.Text = platform::CStr(par.StepSize(EditRow)); break;
        default: txtValue.Text = par.FuseCode(EditRow); break;
    }
    txtValue.Visible = true;
    grdVS.ScrollBars = 2;
    txtValue.SetFocus();
    txtValue.SelectAll();   // typing replaces the entry
}

void frmAlgo::CommitPendingEdit() {
    if (txtValue.Visible) txtValue_LostFocus();
}

void frmAlgo::txtValue_LostFocus() {
    if (!txtValue.Visible) return;
    txtValue.Visible = false;
    grdVS.ScrollBars = 3;
    SavedRow = grdVS.Row;
    SavedCol = grdVS.Col;
    ParameterSet& par = app.eng.par;
    const int r = EditRow;
    if (r < 1 || r > par.NumPars || EditCol < 1 || EditCol > 3) return;
    grdVS.Row = r;
    grdVS.Col = EditCol;
    const std::string T = txtValue.Text;

    if (EditCol == 1) {
        if (!platform::IsNumeric(T)) {
            double shown = platform::Val(grdVS.TextMatrix(r, 1));
            grdVS.SetCellForeColor(r, 1, shown != 0 ? SavedCellColour : QBColor(0));
        } else {
            const double v = platform::Val(T);
            Paint(r, 1, Near(v, par.ParValue(r)) ? SavedCellColour : QBColor(12));
            par.ParValue(r) = v;
            ShowNumber(r, 1, v);
            if (app.msg.MsgAnswer == platform::vbYes) {
                OldStep = par.StepSize(r);
                const double prop = app.shell.StepProp;
                const double step = v == 0 ? std::fabs(prop) : std::fabs(prop * v);
                grdVS.Col = 2;
                SavedCellColour = grdVS.CellForeColor(r, 2);
                par.StepSize(r) = step;
                ShowNumber(r, 2, step);
                Paint(r, 2, Near(step, OldStep) ? SavedCellColour : QBColor(12));
                grdVS.Col = 1;
            }
        }
    } else if (EditCol == 2) {
        if (!platform::IsNumeric(T)) {
            double shown = platform::Val(grdVS.TextMatrix(r, 2));
            grdVS.SetCellForeColor(r, 2, shown != 0 ? SavedCellColour : QBColor(0));
        } else {
            OldStep = par.StepSize(r);
            par.StepSize(r) = platform::Val(T);
            ShowNumber(r, 2, par.StepSize(r));
            grdVS.SetCellForeColor(r, 2, Near(par.StepSize(r), OldStep) ? SavedCellColour : QBColor(12));
        }
    } else {
        std::string C = platform::UCase(platform::Trim(T));
        if (C == "~") C = "~~";
        txtValue.Text = C;
        if (!IsValidFuseCode(C)) {
            grdVS.SetCellForeColor(r, 3, par.FuseCode(r) != "~~" ? SavedCellColour : QBColor(0));
        } else if (C != par.FuseCode(r)) {
            grdVS.SetCellForeColor(r, 3, QBColor(12));
            par.FuseCode(r) = C;
            ShowFuse(r, C);
        } else {
            grdVS.SetCellForeColor(r, 3, SavedCellColour);
        }
    }
    grdVS.SetCellBackColor(grdVS.Row, grdVS.Col, grdVS.BackColor);
    grdVS.Row = SavedRow;
    grdVS.Col = SavedCol;
}

// ----------------------------------------------------------------- options

void frmAlgo::txtAbsRel_Click() {
    CommitPendingEdit();
    double& tol = app.eng.opt.ConvTol;
    bool relative = tol < 0;
    const std::string title = "Change the tolerance for convergence";
    const std::string text = relative ? std::string("Current tolerance type is RELATIVE.") +
                                            platform::vbCrLf + platform::vbCrLf +
                                            "Do you want to change to ABSOLUTE?"
                                      : std::string("Current tolerance type is ABSOLUTE.") +
                                            platform::vbCrLf + platform::vbCrLf +
                                            "Do you want to change to RELATIVE?";
    if (app.ShowMsg(text, platform::vbYesNo + platform::vbQuestion, title) == platform::vbYes) relative = !relative;
    const std::string prompt = "Current tolerance is " + platform::Format(std::fabs(tol), "0.0E+00") +
                               "  (Minimum allowed is 1E-06)";
    // A mistyped answer is asked for again rather than read as a tolerance of 0,
    // which would never be met.
    std::string answer;
    do {
        answer = app.ui.InputBox(prompt, title, platform::CStr(std::fabs(tol)));
        if (answer.empty()) return;
    } while (!platform::IsNumeric(answer));
    tol = std::fabs(platform::Val(answer));
    if (relative && tol > 0) tol = -tol;
    if (std::fabs(tol) < 1E-06) tol = platform::Sgn(tol) * 1E-06;
    ShowTolerance();
}

bool frmAlgo::OptionEntry(platform::TextBox& box, const std::string& title,
                          const std::string& negativeText, double largest, const std::string& shown,
                          double& number) {
    const std::string text = box.Text;
    if (!platform::IsNumeric(text)) {
        box.Text = shown;
        return false;
    }
    number = platform::Val(text);
    std::string refusal;
    if (number < 0) refusal = negativeText;
    else if (largest > 0 && !(std::nearbyint(number) <= largest))
        refusal = "The number is too large: the largest allowed is " +
                  platform::CStr(static_cast<long long>(largest));
    if (refusal.empty()) return true;
    app.ShowMsg(refusal, platform::vbInformation, title);
    box.SetFocus();
    box.Text = shown;
    return false;
}

void frmAlgo::txtMaxFunctions_LostFocus() {
    long& maxCalls = app.eng.opt.MaxCalls;
    double x = 0;
    if (!OptionEntry(txtMaxFunctions, "Change the maximum # of function calls",
                     "Maximum number of functions must be positive", 2147483647.0,
                     platform::CStr(static_cast<long long>(maxCalls)), x))
        return;
    if (std::optional<std::int32_t> n = platform::CLng(x)) maxCalls = *n;
}

void frmAlgo::txtReduction_LostFocus() {
    double& reduction = app.eng.opt.StepReduction;
    double x = 0;
    if (!OptionEntry(txtReduction, "Change the step size reduction fraction",
                     "Fraction must be positive", 0, platform::Format(reduction, "0.####"), x))
        return;
    reduction = x;
}

void frmAlgo::txtTerminalFreq_LostFocus() {
    int& freq = app.eng.opt.TerminalFreq;
    double x = 0;
    if (!OptionEntry(txtTerminalFreq, "Change the terminal display frequency",
                     "Frequency must be positive", 32767.0, platform::CStr(freq), x))
        return;
    if (std::optional<int> n = platform::CInt(x)) freq = *n;
}

void frmAlgo::txtFileFreq_LostFocus() {
    int& freq = app.eng.opt.FileFreq;
    const std::string shown = app.shell.LogFileOpen ? platform::CStr(freq) : "0";
    double x = 0;
    if (!OptionEntry(txtFileFreq, "Change the file write frequency", "Frequency must be positive",
                     32767.0, shown, x))
        return;
    // Nothing may write to the log while it is closed.
    if (!app.shell.LogFileOpen) {
        txtFileFreq.Text = "0";
        return;
    }
    if (std::optional<int> n = platform::CInt(x)) freq = *n;
}

// -------------------------------------------------------------------- log

void frmAlgo::ShowLogClosed() {
    txtFileFreq.Text = "0";
    lblFileFreq.Enabled = false;
    txtFileFreq.Enabled = false;
    cmdCloseLog.Enabled = false;
    cmdOpenLog.Enabled = true;
    txtFileName.Text = "";
    app.shell.LogFileOpen = platform::False;
}

void frmAlgo::cmdOpenLog_Click() {
    CommitPendingEdit();
    MinOptions& opt = app.eng.opt;
    app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Tivelor log files (*.tvl)|*.tvl";
    // A save dialog, so that an existing file is emptied only after the user agreed.
    if (!ChooseSaveFile(CommonDialog1, {"Save minimization progress in...", app.msg.DlgFilter, 2, opt.LogFileName}))
        return;
    opt.LogFileName = CommonDialog1.FileName;
    if (opt.LogFileName.empty()) {
        ShowLogClosed();
        return;
    }
    app.ui.files.Close(kLogFile);
    if (!app.ui.files.Open(kLogFile, opt.LogFileName, platform::FileMode::Output)) {
        ShowLogClosed();
        opt.FileFreq = 0;
        const std::string why = app.ui.files.LastReason();
        app.ShowMsg("The log file " + opt.LogFileName + " could not be opened for output." + platform::vbCrLf +
                        platform::vbCrLf + (why.empty() ? "" : why + "." + platform::vbCrLf + platform::vbCrLf) +
                        "No log is being written.",
                    platform::vbExclamation, "Log file management");
        return;
    }
    lblFileFreq.Enabled = true;
    txtFileFreq.Enabled = true;
    cmdCloseLog.Enabled = true;
    cmdOpenLog.Enabled = false;
    txtFileFreq.Text = "10";
    app.shell.LogFileOpen = platform::True;
    app.ShowMsg("The log file " + opt.LogFileName + " is now open for output", platform::vbInformation,
                "Log file management");
    txtFileName.Text = opt.LogFileName;
    opt.FileFreq = 10;
}

void frmAlgo::cmdCloseLog_Click() {
    CommitPendingEdit();
    MinOptions& opt = app.eng.opt;
    // A log that did not reach its file is not reported as closed.
    if (CloseLog(app))
        app.ShowMsg("The old log file " + opt.LogFileName + " is now closed for input", platform::vbInformation,
                    "Log file management");
    ShowLogClosed();
    opt.FileFreq = 0;
}

// ---------------------------------------------------------- whole columns

void frmAlgo::EditAllValues() {
    grdVS.TopRow = 1;
    grdVS.LeftCol = 1;
    mnuValue_Click();
}

void frmAlgo::mnuValue_Click() {
    CommitPendingEdit();
    app.eng.SimplexValid = 0;
    app.sw.CovDone = "off";
    app.form<frmEditVS>().Show();
    app.sw.OptimisticSEs = platform::False;
}

void frmAlgo::CallEditAllSteps() { EditAllSteps(); }

void frmAlgo::mnuStep_Click() {
    CommitPendingEdit();
    grdVS.TopRow = 1;
    grdVS.LeftCol = 1;
    grdVS.Col = 2;
    EditAllSteps();
}

void frmAlgo::EditAllSteps() {
    ParameterSet& par = app.eng.par;
    StartEditing();
    grdVS.TopRow = 1;
    for (int i = 1; i <= par.NumPars; ++i) {
        ScrollForRow(i);
        const std::int32_t kept = MarkAsked(i, 2);
        for (;;) {
            std::string answer = app.ui.InputBox("Enter new step size for parameter #" + platform::CStr(i),
                                                 "Edit all step sizes", platform::CStr(par.StepSize(i)), 8000, 1500);
            if (answer.empty()) {
                Paint(i, 2, kept);
                return;
            }
            if (Near(platform::Val(answer), par.StepSize(i))) {
                Paint(i, 2, kept);
                break;
            }
            if (!platform::IsNumeric(answer)) continue;
            par.StepSize(i) = platform::Val(answer);
            grdVS.Col = 2;
            ShowNumber(i, 2, par.StepSize(i));
            Paint(i, 2, QBColor(12));
            break;
        }
    }
}

void frmAlgo::EditAllFuses() {
    ParameterSet& par = app.eng.par;
    StartEditing();
    grdVS.TopRow = 1;
    for (int i = 1; i <= par.NumPars; ++i) {
        ScrollForRow(i);
        const std::int32_t kept = MarkAsked(i, 3);
        std::string U;
        for (;;) {
            std::string answer = app.ui.InputBox(
                "Enter new alphabetical fuse character(s) (e.g., A,B,AA,AB,...) or the null "
                "character [~~, unfused] for parameter #" + platform::CStr(i),
                "Edit all parameter fuse characters", par.FuseCode(i), 8000, 1500);
            if (answer.empty()) {
                Paint(i, 3, kept);
                return;
            }
            U = platform::UCase(answer);
            if (IsValidFuseCode(U)) break;
        }
        if (U != par.FuseCode(i)) {
            par.FuseCode(i) = U;
            grdVS.Col = 3;
            ShowFuse(i, U);
            Paint(i, 3, QBColor(12));
        } else {
            Paint(i, 3, QBColor(U != "~~" ? 1 : 0));
        }
    }
}

void frmAlgo::mnuUnFuse_Click() {
    CommitPendingEdit();
    ParameterSet& par = app.eng.par;
    for (int i = 1; i <= par.NumPars; ++i) {
        ScrollForRow(i);
        MarkAsked(i, 3);
        par.FuseCode(i) = "~~";
        ShowFuse(i, "~~");
        Paint(i, 3, QBColor(12));
    }
}

// Cancel closes the editor, with its usual closing steps.
void frmAlgo::mnuFraction_Click() {
    CommitPendingEdit();
    if (!AskStepProportion(app)) Unload();
}

}  // namespace tivelor
