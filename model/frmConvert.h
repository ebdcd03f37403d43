// Dialog that offers to re-express the species' parameters in the other
// scale before the results report is written.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmConvert : public platform::Form {
public:
    static constexpr const char* kName = "frmConvert";
    explicit frmConvert(App& app);

    platform::Frame fraThetas{*this, "fraThetas", "Thetas:", 120, 120, 4455, 975};
    platform::CheckBox chkThetatoLogit{*this, "chkThetatoLogit", "Theta to Logit[Theta]", 240, 360, 4095, 255};
    platform::CheckBox chkLogittoTheta{*this, "chkLogittoTheta", "Logit[Theta] to Theta", 240, 720, 4095, 255};
    platform::Frame fraUAs{*this, "fraUAs", "Unsampled abundances (UAs):", 120, 1200, 4455, 975};
    platform::CheckBox chkUAtoLnUA{*this, "chkUAtoLnUA", "UAs to Ln[UAs]", 240, 1440, 4095, 255};
    platform::CheckBox chkLnUAtoUA{*this, "chkLnUAtoUA", "Ln[UAs] to UAs", 240, 1800, 4095, 255};
    platform::CheckBox chkAskAgain{*this, "chkAskAgain", "Don't ask again during this analysis! ", 240, 2340, 4215, 255};
    platform::CommandButton cmdDo{*this, "cmdDo", "&Do it", 480, 2760, 1575, 375};
    platform::CommandButton cmdCancel{*this, "cmdCancel", "&Skip it", 2640, 2760, 1575, 375};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void chkThetatoLogit_Click();
    void chkLogittoTheta_Click();
    void chkUAtoLnUA_Click();
    void chkLnUAtoUA_Click();
    void chkAskAgain_Click();
    void cmdDo_Click();
    void cmdCancel_Click();

private:
    App& app;
    bool answered_ = false;
    void Skip();
};

}  // namespace tivelor
