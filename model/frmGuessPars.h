// Dialog that offers the initial-value grid search and takes its grid
// resolutions.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmGuessPars : public platform::Form {
public:
    static constexpr const char* kName = "frmGuessPars";
    explicit frmGuessPars(App& app);

    platform::Frame fraResolution{*this, "fraResolution", "Per species grid resolutions for...", 120, 120, 4455, 1215};
    platform::Label lblTheta{*this, "lblTheta", "Thetas:", 240, 420, 2415, 255};
    platform::ComboBox cboTheta{*this, "cboTheta", 2760, 360, 1575, 315};
    platform::Label lblUAs{*this, "lblUAs", "Unsampled abundances (UA):", 240, 840, 2415, 255};
    platform::ComboBox cboUA{*this, "cboUA", 2760, 780, 1575, 315};
    platform::CheckBox chkAskAgain{*this, "chkAskAgain", "Don't ask again during this analysis! ", 240, 1440, 4215, 255};
    platform::CommandButton cmdDo{*this, "cmdDo", "&Do it", 480, 1860, 1575, 375};
    platform::CommandButton cmdCancel{*this, "cmdCancel", "&Skip it", 2640, 1860, 1575, 375};

    void Form_Load() override;
    void cboTheta_Change();
    void cboUA_Change();
    void chkAskAgain_Click();
    void cmdDo_Click();
    void cmdCancel_Click();

private:
    App& app;
};

// Grid resolution typed into a combo: the leading number made absolute and
// rounded to an Integer; -1 when it does not fit.
int GridResolution(const std::string& text);

}  // namespace tivelor
