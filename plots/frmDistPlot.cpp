#include "plots/frmDistPlot.h"

#include <algorithm>
#include <vector>

#include "state/App.h"
#include "numerics/DistributionPlotMath.h"
#include "platform/runtime.h"

namespace tivelor {

using platform::vbCrLf;

namespace {
// Palette colour of column c is DistColour(c Mod 7).
constexpr int DistColour[7] = {4, 2, 3, 5, 12, 13, 14};
constexpr int kLegendLeft = 7440;   // where the legend lblVar stands
}  // namespace

frmDistPlot::frmDistPlot(App& a)
    : Form(a.ui, kName, "Distribution plots", platform::FormKind::TopLevel, 13770, 7620), app(a) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &lblToPlot, &listVar, &fraInner, &cmdPlot, &cmdClear, &cmdDone})
        c->container = &fraOuter;
    for (platform::Control* c : std::initializer_list<platform::Control*>{&Check_Scatter, &Check_Line, &Check_Drop})
        c->container = &fraInner;
    for (platform::Label* l : {&lblGraphMax, &lblVar, &lblPlotInfo, &lblPlotInfoValues, &lblConfidenceInterval,
                               &lblVerticalLine, &lblXStart, &lblXEnd}) {
        l->container = &Graph;
        l->AutoSize = true;
    }
    Graph.AddFixedLine("Xaxis", kLeft, kBottom, kRight, kBottom);
    Graph.AddFixedLine("Yaxis", kLeft, kTop, kLeft, kBottom);
    Graph.BackColor = platform::QBColor(15);

    cmdPlot.OnClick = [this] { cmdPlot_Click(); };
    cmdClear.OnClick = [this] { cmdClear_Click(); };
    cmdDone.OnClick = [this] { cmdDone_Click(); };
    listVar.OnDblClick = [this] { listVar_DblClick(); };
    Check_Drop.OnClick = [this] { Check_Drop_Click(); };
    Check_Scatter.OnClick = [this] { Check_Scatter_Click(); };
    Check_Line.OnClick = [this] { Check_Line_Click(); };
}

void frmDistPlot::Form_Load() {
    Draw_Gridmarks();
    app.sw.KeepPlotting = platform::True;
    Check_Line.Value = 1;
    Check_Scatter.Value = 1;
    Check_Drop.Value = 0;
}

void frmDistPlot::Form_Unload(int&) { app.sw.FormClosed = platform::True; }

void frmDistPlot::Draw_Gridmarks() { plotarea::DrawGridmarks(Graph); }

void frmDistPlot::cmdClear_Click() {
    Graph.Cls();
    lblXEnd.Left = 7000;
    lblXStart.Left = 520;
    for (platform::Label* l : {&lblXEnd, &lblXStart, &lblPlotInfo, &lblPlotInfoValues, &lblGraphMax,
                               &lblVerticalLine, &lblVar, &lblConfidenceInterval})
        l->Caption = "";
    Draw_Gridmarks();
}

void frmDistPlot::cmdDone_Click() {
    app.sw.KeepPlotting = platform::False;
    Unload();
}

void frmDistPlot::Check_Drop_Click() {
    if (Check_Drop.Value != 1) return;
    Check_Scatter.Value = 0;
    Check_Line.Value = 0;
}

void frmDistPlot::Check_Scatter_Click() {
    if (Check_Scatter.Value == 1) Check_Drop.Value = 0;
}

void frmDistPlot::Check_Line_Click() {
    if (Check_Line.Value == 1) Check_Drop.Value = 0;
}

void frmDistPlot::DrawDistributionPlot() {
    const EvalState& ev = app.eval;
    const PlotRequest& req = app.plot;
    const long c = listVar.ListIndex + 1;
    if (c < 1 || c > 7 || c > req.PlotData.UBound1()) return;
    // Points that the table, the X values and the request all hold.
    const long N = std::min({ev.NProfPts, ev.ProfX.UBound(), req.PlotData.UBound2()});
    if (N < 1) return;
    std::vector<double> col(static_cast<std::size_t>(N));
    for (long k = 1; k <= N; ++k) col[static_cast<std::size_t>(k - 1)] = req.PlotData(c, k);
    const numerics::ValueRange yr = numerics::ColumnRange(col);
    const double XFirst = ev.ProfX(1), XLast = ev.ProfX(N);
    const double XSpan = XLast - XFirst;
    if (XSpan == 0) return;

    const double XScale = 6480 / XSpan;
    const double YScale = 6240 / (yr.Top - yr.Bottom);
    auto x = [&](long k) { return static_cast<float>(kLeft + XScale * (ev.ProfX(k) - XFirst)); };
    auto y = [&](double v) { return static_cast<float>(kBottom - (v - yr.Bottom) * YScale); };

    bool zeroLine = false;
    const double X0 = -XFirst / XSpan * 6480;
    if (X0 > 0 && XFirst < 0 && XLast > 0) {
        Graph.DrawStyle = 2;
        Graph.Line(static_cast<float>(kLeft + X0), kTop, static_cast<float>(kLeft + X0), kBottom);
        Graph.DrawStyle = 0;
        lblVerticalLine.Caption = "Note: Vertical line locates 0";
        zeroLine = true;
    }
    const double X1 = (1 - XFirst) / XSpan * 6480;
    if (X1 > 0 && XFirst < 1 && XLast > 1) {
        Graph.DrawStyle = 2;
        Graph.Line(static_cast<float>(kLeft + X1), kTop, static_cast<float>(kLeft + X1), kBottom);
        Graph.DrawStyle = 0;
        lblVerticalLine.Caption = zeroLine
                                      ? std::string("Left vertical line locates 0") + vbCrLf +
                                            "Right vertical line locates 1"
                                      : std::string("Note: Vertical line locates 1");
    }
    if (c >= 3 && c <= 6) {
        Graph.DrawStyle = 2;
        Graph.Line(kLeft, 792, kRight, 792);
        Graph.DrawStyle = 0;
        lblConfidenceInterval.Caption = "< 95% CI >";
    }
    lblGraphMax.Caption = "Max =  " + platform::Format(yr.Top, "#0.0###") + vbCrLf + "Min =  " +
                          platform::Format(yr.Bottom, "#0.0###");
    const std::string name = c <= req.VarName.UBound() ? req.VarName(c) : std::string();
    // The legend stands at its place unless its longest line would run off
    // the canvas; then it ends 150 twips inside the canvas.
    lblVar.Left = kLegendLeft;
    lblVar.Caption = "Y: " + name + vbCrLf + "X: " + req.PlotXTitle;
    if (lblVar.Left + lblVar.Width > Graph.Width) lblVar.Left = std::max(0, Graph.Width - lblVar.Width - 150);
    lblXStart.Caption = platform::Format(XFirst, "#0.0###");
    lblXEnd.Caption = platform::Format(XLast, "#0.0###");

    if (c == 2) {
        lblPlotInfo.Caption = std::string("ML Estimate: ") + vbCrLf + "EV Estimate:" + vbCrLf + "Estimated Diff:" +
                              vbCrLf + "Percent Diff:" + vbCrLf + "Estimated SE:";
        lblPlotInfoValues.Left = lblPlotInfo.Left + lblPlotInfo.Width + 50;
        const std::optional<double> pct = numerics::PercentDifference(DistDiff, DistMean);
        const char* e = "0.000E+00";
        lblPlotInfoValues.Caption = platform::Format(ev.EVEstimate, e) + vbCrLf + platform::Format(DistMean, e) +
                                    vbCrLf + platform::Format(DistDiff, e) + vbCrLf +
                                    (pct ? platform::Format(*pct, e) : std::string("Undefined")) + vbCrLf +
                                    platform::Format(DistSD, e);
        if (lblPlotInfoValues.Left + lblPlotInfoValues.Width > Graph.Width) {
            lblPlotInfo.Left = lblPlotInfo.Left - (lblPlotInfoValues.Left + lblPlotInfoValues.Width - Graph.Width + 150);
            lblPlotInfoValues.Left = lblPlotInfo.Left + lblPlotInfo.Width + 50;
        }
    }

    const std::int32_t colour = platform::QBColor(DistColour[c % 7]);
    if (Check_Line.Value != 0) {
        Graph.PSet(kLeft, y(col[0]));
        for (long k = 2; k <= N; ++k) Graph.LineTo(x(k), y(col[static_cast<std::size_t>(k - 1)]), colour);
    }
    if (Check_Scatter.Value == 0 && Check_Drop.Value == 0) return;
    for (long k = 1; k <= N; ++k) {
        const float px = x(k), py = y(col[static_cast<std::size_t>(k - 1)]);
        Graph.FillStyle = 0;
        Graph.FillColor = colour;
        Graph.Circle(px, py, 30, colour);
        if (Check_Drop.Value != 0) Graph.Line(px, py, px, kBottom, colour);
    }
}

void ClearDistPlot(App& app) { app.form<frmDistPlot>().cmdClear_Click(); }

}  // namespace tivelor
