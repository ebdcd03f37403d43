#include "plots/frmXYPlot.h"

#include "state/App.h"
#include "numerics/PlotAxes.h"
#include "platform/runtime.h"
#include "platform/ui.h"

namespace tivelor {

namespace {

// A range-box number: rounded to six decimals, in general number form.
std::string RangeText(double x) { return platform::CStr(numerics::RoundTo6(x)); }

// The record-axis text of a range box: "0 (0)".
std::string RecordText(double rec, double label) {
    return RangeText(rec) + " (" + platform::CStr(label) + ")";
}

}  // namespace

frmXYPlot::frmXYPlot(App& a)
    : Form(a.ui, kName, "Data and prediction plots", platform::FormKind::TopLevel, 12975, 9675),
      app(a) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &lblXMin, &txtXmin, &lblXMax, &txtXmax, &lblYMin, &txtYmin, &lblYMax, &txtYmax})
        c->container = &fraMaxMin;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &Check_Line_LtoR, &Check_Line_RtoL, &Check_Line, &Check_Scatter, &Check_Drop,
             &Check_10X10, &Check_8X8})
        c->container = &fraPlots;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &lblGraphMax, &lblXMaxMin, &lblYMaxMin, &lblCorr, &lblXZero, &lblYZero, &lblXStart,
             &lblXEnd})
        c->container = &Graph;
    Graph.AddFixedLine("Xaxis", kLeft, kBottom, kRight, kBottom);
    Graph.AddFixedLine("Yaxis", kLeft, kTop, kLeft, kBottom);
    Graph.BackColor = platform::QBColor(15);
    txtScaling.Text =
        "Plots are automatically scaled \r\nto the range of the data, unless \r\nthe model includes a "
        "scaling \r\nfunction. To override a scaling \r\nfunction, set the maximum or \r\nminimum of X "
        "or Y to 0.\r\n";
    txtScaling.Locked = true;
    Check_Line_LtoR.ToolTipText = "Connects left to right sequential points";
    Check_Line_RtoL.ToolTipText = "Connects right to left sequential points";
    Check_Line.ToolTipText = "Connects all points with a line";

    cmdPlot.OnClick = [this] { cmdPlot_Click(); };
    cmdClear.OnClick = [this] { cmdClear_Click(); };
    cmdNext_Page.OnClick = [this] { cmdNext_Page_Click(); };
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
    listXVar.OnClick = [this] { listXVar_Click(); };
    listYVar.OnClick = [this] { listYVar_Click(); };
    listXVar.OnDblClick = [this] { listXVar_DblClick(); };
    listYVar.OnDblClick = [this] { listYVar_DblClick(); };
    Check_Line.OnClick = [this] { Check_Line_Click(); };
    Check_Line_LtoR.OnClick = [this] { Check_Line_LtoR_Click(); };
    Check_Line_RtoL.OnClick = [this] { Check_Line_RtoL_Click(); };
    Check_Scatter.OnClick = [this] { Check_Scatter_Click(); };
    Check_Drop.OnClick = [this] { Check_Drop_Click(); };
    Check_8X8.OnClick = [this] { Check_8X8_Click(); };
    Check_10X10.OnClick = [this] { Check_10X10_Click(); };
}

void frmXYPlot::Form_Load() {
    Draw_Gridmarks();
    app.sw.KeepPlotting = platform::True;
    Check_Line.Value = 1;
    Check_Scatter.Value = 1;
    Check_Drop.Value = 0;
}

void frmXYPlot::Form_Unload(int&) { app.sw.FormClosed = platform::True; }

void frmXYPlot::Draw_Gridmarks() { plotarea::DrawGridmarks(Graph); }

void frmXYPlot::cmdClear_Click() {
    Graph.Cls();
    PlotCount = 0;
    Grid10x10Flag = -1;
    Grid8x8Flag = -1;
    lblXEnd.Left = 7100;
    lblXStart.Left = 720;
    for (platform::Label* l : {&lblXEnd, &lblXStart, &lblCorr, &lblGraphMax, &lblXMaxMin,
                               &lblYMaxMin, &lblXZero, &lblYZero})
        l->Caption = "";
    for (platform::TextBox* t : {&txtXmin, &txtXmax, &txtYmin, &txtYmax}) t->Text = "";
    Draw_Gridmarks();
    FillXRange(false);
    FillYRange(false);
}

void frmXYPlot::FillXRange(bool onlyEmpty) {
    const PlotRequest& req = app.plot;
    if (listXVar.ListIndex == 0) {
        txtXmin.Text = RecordText(static_cast<double>(req.RecMin), req.RecLabelMin);
        txtXmax.Text = RecordText(static_cast<double>(req.RecMax), req.RecLabelMax);
        txtXmin.Enabled = false;
        txtXmax.Enabled = false;
        Check_Drop.Enabled = true;
        Check_Line_LtoR.Value = 0;
        Check_Line_RtoL.Value = 0;
        Check_Line_LtoR.Enabled = false;
        Check_Line_RtoL.Enabled = false;
        return;
    }
    Check_Drop.Enabled = true;
    Check_Line_LtoR.Enabled = true;
    Check_Line_RtoL.Enabled = true;
    const long i = listXVar.ListIndex;
    if (i >= 1 && i <= req.VarMin.UBound() && i <= req.VarMax.UBound()) {
        if (!onlyEmpty || txtXmin.Text().empty()) txtXmin.Text = RangeText(req.VarMin(i));
        if (!onlyEmpty || txtXmax.Text().empty()) txtXmax.Text = RangeText(req.VarMax(i));
    }
    txtXmin.Enabled = true;
    txtXmax.Enabled = true;
}

void frmXYPlot::FillYRange(bool onlyEmpty) {
    const PlotRequest& req = app.plot;
    const long j = listYVar.ListIndex + 1;
    if (j < 1 || j > req.VarMin.UBound() || j > req.VarMax.UBound()) return;
    if (!onlyEmpty || txtYmin.Text().empty()) txtYmin.Text = RangeText(req.VarMin(j));
    if (!onlyEmpty || txtYmax.Text().empty()) txtYmax.Text = RangeText(req.VarMax(j));
}

void frmXYPlot::listXVar_Click() { FillXRange(true); }

void frmXYPlot::listYVar_Click() { FillYRange(true); }

void frmXYPlot::cmdPlot_Click() {
    // The count keeps its colour cycle of 15 and stays within 16 bits.
    PlotCount = PlotCount + 1;
    if (PlotCount > 32767) PlotCount -= 32760;
    PlotColour = PlotCount % 15;
    DrawXYPlot();
}

void frmXYPlot::cmdNext_Page_Click() { Unload(); }

void frmXYPlot::cmdCancel_Click() {
    app.sw.KeepPlotting = platform::False;
    Unload();
}

namespace {
// Turning a box on turns the listed ones off.
void Exclude(platform::CheckBox& box, std::initializer_list<platform::CheckBox*> others) {
    if (box.Value != 1) return;
    for (platform::CheckBox* o : others) o->Value = 0;
}
}  // namespace

void frmXYPlot::Check_Line_Click() {
    Exclude(Check_Line, {&Check_Drop, &Check_8X8, &Check_10X10, &Check_Line_LtoR, &Check_Line_RtoL});
}
void frmXYPlot::Check_Line_LtoR_Click() {
    Exclude(Check_Line_LtoR, {&Check_Drop, &Check_8X8, &Check_10X10, &Check_Line, &Check_Line_RtoL});
}
void frmXYPlot::Check_Line_RtoL_Click() {
    Exclude(Check_Line_RtoL, {&Check_Drop, &Check_8X8, &Check_10X10, &Check_Line, &Check_Line_LtoR});
}
void frmXYPlot::Check_Scatter_Click() {
    Exclude(Check_Scatter, {&Check_Drop, &Check_8X8, &Check_10X10});
}
void frmXYPlot::Check_Drop_Click() {
    Exclude(Check_Drop, {&Check_Scatter, &Check_Line, &Check_8X8, &Check_10X10, &Check_Line_LtoR,
                         &Check_Line_RtoL});
}
void frmXYPlot::Check_8X8_Click() {
    Exclude(Check_8X8, {&Check_Scatter, &Check_Line, &Check_Drop, &Check_10X10, &Check_Line_LtoR,
                        &Check_Line_RtoL});
}
void frmXYPlot::Check_10X10_Click() {
    Exclude(Check_10X10, {&Check_Scatter, &Check_Line, &Check_Drop, &Check_8X8, &Check_Line_LtoR,
                          &Check_Line_RtoL});
}

void ShowXYPlotForm(App& app, const std::string& pageText) {
    frmXYPlot& f = app.form<frmXYPlot>();
    if (!pageText.empty()) f.lblGraphPage.Caption = "Page:  " + pageText;
    const PlotRequest& req = app.plot;
    f.listXVar.AddItem(req.PlotXTitle);
    const long n = static_cast<long>(req.NumPlotVars);
    for (long i = 1; i <= n; ++i) {
        const std::string name = i <= req.VarName.UBound() ? req.VarName(i) : std::string();
        f.listXVar.AddItem(name);
        f.listYVar.AddItem(name);
    }
    f.listXVar.ListIndex = 0;
    f.listYVar.ListIndex = 0;
    f.cmdClear_Click();
    f.Show(platform::vbModal);
}

}  // namespace tivelor
