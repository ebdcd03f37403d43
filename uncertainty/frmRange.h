// Modal dialog in which the user chooses the species range of the
// goodness-of-fit test.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmRange : public platform::Form {
public:
    static constexpr const char* kName = "frmRange";
    explicit frmRange(App& app);

    platform::Frame fraRanges{*this, "fraRanges", "Start and end species #s", 120, 120, 3855, 1335};
    platform::Label lblStart{*this, "lblStart", "First species in range:", 120, 330, 1935, 255};
    platform::ComboBox cboStart{*this, "cboStart", 2160, 270, 1455, 315};
    platform::Label lblEnd{*this, "lblEnd", "Last species in range:", 120, 810, 1935, 255};
    platform::ComboBox cboEnd{*this, "cboEnd", 2160, 750, 1455, 315};
    platform::CommandButton cmdOK{*this, "cmdOK", "&OK", 1260, 1620, 1455, 375};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cboStart_Change();
    void cboEnd_Change();
    void cmdOK_Click();

private:
    App& app;
    bool checked_ = false;   // OK found the range sound
    // The title of the first check the bounds fail, "" when they pass.
    std::string RangeFault(int first, int last) const;
};

// A bound as typed: the nearest whole number of the text's numeric value,
// held beyond the species numbers (and so failing the checks) when it lies
// outside the 16-bit range.
int ReadRangeBound(const std::string& text);

}  // namespace tivelor
