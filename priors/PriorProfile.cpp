// The prior editor's profile of one prior: the dialogue, the plots and the
// table of the distribution.
#include <optional>

#include "numerics/PriorMath.h"
#include "platform/runtime.h"
#include "plots/DistributionPlots.h"
#include "app/App.h"
#include "engine/Parameters.h"
#include "priors/frmPriorDists.h"
#include "priors/frmSetPriors.h"

namespace tivelor {

namespace {
const std::string kTitle = "Evaluation of prior distributions";

// The answer rounded to a whole number, when it fits a 16-bit integer.
std::optional<int> Whole(const std::string& answer) { return platform::CInt(platform::Val(answer)); }
}  // namespace

void frmSetPriors::mnuProfile_Click() {
    App& a = app;
    EvalState& ev = a.eval;
    const std::string crlf = "\r\n";
    const int numPars = a.eng.par.NumPars;
    a.sw.PriorProfileOn = "on";
    int par = 0, points = 0;
    for (bool chosen = false; !chosen;) {
        if (a.ShowMsg("This routine will create a series of plots to evaluate prior distributions." + crlf +
                          "If the prior distribution is uniform-unbounded (U) no plots will be generated." + crlf +
                          "First choose the parameter to be profiled, then the number of data points." + crlf +
                          "This routine uses the moments (mean and SD) to set the domain of the parameter.",
                      65, kTitle) == platform::vbCancel) {
            a.sw.PriorProfileOn = "off";
            return;
        }
        a.ShowMsg("Choose plot 1 to get a likelihood profile plot. " + crlf +
                      "Choose plot 2 to get a Bayesian prior distribution. " + crlf +
                      "Choose plot 3 to get a mode-centered confidence region plot. " + crlf +
                      "Choose plot 4 to get a mean-centered confidence region plot. " + crlf +
                      "Choose plot 5 to get a left to right ascending cumulative plot. " + crlf +
                      "Choose plot 6 to get a left to right descending cumulative plot. " + crlf +
                      "Choose plot 7 to get a mode-centered Gaussian distribution plot. ",
                  64, kTitle);
        std::string answer;
        for (;;) {
            const int row = grdSetPriors.Row - 1;
            answer = a.ui.InputBox("Choose the parameter number to be profiled." + crlf + "(0 < parameter # <= " +
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
            a.ShowMsg("There is nothing to plot when the prior distribution is uniform-unbounded", 48, kTitle);
            continue;
        }
        for (;;) {
            answer = a.ui.InputBox("Choose the number of x-y data points per plot." + crlf + "(0 <= # points <= 1001)",
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
    const std::string crlf = "\r\n";
    std::string& r = app.msg.ReportText;
    r = "Bayesian prior distribution data" + crlf + crlf +
        "  Point       Value         -ln[L]           PDF        Cumulative     Attenuated     Normal PDF" + crlf;
    for (long p = 1; p <= ev.NProfPts; ++p)
        r += RSetPad(platform::Format(static_cast<double>(p), "##0"), 5) + "    " + field(ev.ProfX(p)) +
             field(ev.ProfNegLnL(p)) + field(ev.ProfPDF(p)) + field(ev.ProfCum(p)) + field(1 - ev.ProfCum(p)) +
             field(ev.ProfNormPDF(p)) + crlf;
    r += crlf;
    r += "Max Likelihood: " + field(Mode) + crlf;
    r += "Expected Value: " + field(Mean) + crlf;
    r += "Estimated Diff: " + field(Diff) + crlf;
    r += "Percent Diff:   " + (Mean == 0 ? RSetPad("Undefined", 15) : field(Diff * 100 / Mean)) + crlf;
    r += "Estimated SE:   " + field(SD) + crlf;
    w.rtbPriorDists.Text = r;
}

}  // namespace tivelor
