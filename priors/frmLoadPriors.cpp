#include "priors/frmLoadPriors.h"

#include "engine/AlgorithmFile.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Task.h"
#include "priors/PriorsFile.h"
#include "priors/frmSetPriors.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::vbCrLf;

namespace {
constexpr int kPriorsFile = 204;
constexpr const char* kRank = "frmRank";
}  // namespace

void ReturnFromPriors(App& app) {
    if (app.sw.PriorsFromMenu == "on") {
        app.sw.PriorsFromMenu = "off";
        ReturnToMainMenu(app);
    }
    if (app.sw.PriorsFromRank == "on") {
        app.sw.PriorsFromRank = "off";
        if (platform::Form* rank = app.ui.forms.Find(kRank)) {
            rank->Show();
            if (platform::Control* aicc = rank->FindControl("cmdAICc")) aicc->SetFocus();
        }
    }
}

frmLoadPriors::frmLoadPriors(App& a)
    : Form(a.ui, kName, "Load Bayesian priors", platform::FormKind::MdiChild, 4695, 2760), app(a) {
    int tab = 0;
    for (platform::CommandButton* b : {&cmdCancel, &cmdSet, &cmdUniform, &cmdOpen}) b->TabIndex = tab++;
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
    cmdSet.OnClick = [this] { cmdSet_Click(); };
    cmdUniform.OnClick = [this] { cmdUniform_Click(); };
    cmdOpen.OnClick = [this] { cmdOpen_Click(); };
}

void frmLoadPriors::Form_Load() {
    Move(5800, 3000, -1, -1);
    app.sw.PriorsOn = "on";
    app.eng.SimplexValid = 0;
    if (app.sw.PriorsFromMenu == "on")
        if (platform::Form* menu = app.shellAccess->LoadedMainMenu()) menu->Hide();
    if (app.sw.PriorsFromRank == "on")
        if (platform::Form* rank = app.ui.forms.Find(kRank)) rank->Hide();
}

void frmLoadPriors::Form_Unload(int&) {
    PriorsOnFromTable(app);
    ReturnFromPriors(app);
}

void frmLoadPriors::cmdCancel_Click() { Unload(); }

void frmLoadPriors::ShowNoFile() { app.form<frmMain>().stbMain1.SetPanel(2, "Bayesian priors file: "); }

void frmLoadPriors::ShowFileTitle() {
    FileTitleFromPath(app.shell.PriFileName, app.shell.PriFileTitle);
    app.form<frmMain>().stbMain1.SetPanel(2, "Bayesian priors file: " + app.shell.PriFileTitle);
}

void frmLoadPriors::cmdOpen_Click() {
    App& a = app;   // this window is unloaded below
    a.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Bayesian priors files (*.pri)|*.pri";
    cdlOpen.CancelError = true;
    cdlOpen.Flags = 0;
    cdlOpen.DialogTitle = "Load Bayesian Priors file";
    cdlOpen.Filter = a.msg.DlgFilter;
    cdlOpen.FilterIndex = 2;
    if (!cdlOpen.ShowOpen()) return;
    const std::string oldName = a.shell.PriFileName;
    a.shell.PriFileName = cdlOpen.FileName;
    cdlOpen.FileName = "";
    if (!a.ui.files.Open(kPriorsFile, a.shell.PriFileName, platform::FileMode::Input)) {
        a.ShowMsg("Bayesian priors file " + a.shell.PriFileName + " could not be opened.",
                  platform::vbExclamation, "Bayes information");
        a.shell.PriFileName = oldName;
        return;
    }
    // This window's close returns to the caller; the editor returns there again when it closes.
    const std::string fromMenu = a.sw.PriorsFromMenu, fromRank = a.sw.PriorsFromRank;
    Unload();
    if (ReadPriorsFile(a) == PriorsRead::Failed) {
        a.shell.PriFileName = oldName;
        return;
    }
    a.sw.PriorsFromMenu = fromMenu;
    a.sw.PriorsFromRank = fromRank;
    a.form<frmSetPriors>().Show();
    ShowFileTitle();
}

void frmLoadPriors::cmdSet_Click() {
    Hide();
    if (AnyPriorInForce(app)) {
        app.form<frmSetPriors>().Show();
        return;
    }
    std::string text = std::string("You have the choice to set Bayesian prior probability distributions for ") +
                       "the parameters in your model.  " + "Note that " +
                       "uniform-unbounded is the default prior distribution when no priors are specified." + vbCrLf +
                       vbCrLf + "Note that although you can add prior probability distributions to your model " +
                       "with this routine, there is nothing to stop you from doing the same as part " +
                       "of your model building in your subroutine MODEL.  For example, the " +
                       "addition of penalty functions in your model routine to restrict a " +
                       "parameter value to greater than zero is essentially adding a prior " +
                       "distribution equivalent to the 'cliff' distribution in this routine. " + vbCrLf + vbCrLf +
                       "If you wish to assume uniform-unbounded prior distributions for all parameters then choose 'No'," +
                       " otherwise choose 'Yes' to set prior distributions for selected parameters." + vbCrLf + vbCrLf +
                       "Note that a priors file applies to all algorithm files associated with the analysis." + vbCrLf;
    if (app.ShowMsg(text, platform::vbYesNo + platform::vbQuestion, "Setting Bayesian Priors") != platform::vbYes) {
        SetDefaultPriors(app);
        ShowNoFile();
        app.sw.PriorsOn = "off";
        app.ShowMsg("Prior probabilities have been set to default (uniform-unbounded) values", platform::vbInformation,
                    "Default prior probabilities");
        ReturnFromPriors(app);
        return;
    }
    app.form<frmSetPriors>().Show();
    if (app.shell.PriFileName.empty())
        app.shell.PriFileName = platform::DateTimeFileName(app.ui.Now(), ".pri");
    ShowFileTitle();
}

void frmLoadPriors::cmdUniform_Click() {
    SetDefaultPriors(app);
    Hide();
    app.sw.PriorsOn = "off";
    ShowNoFile();
    app.ShowMsg("Prior probabilities have been set to default (uniform-unbounded) values", platform::vbInformation,
                "Default prior probabilities");
    ReturnFromPriors(app);
}

}  // namespace tivelor
