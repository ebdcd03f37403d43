// The prior editor's profile of one prior: the dialogue, the plots and the
// table of the distribution.
#include <optional>

#include "numerics/PriorMath.h"
#include "platform/runtime.h"
#include "plots/DistributionPlots.h"
#include "state/App.h"
#include "state/Task.h"
#include "engine/Parameters.h"
#include "priors/frmPriorDists.h"
#include "priors/frmSetPriors.h"

namespace tivelor {

using platform::vbCrLf;

namespace {
const std::string kTitle = "Evaluation of prior distributions";

// The answer rounded to a whole number, when it fits a 16-bit integer.
std::optional<int> Whole(const std::string& answer) { return platform::CInt(platform::Val(answer)); }
}  // namespace

void frmSetPriors::mnuProfile_Click() {
    App& a = app;
    TaskGuard task(a, "Prior profile", this);
    if (!task) return;
    EvalState& ev = a.eval;
    const int numPars = a.eng.par.NumPars;
    a.sw.PriorProfileOn = "on";
    int par = 0, points = 0;
    for (bool chosen = false; !chosen;) {
        if (a.ShowMsg(std::string("This routine will create a series of plots to evaluate prior distributions.") + vbCrLf +
                          "If the prior distribution is uniform-unbounded (U) no plots will be generated." + vbCrLf +
                          "First choose the parameter to be profiled, then the number of data points." + vbCrLf +
                          "This routine uses the moments (mean and SD) to set the domain of the parameter.",
                      platform::vbOKCancel + platform::vbInformation, kTitle) == platform::vbCancel) {
            a.sw.PriorProfileOn = "off";
            return;
        }
        a.ShowMsg(std::string("Choose plot 1 to get a likelihood profile plot. ") + vbCrLf +
                      "Choose plot 2 to get a Bayesian prior distribution. " + vbCrLf +
                      "Choose plot 3 to get a mode-centered confidence region plot. " + vbCrLf +
                      "Choose plot 4 to get a mean-centered confidence region plot. " + vbCrLf +
                      "Choose plot 5 to get a left to right ascending cumulative plot. " + vbCrLf +
                      "Choose plot 6 to get a left to right descending cumulative plot. " + vbCrLf +
                      "Choose plot 7 to get a mode-centered Gaussian distribution plot. ",
                  platform::vbInformation, kTitle);
        std::string answer;
        for (;;) {
            const int row = grdSetPriors.Row - 1;
            answer = a.ui.InputBox(std::string("Choose the parameter number to be profiled.") + vbCrLf + "(0 < parameter # <= " +
                                       platform::CStr(numPars) + ")",
                                   kTitle, platform::CStr(row > 1 ? row : 1), 2000);
            if (answer.empty()) break;
            std::optional<int> n = Whole(answer);
            if (n && *n >= 1 && *n <= numPars) {
                par = *n;
                break;
            }
        }
        if (answer.empty()) continue;
        ev.ProfPar = par;
        if (a.priors.PriorType(par) == "U") {
            a.ShowMsg("There is nothing to plot when the prior distribution is uniform-unbounded",
                      platform::vbExclamation, kTitle);
            continue;
        }
        for (;;) {
            answer = a.ui.InputBox(std::string("Choose the number of x-y data points per plot.") + vbCrLf + "(0 <= # points <= 1001)",
                                   kTitle, "101", 5000, 2000);
            if (answer.empty()) break;
            std::optional<int> n = Whole(answer);
            if (n && *n >= 0 && *n <= 1001) {
                points = *n;
                break;
            }
        }
        chosen = !answer.empty();
    }

    const int K = numerics::CorrectedProfilePoints(points);
    double Mean = 0, Diff = 0, SD = 0;
    ComputePriorProfile(a, par, K, Mean, Diff, SD);
    ShowDistributionPlots(a, ev.ProfNegLnL, Mean, Diff, ev.EVEstimate, SD, ev.NProfPts, ev.ProfPDF, ev.ProfCIMode,
                          ev.ProfCIMean, ev.ProfCum, ev.ProfNormPDF, ev.ProfX, a.sw.PriorProfileOn, a.sw.PosteriorOn,
                          a.sw.MLOn);
    Save_PriorDists(Mean, ev.EVEstimate, Diff, SD);
    a.sw.PriorProfileOn = "off";
}

void frmSetPriors::Save_PriorDists(double& Mean, double& Mode, double& Diff, double& SD) {
    const EvalState& ev = app.eval;
    std::string& f = app.msg.NumFormat;
    f = "0.0000E+000   ";
    frmPriorDists& w = app.form<frmPriorDists>();
    w.Show();
    auto field = [&](double v) { return RSetPad(platform::Format(v, f), 15); };
    std::string& r = app.msg.ReportText;
    r = std::string("Bayesian prior distribution data") + vbCrLf + vbCrLf +
        "  Point       Value         -ln[L]           PDF        Cumulative     Attenuated     Normal PDF" + vbCrLf;
    for (long p = 1; p <= ev.NProfPts; ++p)
        r += RSetPad(platform::Format(static_cast<double>(p), "##0"), 5) + "    " + field(ev.ProfX(p)) +
             field(ev.ProfNegLnL(p)) + field(ev.ProfPDF(p)) + field(ev.ProfCum(p)) + field(1 - ev.ProfCum(p)) +
             field(ev.ProfNormPDF(p)) + vbCrLf;
    r += vbCrLf;
    r += "Max Likelihood: " + field(Mode) + vbCrLf;
    r += "Expected Value: " + field(Mean) + vbCrLf;
    r += "Estimated Diff: " + field(Diff) + vbCrLf;
    r += "Percent Diff:   " + (Mean == 0 ? RSetPad("Undefined", 15) : field(Diff * 100 / Mean)) + vbCrLf;
    r += "Estimated SE:   " + field(SD) + vbCrLf;
    w.rtbPriorDists.Text = r;
}

}  // namespace tivelor
