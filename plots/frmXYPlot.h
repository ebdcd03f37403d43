// The data-and-prediction plot window: pick an X and a Y series, set the
// ranges and the plot options, and plot as often as wanted; the plots overlay
// in changing colours until the canvas is cleared.
#pragma once

#include <string>

#include "platform/forms.h"
#include "plots/PlotArea.h"

namespace tivelor {

class App;

class frmXYPlot : public platform::Form {
public:
    static constexpr const char* kName = "frmXYPlot";
    explicit frmXYPlot(App& app);

    // Plot area on the canvas, in twips.
    static constexpr int kLeft = plotarea::kLeft, kTop = plotarea::kTop, kRight = plotarea::kRight,
                         kBottom = plotarea::kBottom;
    static constexpr int kXTick = plotarea::kXTick, kYTick = plotarea::kYTick;

    platform::Label lblGraphPage{*this, "lblGraphPage", "Page:", 2940, 120, 9915, 300};
    platform::Label llblX{*this, "llblX", "X variate:", 120, 120, 2700, 240};
    platform::ListBox listXVar{*this, "listXVar", 120, 360, 2700, 1800};
    platform::Label lblY{*this, "lblY", "Y variate:", 120, 2220, 2700, 240};
    platform::ListBox listYVar{*this, "listYVar", 120, 2460, 2700, 1800};
    platform::Frame fraMaxMin{*this, "fraMaxMin", "Set Min/Max:", 120, 4320, 2700, 1560};
    platform::Label lblXMin{*this, "lblXMin", "X-Min (label):", 120, 300, 1140, 240};
    platform::TextBox txtXmin{*this, "txtXmin", "", 1320, 270, 1260, 285};
    platform::Label lblXMax{*this, "lblXMax", "X-Max (label):", 120, 600, 1140, 240};
    platform::TextBox txtXmax{*this, "txtXmax", "", 1320, 570, 1260, 285};
    platform::Label lblYMin{*this, "lblYMin", "Y-Min:", 120, 900, 1140, 240};
    platform::TextBox txtYmin{*this, "txtYmin", "", 1320, 870, 1260, 285};
    platform::Label lblYMax{*this, "lblYMax", "Y-Max:", 120, 1200, 1140, 240};
    platform::TextBox txtYmax{*this, "txtYmax", "", 1320, 1170, 1260, 285};
    platform::TextBox txtScaling{*this, "txtScaling", "", 2940, 480, 3600, 1440, true};
    platform::Frame fraPlots{*this, "fraPlots", "Plot Options:", 120, 5940, 2700, 1620};
    platform::CheckBox Check_Line_LtoR{*this, "Check_Line_LtoR", "Lines >", 120, 300, 1200, 255};
    platform::CheckBox Check_Line_RtoL{*this, "Check_Line_RtoL", "Lines <", 120, 600, 1200, 255};
    platform::CheckBox Check_Line{*this, "Check_Line", "Lines <>", 120, 900, 1200, 255};
    platform::CheckBox Check_Scatter{*this, "Check_Scatter", "Points", 120, 1200, 1200, 255};
    platform::CheckBox Check_Drop{*this, "Check_Drop", "Drop lines", 1380, 300, 1200, 255};
    platform::CheckBox Check_10X10{*this, "Check_10X10", "10x10 Grid", 1380, 600, 1200, 255};
    platform::CheckBox Check_8X8{*this, "Check_8X8", "8x8 Grid", 1380, 900, 1200, 255};
    platform::CommandButton cmdPlot{*this, "cmdPlot", "&Plot it!", 120, 7680, 2700, 375};
    platform::CommandButton cmdClear{*this, "cmdClear", "&Clear Plot && Reset Axes", 120, 8100, 2700, 375};
    platform::CommandButton cmdNext_Page{*this, "cmdNext_Page", "&Next Plot Page", 120, 8520, 2700, 375};
    platform::CommandButton cmdCancel{*this, "cmdCancel", "&Quit plots", 120, 8940, 2700, 375};
    platform::PictureBox Graph{*this, "Graph", 2940, 2040, 9915, 7515};
    // Labels on the canvas: the ranges in use, the statistics and the notes.
    platform::Label lblGraphMax{*this, "lblGraphMax", "", 7440, 480, 2340, 480};
    platform::Label lblXMaxMin{*this, "lblXMaxMin", "", 7440, 1080, 2340, 480};
    platform::Label lblYMaxMin{*this, "lblYMaxMin", "", 7440, 1680, 2340, 480};
    platform::Label lblCorr{*this, "lblCorr", "", 7440, 2400, 2340, 1800};
    platform::Label lblXZero{*this, "lblXZero", "", 7440, 4440, 2340, 480};
    platform::Label lblYZero{*this, "lblYZero", "", 7440, 5040, 2340, 480};
    platform::Label lblXStart{*this, "lblXStart", "", 720, 6840, 1500, 240};
    platform::Label lblXEnd{*this, "lblXEnd", "", 7100, 6840, 1500, 240};

    // Window state: plots since the last clear, the colour of the plot being
    // drawn, and the two grid overlays (-1 after a clear, toggled by a press).
    int PlotCount = 0;
    int PlotColour = 0;
    int Grid8x8Flag = -1, Grid10x10Flag = -1;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Draw_Gridmarks();
    void cmdClear_Click();
    void cmdPlot_Click();
    void cmdNext_Page_Click();
    void cmdCancel_Click();
    void listXVar_Click();
    void listYVar_Click();
    void listXVar_DblClick() { cmdPlot_Click(); }
    void listYVar_DblClick() { cmdPlot_Click(); }
    void Check_Line_Click();
    void Check_Line_LtoR_Click();
    void Check_Line_RtoL_Click();
    void Check_Scatter_Click();
    void Check_Drop_Click();
    void Check_8X8_Click();
    void Check_10X10_Click();

    // Draws one plot, or toggles a grid overlay (in XYPlotDraw.cpp).
    void DrawXYPlot();
    void DrawGrid8x8();
    void DrawGrid10x10();

private:
    void FillXRange(bool onlyEmpty);
    void FillYRange(bool onlyEmpty);
    void DrawGrid(int& flag, int lines, double s, double t);
    void DrawRecordMode();
    void DrawVariableMode();
    App& app;
};

// Shows the plot window for the application's plot request, modally, with
// "Page:  " and the page text (an empty text leaves the page label alone).
void ShowXYPlotForm(App& app, const std::string& pageText);

}  // namespace tivelor
