// The evaluation chooser: a maximum-likelihood confidence distribution or a
// Bayesian posterior for one parameter estimate.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmParEvals : public platform::Form {
public:
    static constexpr const char* kName = "frmParEvals";
    explicit frmParEvals(App& app);

    platform::Label lblChoice{*this, "lblChoice", "For any free parameter you have the choice to generate:", 240,
                              180, 5535, 255};
    platform::CommandButton cmdML{*this, "cmdML", "&Maximium likelihood (ML) confidence distributions", 240, 540,
                                  5535, 435};
    platform::CommandButton cmdBP{*this, "cmdBP", "&Bayesian posterior (BP) distributions", 240, 1080, 5535, 435};
    platform::Label lblNote4{*this, "lblNote4", "Only the lowest ordinal linked parameter can be evaluated", 240,
                             1620, 5535, 255};
    platform::Label lblNote1{*this, "lblNote1",
                             "Results are valid only if the objective function is the Sum of Squares or the -ln[L]",
                             240, 1920, 5535, 435};
    platform::Label lblNote3{*this, "lblNote3",
                             "These routines can automatically edit your algorithm file so take care not to "
                             "inadvertently save these edits",
                             240, 2400, 5535, 435};
    platform::CommandButton cmdCancel{*this, "cmdCancel", "&Cancel", 2160, 3000, 1695, 375};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdML_Click();
    void cmdBP_Click();
    void cmdCancel_Click();

private:
    App& app;
};

}  // namespace tivelor
