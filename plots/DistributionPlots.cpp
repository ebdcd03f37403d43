#include "plots/DistributionPlots.h"

#include <algorithm>

#include "app/App.h"
#include "numerics/DistributionPlotMath.h"
#include "platform/runtime.h"
#include "plots/frmBivarPlot.h"
#include "plots/frmDistPlot.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

// A column's value at row k, 0 where the column is shorter.
double At(const platform::Vec<double>& v, long k) { return k <= v.UBound() ? v(k) : 0.0; }
}  // namespace

void ShowDistributionPlots(App& app, platform::Vec<double>& ProfNegLnL, double& Mean, double& Diff,
                           double& /*EVEstimate*/, double& SD, long& NProfPts, platform::Vec<double>& ProfPDF,
                           platform::Vec<double>& ProfCIMode, platform::Vec<double>& ProfCIMean,
                           platform::Vec<double>& ProfCum, platform::Vec<double>& ProfNormPDF,
                           platform::Vec<double>& /*ProfX*/, std::string& PriorProfileOn, std::string& PosteriorOn,
                           std::string& MLOn) {
    ClearDistPlot(app);
    frmDistPlot& f = app.form<frmDistPlot>();
    f.DistMean = Mean;
    f.DistDiff = Diff;
    f.DistSD = SD;

    PlotRequest& req = app.plot;
    const long n = std::max(NProfPts, 0L);
    req.PlotData.ReDim(7, n);
    req.VarName.ReDim(7);
    req.VarMin.ReDim(7);
    req.VarMax.ReDim(7);
    for (long k = 1; k <= n; ++k) {
        req.PlotData(1, k) = At(ProfNegLnL, k);
        req.PlotData(2, k) = At(ProfPDF, k);
        req.PlotData(3, k) = At(ProfCIMode, k);
        req.PlotData(4, k) = At(ProfCIMean, k);
        req.PlotData(5, k) = At(ProfCum, k);
        req.PlotData(6, k) = 1 - At(ProfCum, k);
        req.PlotData(7, k) = At(ProfNormPDF, k);
    }
    req.PlotXTitle = "Values for parameter #" + platform::Str(app.eval.ProfPar);

    req.VarName(1) = "Parameter Likelihood Profile";
    if (MLOn == "on" && PriorProfileOn == "off") req.VarName(2) = "Parameter Confidence Distribution";
    if (PriorProfileOn == "off" && PosteriorOn == "on") req.VarName(2) = "Bayesian Posterior Distribution";
    if (PriorProfileOn == "on") req.VarName(2) = "Bayesian Prior Distribution";
    req.VarName(3) = "Confidence Region on mode";
    req.VarName(4) = "Confidence Region on mean";
    req.VarName(5) = "Cumulative L to R Distribution";
    req.VarName(6) = "Attenuated L to R Distribution";
    req.VarName(7) = "Gaussian Probability Distribution";
    for (long c = 1; c <= 7; ++c) f.listVar.AddItem(req.VarName(c));
    f.listVar.ListIndex = 0;
    f.Show(platform::vbModal);
}

void PlotBivariateDensity(App& app, platform::Vec<double>& X, platform::Vec<double>& Y,
                          platform::Matrix<double>& Density, double& PeakDensity, int& XPar, int& YPar, long& NX,
                          long& NY, double& PeakX, double& PeakY) {
    frmBivarPlot& f = app.form<frmBivarPlot>();
    f.BivarLeft = 720;
    f.BivarTop = 480;
    f.BivarXTick = 792;
    f.BivarRight = 8640;
    f.BivarBottom = 6720;
    f.BivarYTick = 624;
    const std::string LegendBreak = "\r\n\n";
    ClearBivarPlot(app);

    // A grid needs three nodes each way, all of them in the arrays.
    if (NX < 3 || NY < 3 || X.UBound() < NX || Y.UBound() < NY || Density.UBound1() < NX ||
        Density.UBound2() < NY)
        return;
    const std::string XTitle = "Values for parameter #" + platform::Str(XPar);
    const std::string YTitle = "Values for parameter #" + platform::Str(YPar);
    const double hx = (X(2) - X(1)) / 2, XLo = X(1) - hx, XHi = X(NX) + hx;
    const double hy = (Y(2) - Y(1)) / 2, YLo = Y(1) - hy, YHi = Y(NY) + hy;

    const numerics::DensityArea area = numerics::WidenedDensityArea(NX, NY);
    f.BivarLeft = area.Left;
    f.BivarRight = area.Right;
    f.BivarTop = area.Top;
    f.BivarBottom = area.Bottom;
    if (XHi - XLo == 0) return;
    const double XScale = (area.Right - area.Left) / (XHi - XLo);
    if (YHi - YLo == 0) return;
    const double YScale = (area.Bottom - area.Top) / (YHi - YLo);
    auto xOf = [&](double v) { return area.Left + (v - XLo) * XScale; };
    auto yOf = [&](double v) { return area.Top + (YHi - v) * YScale; };
    const double X0 = -XLo / (XHi - XLo) * (area.Right - area.Left);

    f.DrawDensityLegend();
    if (PeakDensity == 0) return;

    numerics::DensityMoments m;
    for (long i = 2; i <= NX - 1; ++i) {
        const double xi = X(i);
        const double px = xOf(xi);
        for (long j = 2; j <= NY - 1; ++j) {
            const double d = Density(i, j);
            const double py = yOf(Y(j));
            const int colour = numerics::DensityBandColour(d / PeakDensity);
            f.Graph.Line(static_cast<float>(px - area.HalfW), static_cast<float>(py - area.HalfH),
                         static_cast<float>(px + area.HalfW), static_cast<float>(py + area.HalfH),
                         platform::QBColor(colour), true, true);
            m.Add(xi, Y(j), d);
        }
    }

    const std::string note = "NOTE: Dashed line(s) locate 0 and/or 1";
    f.Graph.DrawStyle = 2;
    if (YLo < 0 && YHi > 0) {
        const float y0 = static_cast<float>(yOf(0));
        f.Graph.Line(area.Left, y0, area.Right, y0, platform::QBColor(0));
        f.lblLineInfo.Caption = note;
    }
    if (XLo < 0 && XHi > 0) {
        const float x0 = static_cast<float>(area.Left + X0);
        f.Graph.Line(x0, area.Top, x0, area.Bottom, platform::QBColor(0));
        f.lblLineInfo.Caption = note;
    }
    const double Y1 = (YLo - 1) / (YHi - YLo) * (area.Bottom - area.Top);
    if (Y1 < 0 && YLo < 1 && YHi > 1) {
        const float y1 = static_cast<float>(area.Bottom + Y1);
        f.Graph.Line(area.Left, y1, area.Right, y1);
        f.lblLineInfo.Caption = note;
    }
    const int X1 = numerics::RoundHalfEven((1 - XLo) / (XHi - XLo) * (area.Right - area.Left));
    if (X1 > 0 && XLo < 1 && XHi > 1) {
        f.Graph.Line(area.Left + X1, area.Top, area.Left + X1, area.Bottom);
        f.lblLineInfo.Caption = note;
    }
    f.Graph.DrawStyle = 0;

    const char* e = "0.000E+00";
    f.lblVar.Caption = "X - Axis: " + XTitle + vbCrLf + "Y - Axis: " + YTitle;
    f.lblXYMax.Caption = "X-Max = " + platform::Format(XHi - hx, e) + vbCrLf + "Y-Max = " + platform::Format(YHi - hy, e);
    f.lblXYMin.Caption = "X-Min = " + platform::Format(XLo + hx, e) + vbCrLf + "Y-Min = " + platform::Format(YLo + hy, e);
    f.lblPeak.Caption = "X-Peak = " + platform::Format(PeakX, e) + vbCrLf + "Y-Peak = " + platform::Format(PeakY, e);
    f.lblLegend.Caption = "   0.0  " + LegendBreak + "< 0.5" + LegendBreak + "< 1.0" + LegendBreak + "< 1.5" +
                          LegendBreak + "< 2.0" + LegendBreak + "< 2.5" + LegendBreak + "< 3.0";
    if (const std::optional<double> r = numerics::DensityCorrelation(m, NX - 2, NY - 2))
        f.lblCorr.Caption = "       r = " + platform::Format(*r, "#0.0##");
    f.Show(platform::vbModal);
}

}  // namespace tivelor
