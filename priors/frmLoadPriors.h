// The window from which all work on priors starts: open a priors file, go to
// the prior editor, reset every prior to uniform-unbounded, or cancel.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

// Back to the window that opened the priors dialogs: the main menu (with
// the frame's Application menu) or the ranking window; clears the flag.
void ReturnFromPriors(App& app);

class frmLoadPriors : public platform::Form {
public:
    static constexpr const char* kName = "frmLoadPriors";
    explicit frmLoadPriors(App& app);
    platform::CommandButton cmdCancel{*this, "cmdCancel", "&Cancel", 240, 2100, 4215, 495};
    platform::CommandButton cmdSet{*this, "cmdSet", "&Set or reset prior distributions", 240, 780, 4215, 495};
    platform::CommandButton cmdUniform{*this, "cmdUniform", "Set &uniform-unbounded prior distributions", 240,
                                       1440, 4215, 495};
    platform::CommandButton cmdOpen{*this, "cmdOpen", "&Open an existing Bayesian Priors file", 240, 120, 4215,
                                    495};
    platform::CommonDialog cdlOpen{*this, "cdlOpen"};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdCancel_Click();
    void cmdOpen_Click();
    void cmdSet_Click();
    void cmdUniform_Click();

private:
    // The status bar names no priors file.
    void ShowNoFile();
    void ShowFileTitle();
    App& app;
};

}  // namespace tivelor
