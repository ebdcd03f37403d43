// The distribution plot window: pick one of the seven columns of a profile
// table and draw it as lines, points or drop lines; the plots overlay until
// the canvas is cleared.
#pragma once

#include "platform/forms.h"
#include "plots/PlotArea.h"

namespace tivelor {

class App;

class frmDistPlot : public platform::Form {
public:
    static constexpr const char* kName = "frmDistPlot";
    explicit frmDistPlot(App& app);

    // Plot area on the canvas, in twips.
    static constexpr int kLeft = plotarea::kLeft, kTop = plotarea::kTop, kRight = plotarea::kRight,
                         kBottom = plotarea::kBottom;
    static constexpr int kXTick = plotarea::kXTick, kYTick = plotarea::kYTick;

    platform::Frame fraOuter{*this, "fraOuter", "", 120, 0, 3015, 7575};
    platform::Label lblToPlot{*this, "lblToPlot", "Variable to plot:", 240, 360, 2400, 240};
    platform::ListBox listVar{*this, "listVar", 120, 600, 2655, 1425};
    platform::Frame fraInner{*this, "fraInner", "Plot Options:", 360, 2520, 2295, 1575};
    platform::CheckBox Check_Scatter{*this, "Check_Scatter", "Draw points", 480, 360, 1695, 255};
    platform::CheckBox Check_Line{*this, "Check_Line", "Draw lines", 480, 720, 1695, 255};
    platform::CheckBox Check_Drop{*this, "Check_Drop", "Drop line plot", 480, 1080, 1695, 255};
    platform::CommandButton cmdPlot{*this, "cmdPlot", "&Plot it!", 480, 4800, 855, 735};
    platform::CommandButton cmdClear{*this, "cmdClear", "Cl&ear", 1680, 4800, 855, 735};
    platform::CommandButton cmdDone{*this, "cmdDone", "&Done", 600, 6000, 2055, 975};
    platform::PictureBox Graph{*this, "Graph", 3360, 0, 10095, 7335};
    // Labels on the canvas; they size themselves to their text.
    platform::Label lblGraphMax{*this, "lblGraphMax", "", 7920, 1200, 0, 0};
    platform::Label lblVar{*this, "lblVar", "", 7440, 3240, 0, 0};   // the legend
    platform::Label lblPlotInfo{*this, "lblPlotInfo", "", 7440, 4680, 0, 0};
    platform::Label lblPlotInfoValues{*this, "lblPlotInfoValues", "", 8280, 4680, 0, 0};
    platform::Label lblConfidenceInterval{*this, "lblConfidenceInterval", "", 3840, 720, 0, 0};
    platform::Label lblVerticalLine{*this, "lblVerticalLine", "", 3360, 6840, 0, 0};
    platform::Label lblXStart{*this, "lblXStart", "", 520, 6840, 0, 0};
    platform::Label lblXEnd{*this, "lblXEnd", "", 7000, 6840, 0, 0};

    // The request's mean, difference and SD, for the statistics of column 2.
    double DistMean = 0, DistDiff = 0, DistSD = 0;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Draw_Gridmarks();
    void cmdClear_Click();
    void cmdPlot_Click() { DrawDistributionPlot(); }
    void listVar_DblClick() { DrawDistributionPlot(); }
    void cmdDone_Click();
    void Check_Drop_Click();
    void Check_Scatter_Click();
    void Check_Line_Click();

    // Draws the selected column of the plot request over the canvas.
    void DrawDistributionPlot();

private:
    App& app;
};

// Clears the shared distribution plot window, loading it first if needed.
void ClearDistPlot(App& app);

}  // namespace tivelor
