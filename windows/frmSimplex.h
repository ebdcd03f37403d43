// The Simplex progress window: an Interrupt button across the top, the
// initial-simplex pane above and the progress pane below, with a boundary
// between the panes that the user can drag.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmSimplex : public platform::Form {
public:
    static constexpr const char* kName = "frmSimplex";
    explicit frmSimplex(App& app);

    platform::CommandButton cmdStop{*this, "cmdStop", "&Interrupt", 0, 0, 13880, 375};
    platform::RichTextBox rtbSimplexInitial{*this, "rtbSimplexInitial", 0, 360, 13760, 3000};
    platform::RichTextBox rtbSimplex{*this, "rtbSimplex", 0, 3390, 13760, 4000};

    int SplitterGap = 15;
    int SplitterDragging = 0;
    // 0 the default pointer, 7 the north-south sizing pointer.

    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_MouseDown(int button, int shift, double x, double y);
    void Form_MouseMove(int button, int shift, double x, double y);
    void Form_MouseUp(int button, int shift, double x, double y);
    void rtbSimplex_MouseMove(int button, int shift, double x, double y);
    void rtbSimplexInitial_MouseMove(int button, int shift, double x, double y);
    void cmdStop_Click();

    // Whether (x, y) lies in the strip between the panes that starts a drag.
    bool InSplitterZone(double x, double y) const;

private:
    void Layout();
    App& app;
};

}  // namespace tivelor
