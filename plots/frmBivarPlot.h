// The bivariate density plot window: the inner nodes of a two-parameter grid
// as boxes coloured by how far their density lies below the peak, with the
// legend of the bands, the grid ranges, the peak and the correlation.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmBivarPlot : public platform::Form {
public:
    static constexpr const char* kName = "frmBivarPlot";
    explicit frmBivarPlot(App& app);

    // The tick-mark geometry; the density plot widens the area after its clear.
    int BivarLeft = 720, BivarTop = 480, BivarXTick = 792, BivarRight = 8640, BivarBottom = 6720,
        BivarYTick = 624;

    platform::Frame Legend{*this, "Legend", "SE's", 240, 480, 1575, 4455};
    platform::Label lblHighDensity{*this, "lblHighDensity", "High Density", 480, 360, 1000, 240};
    platform::PictureBox LegendBox{*this, "LegendBox", 600, 600, 735, 2775};
    platform::Label lblLegend{*this, "lblLegend", "", 120, 720, 495, 2535};
    platform::Label lblLowDensity{*this, "lblLowDensity", "Low Density", 480, 3480, 1000, 240};
    platform::Label lblCorr{*this, "lblCorr", "", 120, 3960, 1335, 375};
    platform::Label lblPeak{*this, "lblPeak", "", 240, 5520, 1575, 735};
    platform::CommandButton cmdDone{*this, "cmdDone", "&Done", 480, 6600, 975, 495};
    platform::PictureBox Graph{*this, "Graph", 2040, 0, 9015, 7335};
    // Labels on the canvas; they size themselves to their text.
    platform::Label lblVar{*this, "lblVar", "", 1920, 120, 0, 0};
    platform::Label lblLineInfo{*this, "lblLineInfo", "", 5760, 240, 0, 0};
    platform::Label lblXYMin{*this, "lblXYMin", "", 1680, 6840, 0, 0};
    platform::Label lblXYMax{*this, "lblXYMax", "", 5640, 6840, 0, 0};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Draw_Gridmarks();
    // Clears the canvas and the labels (the window has no clear button).
    void cmdClear_Click();
    void cmdDone_Click();

    // Paints the seven colour bands into LegendBox, the peak's at the top.
    void DrawDensityLegend();

private:
    App& app;
};

// Clears the shared density plot window, loading it first if needed.
void ClearBivarPlot(App& app);

}  // namespace tivelor
