#include "windows/frmSimplex.h"

#include <cmath>

#include "state/App.h"
#include "state/Task.h"
#include "windows/frmMain.h"
#include "windows/frmReviewPriors.h"

namespace tivelor {

namespace {
constexpr int kSizeNS = 7;
}

frmSimplex::frmSimplex(App& a)
    : Form(a.ui, kName,
           "Simplex minimization (uses geometry; works best for models whose behaviour is markedly "
           "non-linear; initial progress is sensitive to step sizes)",
           platform::FormKind::MdiChild, 13880, 8000),
      app(a) {
    cmdStop.ToolTipText = "Click here to interrupt the current minimization";
    rtbSimplexInitial.FontName = "Courier New";
    rtbSimplex.FontName = "Courier New";
    cmdStop.OnClick = [this] { cmdStop_Click(); };
    cmdStop.StopsRun = true;
    rtbSimplex.OnMouseMove = [this](int b, int s, double x, double y) { rtbSimplex_MouseMove(b, s, x, y); };
    rtbSimplexInitial.OnMouseMove = [this](int b, int s, double x, double y) {
        rtbSimplexInitial_MouseMove(b, s, x, y);
    };
    OnMouseDown = [this](int b, int s, double x, double y) { Form_MouseDown(b, s, x, y); };
    OnMouseMove = [this](int b, int s, double x, double y) { Form_MouseMove(b, s, x, y); };
    OnMouseUp = [this](int b, int s, double x, double y) { Form_MouseUp(b, s, x, y); };
}

void frmSimplex::Form_Load() {
    Move(500, 500, 14000, -1);
    SplitterGap = 15;
    rtbSimplexInitial.Height = 3000;
    Layout();
}

void frmSimplex::Form_Resize() { Layout(); }

void frmSimplex::Layout() {
    if (Width > 0) cmdStop.Width = Width;
    if (Width - 120 > 0) {
        rtbSimplexInitial.Width = Width - 120;
        rtbSimplex.Width = Width - 120;
    }
    rtbSimplex.Left = 0;
    rtbSimplex.Top = rtbSimplexInitial.Height + cmdStop.Height + SplitterGap;
    const int lowerHeight = Height - cmdStop.Height - rtbSimplexInitial.Height - 400;
    if (lowerHeight > 0) rtbSimplex.Height = lowerHeight;
    const double points = app.eng.free.NFree <= 25 ? 10 : 8;
    rtbSimplexInitial.FontSize = points;
    rtbSimplex.FontSize = points;
}

bool frmSimplex::InSplitterZone(double x, double y) const {
    const double upperBottom = rtbSimplexInitial.Top + rtbSimplexInitial.Height;
    const double lowerTop = rtbSimplex.Top;
    return x < rtbSimplexInitial.Width - 400 && y > upperBottom - SplitterGap / 2.0 &&
           y < lowerTop + SplitterGap / 2.0;
}

void frmSimplex::Form_MouseDown(int, int, double x, double y) {
    if (InSplitterZone(x, y)) SplitterDragging = platform::True;
}

void frmSimplex::Form_MouseMove(int, int, double x, double y) {
    MousePointer = InSplitterZone(x, y) ? kSizeNS : 0;
    if (SplitterDragging) {
        const double height = (y - rtbSimplexInitial.Top) - SplitterGap / 2.0;
        if (height > 0) rtbSimplexInitial.Height = static_cast<int>(std::lround(height));
    }
    Layout();
}

void frmSimplex::Form_MouseUp(int, int, double, double) { SplitterDragging = platform::False; }

void frmSimplex::rtbSimplex_MouseMove(int, int, double, double) { MousePointer = 0; }

void frmSimplex::rtbSimplexInitial_MouseMove(int, int, double, double) { MousePointer = 0; }

void frmSimplex::cmdStop_Click() {
    if (watch) watch->AskToStop();
    cmdStop.Enabled = false;
    app.form<frmMain>().stbMain5.SetPanel(1, "Interrupt pending...");
}

void frmSimplex::Form_QueryUnload(int& cancel, int unloadMode) {
    // The window stays while a run writes into it; closing it asks the run
    // to stop, as Interrupt does.
    if (!app.simplex.Running) return;
    cancel = platform::True;
    if (unloadMode == platform::vbFormControlMenu && cmdStop.Enabled) cmdStop_Click();
}

void frmSimplex::Form_Unload(int&) {
    rtbSimplexInitial.Text = "";
    rtbSimplex.Text = "";
    frmMain& main = app.form<frmMain>();
    for (int p = 1; p <= 3; ++p) main.stbMain5.SetPanel(p, "");
    ReturnToMainMenu(app);
}

SimplexWatch::~SimplexWatch() {
    if (frmSimplex* w = Window(); w && w->watch == this) w->watch = nullptr;
}

frmSimplex* SimplexWatch::Window() { return static_cast<frmSimplex*>(app.ui.forms.Find(frmSimplex::kName)); }

void SimplexWatch::Begin(bool fresh) {
    frmSimplex& w = app.form<frmSimplex>();
    w.watch = this;
    w.Show();
    w.rtbSimplexInitial.Text = "";
    w.rtbSimplex.Text = "";
    w.Form_Resize();
    // A press that came after the last run ended is not for this one.
    DropStop();
    if (fresh) {
        w.cmdStop.Enabled = true;
        w.cmdStop.Caption = "&Interrupt this minimization";
    }
}

void SimplexWatch::Interruptible(bool on) {
    if (frmSimplex* w = Window()) w->cmdStop.Enabled = on;
}

void SimplexWatch::Panel(int i, const std::string& text) { app.form<frmMain>().stbMain5.SetPanel(i, text); }

void SimplexWatch::Report(int pane, const std::string& text) {
    if (frmSimplex* w = Window()) (pane == 0 ? w->rtbSimplexInitial : w->rtbSimplex).Text = text;
}

void SimplexWatch::AtPriorMinimum() { ReviewPriorLikelihoods(app); }

}  // namespace tivelor
