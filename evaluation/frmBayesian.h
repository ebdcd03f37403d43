// The Bayesian statistics window: the posterior-distribution table,
// editable and saved as a .pos file.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmBayesian : public platform::Form {
public:
    static constexpr const char* kName = "frmBayesian";
    explicit frmBayesian(App& app);

    platform::CommandButton cmdSaveBayesian{*this, "cmdSaveBayesian",
                                            "&Save Bayesian posterior distribution data as...", 0, 0, 11000, 375};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    platform::RichTextBox rtbBayesian{*this, "rtbBayesian", 0, 375, 10880, 6000};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;
    void cmdSaveBayesian_Click();

private:
    App& app;
};

}  // namespace tivelor
