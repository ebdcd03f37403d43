// What the Marquardt driver shows in its progress window and writes to the
// minimization log.
#include <cmath>
#include <string>

#include "engine/Marquardt.h"
#include "engine/Parameters.h"
#include "engine/Priors.h"
#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "shell/App.h"
#include "shell/frmMain.h"
#include "shell/frmMarquardt.h"

namespace tivelor {

namespace {

constexpr const char* CRLF = "\r\n";

void Panel(App& app, int n, const std::string& text) { app.form<frmMain>().stbMain5.SetPanel(n, text); }

frmMarquardt& Window(App& app) { return frmMarquardt::ForRun(app); }

std::string Counts(App& app) {
    return platform::CStr(app.marq.NIter) + " iterations and " + platform::CStr(app.eng.NF) + " function calls";
}

std::string ToleranceLine(App& app, double FNew, double FLast) {
    const char* pattern = "####0.#####     ";
    std::string line = "Current Min> " + platform::Format(FNew, pattern) + " Last Min> " + platform::Format(FLast, pattern);
    if (app.eng.opt.ConvTol < 0) {
        // Measured from a value of 0 the relative change has no value.
        line += " Rel TC> " + (FLast == 0 ? std::string("Undefined")
                                          : platform::Format(std::fabs((FNew - FLast) / FLast), "0.0000E+00"));
    } else {
        line += " Abs TC> " + platform::Format(std::fabs(FNew - FLast), "0.0000E+00");
    }
    return line + CRLF;
}

std::string ParameterLines(App& app) {
    std::string out;
    const FreeVector& fv = app.eng.free;
    for (long k = 1; k <= fv.NFree; ++k) out += ScreenParameterLine(app, fv.FreeIndex(k), fv.FreeValue(k));
    return out;
}

bool ListingWanted(App& app) {
    return app.eng.ShowDerivs == "yes" && app.sw.MLOn == "off" && !app.eng.InterruptMarq;
}

std::string DerivativeBlock(App& app, bool yield) {
    const EngineState& e = app.eng;
    const MarquardtState& m = app.marq;
    const std::string kind = e.DerivMethod == "N" ? "Numerical" : "Analytical";
    std::string out = std::string(CRLF) +
                      "1st & 2nd partial derivatives of the objective function wrt to the previous parameter estimates:" +
                      CRLF + CRLF;
    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    for (long a = 1; a <= n; ++a) {
        out += kind + " 1st derivative wrt Parameter      " + platform::Format(fi(a), "000)") +
               RSetPad(platform::Format(m.PrevGrad(a), "0.00000E+00"), 13) + CRLF;
        for (long b = a; b <= n; ++b) {
            out += kind + " 2nd derivative wrt Parameters " + platform::Format(fi(a), "000") + "," +
                   platform::Format(fi(b), "000)") + RSetPad(platform::Format(m.PrevHess(a, b), "0.00000E+00"), 13) +
                   CRLF;
            if (yield) app.ui.DoEvents();
        }
    }
    return out;
}

}  // namespace

void ShowMarquardtIteration(App& app, double& FNew, double& FLast) {
    EngineState& e = app.eng;
    Panel(app, 1, "");
    Panel(app, 3, "");
    std::string text = std::string(CRLF) + "Note: " + Counts(app) + CRLF + CRLF + ToleranceLine(app, FNew, FLast) +
                       CRLF + "Current minimum found at these " + platform::CStr(e.free.NFree) +
                       " adjusted parameter values: " + CRLF + CRLF + ParameterLines(app) + CRLF;
    if (ListingWanted(app)) {
        Panel(app, 1, "Please be patient while derivative output is collated");
        e.MarqGo = 0;
        Window(app).ShowStepButtons(true);
        text += DerivativeBlock(app, true);
        Window(app).rtbMarquardt.Text = text;
        Panel(app, 1, "");
        while (e.MarqGo == 0) app.ui.WaitForUser();
    } else {
        frmMarquardt& w = Window(app);
        w.ShowStepButtons(false);
        w.rtbMarquardt.Text = text;
    }
    if (app.sw.MLOn == "on") {
        const EvalState& ev = app.eval;
        std::string panel = "Calculating profile point " + platform::Format(static_cast<double>(ev.ProfPt), "##0") +
                            " of " + platform::Format(static_cast<double>(ev.NProfPts), "##0") + ",";
        if (e.free.NFree != 0 && ev.ProfPar >= 1 && ev.ProfPar <= e.par.ParValue.UBound())
            panel += " Value of parameter # " + platform::CStr(ev.ProfPar) + " which is being profiled is: " +
                     platform::Format(e.par.ParValue(ev.ProfPar), "0.0000E+00");
        Panel(app, 1, panel);
        app.ui.DoEvents();
    }
    app.msg.NumFormat = "0.0000000E+00";
}

void LogMarquardtIteration(App& app, double& FNew, double& FLast) {
    LogLine(app, "");
    LogLine(app, "Note: " + Counts(app));
    LogLine(app, "");
    LogLine(app, "Current minimum found at these " + platform::CStr(app.eng.free.NFree) + " adjusted parameter values: ");
    LogLine(app, "");
    LogParameterBlock(app, [&](long k) { return app.eng.free.FreeValue(k); });
    std::string tol = ToleranceLine(app, FNew, FLast);
    LogLine(app, tol.substr(0, tol.size() - 2));
    LogLine(app, "");
    app.msg.NumFormat = "####0.#####     ";
}

void ShowMarquardtMinimum(App& app, double& FMinimum) {
    EngineState& e = app.eng;
    Panel(app, 1, "");
    Panel(app, 3, "");
    std::string text = std::string(CRLF) + "Minimum of " + platform::Format(FMinimum, "####0.#####") + " found at these " +
                       platform::CStr(e.free.NFree) + " adjusted parameter values:" + CRLF + CRLF +
                       ParameterLines(app) + CRLF + "This result required " + Counts(app) + CRLF;
    if (ListingWanted(app)) {
        Panel(app, 1, "Please be patient while derivative output is collated");
        text += DerivativeBlock(app, false);
    }
    frmMarquardt& w = Window(app);
    w.rtbMarquardt.Text = text;
    Panel(app, 1, "");
    e.MarqGo = 1;
    e.ShowDerivs = "no";
    w.ShowStepButtons(false);
    app.ShowMsg("Minimum found using Marquardt!", 64, "Marquardt minimum");
    e.InterruptMarq = platform::False;
    Panel(app, 2, "");
    if (app.sw.PriorsOn == "on") ShowPriorReview(app);
    app.msg.NumFormat = "0.0000000E+00";
}

void LogMarquardtMinimum(App& app, double& FMinimum) {
    LogLine(app, "Minimum of " + platform::Format(FMinimum, "####0.#####") + " found at these " +
                     platform::CStr(app.eng.free.NFree) + " adjusted parameter values:");
    LogLine(app, "");
    LogParameterBlock(app, [&](long k) { return app.eng.free.FreeValue(k); });
    LogLine(app, "after " + Counts(app));
    LogLine(app, "");
    app.msg.NumFormat = "0.0000000E+00";
}

}  // namespace tivelor
