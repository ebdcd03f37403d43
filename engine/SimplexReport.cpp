#include <cmath>

#include "engine/ProgressText.h"
#include "engine/Simplex.h"
#include "platform/runtime.h"
#include "shell/App.h"
#include "shell/frmSimplex.h"

namespace tivelor {

using platform::CStr;
using platform::Format;

namespace {

const char* const kCrLf = "\r\n";

std::string CountsLine(App& app) {
    return "Note: " + CStr(app.simplex.NIter) + " iterations, " + CStr(app.eng.NF) +
           " function calls, and " + CStr(app.simplex.NRestarts) + " restarts";
}

std::string ValueLine(App& app, double fmin, double fmax) {
    std::string t;
    if (app.eng.opt.ConvTol < 0)
        t = " Rel TC> " + Format(std::fabs((fmax - fmin) / fmin), "0.0000E+00");
    else
        t = " Abs TC> " + Format(std::fabs(fmax - fmin), "0.0000E+00");
    app.msg.NumFormat = "0.0000E+00";
    return "Current: Min> " + Format(fmin, "####0.#####     ") + " Max> " +
           Format(fmax, "####0.#####     ") + t;
}

std::string MoveLine(App& app) {
    return "Number of function values (parameter vectors) improved: " +
           Format(static_cast<double>(app.simplex.NBetter), "#0") +
           "; Action accepted: " + app.simplex.SimplexAction;
}

std::string InitialLine(App& app) {
    const SimplexState& s = app.simplex;
    app.msg.NumFormat = "####0.#####";
    return "Initial Simplex: Starting function value> " + Format(s.SimplexF(1), "####0.#####") +
           " Max> " + Format(s.SimplexF(s.IHi), "####0.#####") + " Min> " +
           Format(s.SimplexF(s.ILo), "####0.#####");
}

}  // namespace

frmSimplex* SimplexWindow(App& app) {
    return static_cast<frmSimplex*>(app.ui.forms.Find(frmSimplex::kName));
}

void ReportInitialSimplex(App& app) {
    EngineState& eng = app.eng;
    const platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;

    SimplexPanel(app, 1, "");
    app.ui.DoEvents();

    if (eng.opt.FileFreq != 0) {
        LogLine(app, "");
        LogLine(app, "");
        LogLine(app, "Initial parameter values:");
        LogLine(app, "");
        LogParameterBlock(app, [&](long i) { return S(i, 1); });
        LogLine(app, InitialLine(app));
    }

    if (eng.opt.TerminalFreq == 0) return;
    std::string text = kCrLf + InitialLine(app) + kCrLf + kCrLf + "Initial parameter values:" +
                       kCrLf + kCrLf;
    for (long i = 1; i <= n; ++i) text += ScreenParameterLine(app, eng.free.FreeIndex(i), S(i, 1));
    app.msg.NumFormat = "0.0000000E+00";
    if (frmSimplex* w = SimplexWindow(app)) w->rtbSimplexInitial.Text = text;
}

void ShowSimplexProgress(App& app, double FBest, double FWorst) {
    EngineState& eng = app.eng;
    const SimplexState& s = app.simplex;
    const platform::Matrix<double>& S = eng.Simplex;
    const long n = eng.free.NFree;

    std::string text = kCrLf + CountsLine(app) + kCrLf + kCrLf + ValueLine(app, FBest, FWorst) +
                       kCrLf + kCrLf;
    if (eng.opt.TerminalFreq == 1) text += MoveLine(app) + kCrLf + kCrLf;
    text += "Current minimum found at these " + CStr(n) + " adjusted parameter values:" + kCrLf +
            kCrLf;
    for (long i = 1; i <= n; ++i) text += ScreenParameterLine(app, eng.free.FreeIndex(i), S(i, s.ILo));
    text += kCrLf;
    app.msg.NumFormat = "0.0000000E+00";
    if (frmSimplex* w = SimplexWindow(app)) w->rtbSimplex.Text = text;

    if (app.sw.MLOn == "on") {
        const EvalState& ev = app.eval;
        std::string panel = "Calculating profile point " +
                            Format(static_cast<double>(ev.ProfPt), "##0") + " of " +
                            Format(static_cast<double>(ev.NProfPts), "##0") + ",";
        if (n != 0 && ev.ProfPar >= 0 && ev.ProfPar <= eng.par.ParValue.UBound()) {
            panel += " Value of parameter # " + CStr(ev.ProfPar) +
                     " which is being profiled is: " +
                     Format(eng.par.ParValue(ev.ProfPar), "0.00000E+00");
            app.msg.NumFormat = "0.00000E+00";
        }
        SimplexPanel(app, 1, panel);
        app.ui.DoEvents();
    }
}

void LogSimplexProgress(App& app, double FBest, double FWorst) {
    EngineState& eng = app.eng;
    if (eng.opt.FileFreq == 0) return;
    const platform::Matrix<double>& S = eng.Simplex;
    const int lo = app.simplex.ILo;

    LogLine(app, "");
    LogLine(app, CountsLine(app));
    if (eng.opt.FileFreq == 1) LogLine(app, MoveLine(app));
    LogLine(app, "");
    LogLine(app, "Current minimum found at these " + CStr(eng.free.NFree) +
                     " adjusted parameter values: ");
    LogLine(app, "");
    LogParameterBlock(app, [&](long i) { return S(i, lo); });
    LogLine(app, ValueLine(app, FBest, FWorst));
    LogLine(app, "");
}

}  // namespace tivelor
