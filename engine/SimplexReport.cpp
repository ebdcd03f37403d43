#include "engine/ProgressText.h"
#include "engine/Simplex.h"
#include "platform/runtime.h"
#include "app/App.h"
#include "shell/frmSimplex.h"

namespace tivelor {

using platform::CStr;
using platform::Format;
using platform::vbCrLf;

namespace {

// Seconds between two drawings of the progress display.
constexpr double kShowInterval = 0.05;

std::string CountsLine(long iterations, long calls, int restarts) {
    return "Note: " + CStr(iterations) + " iterations, " + CStr(calls) + " function calls, and " +
           CStr(restarts) + " restarts";
}

std::string CountsLine(App& app) {
    return CountsLine(app.simplex.NIter, app.eng.NF, app.simplex.NRestarts);
}

std::string ValueLine(App& app, double fmin, double fmax) {
    return "Current: Min> " + Format(fmin, "####0.#####     ") + " Max> " +
           Format(fmax, "####0.#####     ") + ToleranceChange(app, fmax, fmin);
}

std::string MoveLine(int nbetter, const std::string& action) {
    return "Number of function values (parameter vectors) improved: " +
           Format(static_cast<double>(nbetter), "#0") + "; Action accepted: " + action;
}

std::string InitialLine(App& app) {
    const SimplexState& s = app.simplex;
    return "Initial Simplex: Starting function value> " + Format(s.SimplexF(1), "####0.#####") +
           " Max> " + Format(s.SimplexF(s.IHi), "####0.#####") + " Min> " +
           Format(s.SimplexF(s.ILo), "####0.#####");
}

// The text of the progress display whose state was taken last.
std::string ProgressText(App& app) {
    SimplexState& s = app.simplex;
    const long n = app.eng.free.NFree;
    if (s.LineTail.size() != static_cast<std::size_t>(n) + 1) {
        s.LineTail.assign(1, std::string());
        for (long i = 1; i <= n; ++i)
            s.LineTail.push_back(ScreenParameterTail(app, app.eng.free.FreeIndex(i)));
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(n) * 80 + 400);
    text += vbCrLf + CountsLine(s.ShowNIter, s.ShowNF, s.ShowNRestarts) + vbCrLf + vbCrLf +
            ValueLine(app, s.ShowFBest, s.ShowFWorst) + vbCrLf + vbCrLf;
    if (s.ShowMoveLine) text += MoveLine(s.ShowNBetter, s.ShowAction) + vbCrLf + vbCrLf;
    text += "Current minimum found at these " + CStr(n) + " adjusted parameter values:" + vbCrLf +
            vbCrLf;
    for (long i = 1; i <= n; ++i) {
        text += ParameterItem(app.eng.free.FreeIndex(i), s.ShowBest(i));
        text += s.LineTail[static_cast<std::size_t>(i)];
    }
    text += vbCrLf;
    return text;
}

}  // namespace

frmSimplex* SimplexWindow(App& app) {
    return static_cast<frmSimplex*>(app.ui.forms.Find(frmSimplex::kName));
}

void ReportInitialSimplex(App& app) {
    EngineState& eng = app.eng;
    app.simplex.LineTail.clear();   // names and fuse codes may have changed
    app.simplex.ShowPending = false;
    app.simplex.ShownThisRun = false;
    const platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;

    ProgressPanel(app, 1, "");
    app.ui.DoEvents();

    if (eng.opt.FileFreq != 0) {
        LogLine(app, "");
        LogLine(app, "");
        LogLine(app, "Initial parameter values:");
        LogLine(app, "");
        LogParameterBlock(app, [&](long i) { return S(i, 1); });
        LogLine(app, InitialLine(app));
        app.msg.NumFormat = "####0.#####";
    }

    if (eng.opt.TerminalFreq == 0) return;
    app.msg.NumFormat = "####0.#####";
    std::string text = vbCrLf + InitialLine(app) + vbCrLf + vbCrLf + "Initial parameter values:" +
                       vbCrLf + vbCrLf;
    for (long i = 1; i <= n; ++i) text += ScreenParameterLine(app, eng.free.FreeIndex(i), S(i, 1));
    app.msg.NumFormat = "0.0000000E+00";
    if (frmSimplex* w = SimplexWindow(app)) w->rtbSimplexInitial.Text = text;
}

void ShowSimplexProgress(App& app, double FBest, double FWorst) {
    EngineState& eng = app.eng;
    SimplexState& s = app.simplex;
    const platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;

    s.ShowFBest = FBest;
    s.ShowFWorst = FWorst;
    s.ShowNIter = s.NIter;
    s.ShowNF = eng.NF;
    s.ShowNRestarts = s.NRestarts;
    s.ShowMoveLine = eng.opt.TerminalFreq == 1;
    s.ShowNBetter = s.NBetter;
    s.ShowAction = s.SimplexAction;
    if (s.ShowBest.UBound() != n) s.ShowBest.ReDim(n);
    for (long i = 1; i <= n; ++i) s.ShowBest(i) = S(i, s.ILo);
    s.ShowPending = true;
    app.msg.NumFormat = "0.0000000E+00";
    const double now = app.ui.clock.Monotonic();
    if (!s.ShownThisRun || now - s.LastShownAt >= kShowInterval) DrawSimplexProgress(app);

    if (app.sw.MLOn == "on") {
        if (n != 0) app.msg.NumFormat = "0.00000E+00";
        ShowProfilePoint(app, "0.00000E+00");
    }
}

void LogSimplexProgress(App& app, double FBest, double FWorst) {
    EngineState& eng = app.eng;
    if (eng.opt.FileFreq == 0) return;
    const platform::Matrix<double>& S = eng.Simplex;
    const int lo = app.simplex.ILo;

    LogLine(app, "");
    LogLine(app, CountsLine(app));
    if (eng.opt.FileFreq == 1) LogLine(app, MoveLine(app.simplex.NBetter, app.simplex.SimplexAction));
    LogLine(app, "");
    LogLine(app, "Current minimum found at these " + CStr(eng.free.NFree) +
                     " adjusted parameter values: ");
    LogLine(app, "");
    LogParameterBlock(app, [&](long i) { return S(i, lo); });
    LogLine(app, ValueLine(app, FBest, FWorst));
    LogLine(app, "");
    app.msg.NumFormat = "0.0000E+00";
}

void DrawSimplexProgress(App& app) {
    SimplexState& s = app.simplex;
    if (!s.ShowPending) return;
    s.ShowPending = false;
    s.ShownThisRun = true;
    s.LastShownAt = app.ui.clock.Monotonic();
    if (frmSimplex* w = SimplexWindow(app)) w->rtbSimplex.Text = ProgressText(app);
}

}  // namespace tivelor
