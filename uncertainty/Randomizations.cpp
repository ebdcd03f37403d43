#include "uncertainty/Randomizations.h"

#include <cmath>
#include <functional>

#include "state/App.h"
#include "engine/ProgressText.h"
#include "model/Report.h"
#include "platform/runtime.h"
#include "windows/frmMain.h"
#include "uncertainty/Collation.h"
#include "uncertainty/CovarianceLink.h"
#include "uncertainty/RuntimeUniforms.h"
#include "uncertainty/frmAbort.h"

namespace tivelor {

namespace {

constexpr double kRichnessLimit = 25000;
constexpr const char* kNotFused = "~~";

double Logistic(double x) {
    if (x >= 0) return 1 / (1 + std::exp(-x));
    const double e = std::exp(x);
    return e / (1 + e);
}

platform::StatusBar& Bar(App& app) { return app.form<frmMain>().stbMain5; }

// Asks for the number of randomizations and dimensions the store; false
// (after telling the user) when the answer is 0.
bool AskRandomizations(App& app) {
    ReportState& rep = app.model.Report;
    AskRandomizationCount(app, "Please enter the number of randomizations for the uncertainty profile (max=32000)",
                          "More randomizations improve the uncertainty statistics");
    app.unc.Rand.RandESR.ReDim(rep.NRand);
    if (rep.NRand == 0) {
        app.ShowMsg("Randomizations aborted!", platform::vbOKOnly, "You changed your mind");
        return false;
    }
    return true;
}

void StopRun(App& app, ProgressObserver& progress) {
    Bar(app).SetPanel(1, "");
    Bar(app).SetPanel(2, "");
    progress.Close();
}

// Stores estimate i, shows the time remaining and yields; true on Abort.
bool StoreEstimate(App& app, ProgressObserver& progress, int i, double E, double start) {
    const int NRand = app.model.Report.NRand;
    app.unc.Rand.RandESR(i) = static_cast<int>(platform::Int(E + 0.5));
    double elapsed = app.ui.Timer() - start;
    if (elapsed < 0) elapsed += 86400;   // past midnight
    Bar(app).SetPanel(2, "Estimated time remaining (m:s): " + MinutesSeconds(elapsed / i * (NRand - i)));
    app.ui.DoEvents();
    return !progress.GoOn({i, 0, E});
}

bool Accepted(double E) { return E <= kRichnessLimit; }   // false for a value that is not a number

// Randomizations 1 to NRand under the abort window, each with the status
// line "<kind> uncertainty statistics: doing randomization #i of NRand":
// draw gives an estimate, and a rejected one is drawn again unless the user
// stops. False when the run stopped.
bool RunRandomizations(App& app, const std::string& kind, const std::function<double(RuntimeUniforms&)>& draw) {
    const int NRand = app.model.Report.NRand;
    AbortWatch watch(app);
    watch.Begin(true);
    const double start = app.ui.Timer();
    RuntimeUniforms uniforms(app.ui.random);
    for (int i = 1; i <= NRand; ++i) {
        double E = 0;
        for (;;) {
            Bar(app).SetPanel(1, kind + " uncertainty statistics: doing randomization #" + platform::CStr(i) +
                                     " of " + platform::CStr(NRand));
            E = draw(uniforms);
            if (Accepted(E)) break;
            if (RejectAndAskStop(app, watch, i)) {
                StopRun(app, watch);
                return false;
            }
        }
        if (StoreEstimate(app, watch, i, E, start)) {
            StopRun(app, watch);
            return false;
        }
    }
    watch.Close();
    return true;
}

}  // namespace

bool RejectAndAskStop(App& app, ProgressObserver& progress, int i) {
    // The user's input of the moment comes first (a click on Abort aimed
    // past the last box): an Abort pressed since the last round stops the
    // run without the question.
    app.ui.ModalOpening();
    if (!progress.GoOn({i - 1, 0, 0})) return true;
    return app.ShowMsg("The randomized value for species richness exceeded the program limit of 25000 species!"
                       "\r\n\r\nStop the randomizations?",
                       platform::vbYesNo + platform::vbInformation,
                       "Randomization " + platform::CStr(i) + " rejected") == platform::vbYes;
}

numerics::SampleQuadrats ModelQuadrats(const App& app) {
    const ModelState& md = app.model;
    std::vector<double> p(static_cast<std::size_t>(md.NQuad));
    for (int j = 1; j <= md.NQuad; ++j) p[static_cast<std::size_t>(j - 1)] = md.QuadProb(j);
    return numerics::MakeSampleQuadrats(p.data(), md.NQuad, md.ShrinkConst);
}

void CalcExpectedRichness(App& app, double& ESR, const platform::Vec<double>& Theta,
                          const platform::Vec<double>& UA) {
    ModelState& md = app.model;
    const numerics::SampleQuadrats q = ModelQuadrats(app);
    ESR = 0;
    for (int s = 1; s <= md.NSpp; ++s) {
        const double N = UA(s) + md.CumCount(s, md.NQuad);
        const numerics::Absence r = numerics::AbsentFromSample(q, N, Theta(s));
        md.ShrinkRatio = r.ShrinkRatio;
        md.LastQuadP = r.LastQuadP;
        ESR += 1 / r.Seen;
        app.ui.DoEvents();
    }
}

void ProbSampled(App& app, double& P, double LogitTheta, double LnN) {
    P = numerics::ProbSampled(ModelQuadrats(app), LogitTheta, LnN);
}

void IntegrateBivariateRichness(App& app, double& ESR, double MeanT, double SDT, double MeanN,
                                double SDN, double Rho) {
    const numerics::SampleQuadrats q = ModelQuadrats(app);
    const int NSpp = app.model.NSpp;
    double total = 0;
    ESR = 0;
    for (int a = numerics::kBivarFirst; a <= numerics::kBivarLast; ++a) {
        const numerics::BivariateSums row =
            numerics::BivariateRow(q, NSpp, a, MeanT, SDT, MeanN, SDN, Rho);
        ESR += row.ESR;
        total += row.Total;
        for (int b = numerics::kBivarFirst; b <= numerics::kBivarLast; ++b) app.ui.DoEvents();
    }
    const double D = numerics::SloppyPercent(total, NSpp);
    RandomizedStore& st = app.unc.Rand;
    if (D > 0.1) {
        ++st.SloppyCount;
        if (!st.SloppyWarned) {
            app.ShowMsg("Bivariate integration of Thetas and Ln[species abundance] deviates from unity by "
                        "more than 0.1% @ " + platform::Format(D, "##0.00") + "%!",
                        platform::vbInformation, "Warning: sloppy integration result");
            st.SloppyWarned = platform::True;
        }
    }
}

SpeciesDraw DrawSpecies(const App& app, int s, const platform::Vec<double>& P,
                        const platform::Vec<double>& StepSize,
                        const platform::Vec<std::string>& FuseCode, double z1, double z2) {
    const ModelState& md = app.model;
    const CovarianceLink& c = app.unc.Cov;
    const int NSpp = md.NSpp;
    auto fixed = [&](int k) { return StepSize(k) == 0 && platform::Trim(FuseCode(k)) == kNotFused; };
    const double r = c.CorThetaUA(s);
    z2 = r * z1 + std::sqrt(1 - r * r) * z2;
    SpeciesDraw d;
    // Theta. Without the link, a value without a logit (0 or 1) keeps its fit.
    const double t = P(s);
    if (md.LogitThetaLink)
        d.theta = Logistic(fixed(s) ? t : std::sqrt(c.VarTheta(s)) * z1 + t);
    else if (fixed(s) || !(t > 0 && t < 1))
        d.theta = t;
    else
        d.theta = Logistic(std::sqrt(c.VarTheta(s) / (t * t * (1 - t) * (1 - t))) * z1 +
                           std::log(t / (1 - t)));
    if (d.theta < numerics::kAbsentMin) d.theta = numerics::kAbsentMin;
    if (d.theta > numerics::kAbsentMax) d.theta = numerics::kAbsentMax;
    // UA. Without the link, a UA of 0 or less keeps its fit.
    const double u = P(NSpp + s);
    if (md.LnUALink)
        d.ua = std::exp(fixed(NSpp + s) ? u : std::sqrt(c.VarUA(s)) * z2 + u);
    else if (fixed(NSpp + s) || !(u > 0))
        d.ua = u;
    else
        d.ua = std::exp(std::sqrt(c.VarUA(s) / (u * u)) * z2 + std::log(u));
    return d;
}

void SampleBasedUncertainty(App& app, platform::Vec<double>& P, platform::Vec<double>& StepSize,
                            platform::Vec<std::string>& FuseCode) {
    ModelState& md = app.model;
    RandomizedStore& st = app.unc.Rand;
    const int NSpp = md.NSpp;
    platform::Vec<double> RandTheta(NSpp), RandUA(NSpp);
    app.ui.Randomize(app.ui.Timer());
    ReadCovarianceFile(app, P, StepSize, FuseCode);
    if (!app.unc.Cov.CovFileOK || app.unc.Cov.CovFileName.empty()) return;
    if (!AskRandomizations(app)) return;
    st.RandESRMax = NSpp;
    st.RandESRMin = 32767;
    const bool done = RunRandomizations(app, "Sample-based", [&](RuntimeUniforms& uniforms) {
        for (int s = 1; s <= NSpp; ++s) {
            double z1 = 0, z2 = 0;
            numerics::NormalDeviate(uniforms, z1, z2);
            const SpeciesDraw d = DrawSpecies(app, s, P, StepSize, FuseCode, z1, z2);
            RandTheta(s) = d.theta;
            RandUA(s) = d.ua;
        }
        double E = 0;
        CalcExpectedRichness(app, E, RandTheta, RandUA);
        return E;
    });
    if (!done) return;
    Bar(app).SetPanel(2, "");
    Bar(app).SetPanel(1, "Sample-based uncertainty statistics: one moment please...");
    CollateRandomizedRichness(app, platform::True);
}

void DistributionBasedUncertainty(App& app, platform::Vec<double>& P,
                                  platform::Vec<double>& StepSize,
                                  platform::Vec<std::string>& FuseCode) {
    ModelState& md = app.model;
    RandomizedStore& st = app.unc.Rand;
    const CovarianceLink& c = app.unc.Cov;
    const DistributionStatistics& dist = md.Report.Dist;
    const int NSpp = md.NSpp;
    app.ui.Randomize(app.ui.Timer());
    ReadCovarianceFile(app, P, StepSize, FuseCode);
    if (!c.CovFileOK || c.CovFileName.empty()) return;
    if (!AskRandomizations(app)) return;

    // Sampling variances on the log scales, averaged, added to the spread of
    // the inferred distributions. A variance of 0 adds 0; a value without a
    // logarithm adds nothing.
    double VT = 0, VN = 0;
    for (int s = 1; s <= NSpp; ++s) {
        const double t = P(s), u = P(NSpp + s);
        if (c.VarTheta(s) != 0) {
            if (md.LogitThetaLink)
                VT += c.VarTheta(s);
            else if (t > 0 && t < 1)
                VT += c.VarTheta(s) / (t * t * (1 - t) * (1 - t));
        }
        if (c.VarUA(s) != 0) {
            if (md.LnUALink)
                VN += c.VarUA(s);
            else if (u > 0)
                VN += c.VarUA(s) / (u * u);
        }
    }
    VT = VT / NSpp + dist.LogitThetaVarInf;
    VN = VN / NSpp + dist.LnAbundVarInf;

    st.RandESRMax = NSpp;
    st.RandESRMin = 32767;
    Bar(app).SetPanel(1, "Distribution-based uncertainty statistics: one moment please...");
    const MaybeNumber& rho = dist.CorLogitThetaLnUA;
    if (!rho || !(std::abs(*rho) <= 0.99)) {
        app.ShowMsg("Randomizations aborted due to undefined or excessively high (> ±0.99) correlation of Thetas and Ns",
                    platform::vbInformation, "Can't do reliable randomizations - possibly too few species collected");
        Bar(app).SetPanel(1, "");
        Bar(app).SetPanel(2, "");
        return;
    }
    IntegrateBivariateRichness(app, st.ESRDistML, dist.LogitThetaMeanInf, std::sqrt(VT),
                               dist.LnAbundMeanInf, std::sqrt(VN), *rho);

    st.SloppyWarned = 0;
    st.SloppyCount = 0;
    const bool done = RunRandomizations(app, "Distribution-based", [&](RuntimeUniforms& uniforms) {
        double a = 0, b = 0, cc = 0, d = 0;
        numerics::NormalDeviate(uniforms, a, b);
        numerics::NormalDeviate(uniforms, cc, d);
        const double MT = numerics::PerturbedMean(dist.LogitThetaMeanInf, VT, NSpp, a);
        const double ST = numerics::PerturbedSD(VT, NSpp, cc);
        const double MN = numerics::PerturbedMean(dist.LnAbundMeanInf, VN, NSpp, b);
        const double SN = numerics::PerturbedSD(VN, NSpp, d);
        double E = 0;
        IntegrateBivariateRichness(app, E, MT, ST, MN, SN, *rho);
        return E;
    });
    if (!done) return;
    if (st.SloppyCount > 0)
        app.ShowMsg(platform::CStr(st.SloppyCount) +
                        " sloppy bivariate integrations of the Thetas and Ln[species abundance] were counted!",
                    platform::vbInformation, "Warning: sloppy integrations");
    Bar(app).SetPanel(2, "");
    Bar(app).SetPanel(1, "Distribution-based uncertainty statistics: one moment please...");
    CollateRandomizedRichness(app, platform::False);
}

}  // namespace tivelor
