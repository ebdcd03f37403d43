// The algorithm-data editor: values, step sizes and fuse codes in a grid,
// the minimization options and the minimization log.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms.h"
#include "shell/AlgoEditor.h"

namespace tivelor {

class App;

class frmAlgo : public platform::Form {
public:
    static constexpr const char* kName = "frmAlgo";
    static constexpr int kRowHeight = 240;   // every grid row, in twips
    explicit frmAlgo(App& app);

    platform::Label lblAction{*this, "lblAction",
                              "Double-click to edit a Value, Step or Fuse, or double-click the "
                              "column heading to change them all",
                              120, 120, 8715, 255};
    platform::FlexGrid grdVS{*this, "grdVS", 120, 480, 9500, 19 * kRowHeight + 60, 2, 5};
    platform::Label lblStep0{*this, "lblStep0",
                             "Note 1: A step size of zero freezes the value of the corresponding "
                             "parameter",
                             120, 5220, 6975, 255};
    platform::Label lblLinks{*this, "lblLinks",
                             "Note 2: Alphabetically fused parameters are co-estimated.  Only the "
                             "parameter of lowest ordinal rank will have a non-zero step size.",
                             120, 5520, 11775, 255};

    platform::Frame fraEditBox{*this, "fraEditBox", "Minimization options", 9750, 60, 4275, 5415};
    platform::Label lblAbsRel{*this, "lblAbsRel", "", 120, 240, 3015, 255};
    platform::TextBox txtAbsRel{*this, "txtAbsRel", "", 3120, 180, 912, 330};
    platform::Label lblMaxIterations{*this, "lblMaxIterations", "Marquardt (maximum # iterations):",
                                     960, 660, 2475, 255};
    platform::Label lblMaxFunctions{*this, "lblMaxFunctions", "Simplex (maximum # function calls):",
                                    840, 900, 2595, 255};
    platform::TextBox txtMaxFunctions{*this, "txtMaxFunctions", "", 3420, 720, 615, 330};
    platform::Label lblTerminalFreq{*this, "lblTerminalFreq", "Terminal display frequency:", 1620,
                                    1320, 1995, 255};
    platform::TextBox txtTerminalFreq{*this, "txtTerminalFreq", "", 3600, 1260, 435, 330};
    platform::Label lblReduction{*this, "lblReduction", "Step size reduction fraction:", 1560, 1860,
                                 2055, 255};
    platform::TextBox txtReduction{*this, "txtReduction", "", 3600, 1800, 435, 330};
    platform::Frame fraLog{*this, "fraLog", "", 240, 2220, 3792, 1755};
    platform::Label lblFilename{*this, "lblFilename", "Log file name (maximum of 10.3 characters):",
                                120, 180, 3255, 315};
    platform::TextBox txtFileName{*this, "txtFileName", "", 120, 360, 3552, 795, true};
    platform::CommandButton cmdOpenLog{*this, "cmdOpenLog", "&Open", 180, 1260, 735, 372};
    platform::CommandButton cmdCloseLog{*this, "cmdCloseLog", "&Close", 960, 1260, 675, 372};
    platform::Label lblFileFreq{*this, "lblFileFreq", "Output frequency:", 1860, 1320, 1335, 195};
    platform::TextBox txtFileFreq{*this, "txtFileFreq", "", 3180, 1260, 435, 330};
    platform::CommandButton cmdUpdate{*this, "cmdUpdate", "&Update edits", 240, 4080, 3792, 540};
    platform::CommandButton cmdFinish{*this, "cmdFinish", "&Finish editing", 240, 4740, 3792, 540};

    platform::TextBox txtValue{*this, "txtValue", "", 0, 0, 0, 0};
    platform::CommonDialog CommonDialog1{*this, "CommonDialog1"};

    platform::Menu mnuApplication{*this, "mnuApplication", "&Application"};
    platform::Menu mnuExit{*this, "mnuExit", "E&xit", &mnuApplication, "Ctrl+X"};
    platform::Menu mnuEdit{*this, "mnuEdit", "&Edit"};
    platform::Menu mnuValue{*this, "mnuValue", "&Values", &mnuEdit, "Ctrl+L"};
    platform::Menu mnuStep{*this, "mnuStep", "&Step sizes", &mnuEdit, "Ctrl+S"};
    platform::Menu mnuFraction{*this, "mnuFraction", "Change step size &proportion", &mnuEdit,
                               "Ctrl+P"};
    platform::Menu mnuUnFuse{*this, "mnuUnFuse", "&Unfuse all values", &mnuEdit, "Ctrl+U"};
    platform::Menu mnuSep1{*this, "mnuSep1", "-", &mnuEdit};
    platform::Menu mnuFinish{*this, "mnuFinish", "&Finish editing", &mnuEdit, "Ctrl+F"};
    platform::Menu mnuWindow{*this, "mnuWindow", "&Window"};
    platform::Menu mnuCascade{*this, "mnuCascade", "&Cascade", &mnuWindow, "Shift+F5"};
    platform::Menu mnuTileHorizontal{*this, "mnuTileHorizontal", "Tile &Horizontal", &mnuWindow,
                                     "Shift+F4"};
    platform::Menu mnuTileVertical{*this, "mnuTileVertical", "Tile &Vertical", &mnuWindow,
                                   "Shift+F3"};
    platform::Menu mnuArrangeIcons{*this, "mnuArrangeIcons", "&Arrange Icons", &mnuWindow};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void cmdUpdate_Click();
    void cmdFinish_Click();
    void mnuFinish_Click();
    void mnuExit_Click();

    // Cell editing.
    void grdVS_DblClick();
    void BeginCellEdit();
    void txtValue_LostFocus();
    // Commits an open cell edit, as the focus leaving the box would.
    void CommitPendingEdit();

    // Options and the log.
    void txtAbsRel_Click();
    void txtMaxFunctions_LostFocus();
    void txtReduction_LostFocus();
    void txtTerminalFreq_LostFocus();
    void txtFileFreq_LostFocus();
    void cmdOpenLog_Click();
    void cmdCloseLog_Click();

    // Whole columns.
    void EditAllValues();
    void CallEditAllSteps();
    void EditAllSteps();
    void EditAllFuses();
    void mnuValue_Click();
    void mnuStep_Click();
    void mnuUnFuse_Click();
    void mnuFraction_Click();

    // Grid painting shared with the edit-all dialog.
    // Scrolls one row down while prompting for a row past the tenth.
    void ScrollForRow(int i);
    // Makes (r, c) current and marks it as being asked for; returns the fore
    // colour it had.
    std::int32_t MarkAsked(int r, int c);
    // Fore colour, and the background back to the grid's own.
    void Paint(int r, int c, std::int32_t fore);
    // Value or step text: the number format, or "0" for 0.
    void ShowNumber(int r, int c, double x);
    void ShowFuse(int r, const std::string& code);

    std::string ZeroFormat = "0";
    std::int32_t SavedCellColour = 0;
    double OldStep = 0;
    int EditRow = 0, EditCol = 0;
    int SavedRow = 0, SavedCol = 0;

private:
    bool Offered(int item) const;
    void SetUpGrid();
    void FillGrid();
    void ShowTolerance();
    void ShowLogClosed();
    // Every edit: results no longer describe the data; number formats reset.
    void StartEditing();
    // Checks an option box that lost the focus. True with the number to
    // store; false when the box was refused and rewritten with shown.
    bool OptionEntry(platform::TextBox& box, const std::string& title,
                     const std::string& negativeText, double largest, const std::string& shown,
                     double& number);

    App& app;
};

}  // namespace tivelor
