#include "model/Report.h"

#include <cmath>

#include "engine/Parameters.h"
#include "model/Model.h"
#include "model/Reexpress.h"
#include "model/ReportDistribution.h"
#include "model/ReportEstimators.h"
#include "model/frmConvert.h"
#include "platform/runtime.h"
#include "state/App.h"
#include "state/Task.h"
#include "windows/TextWindows.h"
#include "windows/frmMain.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

constexpr double kLogitClamp = 18.42;

}  // namespace

std::string ReportField(const MaybeNumber& value, const char* pattern, int width) {
    if (!value || !std::isfinite(*value)) return RSetPad("Undefined", width);
    return RSetPad(platform::Format(*value, pattern), width);
}

std::string PadRight(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

MaybeNumber AICc(double F, double k, double n) {
    const double d = n - k - 1;
    if (!(d > 0)) return std::nullopt;
    return F + 2 * k * n / d;
}

namespace {

// Whether the best-point record covers every species.
bool RecordComplete(const ModelState& md) {
    const long n = md.NSpp;
    return n >= 1 && md.NQuad >= 1 && md.SpTheta.UBound() >= n && md.BestUA.UBound() >= n &&
           md.TotAbund.UBound() >= n && md.BestSpF.UBound() >= n &&
           md.BestDetectProb.UBound() >= n && md.ThetaSqFloor.UBound() >= n &&
           md.SpName.LBound() <= 1 && md.SpName.UBound() >= n && md.Count.UBound1() >= n &&
           md.Count.UBound2() >= md.NQuad && md.CumCount.UBound1() >= n &&
           md.CumCount.UBound2() >= md.NQuad;
}

struct Lines {
    std::string& out;
    void line(const std::string& s = "") { out += s + vbCrLf; }
};

void WriteSectionsAToD(App& app, Lines& w, double k, const MaybeNumber& aicc) {
    const ModelState& md = app.model;
    // A: heading.
    w.line("Results of a Orsadine Estimation Model [Vandrel/Oskety (2001) Ecol. Monogr. 000:000-000]");
    w.line();
    w.line("Data file:      " + md.DataFile);
    w.line("Algorithm file: " + app.eng.AlgFileName);
    w.line();
    if (app.sw.PriorsOn == "on" && !app.shell.PriFileName.empty()) {
        w.line("Important note: This analysis used Bayesian prior information");
        w.line("Bayesian priors file: " + app.shell.PriFileName);
        w.line();
    }
    w.line("Some analysis details:");
    w.line();
    // B: sample.
    w.line(PadRight("The species abundance data were collected from a habitat equivalent to", 71) +
           ReportField(static_cast<double>(md.NQuadHab), "########0", 10) + " quadrats in area");
    w.line(PadRight("The species abundance data were collected from a total of", 71) +
           ReportField(md.NQuad, "########0", 10) + " quadrats");
    const MaybeNumber pct = md.NQuadHab != 0
                                ? MaybeNumber(100.0 * md.NQuad / static_cast<double>(md.NQuadHab))
                                : std::nullopt;
    w.line(PadRight("The percentage of the total habitat sampled was:", 71) +
           ReportField(pct, "###0.0000", 10) + " %");
    w.line();
    // C: links.
    w.line(md.LogitThetaLink
               ? "This analysis estimated the Thetas indirectly using the Logit[Theta] link"
               : "This analysis estimated the Thetas directly, i.e., the Logit[Theta] link was not used");
    w.line(md.LnUALink
               ? "This analysis estimated the unsampled abundances (UAs) indirectly using the Ln[UA] link"
               : "This analysis estimated the unsampled abundances (UAs) directly, i.e., the Ln[UA] "
                 "link was not used");
    w.line();
    // D: fit.
    w.line(PadRight("The likelihood function minimum (-2Ln[L]) is:", 69) +
           ReportField(md.BestF, "#########0.0000", 16));
    w.line(PadRight("The number of free parameters is:", 65) + ReportField(k, "##0", 15));
    w.line(PadRight("The Akaike Information Criterion (AICc, Threlm & Pellick 1998) is:", 69) +
           ReportField(aicc, "#########0.0000", 16));
    w.line();
}

void WriteSectionsEF(App& app, Lines& w, const IncidenceSummary& inc) {
    const ModelState& md = app.model;
    const ReportState& rep = md.Report;
    // E: richness estimators.
    w.line("The 'species sampled'" + std::string(34, ' ') + "point estimate of species richness:" +
           ReportField(md.NSpp, "###0", 9));
    w.line();
    w.line("The 95% confidence intervals for the following point estimates of species richness (SR) "
           "assume a ln-normal error distribution");
    w.line();
    const struct {
        const char* label;
        const RichnessEstimate* r;
    } rows[] = {
        {"The Michaelis-Menton hyperbolic (Vimbrel 1979)", &rep.MM},
        {"The Maximum-Likelihood (Ostermahl 1987)", &rep.MLAsym},
        {"The Chao_2 (Brelling 1987)", &rep.Chao2},
        {"The 1st_order_Jackknife (Threlm & Gaswin 1978, 1979)", &rep.Jack1},
        {"The 2nd_order_Jackknife (Threlm & Gaswin 1978, 1979)", &rep.Jack2},
        {"The Bootstrap (Vandrel & Dorvay 1984)", &rep.Boot},
    };
    for (const auto& row : rows)
        w.line(PadRight(row.label, 55) + "SR estimate:" + ReportField(row.r->Est, "###0.00", 9) +
               ";  SE: " + ReportField(StandardError(row.r->Var), "###0.00", 9) +
               ";  L95%CI: " + ReportField(row.r->L95, "####0.00", 9) +
               ";  U95%CI: " + ReportField(row.r->U95, "####0.00", 9));
    w.line(PadRight("The Vandrel-Oskety", 55) + "SR estimate:" + ReportField(md.ESR, "###0.00", 9) +
           ";  Defer to uncertainty statistics!");
    w.line();
    // F: rare species.
    w.line("The number of singletons (Ebbrant & Lusmore 1994) is: " +
           ReportField(inc.NSingletons, "###0", 4));
    w.line("The number of doubletons (Ebbrant & Lusmore 1994) is: " +
           ReportField(inc.NDoubletons, "###0", 4));
    w.line("The number of uniques    (Ebbrant & Lusmore 1994) is: " +
           ReportField(inc.NUniques, "###0", 4));
    w.line("The number of duplicates (Ebbrant & Lusmore 1994) is: " +
           ReportField(inc.NDuplicates, "###0", 4));
    w.line();
}

void WriteSectionsGH(App& app, Lines& w) {
    const DistributionStatistics& d = app.model.Report.Dist;
    // G: distribution statistics.
    w.line();
    w.line("Note:  In the output below 'estimated' refers to the maximum likelihood estimate based "
           "on the actual number of species sampled");
    w.line(std::string(27, ' ') +
           "'inferred'  refers to the maximum likelihood estimate based on the estimated species "
           "richness");
    w.line();
    const struct {
        const char* subject;
        std::size_t width;
        double mean, var;
        const char* pattern;
        int field;
    } groups[] = {
        {"estimated distribution of Theta", 76, d.ThetaMeanEst, d.ThetaVarEst, "#######0.0000", 16},
        {"inferred distribution of Theta", 76, d.ThetaMeanInf, d.ThetaVarInf, "#######0.0000", 16},
        {"estimated distribution of Logit[Theta]", 80, d.LogitThetaMeanEst, d.LogitThetaVarEst,
         "###0.0000", 12},
        {"inferred distribution of Logit[Theta]", 80, d.LogitThetaMeanInf, d.LogitThetaVarInf,
         "#######0.0000", 12},
        {"estimated species abundance", 74, d.AbundMeanEst, d.AbundVarEst, "###########0.0000", 18},
        {"inferred species abundance", 74, d.AbundMeanInf, d.AbundVarInf, "###########0.0000", 18},
        {"estimated Ln[species abundance]", 76, d.LnAbundMeanEst, d.LnAbundVarEst, "#######0.0000", 16},
        {"inferred Ln[species abundance]", 76, d.LnAbundMeanInf, d.LnAbundVarInf, "#######0.0000", 16},
    };
    for (const auto& g : groups) {
        const MaybeNumber values[] = {g.mean, g.var, StandardError(g.var)};
        const char* stats[] = {"mean", "variance", "SD"};
        for (int s = 0; s < 3; ++s)
            w.line(PadRight("The estimate for the " + PadRight(stats[s], 9) + "of the " + g.subject +
                                " is:",
                            g.width) +
                   ReportField(values[s], g.pattern, g.field));
        w.line();
    }
    // H: correlation.
    w.line("The correlation between the estimates of Logit[Theta] and Ln[species abundance] is: " +
           ReportField(d.CorLogitThetaLnUA, "#0.0000", 10));
    w.line("You can judge the significance of the above correlation wrt to zero using this SE:  " +
           ReportField(d.CorLogitThetaLnUASE, "#0.0000", 10));
    w.line();
    w.line("Scrutinize parameter estimates and link codes below for advisories to constrain (fix) "
           "certain values (i.e., set step size to 0)");
    w.line();
}

// Past 999 the number is kept whole, with its blanks.
std::string SpeciesField(int i) {
    const std::string text = platform::Format(i, " ##0 ");
    return i <= 999 ? RSetPad(text, 4) : text;
}

std::string ThetaAdvisory(const ModelState& md, const platform::Vec<double>& StepSize, int i,
                          double theta) {
    const bool logit = md.LogitThetaLink != 0;
    const bool fixed = StepSize.UBound() >= i && StepSize(i) == 0;
    if (fixed) return logit ? " (Logit[Theta] is fixed)" : " (Theta is fixed)";
    const double upper = std::exp(kLogitClamp) / (std::exp(kLogitClamp) + 1);
    if (md.SpTheta(i) <= md.ThetaSqFloor(i))
        return logit ? " (Fix Logit[Theta] at -18.42)" : " (Fix Theta at 0)";
    if (theta >= upper) return logit ? " (Fix Logit[Theta] at 18.42)" : " (Fix Theta at 1)";
    if (md.CumCount(i, md.NQuad) == 1)
        return logit ? " (Fix Logit[Theta] at -18.42)" : " (Fix Theta at 0)";
    return "";
}

void WriteSectionsIToK(App& app, Lines& w) {
    const ModelState& md = app.model;
    const platform::Vec<double>& StepSize = app.eng.par.StepSize;
    const platform::Vec<std::string>& FuseCode = app.eng.par.FuseCode;
    const int n = md.NSpp;
    auto fuse = [&](int p) { return FuseCode.UBound() >= p ? FuseCode(p) : std::string(); };
    // I: per-species parameters.
    for (int i = 1; i <= n; ++i) {
        const double theta = md.SpTheta(i) > 0 ? std::sqrt(md.SpTheta(i)) : 0.0;
        w.line("Theta, then Logit[Theta], then link code for Sp#" + SpeciesField(i) + md.SpName(i) +
               " is: " + ReportField(theta, "0.000000", 12) + "," +
               ReportField(ReportLogit(theta), "#0.000000", 12) + " " + fuse(i) +
               ThetaAdvisory(md, StepSize, i, theta));
    }
    w.line();
    for (int i = 1; i <= n; ++i) {
        const double ua = md.BestUA(i);
        const bool atFloor = !(ua > std::exp(-4.605));
        const std::string lnua =
            atFloor ? RSetPad("-Infinity", 12) : ReportField(std::log(ua), "0.0000E+00", 12);
        const bool logn = md.LnUALink != 0;
        const bool fixed = StepSize.UBound() >= n + i && StepSize(n + i) == 0;
        std::string advice;
        if (fixed)
            advice = logn ? " (Ln[UA] is fixed)" : " (UA is fixed)";
        else if (atFloor)
            advice = logn ? " (Fix Ln[UA] at -4.605)" : " (Fix UA at 0)";
        w.line("UA, then Ln[UA], then total abundance, then link code for Sp#" + SpeciesField(i) +
               md.SpName(i) + " is:  " + ReportField(ua, "0.0000E+00", 12) + ",  " + lnua + "," +
               ReportField(static_cast<double>(md.TotAbund(i)), "0.0000E+00", 12) + " " +
               fuse(n + i) + advice);
    }
    w.line();
    // J: per-species fit.
    for (int i = 1; i <= n; ++i)
        w.line("The -lnL of the data for Sp#" + SpeciesField(i) + md.SpName(i) +
               " at the reported parameter estimates for Theta and UA is: " +
               ReportField(md.BestSpF(i), "0.0000E+00", 12));
    w.line();
    // K: accumulation curve.
    w.line("The following is a summary of the species accumulation curve used to estimate the "
           "Michaelis-Menton estimated species richness.");
    w.line();
    for (int j = 1; j <= md.NQuad; ++j)
        if (j == 1 || md.IncrCurve(j) != 0)
            w.line("Sequential quadrat # " + ReportField(j, "####0", 8) + " contained an additional " +
                   ReportField(md.IncrCurve(j), "####0", 8) + " species for a sequential total of " +
                   ReportField(md.AccumCurve(j), "####0", 8));
}

}  // namespace

void WriteResultsReport(App& app, platform::Vec<double>& P) {
    ModelState& md = app.model;
    ParameterSet& par = app.eng.par;
    if (!RecordComplete(md)) {
        app.ShowMsg("There are no model results to summarize yet: initialize the model and "
                    "evaluate it first.",
                    platform::vbExclamation, "Results summary");
        ReturnToMainMenu(app);
        return;
    }
    // 1. Re-expression.
    if (md.AskConvert) {
        app.form<frmConvert>().Show(platform::vbModal);
        ConvertParameters(app, P, md.BestPar, par.ParName);
    }
    // 2-4. Fit statistics and the window.
    frmSummary& summary = app.form<frmSummary>();
    summary.rtbOut.Text = "";
    double k = 0;
    for (int i = 1; i <= par.NumPars && i <= par.StepSize.UBound(); ++i)
        if (par.StepSize(i) != 0) k += 1;
    const MaybeNumber aicc = AICc(md.BestF, k, static_cast<double>(app.eng.SampleSize));
    summary.Show();
    // 5-8. Heading, fit and estimators.
    app.msg.ReportText = "";
    platform::StatusBar& bar = app.form<frmMain>().stbMain5;
    bar.SetPanel(1, "One moment please...");
    Lines w{app.msg.ReportText};
    WriteSectionsAToD(app, w, k, aicc);
    const CountTable counts = CountTableFromModel(md);
    const IncidenceSummary inc = SummarizeIncidence(counts);
    CalcRichnessEstimators(app, inc, counts);
    WriteSectionsEF(app, w, inc);
    FlushReport(app);
    // 9-11. Goodness of fit, distribution statistics, per-species and accumulation.
    RunGoodnessOfFit(app);
    CalcDistributionStatistics(app);
    WriteSectionsGH(app, w);
    WriteSectionsIToK(app, w);
    FlushReport(app);
    bar.SetPanel(1, "");
    // 12. Follow-ups.
    OfferReportPlots(app);
    if (!OfferUncertaintyStatistics(app, P, par.StepSize, par.FuseCode)) return;
    AppendOriginalData(app);
}

}  // namespace tivelor
