// The table of a prior profile, saved as a prior distribution file (.pdp).
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

// Fills the profile table for a prior on parameter par over K points (K odd,
// 3 or more): ProfX, the prior's -ln density in ProfNegLnL, the mode in
// EVEstimate, then the distribution columns. Writes the progress into the
// status bar and yields once per point. Mean, Diff and SD of the
// distribution come back.
void ComputePriorProfile(App& app, int par, int K, double& Mean, double& Diff, double& SD);

class frmPriorDists : public platform::Form {
public:
    static constexpr const char* kName = "frmPriorDists";
    explicit frmPriorDists(App& app);
    platform::CommandButton cmdSavePriorDists{*this, "cmdSavePriorDists",
                                              "&Save Bayesian prior distribution data as...", 0, 0, 11400, 375};
    platform::RichTextBox rtbPriorDists{*this, "rtbPriorDists", 0, 360, 11280, 6000};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdSavePriorDists_Click();

private:
    App& app;
};

}  // namespace tivelor
