// The main menu: thirteen buttons from which every task starts.
#pragma once

#include "platform/forms.h"

namespace tivelor {

class App;

class frmMenu : public platform::Form {
public:
    static constexpr const char* kName = "frmMenu";
    explicit frmMenu(App& app);

    platform::Label lblWelcome{*this, "lblWelcome",
                               "Welcome to Tivelor: a parameter estimation and evaluation "
                               "infrastructure for non-linear models",
                               1680, 240, 6915, 795};
    platform::Image imgHandshake{*this, "imgHandshake", 420, 240, 855, 735};
    platform::CommandButton cmdInitialize{*this, "cmdInitialize", "&Initialize model", 180, 1140, 1920, 555};
    platform::CommandButton cmdLoadAlg{*this, "cmdLoadAlg", "&Load algorithm data", 2340, 1140, 1920, 555};
    platform::CommandButton cmdEditAlg{*this, "cmdEditAlg", "&Edit  algorithm data", 4500, 1140, 1920, 555};
    platform::CommandButton cmdSaveAlg{*this, "cmdSaveAlg", "&Save algorithm data", 6660, 1140, 1920, 555};
    platform::CommandButton cmdOneFunction{*this, "cmdOneFunction", "&1 Function call", 180, 1860, 1920, 555};
    platform::CommandButton cmdBayesian{*this, "cmdBayesian", "Set &Bayesian priors", 2340, 1860, 1920, 555};
    platform::Label Label1{*this, "Label1", "Minimize with...", 4920, 1800, 1155, 195};
    platform::CommandButton cmdSimplex{*this, "cmdSimplex", "Simple&x", 4500, 2040, 960, 375};
    platform::CommandButton cmdMarquardt{*this, "cmdMarquardt", "&Marquardt", 5520, 2040, 900, 375};
    platform::CommandButton cmdRank{*this, "cmdRank", "&Multi-model statistics", 6660, 1860, 1920, 555};
    platform::CommandButton cmdUserSummary{*this, "cmdUserSummary", "&Single model results", 180, 2580, 1920, 555};
    platform::CommandButton cmdCovariance{*this, "cmdCovariance", "&Single model covariances", 2340, 2580, 1920, 555};
    platform::CommandButton cmdParEstimate{*this, "cmdParEstimate", "E&valuate single model parameter estimates", 4500, 2580, 1920, 555};
    platform::CommandButton cmdQuit{*this, "cmdQuit", "&Quit", 6660, 2580, 1920, 555};
    platform::Label lblModelName{*this, "lblModelName", "", 180, 3300, 8412, 552};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    void Form_Load() override;
    void cmdInitialize_Click();
    void cmdLoadAlg_Click();
    void cmdEditAlg_Click();
    void cmdSaveAlg_Click();
    void cmdSimplex_Click();
    void cmdMarquardt_Click();
    void cmdOneFunction_Click();
    void cmdUserSummary_Click();
    void cmdCovariance_Click();
    void cmdParEstimate_Click();
    void cmdBayesian_Click();
    void cmdRank_Click();
    void cmdQuit_Click();

    // Asks for a file name and writes the algorithm file. False only when
    // the file could not be written (the user has been told); a cancelled
    // dialog writes nothing and returns true.
    bool Save_Alg();
    // Asks for a file name and writes the priors file; the status bar shows
    // its full path. False only when the file could not be written.
    bool Save_Priors();
    // Unloads frmOneFunction, frmSimplex and frmMarquardt, when loaded, and
    // the evaluation chooser, whose profiles must not start inside a run.
    void CloseRunWindows();
    // Closes this window and disables the frame's Application menu.
    void HandOver();

    // The twelve task buttons, in tab order.
    std::vector<platform::CommandButton*> TaskButtons();
    void EnableTaskButtons(bool enabled);
    // Initialize and Load algorithm data once the model is initialized, all
    // task buttons once algorithm data are loaded.
    void ApplyButtonRule();

private:
    App& app;
};

}  // namespace tivelor
