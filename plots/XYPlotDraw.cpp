// The drawing of the XY plot window: ranges, zero lines, lines, points, drop
// lines, the statistics text and the grid overlays.
#include <algorithm>
#include <climits>

#include "app/App.h"
#include "numerics/PlotAxes.h"
#include "numerics/PlotStats.h"
#include "platform/runtime.h"
#include "plots/XYPlotStats.h"
#include "plots/frmXYPlot.h"

namespace tivelor {

using platform::vbCrLf;

namespace {

constexpr double kMissing = 1E-100;
constexpr int kWhite = 15;
constexpr double kDotRadius = 30;

// Reads the request; a record or series outside PlotData is a missing point.
class Series {
public:
    Series(const platform::Matrix<double>& data, long v) : data_(data), v_(v) {}
    bool Present(long r) const {
        return v_ >= 0 && v_ <= data_.UBound1() && r >= 0 && r <= data_.UBound2() &&
               data_(v_, r) != kMissing;
    }
    double operator()(long r) const { return data_(v_, r); }

private:
    const platform::Matrix<double>& data_;
    long v_;
};

// Widens lo..hi to the present values of a series over the records, and
// writes a box only when its end moved.
void Widen(const Series& s, long first, long last, double& lo, double& hi, platform::TextBox& loBox,
           platform::TextBox& hiBox) {
    bool loMoved = false, hiMoved = false;
    for (long r = first; r <= last; ++r) {
        if (!s.Present(r)) continue;
        const double v = s(r);
        if (v > hi) {
            hi = v;
            hiMoved = true;
        }
        if (v < lo) {
            lo = v;
            loMoved = true;
        }
    }
    if (hiMoved) hiBox.Text = platform::CStr(numerics::RoundTo6(hi));
    if (loMoved) loBox.Text = platform::CStr(numerics::RoundTo6(lo));
}

// A range of zero width in variable mode: 10% either side of the value, or
// -1 to 1 around 0; the boxes show the new ends.
void OpenZeroWidth(double& lo, double& hi, platform::TextBox& loBox, platform::TextBox& hiBox) {
    if (hi != lo) return;
    const double v = lo;
    if (v != 0) {
        hi = 1.1 * v;
        lo = 0.9 * v;
    } else {
        hi = 1;
        lo = -1;
    }
    hiBox.Text = platform::CStr(numerics::RoundTo6(hi));
    loBox.Text = platform::CStr(numerics::RoundTo6(lo));
}

std::string RangeLabel(const char* axis, double top, double bottom) {
    return std::string(axis) + "-Max =  " + platform::Str(numerics::RoundTo6(top)) + vbCrLf + axis +
           "-Min =  " + platform::Str(numerics::RoundTo6(bottom));
}

// The records visited that can hold a point: those of RecMin..RecMax within
// the data (the others are missing and draw nothing).
struct RecordSpan {
    long first, last;
};
RecordSpan Span(const PlotRequest& req) {
    return {std::max(req.RecMin, 0L), std::min(req.RecMax, req.PlotData.UBound2())};
}

}  // namespace

void frmXYPlot::DrawXYPlot() {
    if (Check_8X8.Value == 1) {
        DrawGrid8x8();
        return;
    }
    if (Check_10X10.Value == 1) {
        DrawGrid10x10();
        return;
    }
    if (listXVar.ListIndex == 0)
        DrawRecordMode();
    else
        DrawVariableMode();
}

void frmXYPlot::DrawRecordMode() {
    PlotRequest& req = app.plot;
    const Series Y(req.PlotData, listYVar.ListIndex + 1);
    double yBottom = platform::Val(txtYmin.Text());
    double yTop = platform::Val(txtYmax.Text());
    RecordSpan span = Span(req);
    Widen(Y, span.first, span.last, yBottom, yTop, txtYmin, txtYmax);
    if (yTop - yBottom == 0) {
        yTop = 1;
        yBottom = -1;
    }
    if (req.RecMax - req.RecMin == 0 && req.RecMax < LONG_MAX) {
        req.RecMax = req.RecMin + 1;
        req.RecLabelMax = req.RecLabelMin + 1;
    }
    const double recMin = static_cast<double>(req.RecMin), recMax = static_cast<double>(req.RecMax);
    const double xScale = 6480 / (recMax - recMin);
    const double yScale = 6240 / (yTop - yBottom);
    const double yBase = (yTop - yBottom) * yScale + 480;
    auto X = [&](long r) { return static_cast<float>(720 + xScale * (static_cast<double>(r) - recMin)); };
    auto Yof = [&](double v) { return static_cast<float>(yBase - (v - yBottom) * yScale); };
    // The label value of a record, for the statistics.
    auto Label = [&](long r) {
        return req.RecLabelMin + (req.RecLabelMax - req.RecLabelMin) * (static_cast<double>(r) - recMin) /
                                     (recMax - recMin);
    };

    lblYZero.Caption = "";
    lblCorr.Caption = "";
    if (yBottom < 0 && yTop > 0) {
        Graph.DrawStyle = 1;
        Graph.Line(720, Yof(0), 7200, Yof(0));
        Graph.DrawStyle = 0;
        lblYZero.Caption = "Horizontal dashed line shows Y=0";
    }
    lblGraphMax.Caption = RangeLabel("Y", yTop, yBottom);
    lblYMaxMin.Caption = "";
    lblXMaxMin.Caption = "";
    lblXStart.Caption = platform::CStr(req.RecLabelMin);
    lblXEnd.Caption = platform::CStr(req.RecLabelMax);

    const std::int32_t colour = platform::QBColor(PlotColour);
    span = Span(req);
    if (Check_Line.Value == 1) {
        numerics::PlotSums sums;
        for (long r = span.first; r <= span.last; ++r) {
            if (!Y.Present(r)) continue;
            sums.Add(Label(r), Y(r));
            if (r == req.RecMin)
                Graph.PSet(720, Yof(Y(r)));
            else if (!Y.Present(r - 1))
                Graph.PSet(X(r), Yof(Y(r)), platform::QBColor(kWhite));
            else
                Graph.LineTo(X(r), Yof(Y(r)), colour);
        }
        lblCorr.Caption = LineStatisticsText(sums);
    }
    if (Check_Drop.Value == 1 || Check_Scatter.Value == 1) {
        numerics::PlotSums sums;
        const bool drop = Check_Drop.Value == 1;
        for (long r = span.first; r <= span.last; ++r) {
            if (!Y.Present(r)) continue;
            sums.Add(Label(r), Y(r));
            Graph.FillStyle = 0;
            Graph.FillColor = colour;
            Graph.Circle(X(r), Yof(Y(r)), kDotRadius, colour);
            if (drop) Graph.Line(X(r), Yof(Y(r)), X(r), 6720, colour);
        }
        if (auto text = PointStatisticsText(sums, Check_Scatter.Value == 1, drop, true))
            lblCorr.Caption = *text;
    }
}

void frmXYPlot::DrawVariableMode() {
    PlotRequest& req = app.plot;
    const Series Xs(req.PlotData, listXVar.ListIndex);
    const Series Y(req.PlotData, listYVar.ListIndex + 1);
    double xLeft = platform::Val(txtXmin.Text()), xRight = platform::Val(txtXmax.Text());
    double yBottom = platform::Val(txtYmin.Text()), yTop = platform::Val(txtYmax.Text());
    const RecordSpan span = Span(req);
    Widen(Xs, span.first, span.last, xLeft, xRight, txtXmin, txtXmax);
    Widen(Y, span.first, span.last, yBottom, yTop, txtYmin, txtYmax);
    OpenZeroWidth(xLeft, xRight, txtXmin, txtXmax);
    const double xScale = 6480 / (xRight - xLeft);
    OpenZeroWidth(yBottom, yTop, txtYmin, txtYmax);
    const double yScale = 6240 / (yTop - yBottom);
    const double yBase = (yTop - yBottom) * yScale + 480;
    const double x0 = -xLeft / (xRight - xLeft) * 6480;
    auto Xof = [&](double v) { return static_cast<float>(720 + x0 + v * xScale); };
    auto Yof = [&](double v) { return static_cast<float>(yBase - (v - yBottom) * yScale); };

    lblYZero.Caption = "";
    if (yBottom < 0 && yTop > 0) {
        Graph.DrawStyle = 1;
        Graph.Line(720, Yof(0), 7200, Yof(0));
        Graph.DrawStyle = 0;
        lblYZero.Caption = "Horizontal dashed line shows Y=0";
    }
    lblXZero.Caption = "";
    if (x0 > 0 && xLeft != 0 && xRight > 0) {
        Graph.DrawStyle = 1;
        Graph.Line(static_cast<float>(720 + x0), 480, static_cast<float>(720 + x0), 6720);
        Graph.DrawStyle = 0;
        lblXZero.Caption = "Vertical dashed line shows X=0";
    }
    lblYMaxMin.Caption = RangeLabel("Y", yTop, yBottom);
    lblXMaxMin.Caption = RangeLabel("X", xRight, xLeft);
    lblGraphMax.Caption = "";

    const std::int32_t colour = platform::QBColor(PlotColour);
    const std::int32_t white = platform::QBColor(kWhite);
    auto present = [&](long r) { return Xs.Present(r) && Y.Present(r); };
    const bool line = Check_Line.Value == 1, ltor = Check_Line_LtoR.Value == 1,
               rtol = Check_Line_RtoL.Value == 1;
    if (line || ltor || rtol) {
        for (long r = span.first; r <= span.last; ++r) {
            if (!present(r)) continue;
            const float x = Xof(Xs(r)), y = Yof(Y(r));
            if (r != req.RecMin && present(r - 1)) {
                const double dx = Xs(r) - Xs(r - 1);
                if (line || (ltor && dx >= 0) || (rtol && dx <= 0)) Graph.LineTo(x, y, colour);
            }
            Graph.PSet(x, y, white);
        }
    }
    if (Check_Drop.Value == 1 || Check_Scatter.Value == 1) {
        numerics::PlotSums sums;
        const bool drop = Check_Drop.Value == 1;
        for (long r = span.first; r <= span.last; ++r) {
            if (!present(r)) continue;
            sums.Add(Xs(r), Y(r));
            const float x = Xof(Xs(r)), y = Yof(Y(r));
            Graph.FillStyle = 0;
            Graph.FillColor = colour;
            Graph.Circle(x, y, kDotRadius, colour);
            if (drop) Graph.Line(x, y, x, 6720, colour);
        }
        if (auto text = PointStatisticsText(sums, Check_Scatter.Value == 1, drop, false))
            lblCorr.Caption = *text;
    }
}

void frmXYPlot::DrawGrid(int& flag, int lines, double s, double t) {
    Graph.DrawStyle = 2;
    flag = -platform::Sgn(flag);
    const std::int32_t colour = platform::QBColor(flag == 1 ? 0 : 15);
    for (int i = 1; i <= lines; ++i) {
        Graph.Line(static_cast<float>(720 + s * i), 480, static_cast<float>(720 + s * i), 6720, colour);
        Graph.Line(720, static_cast<float>(480 + t * i), 7200, static_cast<float>(480 + t * i), colour);
    }
    Graph.DrawStyle = 0;
}

void frmXYPlot::DrawGrid8x8() { DrawGrid(Grid8x8Flag, 7, 810, 780); }

void frmXYPlot::DrawGrid10x10() { DrawGrid(Grid10x10Flag, 9, 648, 624); }

}  // namespace tivelor
