// What the Marquardt driver shows in its progress window and writes to the
// minimization log.
#include <cmath>
#include <string>

#include "engine/Marquardt.h"
#include "engine/Parameters.h"
#include "engine/Progress.h"
#include "engine/ProgressText.h"
#include "platform/runtime.h"
#include "state/App.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

std::string Counts(App& app) {
    return platform::CStr(app.marq.NIter) + " iterations and " + platform::CStr(app.eng.NF) + " function calls";
}

std::string ToleranceLine(App& app, double FNew, double FLast) {
    const char* pattern = "####0.#####     ";
    return "Current Min> " + platform::Format(FNew, pattern) + " Last Min> " + platform::Format(FLast, pattern) +
           ToleranceChange(app, FNew, FLast);
}

std::string ParameterLines(App& app) {
    std::string out;
    const FreeVector& fv = app.eng.free;
    for (long k = 1; k <= fv.NFree; ++k) out += ScreenParameterLine(app, fv.FreeIndex(k), fv.FreeValue(k));
    return out;
}

bool ListingWanted(App& app) {
    return app.eng.ShowDerivs == "yes" && app.sw.MLOn == "off";
}

std::string DerivativeBlock(App& app, bool yield) {
    const EngineState& e = app.eng;
    const MarquardtState& m = app.marq;
    const std::string kind = e.DerivMethod == "N" ? "Numerical" : "Analytical";
    std::string out = std::string(vbCrLf) +
                      "1st & 2nd partial derivatives of the objective function wrt to the previous parameter estimates:" +
                      vbCrLf + vbCrLf;
    const long n = e.free.NFree;
    const auto& fi = e.free.FreeIndex;
    for (long a = 1; a <= n; ++a) {
        out += kind + " 1st derivative wrt Parameter      ";
        ColumnLine(out)
            .Field(platform::Format(fi(a), "000)"), 4)
            .Field(platform::Format(m.PrevGrad(a), "0.00000E+00"), 13);
        out += vbCrLf;
        for (long b = a; b <= n; ++b) {
            out += kind + " 2nd derivative wrt Parameters ";
            ColumnLine(out)
                .Field(platform::Format(fi(a), "000") + "," + platform::Format(fi(b), "000)"), 8)
                .Field(platform::Format(m.PrevHess(a, b), "0.00000E+00"), 13);
            out += vbCrLf;
            if (yield) app.ui.DoEvents();
        }
    }
    return out;
}

}  // namespace

void ShowMarquardtIteration(App& app, ProgressObserver& progress, double& FNew, double& FLast) {
    EngineState& e = app.eng;
    progress.Panel(1, "");
    progress.Panel(3, "");
    std::string text = std::string(vbCrLf) + "Note: " + Counts(app) + vbCrLf + vbCrLf + ToleranceLine(app, FNew, FLast) +
                       vbCrLf + vbCrLf + "Current minimum found at these " + platform::CStr(e.free.NFree) +
                       " adjusted parameter values: " + vbCrLf + vbCrLf + ParameterLines(app) + vbCrLf;
    if (ListingWanted(app)) {
        progress.Panel(1, "Please be patient while derivative output is collated");
        e.MarqGo = 0;
        progress.StepButtons(true);
        text += DerivativeBlock(app, true);
        progress.Report(1, text);
        progress.Panel(1, "");
        while (e.MarqGo == 0) app.ui.WaitForUser();
    } else {
        progress.StepButtons(false);
        progress.Report(1, text);
    }
    if (app.sw.MLOn == "on") ShowProfilePoint(app, progress, "0.0000E+00");
    app.msg.NumFormat = "0.0000000E+00";
}

void LogMarquardtIteration(App& app, double& FNew, double& FLast) {
    LogLine(app, "");
    LogLine(app, "Note: " + Counts(app));
    LogLine(app, "");
    LogLine(app, "Current minimum found at these " + platform::CStr(app.eng.free.NFree) + " adjusted parameter values: ");
    LogLine(app, "");
    LogParameterBlock(app, [&](long k) { return app.eng.free.FreeValue(k); });
    LogLine(app, ToleranceLine(app, FNew, FLast));
    LogLine(app, "");
    app.msg.NumFormat = "####0.#####     ";
}

void ShowMarquardtMinimum(App& app, ProgressObserver& progress, double& FMinimum) {
    EngineState& e = app.eng;
    progress.Panel(1, "");
    progress.Panel(3, "");
    std::string text = std::string(vbCrLf) + MinimumLine(FMinimum, e.free.NFree) + vbCrLf + vbCrLf +
                       ParameterLines(app) + vbCrLf + "This result required " + Counts(app) + vbCrLf;
    if (ListingWanted(app)) {
        progress.Panel(1, "Please be patient while derivative output is collated");
        text += DerivativeBlock(app, false);
    }
    progress.Report(1, text);
    progress.Panel(1, "");
    e.MarqGo = 1;
    e.ShowDerivs = "no";
    progress.StepButtons(false);
    app.ShowMsg("Minimum found using Marquardt!", platform::vbInformation, "Marquardt minimum");
    // A stop asked for meanwhile has nothing left to stop.
    progress.GoOn({app.marq.NIter, e.NF, FMinimum});
    progress.Panel(2, "");
    if (app.sw.PriorsOn == "on") progress.AtPriorMinimum();
    app.msg.NumFormat = "0.0000000E+00";
}

void LogMarquardtMinimum(App& app, double& FMinimum) {
    LogLine(app, MinimumLine(FMinimum, app.eng.free.NFree));
    LogLine(app, "");
    LogParameterBlock(app, [&](long k) { return app.eng.free.FreeValue(k); });
    LogLine(app, "after " + Counts(app));
    LogLine(app, "");
    app.msg.NumFormat = "0.0000000E+00";
}

}  // namespace tivelor
