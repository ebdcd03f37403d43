// Whole-column operations of the algorithm editor and the edit-all dialog.
#include "ShellTestSupport.h"

#include "shell/frmEditVS.h"

using namespace tivelor;
using namespace shelltest;

namespace {
const char* kSteps = "Edit all step sizes";
const char* kProp = "Change proportionality constant";
}  // namespace

TEST(WholeColumns, StepPromptsAskAgainAndScrollPastTen) {
    Editing t(12);
    frmAlgo& algo = t.Open();
    t.b.AnswerInput(kSteps, "x");     // step 0.1: asked again
    t.b.AnswerInput(kSteps, "0.3");
    t.b.AnswerInput(kSteps, "abc");   // step 0: Val gives 0, unchanged
    for (int i = 3; i <= 12; ++i) t.b.AnswerInput(kSteps, "0.3");
    t.b.Click("frmAlgo.mnuStep");
    EXPECT_EQ(t.b.inputPrompts.size(), 13u);
    EXPECT_EQ(t.b.inputPrompts[0], "Enter new step size for parameter #1");
    EXPECT_EQ(t.par.StepSize(2) + t.par.StepSize(12), 0.3);
    EXPECT_EQ(t.Fore(1, 2), QBColor(12));
    EXPECT_EQ(algo.grdVS.TopRow, 3);
}

TEST(WholeColumns, FusePromptsUnfuseAllAndTheProportionPrompt) {
    Editing t;
    t.Open();
    for (const char* answer : {"b", "abc", " a", "~", "ab", "~~", "b"})
        t.b.AnswerInput("Edit all parameter fuse characters", answer);
    t.b.ClickCell("frmAlgo.grdVS", 0, 3, true);
    EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2) + t.par.FuseCode(3) + t.par.FuseCode(4), "BAB~~B");
    EXPECT_EQ(t.Fore(3, 3), QBColor(0));
    EXPECT_EQ(t.Fore(4, 3), QBColor(12));
    t.app.eng.SimplexValid = 1;
    t.b.Click("frmAlgo.mnuUnFuse");
    EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2), "~~~~");
    EXPECT_EQ(t.Fore(3, 3), QBColor(12));
    EXPECT_EQ(t.app.eng.SimplexValid, 1);
    // The proportion is asked until a number is given; Cancel closes the editor.
    for (const char* answer : {"x", "0.05"}) t.b.AnswerInput(kProp, answer);
    t.b.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.05);
    t.b.CancelInput(kProp);
    t.b.AnswerMsgBox("Just so you know", vbOK);
    t.b.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.05);
    EXPECT_FALSE(t.app.IsLoaded<frmAlgo>());
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
}

TEST(EditAll, ChangeAllFreeOrValuesOnlyAndCancelPartWay) {
    Editing t;
    t.Open();
    t.app.eng.SimplexValid = 1;
    t.b.ClickCell("frmAlgo.grdVS", 0, 1, true);
    EXPECT_FALSE(t.app.form<frmAlgo>().Enabled);
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    t.b.AnswerInput(kProp, "0");   // becomes 0.1
    for (const char* answer : {"1", "0", "oops", "3", "-2"}) t.b.AnswerInput("Edit all parameter values", answer);
    t.b.Click("frmEditVS.cmdProp");
    EXPECT_TRUE(t.app.form<frmAlgo>().Enabled);
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));        // the value shown again
    EXPECT_DOUBLE_EQ(t.par.StepSize(2), 0.1);   // a fixed parameter becomes free
    EXPECT_DOUBLE_EQ(t.par.StepSize(3), 0.3);
    EXPECT_DOUBLE_EQ(t.par.StepSize(4), 0.2);

    t.par.StepSize(2) = 0;
    t.b.Click("frmAlgo.mnuValue");
    t.b.CancelInput(kProp);   // keeps 0.1
    for (const char* answer : {"2", "1.5", "-3"}) t.b.AnswerInput("Edit free parameter values", answer);
    t.b.Click("frmEditVS.cmdFree");
    EXPECT_EQ(t.b.inputPrompts.back(), "Enter the new value of parameter #4");
    EXPECT_DOUBLE_EQ(t.par.StepSize(1), 0.2);
    EXPECT_EQ(t.par.StepSize(2), 0);
    EXPECT_DOUBLE_EQ(t.par.StepSize(4), -0.3);

    // Cancel part-way keeps the earlier edits only; Change all values but not
    // their step sizes leaves the steps.
    t.b.Click("frmAlgo.mnuValue");
    for (const char* answer : {"11", "12"}) t.b.AnswerInput("Edit a parameter value", answer);
    t.b.CancelInput("Edit a parameter value");
    t.b.Click("frmEditVS.cmdNoProp");
    EXPECT_EQ(t.par.ParValue(1) + t.par.ParValue(2) + t.par.ParValue(3), 24.5);
    EXPECT_EQ(t.Fore(3, 1), QBColor(12));   // its colour before the prompt
    EXPECT_EQ(t.app.form<frmAlgo>().grdVS.CellBackColor(3, 1), -1);
    EXPECT_DOUBLE_EQ(t.par.StepSize(1), 0.2);
    EXPECT_FALSE(t.app.IsLoaded<frmEditVS>());
}
