#include "windows/frmMarquardt.h"

#include <utility>

#include "state/App.h"
#include "state/Task.h"
#include "windows/frmMain.h"
#include "windows/frmReviewPriors.h"

namespace tivelor {

frmMarquardt::frmMarquardt(App& a)
    : Form(a.ui, kName,
           "Marquardt minimization (uses derivatives; works best when model behaviour is "
           "close-to-linear; progress is insensitive to (non-zero) step sizes)",
           platform::FormKind::MdiChild, 13880, 7400),
      app(a) {
    cmdStop.ToolTipText = "Click here to interrupt the current minimization";
    cmdIteration.ToolTipText = "Click to pause minimization after each iteration";
    cmdContinue.ToolTipText = "Click to continue minimizing without pausing after each iteration";
    cmdStop.OnClick = [this] { cmdStop_Click(); };
    cmdStop.StopsRun = true;
    cmdIteration.OnClick = [this] { cmdIteration_Click(); };
    cmdContinue.OnClick = [this] { cmdContinue_Click(); };
}

void frmMarquardt::Form_Load() {
    Move(500, 500, 14000, -1);
    Form_Resize();
    ShowStepButtons(false);
    cmdIteration.Move(11000, 800, 1095, 555);
    cmdContinue.Move(11000, 1400, 1095, 555);
}

void frmMarquardt::Form_Resize() {
    cmdStop.Width = static_cast<int>(Width);
    rtbMarquardt.Width = Width - 120;
    const int height = Height - cmdStop.Height - 400;
    if (height > 0) rtbMarquardt.Height = height;
    rtbMarquardt.FontSize = app.eng.free.NFree <= 25 ? 10.0 : 8.0;
}

frmMarquardt& frmMarquardt::ForRun(App& app) {
    const bool loaded = app.IsLoaded<frmMarquardt>();
    frmMarquardt& w = app.form<frmMarquardt>();
    if (!loaded || !w.Visible()) w.Show();
    return w;
}

void frmMarquardt::ShowStepButtons(bool show) {
    for (platform::CommandButton* b : {&cmdIteration, &cmdContinue}) {
        b->Enabled = show;
        b->Visible = show;
    }
}

void frmMarquardt::cmdIteration_Click() {
    app.eng.MarqGo = 1;
    ShowStepButtons(false);
}

void frmMarquardt::cmdContinue_Click() {
    app.eng.MarqGo = 1;
    app.eng.ShowDerivs = "no";
    ShowStepButtons(false);
}

void frmMarquardt::cmdStop_Click() {
    if (watch) watch->AskToStop();
    cmdStop.Enabled = false;
    app.form<frmMain>().stbMain5.SetPanel(2, "Interrupt pending...");
    app.eng.MarqGo = 1;
    app.eng.ShowDerivs = "no";
    ShowStepButtons(false);
}

void frmMarquardt::Form_Unload(int&) {
    rtbMarquardt.Text = "";
    app.eng.MarqGo = 1;
    app.eng.ShowDerivs = "no";
    ShowStepButtons(false);
    frmMain& main = app.form<frmMain>();
    for (int p = 1; p <= 3; ++p) main.stbMain5.SetPanel(p, "");
    ReturnToMainMenu(app);
}

MarquardtWatch::~MarquardtWatch() {
    if (platform::Form* f = app.ui.forms.Find(frmMarquardt::kName)) {
        frmMarquardt& w = static_cast<frmMarquardt&>(*f);
        if (w.watch == this) w.watch = nullptr;
    }
}

frmMarquardt& MarquardtWatch::Window() {
    frmMarquardt& w = frmMarquardt::ForRun(app);
    w.watch = this;
    return w;
}

void MarquardtWatch::Begin(bool) {
    frmMarquardt& w = app.form<frmMarquardt>();
    w.watch = this;
    w.Show();
    w.cmdStop.Enabled = false;
    // A press that came after the last run ended is not for this one.
    DropStop();
    captioned = false;
    w.rtbMarquardt.Text = "";
}

void MarquardtWatch::Interruptible(bool on) {
    if (on) {
        frmMarquardt& w = Window();
        w.cmdStop.Enabled = true;
        if (!std::exchange(captioned, true)) w.cmdStop.Caption = "&Interrupt this minimization";
    } else if (platform::Form* f = app.ui.forms.Find(frmMarquardt::kName)) {
        static_cast<frmMarquardt&>(*f).cmdStop.Enabled = false;
    }
}

void MarquardtWatch::Panel(int i, const std::string& text) { app.form<frmMain>().stbMain5.SetPanel(i, text); }

void MarquardtWatch::Report(int, const std::string& text) { Window().rtbMarquardt.Text = text; }

void MarquardtWatch::Reopen() { Window(); }

void MarquardtWatch::Close() { app.UnloadIfLoaded<frmMarquardt>(); }

void MarquardtWatch::StepButtons(bool shown) { Window().ShowStepButtons(shown); }

void MarquardtWatch::AtPriorMinimum() { ReviewPriorLikelihoods(app); }

}  // namespace tivelor
