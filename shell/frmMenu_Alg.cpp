#include <cmath>
#include <utility>

#include "engine/AlgorithmFile.h"
#include "engine/Likelihood.h"
#include "shell/OneFunction.h"
#include "engine/Parameters.h"
#include "model/frmInitialize.h"
#include "platform/files.h"
#include "platform/runtime.h"
#include "priors/PriorsFile.h"
#include "state/App.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

namespace {
constexpr int kAlgFile = 201;
}

void frmMenu::cmdInitialize_Click() {
    frmMain& main = app.form<frmMain>();
    // The panels that belong to a model and its runs; stbMain3 panel 6 and
    // stbMain5 panel 5 are left to their owners.
    const std::pair<platform::StatusBar*, int> cleared[] = {
        {&main.stbMain0, 2}, {&main.stbMain1, 2}, {&main.stbMain2, 3},
        {&main.stbMain3, 5}, {&main.stbMain4, 2}, {&main.stbMain5, 4}};
    for (const auto& [bar, last] : cleared)
        for (int p = 1; p <= last; ++p) bar->SetPanel(p, "");

    if (!app.eng.AlgFileName.empty()) {
        double answer = app.ShowMsg(std::string("Algorithm data will be lost during this initialization.") +
                                        "\r\n\r\n" + "  Do you need to save current algorithm data?",
                                    platform::vbYesNoCancel + platform::vbExclamation, "Initialize");
        if (answer == platform::vbCancel) return;
        if (answer == platform::vbYes) {
            CloseRunWindows();
            EnableTaskButtons(false);
            bool written = Save_Alg();
            EnableTaskButtons(true);
            if (!written) return;   // nothing is lost: the data stay loaded
        }
        app.eng.AlgFileName = "";
    }
    app.form<frmInitialize>().Show();
    Unload();
}

void frmMenu::cmdLoadAlg_Click() {
    EngineState& eng = app.eng;
    CloseRunWindows();
    double answer = app.ShowMsg(std::string("Load an existing algorithm data file?") + "\r\n\r\n" +
                                    "     Choose NO for default values",
                                platform::vbYesNoCancel + platform::vbQuestion, "Load algorithm data");
    if (answer == platform::vbCancel) return;

    if (answer == platform::vbNo) {
        SetDefaultAlgorithm(app);
        eng.AlgFileName = platform::DateTimeFileName(app.ui.Now(), ".alg");
        eng.AlgFileTitle = platform::Left(eng.AlgFileName, 8);
        app.ShowMsg(std::string("                     Algorithm data set to default values.") + "\r\n\r\n" +
                        "Algorithm file given the date-time based name: " + eng.AlgFileName,
                    platform::vbInformation, "Default Algorithm Values");
    } else {
        app.msg.DlgFilter = std::string("All files (*.*)|*.*|") + "Algorithm files (*.alg)|*.alg";
        CommonDialog1.CancelError = true;
        CommonDialog1.Flags = 0;
        CommonDialog1.DialogTitle = "Open algorithm data file";
        CommonDialog1.Filter = app.msg.DlgFilter;
        CommonDialog1.FilterIndex = 2;
        CommonDialog1.FileName = eng.AlgFileName;
        if (!CommonDialog1.ShowOpen()) {
            cmdInitialize.Enabled = true;
            cmdLoadAlg.Enabled = true;
            return;
        }
        const std::string oldName = eng.AlgFileName, oldTitle = eng.AlgFileTitle;
        eng.AlgFileName = CommonDialog1.FileName;
        FileTitleFromPath(eng.AlgFileName, eng.AlgFileTitle);
        auto restore = [&] {
            eng.AlgFileName = oldName;
            eng.AlgFileTitle = oldTitle;
        };
        if (!app.ui.files.Open(kAlgFile, eng.AlgFileName, platform::FileMode::Input)) {
            app.ui.files.Close(kAlgFile);
            restore();
            app.ShowMsg("Be suspicious that your algorithm file is not properly formatted", platform::vbCritical,
                        "Problem Reading Algorithm File!");
            cmdInitialize.Enabled = true;
            cmdLoadAlg.Enabled = true;
            return;
        }
        bool taken = ReadAlgorithmFile(app);
        if (!taken) {
            // The reader has told the user; nothing has changed.
            restore();
            return;
        }
        double& tol = eng.opt.ConvTol;
        if (tol != 0 && std::fabs(tol) < 1E-06) tol = tol < 0 ? -1E-06 : 1E-06;
        app.ui.files.Close(kAlgFile);
    }

    eng.SimplexValid = 0;
    app.form<frmMain>().stbMain1.SetPanel(1, "Algorithm file: " + eng.AlgFileName);
    app.ui.DoEvents();
    EnableTaskButtons(true);
    cmdEditAlg.SetFocus();
    cmdUserSummary.Caption = "Res&ults Summary";
    cmdUserSummary.ToolTipText =
        "Produces a saveable summary (and perhaps plots) of model results for the current parameter estimates";
}

void frmMenu::cmdSaveAlg_Click() {
    CloseRunWindows();
    EnableTaskButtons(false);
    Save_Alg();
    EnableTaskButtons(true);
}

bool frmMenu::Save_Priors() { return SavePriorsFile(app, CommonDialog1, false); }

bool frmMenu::Save_Alg() {
    EngineState& eng = app.eng;
    if (!ChooseAlgorithmSaveFile(app, CommonDialog1, 3)) return true;

    const std::string path = CommonDialog1.FileName;
    const std::string oldLog = eng.opt.LogFileName;
    std::string text = AlgorithmFileText(app.eng);
    if (!WriteFileOrReport(app, "algorithm file", path, text)) {
        eng.opt.LogFileName = oldLog;
        return false;
    }
    eng.AlgFileName = path;
    FileTitleFromPath(path, eng.AlgFileTitle);
    app.form<frmMain>().stbMain1.SetPanel(1, "Algorithm file: " + eng.AlgFileName);
    return true;
}

void frmMenu::cmdOneFunction_Click() {
    CloseRunWindows();
    EnableTaskButtons(false);
    HandOver();
    SetUpFusedParameters(app.eng);
    PackAdjustableParameters(app);
    OneFunctionCall(app);
    app.form<frmMain>().mnuApplication.Enabled = true;
}

}  // namespace tivelor
