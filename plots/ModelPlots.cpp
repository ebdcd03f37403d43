#include "plots/ModelPlots.h"

#include <cmath>

#include "state/App.h"
#include "model/ReportDistribution.h"
#include "state/ModelState.h"
#include "numerics/Densities.h"
#include "platform/runtime.h"
#include "plots/frmXYPlot.h"

namespace tivelor {

namespace {

constexpr double kMissing = 1E-100;
constexpr const char* kNothing = "There is nothing to plot due to zero variance";

// Rebuilds the request from nothing: every entry starts empty.
void StartPage(PlotRequest& req, long vars, const std::string& xTitle, long recMin, long recMax,
               double labelMin, double labelMax) {
    req.NumPlotVars = static_cast<double>(vars);
    req.PlotXTitle = xTitle;
    req.RecMin = recMin;
    req.RecMax = recMax;
    req.RecLabelMin = labelMin;
    req.RecLabelMax = labelMax;
    req.PlotData.ReDim(vars, recMax);
    req.VarMin.ReDim(vars);
    req.VarMax.ReDim(vars);
    req.VarName.ReDim(vars);
}

void Column(PlotRequest& req, long v, const std::string& name, double lo, double hi) {
    req.VarName(v) = name;
    req.VarMin(v) = lo;
    req.VarMax(v) = hi;
}

// A density column without a positive variance: named as empty when the
// variance is exactly 0, and without points in any case.
bool EmptyDensityColumn(PlotRequest& req, long v, double variance) {
    if (variance > 0) return false;
    if (variance == 0) Column(req, v, kNothing, 0, 1);
    for (long r = 0; r <= req.PlotData.UBound2(); ++r) req.PlotData(v, r) = kMissing;
    return true;
}

// The Logit[Theta] and Ln[species abundance] pages share one layout.
void BuildNormalPage(const std::vector<double>& values, numerics::MeanVariance est,
                     numerics::MeanVariance inf, const char* valueName, const char* countName,
                     const char* estName, const char* infName, PlotRequest& req) {
    constexpr long kLast = 1000;
    StartPage(req, 4, "Sequential record #", 0, kLast, 0, kLast);
    const numerics::AxisRange axis = numerics::DensityPageAxis(values, est, inf);
    const double step = (axis.H - axis.L) / 1000;
    auto x = [&](long r) { return axis.L + static_cast<double>(r) * step; };
    Column(req, 1, valueName, axis.L, axis.H);
    Column(req, 2, countName, 0, 0);
    Column(req, 3, estName, 0, 0);
    Column(req, 4, infName, 0, 0);
    const platform::Vec<double> count = numerics::PlaceOnRecords(values, kLast, x, step / 2);
    const bool estEmpty = EmptyDensityColumn(req, 3, est.variance);
    const bool infEmpty = EmptyDensityColumn(req, 4, inf.variance);
    for (long r = 0; r <= kLast; ++r) {
        const double xr = x(r);
        req.PlotData(1, r) = xr;
        req.PlotData(2, r) = count(r);
        if (!estEmpty) req.PlotData(3, r) = numerics::NormalDensity(xr, est.mean, est.variance);
        if (!infEmpty) req.PlotData(4, r) = numerics::NormalDensity(xr, inf.mean, inf.variance);
    }
}

double SpeciesTheta(const ModelState& md, int i) {
    const double sq = md.SpTheta(i);
    return sq > 0 ? std::sqrt(sq) : 0.0;
}

void Show(App& app, const std::string& pageText) { ShowXYPlotForm(app, pageText); }

}  // namespace

void BuildThetaPage(const std::vector<double>& theta, numerics::MeanVariance est,
                    numerics::MeanVariance inf, PlotRequest& req) {
    constexpr long kLast = 10000;
    StartPage(req, 7, "Sequential record #", 0, kLast, 0, kLast);
    Column(req, 1, "Value for Theta [0-1]", 0, 1);
    Column(req, 2, "Ln[Value for Theta [0.001-1]] (expands the left side of the plot)", 0, 0);
    Column(req, 3, "Ln[Value for Theta [0-0.999]] (expands the right side of the plot)", 0, 0);
    Column(req, 4, "Logit[Value for Theta [\xB1 infinity]]", 0, 0);
    Column(req, 5, "By-species estimates for Theta", 0, 1);
    Column(req, 6, "Beta probability density (PD) for the estimated distribution of Theta", 0, 0);
    Column(req, 7, "Beta probability density (PD) for the inferred distribution of Theta", 0, 0);
    const platform::Vec<double> count = numerics::PlaceOnRecords(
        theta, kLast, [](long r) { return static_cast<double>(r) / 10000; }, 0.5 / 10000);
    const bool estEmpty = EmptyDensityColumn(req, 6, est.variance);
    const bool infEmpty = EmptyDensityColumn(req, 7, inf.variance);
    const numerics::BetaShape estShape = numerics::BetaFromMoments(est.mean, std::sqrt(std::max(est.variance, 0.0)));
    const numerics::BetaShape infShape = numerics::BetaFromMoments(inf.mean, std::sqrt(std::max(inf.variance, 0.0)));
    for (long v : {1L, 2L, 3L, 4L, 6L, 7L}) {
        req.PlotData(v, 0) = kMissing;
        req.PlotData(v, kLast) = kMissing;
    }
    for (long r = 1; r < kLast; ++r) {
        const double x = static_cast<double>(r) / 10000;
        req.PlotData(1, r) = x;
        req.PlotData(2, r) = std::log(x);
        req.PlotData(3, r) = -std::log(static_cast<double>(10000 - r));
        req.PlotData(4, r) = std::log(x / (1 - x));
        // A mean and variance that no beta distribution has leave the column empty.
        if (!estEmpty) req.PlotData(6, r) = estShape.ok ? numerics::BetaDensityOf(estShape, x) : kMissing;
        if (!infEmpty) req.PlotData(7, r) = infShape.ok ? numerics::BetaDensityOf(infShape, x) : kMissing;
    }
    for (long r = 0; r <= kLast; ++r) req.PlotData(5, r) = count(r);
}

void BuildLogitThetaPage(const std::vector<double>& logitTheta, numerics::MeanVariance est,
                         numerics::MeanVariance inf, PlotRequest& req) {
    BuildNormalPage(logitTheta, est, inf, "Value for Logit[Theta]",
                    "By-species estimates for Logit[Theta]",
                    "Normal probability density (PD) for the estimated distribution of Logit[Theta]",
                    "Normal probability density (PD) for the inferred distribution of Logit[Theta]", req);
}

void BuildLnAbundancePage(const std::vector<double>& lnAbund, numerics::MeanVariance est,
                          numerics::MeanVariance inf, PlotRequest& req) {
    BuildNormalPage(lnAbund, est, inf, "Value for Ln[species abundance]",
                    "By-species estimates for Ln[Estimated species abundance]",
                    "Normal probability density (PD) for the estimated distribution of Ln[species abundance]",
                    "Normal probability density (PD) for the inferred distribution of Ln[species abundance]",
                    req);
}

void BuildAccumulationPage(const ModelState& md, PlotRequest& req) {
    // The curve of this report ends where it levels, or after the last quadrat.
    const int n = std::min(numerics::LevellingStep(md.IncrCurve, md.NQuad),
                           static_cast<int>(std::min(md.IncrCurve.UBound(), md.AccumCurve.UBound())));
    StartPage(req, 3, "Sequential record #", 1, n, 1, n);
    Column(req, 1, "Sequential quadrat #", 0, n);
    Column(req, 2, "Species incrementality curve", 0, md.NSpp);
    Column(req, 3, "Species accumulation curve", 0, md.NSpp);
    for (long q = 1; q <= n; ++q) {
        req.PlotData(1, q) = static_cast<double>(q);
        req.PlotData(2, q) = md.IncrCurve(q);
        req.PlotData(3, q) = md.AccumCurve(q);
    }
}

void BuildQuadratPage(const ModelState& md, PlotRequest& req) {
    const long nq = md.NQuad;
    StartPage(req, md.NSpp + 1L, "Sequential record #", 1, nq, 1, static_cast<double>(nq));
    Column(req, 1, "Sequential quadrat #", 0, static_cast<double>(nq));
    for (long q = 1; q <= nq; ++q) req.PlotData(1, q) = static_cast<double>(q);
    for (int s = 1; s <= md.NSpp; ++s) {
        Column(req, s + 1, "Sample distribution for species: " + md.SpName(s), 0, md.CumCount(s, nq));
        for (long q = 1; q <= nq; ++q) req.PlotData(s + 1, q) = static_cast<double>(md.Count(s, q));
    }
}

void BuildSpeciesPage(const ModelState& md, PlotRequest& req) {
    const long n = md.NSpp;
    StartPage(req, 3, "Sequential record #", 1, n, 1, static_cast<double>(n));
    Column(req, 1, "Sequential Species #", 0, static_cast<double>(n));
    Column(req, 2, "Species abundance in sampled quadrats", 0, 1);
    Column(req, 3, "Estimated species abundance in defined habitat", 0, 1);
    for (long s = 1; s <= n; ++s) {
        req.PlotData(1, s) = static_cast<double>(s);
        req.PlotData(2, s) = md.CumCount(s, md.NQuad);
        req.PlotData(3, s) = static_cast<double>(md.TotAbund(s));
    }
}

std::string HistogramPageText(int w) {
    return "Estimated Species Richness (ESR, in " + std::to_string(w) + " species cells)";
}

void BuildHistogramPage(const EsrHistogram& h, int L, int H, PlotRequest& req) {
    const long n = std::max(h.Cells, 0);
    const double half = h.CellWidth / 2.0;
    StartPage(req, 1, "Species richness midpoints", 0, n, L - half, H + half);
    Column(req, 1, "Frequency distribution of ESR (in " + std::to_string(h.CellWidth) + " species cells)",
           0, 1);
    for (long k = 1; k <= n && k <= h.Freq.UBound(); ++k) req.PlotData(1, k) = h.Freq(k);
}

void PlotThetaEstimates(App& app) {
    const ModelState& md = app.model;
    std::vector<double> theta;
    for (int i = 1; i <= md.NSpp; ++i) theta.push_back(SpeciesTheta(md, i));
    const DistributionStatistics& d = md.Report.Dist;
    BuildThetaPage(theta, {d.ThetaMeanEst, d.ThetaVarEst}, {d.ThetaMeanInf, d.ThetaVarInf}, app.plot);
    Show(app, "Distribution of Thetas");
}

void PlotLogitThetaEstimates(App& app) {
    const ModelState& md = app.model;
    std::vector<double> y;
    for (int i = 1; i <= md.NSpp; ++i) y.push_back(ReportLogit(SpeciesTheta(md, i)));
    const DistributionStatistics& d = md.Report.Dist;
    BuildLogitThetaPage(y, {d.LogitThetaMeanEst, d.LogitThetaVarEst},
                        {d.LogitThetaMeanInf, d.LogitThetaVarInf}, app.plot);
    Show(app, "Logit[Theta]");
}

void PlotLnAbundanceEstimates(App& app) {
    const ModelState& md = app.model;
    std::vector<double> y;
    for (int i = 1; i <= md.NSpp; ++i) y.push_back(std::log(static_cast<double>(md.TotAbund(i))));
    const DistributionStatistics& d = md.Report.Dist;
    BuildLnAbundancePage(y, {d.LnAbundMeanEst, d.LnAbundVarEst}, {d.LnAbundMeanInf, d.LnAbundVarInf},
                         app.plot);
    Show(app, "Ln[species abundance]");
}

void PlotAccumulationCurve(App& app) {
    BuildAccumulationPage(app.model, app.plot);
    Show(app, "Species incrementality and accumulation");
}

void PlotQuadratAbundance(App& app) {
    BuildQuadratPage(app.model, app.plot);
    Show(app, "Species abundance by sampled quadrat");
}

void PlotSampledVsEstimated(App& app) {
    BuildSpeciesPage(app.model, app.plot);
    Show(app, "Species abundance as sampled and estimated");
}

void PlotESRFrequency(App& app, const EsrHistogram& h, int L, int H) {
    BuildHistogramPage(h, L, H, app.plot);
    Show(app, HistogramPageText(h.CellWidth));
}

void OfferESRHistograms(App& app, const std::vector<EsrHistogramPage>& pages) {
    app.sw.KeepPlotting = platform::True;
    const double answer = app.ShowMsg(
        "Do you want to view the distributions of randomized values for estimated species richness?",
        platform::vbYesNo + platform::vbQuestion, "View plots?");
    if (answer != platform::vbYes) return;
    for (const EsrHistogramPage& p : pages) {
        if (!app.sw.KeepPlotting) return;
        PlotESRFrequency(app, p.Hist, p.L, p.H);
    }
}

void InstallModelPlots(App& app) {
    ReportFollowUpServices& s = app.model.Report.Services;
    s.PlotThetaEstimates = [&app] { PlotThetaEstimates(app); };
    s.PlotLogitThetaEstimates = [&app] { PlotLogitThetaEstimates(app); };
    s.PlotLnAbundanceEstimates = [&app] { PlotLnAbundanceEstimates(app); };
    s.PlotAccumulationCurve = [&app] { PlotAccumulationCurve(app); };
    s.PlotQuadratAbundance = [&app] { PlotQuadratAbundance(app); };
    s.PlotSampledVsEstimated = [&app] { PlotSampledVsEstimated(app); };
}

}  // namespace tivelor
