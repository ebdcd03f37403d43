#include "windows/frmMain.h"

#include "state/App.h"
#include "state/Task.h"
#include "windows/InfoWindows.h"

namespace tivelor {

frmMain::frmMain(App& a)
    : Form(a.ui, kName, "Tivelor", platform::FormKind::MdiParent, 15000, 10500), app(a) {
    mnuWindow.windowList = true;
    mnuExit.OnClick = [this] { mnuExit_Click(); };
    mnuMenu.OnClick = [this] { mnuMenu_Click(); };
    mnuCredits.OnClick = [this] { mnuCredits_Click(); };
    mnuDefaultNames.OnClick = [this] { mnuDefaultNames_Click(); };
    mnuWisdom.OnClick = [this] { mnuWisdom_Click(); };
    mnuInterruptBayes.OnClick = [this] { mnuInterruptBayes_Click(); };
    mnuInterruptML.OnClick = [this] { mnuInterruptML_Click(); };
    mnuBayesianInt.StopsRun = mnuMLInt.StopsRun = true;
    mnuCascade.OnClick = [this] { Arrange(0); };
    mnuTileHorizontal.OnClick = [this] { Arrange(1); };
    mnuTileVertical.OnClick = [this] { Arrange(2); };
    mnuArrangeIcons.OnClick = [this] { Arrange(3); };
}

void frmMain::Arrange(int how) {
    lastArrange = how;
    Changed(platform::PropId::Arrange, how);
}

void frmMain::Form_Load() {
    EvalState& ev = app.eval;
    for (platform::Vec<double>* v : {&ev.ProfNegLnL, &ev.ProfCIMean, &ev.PostPar, &ev.ProfX,
                                     &ev.ProfPDF, &ev.ProfNormPDF, &ev.ProfCIMode})
        v->ReDim(1);
    app.eng.AnaGrad.ReDim(1);
    app.eng.AnaHess.ReDim(1, 1);
    ev.ProfCum.ReDim(1);
    app.shell.AlgoColOn.ReDim(9);
    for (platform::Vec<double>* v : {&ev.GridLSD, &ev.GridLMean, &ev.GridFactor, &ev.GridLCV,
                                     &ev.GridP1})
        v->ReDim(3);

    app.sw.PriorsOn = "off";
    app.sw.CovDone = "off";
    app.eng.AlgFileName = "";
    app.sw.OptimisticSEs = 0;
    app.shell.PriFileName = "";
    app.sw.MLOn = "off";
    app.sw.PosteriorOn = "off";
    Initialized = 0;

    Show();
    ReturnToMainMenu(app);
}

void frmMain::Form_Unload(int& cancel) {
    if (!app.shellAccess->Quit(QuitFrom::Other)) cancel = platform::True;
}

void frmMain::mnuExit_Click() { app.shellAccess->Quit(QuitFrom::Other); }

void frmMain::mnuMenu_Click() { ReturnToMainMenu(app); }

void frmMain::mnuCredits_Click() {
    Enabled = false;
    app.form<frmCredits>().Show();
}

void frmMain::mnuDefaultNames_Click() {
    Enabled = false;
    app.form<frmDefaults>().Show();
}

void frmMain::mnuWisdom_Click() {
    Enabled = false;
    app.form<frmWisdom>().Show();
}

void frmMain::mnuInterruptBayes_Click() {
    if (watch) watch->AskToStop(MainWindowWatch::Item::InterruptBayes);
}

void frmMain::mnuInterruptML_Click() {
    if (watch) watch->AskToStop(MainWindowWatch::Item::InterruptML);
}

MainWindowWatch::MainWindowWatch(App& a, Item i) : app(a), item(i) { app.form<frmMain>().watch = this; }

MainWindowWatch::~MainWindowWatch() {
    if (platform::Form* f = app.ui.forms.Find(frmMain::kName)) {
        frmMain& w = static_cast<frmMain&>(*f);
        if (w.watch == this) w.watch = nullptr;
    }
}

}  // namespace tivelor
