// Progress window of the Marquardt minimizer: one text pane for the
// iteration reports, Interrupt, and the two step buttons of the
// derivative pause.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmMarquardt : public platform::Form {
public:
    static constexpr const char* kName = "frmMarquardt";
    explicit frmMarquardt(App& app);

    platform::CommandButton cmdStop{*this, "cmdStop", "&Interrupt", 0, 0, 13880, 375};
    platform::CommandButton cmdIteration{*this, "cmdIteration", "&Next iteration", 11000, 800, 1095, 555};
    platform::CommandButton cmdContinue{*this, "cmdContinue", "&Continue", 11000, 1400, 1095, 555};
    platform::RichTextBox rtbMarquardt{*this, "rtbMarquardt", 0, 360, 13880, 7000};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdIteration_Click();
    void cmdContinue_Click();
    void cmdStop_Click();

    // Shows or hides the two step buttons, enabling or disabling them.
    void ShowStepButtons(bool show);

    // The window of a running minimization. Closed under the run, it is
    // loaded and shown again, as a child window is when next referred to.
    static frmMarquardt& ForRun(App& app);

private:
    App& app;
};

}  // namespace tivelor
