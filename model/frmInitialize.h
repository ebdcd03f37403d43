// The model initialization dialog: the habitat's numbers, the link options
// and the data file; Done sets the model up.
#pragma once

#include "state/ModelState.h"
#include "platform/forms.h"

namespace tivelor {

class App;

class frmInitialize : public platform::Form {
public:
    static constexpr const char* kName = "frmInitialize";
    explicit frmInitialize(App& app);

    platform::Label lblDo{*this, "lblDo", "Here's what I do:", 120, 120, 4095, 255};
    platform::TextBox txtInitialize{*this, "txtInitialize", "", 120, 420, 4095, 4215, true};
    platform::Label lblDataInput{*this, "lblDataInput", "Data input format:", 4440, 120, 4095, 255};
    platform::TextBox txtDataFormat{*this, "txtDataFormat", "", 4440, 420, 4095, 2055, true};
    platform::Frame fraChoices{*this, "fraChoices", "Required input:", 4440, 2580, 4095, 1455};
    platform::Label Label1{*this, "Label1", "# Quadrats in habitat:", 4560, 2880, 2175, 255};
    platform::ComboBox cboQuadsinHab{*this, "cboQuadsinHab", 6840, 2820, 1575, 315};
    platform::Label Label2{*this, "Label2", "# Quadrats sampled:", 4560, 3240, 2175, 255};
    platform::ComboBox cboQuadsSampled{*this, "cboQuadsSampled", 6840, 3180, 1575, 315};
    platform::Label Label3{*this, "Label3", "# Species sampled:", 4560, 3600, 2175, 255};
    platform::ComboBox cboNSpecies{*this, "cboNSpecies", 6840, 3540, 1575, 315};
    platform::Label lblDataFile{*this, "lblDataFile",
                                "Input file for the species (by column) and quadrat (by row) matrix:",
                                120, 4740, 8415, 255};
    platform::TextBox txtDataFile{*this, "txtDataFile", "", 120, 5040, 7215, 315};
    platform::CommandButton cmdSelect{*this, "cmdSelect", "Select", 7440, 5010, 1095, 375};
    platform::Frame fraOptions{*this, "fraOptions", "Analysis options", 120, 5520, 4095, 1095};
    platform::CheckBox chkLogitThetas{*this, "chkLogitThetas", "Logit link for Thetas", 240, 5820, 3855, 255};
    platform::CheckBox chkLogNs{*this, "chkLogNs", "Log link for unsampled N", 240, 6180, 3855, 255};
    platform::Label LabellnL{*this, "LabellnL", "Objective function is -2ln[L]", 4440, 5640, 4095, 255};
    platform::CommandButton cmdDone{*this, "cmdDone", "&Done?", 4440, 6060, 1935, 495};
    platform::CommandButton cmdCancel{*this, "cmdCancel", "&Cancel", 6600, 6060, 1935, 495};
    platform::CommonDialog cdlOpen{*this, "cdlOpen"};

    void Form_Load() override;
    void cmdSelect_Click();
    void cmdDone_Click();
    void cmdCancel_Click();

private:
    App& app;
    // The input checks of Done; false after telling the user what is wrong.
    bool InputUsable();
    // Reads the data file and sizes the parameter set, in charge as a task;
    // false when the input or the data file was refused.
    bool SetUpModel();
    // The dialog's entries as the set-up reads them.
    InitSettings ReadSettings();
};

// Sizes every per-parameter array of the system to the current NumPars,
// without keeping contents, and resets the priors and fuse codes; throws
// std::bad_alloc, with nothing changed, when memory runs out.
void SizeParameterArrays(App& app);

}  // namespace tivelor
