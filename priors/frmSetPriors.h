// The prior editor: the prior table as a grid, one row per parameter, and
// the menu of prior kinds.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms.h"

namespace tivelor {

class App;

class frmSetPriors : public platform::Form {
public:
    static constexpr const char* kName = "frmSetPriors";
    explicit frmSetPriors(App& app);

    platform::Label Lbl1{*this, "Lbl1", "Select a parameter then choose an action from the menu bar", 120, 60,
                         8000, 255};
    platform::FlexGrid grdSetPriors{*this, "grdSetPriors", 120, 360, 11900, 4095, 3, 7};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    platform::Menu mnuApplication{*this, "mnuApplication", "&Application"};
    platform::Menu mnuMainMenu{*this, "mnuMainMenu", "Main &menu", &mnuApplication, "Ctrl+M"};
    platform::Menu mnuSep1{*this, "mnuSep1", "-", &mnuApplication};
    platform::Menu mnuExit{*this, "mnuExit", "E&xit", &mnuApplication, "Ctrl+X"};
    platform::Menu mnuEdit{*this, "mnuEdit", "&Edit prior distributions"};
    platform::Menu mnuMeanSD{*this, "mnuMeanSD", "&Mean and SD", &mnuEdit};
    platform::Menu mnuN{*this, "mnuN", "Gaussian (i.e., &Normal)", &mnuMeanSD};
    platform::Menu mnuG{*this, "mnuG", "&Gamma", &mnuMeanSD};
    platform::Menu mnuE{*this, "mnuE", "&Exponential", &mnuMeanSD};
    platform::Menu mnuL{*this, "mnuL", "&Ln-normal", &mnuMeanSD};
    platform::Menu mnuB{*this, "mnuB", "&Beta", &mnuMeanSD};
    platform::Menu mnuFoot{*this, "mnuFoot", "F&oot (mean) of a", &mnuEdit};
    platform::Menu MnuS{*this, "MnuS", "Left-&side cliff", &mnuFoot};
    platform::Menu mnuR{*this, "mnuR", "Right-si&de cliff", &mnuFoot};
    platform::Menu mnuT{*this, "mnuT", "Feet of a uniform-b&ounded", &mnuEdit};
    platform::Menu mnuSep2{*this, "mnuSep2", "-", &mnuEdit};
    platform::Menu mnuU{*this, "mnuU", "Default (&Uniform-unbounded)", &mnuEdit, "Ctrl+U"};
    platform::Menu mnuProfile{*this, "mnuProfile", "&Profile prior distributions"};
    platform::Menu mnuSavePrior{*this, "mnuSavePrior", "&Save prior distributions"};
    platform::Menu mnuWindow{*this, "mnuWindow", "&Window"};
    platform::Menu mnuCascade{*this, "mnuCascade", "&Cascade", &mnuWindow, "Shift+F5"};
    platform::Menu mnuTileHorizontal{*this, "mnuTileHorizontal", "Tile &Horizontal", &mnuWindow, "Shift+F4"};
    platform::Menu mnuTileVertical{*this, "mnuTileVertical", "Tile &Vertical", &mnuWindow, "Shift+F3"};
    platform::Menu mnuArrangeIcons{*this, "mnuArrangeIcons", "&Arrange Icons", &mnuWindow};
    platform::Menu mnuHelpSetting{*this, "mnuHelpSetting", "&Help with prior distributions"};
    platform::Menu mnuFinish{*this, "mnuFinish", "&Finished"};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void grdSetPriors_Click();
    void mnuN_Click();
    void mnuG_Click();
    void mnuE_Click();
    void mnuL_Click();
    void mnuB_Click();
    void MnuS_Click();
    void mnuR_Click();
    void mnuT_Click();
    void mnuU_Click();
    void mnuProfile_Click();
    void mnuSavePrior_Click();
    void mnuHelpSetting_Click();
    void mnuFinish_Click();
    void mnuExit_Click();

    // The table of the last prior profile into frmPriorDists. Changes none
    // of its arguments.
    void Save_PriorDists(double& Mean, double& Mode, double& Diff, double& SD);
    // Asks for a path and writes the priors file; the status bar shows its
    // title. False only when the file could not be written (the user has been
    // told); a cancelled dialog returns true.
    bool Save_Priors();

    // 1 while a row shows the click highlight.
    int RowHighlighted = 0;

private:
    // Row i + 1 shows parameter i's prior as the table holds it.
    void ShowRow(int i);
    // After an entry: the row's kind and first term light red, the second
    // term light red too for a uniform-bounded prior, else black.
    void MarkEntered(int i);
    // The parameter of the current row; 0 when the table no longer has it.
    int Selected() const;
    // Asks one value of parameter i; false on Cancel or an empty answer.
    bool Ask(const std::string& question, const std::string& title, int i, std::string& answer);
    // Two values of a kind with a mean (or foot) and an SD, as the priors
    // file keeps them; false when one was not given, is not wholly a number
    // or is not a finite number in the file.
    bool AskPair(const std::string& q1, const std::string& q2, const std::string& title, int i, double& a,
                 double& b);
    // Stores a prior with unused second terms and redraws its row.
    void Store(int i, const std::string& letter, double mean, double sd);

    int lastRow_ = 2;
    std::int32_t savedColour_ = 0;
    App& app;
};

}  // namespace tivelor
