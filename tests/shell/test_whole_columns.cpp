// Whole-column operations of the algorithm editor and the edit-all dialog.
#include "ShellTestSupport.h"

#include "shell/frmEditVS.h"

using namespace tivelor;
using namespace shelltest;

namespace {
const char* kSteps = "Edit all step sizes";
const char* kFuses = "Edit all parameter fuse characters";
const char* kProp = "Change proportionality constant";
}  // namespace

TEST(WholeColumns, StepPromptsStopCleanlyOnCancel) {
    Editing t(5);
    t.Open();
    t.b.AnswerInput(kSteps, "0.5");
    t.b.AnswerInput(kSteps, "abc");   // step 0: reads as unchanged
    t.b.CancelInput(kSteps);
    t.b.ClickCell("frmAlgo.grdVS", 0, 2, true);
    EXPECT_EQ(t.par.StepSize(1), 0.5);
    EXPECT_EQ(t.Fore(1, 2), QBColor(12));
    EXPECT_EQ(t.Fore(2, 2), QBColor(0));
    EXPECT_DOUBLE_EQ(t.par.StepSize(3), 0.15);
    EXPECT_EQ(t.Fore(3, 2), QBColor(1));
    EXPECT_EQ(t.app.form<frmAlgo>().grdVS.CellBackColor(3, 2), -1);
    EXPECT_DOUBLE_EQ(t.par.StepSize(5), 0.1);
}

TEST(WholeColumns, NonNumericStepIsAskedAgainAndTheGridScrollsPastTen) {
    Editing t(12);
    frmAlgo& algo = t.Open();
    t.b.AnswerInput(kSteps, "x");   // step 0.1: asked again
    for (int i = 1; i <= 12; ++i) t.b.AnswerInput(kSteps, "0.3");
    t.b.Click("frmAlgo.mnuStep");
    EXPECT_EQ(t.b.inputPrompts.size(), 13u);
    EXPECT_EQ(t.b.inputPrompts[0], "Enter new step size for parameter #1");
    EXPECT_EQ(t.par.StepSize(12), 0.3);
    EXPECT_EQ(algo.grdVS.TopRow, 3);
}

TEST(WholeColumns, FusePromptsStoreCapitalCodesAndUnfuseClearsThem) {
    Editing t;
    t.Open();
    for (const char* answer : {"b", "abc", " a", "~", "ab", "~~", "b"}) t.b.AnswerInput(kFuses, answer);
    t.b.ClickCell("frmAlgo.grdVS", 0, 3, true);
    EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2) + t.par.FuseCode(3) + t.par.FuseCode(4), "BAB~~B");
    EXPECT_EQ(t.Fore(3, 3), QBColor(0));
    EXPECT_EQ(t.Fore(4, 3), QBColor(12));
    // Unfuse all marks every code, and leaves the simplex alone.
    t.app.eng.SimplexValid = 1;
    t.b.Click("frmAlgo.mnuUnFuse");
    EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2), "~~~~");
    EXPECT_EQ(t.Fore(3, 3), QBColor(12));
    EXPECT_EQ(t.app.eng.SimplexValid, 1);
}

TEST(WholeColumns, ProportionPromptCancelKeepsTheEditorOpen) {
    Editing t;
    t.Open();
    t.b.AnswerInput(kProp, "x");
    t.b.AnswerInput(kProp, "0");
    t.b.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.1);
    t.b.AnswerInput(kProp, "0.05");
    t.b.Click("frmAlgo.mnuFraction");
    t.b.CancelInput(kProp);
    t.b.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.05);
    EXPECT_TRUE(t.app.IsLoaded<frmAlgo>());
}

TEST(EditAll, ChangeAllGivesEveryParameterAPositiveStep) {
    Editing t;
    t.Open();
    t.app.eng.SimplexValid = 1;
    t.b.ClickCell("frmAlgo.grdVS", 0, 1, true);
    EXPECT_FALSE(t.app.form<frmAlgo>().Enabled);
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    const char* title = "Edit all parameter values";
    t.b.AnswerInput(kProp, "0");   // becomes 0.1
    for (const char* answer : {"1", "0", "oops", "3", "-2"}) t.b.AnswerInput(title, answer);
    t.b.Click("frmEditVS.cmdProp");
    EXPECT_TRUE(t.app.form<frmAlgo>().Enabled);
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));   // the value shown again
    EXPECT_DOUBLE_EQ(t.par.StepSize(2), 0.1);   // a fixed parameter becomes free
    EXPECT_EQ(t.Fore(2, 2), QBColor(12));
    EXPECT_EQ(t.par.ParValue(3), 3);
    EXPECT_DOUBLE_EQ(t.par.StepSize(3), 0.3);
    EXPECT_DOUBLE_EQ(t.par.StepSize(4), 0.2);
}

TEST(EditAll, ChangeFreeSkipsFixedParametersAndKeepsTheSign) {
    Editing t;
    t.Open();
    t.b.Click("frmAlgo.mnuValue");
    t.b.CancelInput(kProp);   // keeps 0.1
    for (const char* answer : {"2", "1.5", "-3"}) t.b.AnswerInput("Edit free parameter values", answer);
    t.b.Click("frmEditVS.cmdFree");
    EXPECT_EQ(t.b.inputPrompts.size(), 4u);
    EXPECT_EQ(t.b.inputPrompts[1], "Enter the new value of parameter #1");
    EXPECT_DOUBLE_EQ(t.par.StepSize(1), 0.2);
    EXPECT_EQ(t.par.StepSize(2), 0);
    EXPECT_DOUBLE_EQ(t.par.StepSize(4), -0.3);
}

TEST(EditAll, CancelPartWayKeepsEarlierEditsOnly) {
    Editing t(8);
    frmAlgo& algo = t.Open();
    t.b.Click("frmAlgo.mnuValue");
    for (int i = 1; i <= 4; ++i) t.b.AnswerInput("Edit a parameter value", std::to_string(10 + i));
    t.b.CancelInput("Edit a parameter value");
    t.b.Click("frmEditVS.cmdNoProp");
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(t.par.ParValue(i), 10 + i);
    EXPECT_EQ(t.par.ParValue(5), 1);
    EXPECT_EQ(t.Fore(5, 1), QBColor(1));
    EXPECT_EQ(algo.grdVS.CellBackColor(5, 1), -1);
    EXPECT_EQ(t.par.StepSize(1), 0.1);   // steps untouched
    EXPECT_FALSE(t.app.IsLoaded<frmEditVS>());
    EXPECT_TRUE(algo.Enabled);
}
