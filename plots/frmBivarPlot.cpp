#include "plots/frmBivarPlot.h"

#include "state/App.h"
#include "numerics/DistributionPlotMath.h"
#include "platform/runtime.h"

namespace tivelor {

frmBivarPlot::frmBivarPlot(App& a)
    : Form(a.ui, kName, "Bivariate pdf plot", platform::FormKind::TopLevel, 11340, 7620), app(a) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &lblHighDensity, &LegendBox, &lblLegend, &lblLowDensity, &lblCorr})
        c->container = &Legend;
    for (platform::Label* l : {&lblVar, &lblLineInfo, &lblXYMin, &lblXYMax}) {
        l->container = &Graph;
        l->AutoSize = true;
    }
    Graph.AddFixedLine("Xaxis", 720, 6720, 8640, 6720);
    Graph.AddFixedLine("Line1", 720, 480, 720, 6720);
    Graph.BackColor = platform::QBColor(15);
    cmdDone.OnClick = [this] { cmdDone_Click(); };
}

void frmBivarPlot::Form_Load() { Draw_Gridmarks(); }

void frmBivarPlot::Form_Unload(int&) { app.sw.FormClosed = platform::True; }

void frmBivarPlot::Draw_Gridmarks() {
    for (int i = 0; i <= 9; ++i) {
        const float y = static_cast<float>(BivarTop + BivarYTick * i);
        Graph.PSet(BivarLeft, y);
        Graph.Line(BivarLeft, y, BivarLeft + 100, y);
        const float x = static_cast<float>(BivarRight - BivarXTick * i);
        Graph.PSet(x, BivarBottom);
        Graph.Line(x, BivarBottom, x, BivarBottom - 100);
    }
}

void frmBivarPlot::cmdClear_Click() {
    Graph.Cls();
    for (platform::Label* l : {&lblXYMax, &lblXYMin, &lblVar, &lblLineInfo, &lblCorr, &lblPeak})
        l->Caption = "";
    Draw_Gridmarks();
}

void frmBivarPlot::cmdDone_Click() { Unload(); }

void frmBivarPlot::DrawDensityLegend() {
    const double h = LegendBox.ScaleHeight / 7;
    const double w = LegendBox.ScaleWidth;
    for (int i = 1; i <= 7; ++i)
        LegendBox.Line(0, (i - 1) * h, w, i * h, platform::QBColor(numerics::kDensityColour[8 - i]), true,
                       true);
}

void ClearBivarPlot(App& app) { app.form<frmBivarPlot>().cmdClear_Click(); }

}  // namespace tivelor
