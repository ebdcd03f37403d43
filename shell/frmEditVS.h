// Edit all parameters: a small dialog of the algorithm editor that changes
// every value in one pass, with or without new step sizes, or unfuses all.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;
class frmAlgo;

class frmEditVS : public platform::Form {
public:
    static constexpr const char* kName = "frmEditVS";
    explicit frmEditVS(App& app);

    platform::CommandButton cmdFree{*this, "cmdFree",
                                    "Change &free values and step sizes (proportionately)", 240,
                                    240, 3855, 495};
    platform::CommandButton cmdProp{*this, "cmdProp",
                                    "Change &all values and step sizes (proportionately)", 240,
                                    840, 3855, 495};
    platform::CommandButton cmdNoProp{*this, "cmdNoProp",
                                      "Change all values but &not their step sizes", 240, 1440,
                                      3855, 495};
    platform::CommandButton Change_Fraction{*this, "Change_Fraction",
                                            "Change only the step size &proportionality constant",
                                            240, 2040, 3855, 495};
    platform::CommandButton cmdUnFuse{*this, "cmdUnFuse", "Unfuse all values", 240, 2640, 3855, 495};
    platform::Label lblNote{*this, "lblNote",
                            "Note: If a parameter value is set to zero then the step size is set "
                            "at the chosen proportionality constant",
                            240, 3240, 3855, 495};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdFree_Click();
    void cmdProp_Click();
    void cmdNoProp_Click();
    void Change_Fraction_Click();
    void cmdUnFuse_Click();

private:
    enum class Steps { Keep, Free, All };
    // One pass over the parameters; Free skips those with step 0.
    void ChangeValues(Steps steps);
    // False when the user cancelled: the pass stops.
    bool ValuePrompt(frmAlgo& algo, int i);
    void StepUpdate(frmAlgo& algo, int i, Steps steps);
    frmAlgo* Editor() const;

    App& app;
};

}  // namespace tivelor
