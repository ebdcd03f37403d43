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
#include "state/Task.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"
#include "shell/frmMenu.h"

namespace tivelor {

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
        const AlgorithmOpen opened = OpenAlgorithmFile(app, CommonDialog1);
        if (opened == AlgorithmOpen::Cancelled || opened == AlgorithmOpen::NotOpened) {
            cmdInitialize.Enabled = true;
            cmdLoadAlg.Enabled = true;
        }
        if (opened != AlgorithmOpen::Loaded) return;
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
    App& a = app;   // this window is closed below; the App outlives it
    TaskGuard task(a, "One function call");
    if (!task) return;
    CloseRunWindows();
    SetUpFusedParameters(a.eng);
    PackAdjustableParameters(a);
    OneFunctionCall(a);
    // The main menu comes back when the report window closes.
    ReturnToMainMenu(a, MenuBack::ApplicationMenu);
}

}  // namespace tivelor
