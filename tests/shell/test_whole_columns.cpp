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
    t.OpenFromMenu();
    auto& step = t.app.eng.par.StepSize;
    t.s.backend.AnswerInput(kSteps, "0.5");
    t.s.backend.AnswerInput(kSteps, "abc");   // step 0: reads as unchanged
    t.s.backend.CancelInput(kSteps);
    t.s.backend.ClickCell("frmAlgo.grdVS", 0, 2, true);
    EXPECT_EQ(step(1), 0.5);
    EXPECT_EQ(t.Fore(1, 2), QBColor(12));
    EXPECT_EQ(step(2), 0);
    EXPECT_EQ(t.Fore(2, 2), QBColor(0));
    EXPECT_DOUBLE_EQ(step(3), 0.15);
    EXPECT_EQ(t.Fore(3, 2), QBColor(1));
    EXPECT_EQ(t.app.form<frmAlgo>().grdVS.CellBackColor(3, 2), -1);
    EXPECT_DOUBLE_EQ(step(5), 0.1);
    EXPECT_TRUE(t.s.backend.PendingSteps() == 0);
}

TEST(WholeColumns, NonNumericStepIsAskedAgainAndTheGridScrollsPastTen) {
    Editing t(12);
    frmAlgo& algo = t.OpenFromMenu();
    t.s.backend.AnswerInput(kSteps, "x");   // step 0.1: asked again
    for (int i = 1; i <= 12; ++i) t.s.backend.AnswerInput(kSteps, "0.3");
    t.s.backend.Click("frmAlgo.mnuStep");
    EXPECT_EQ(t.s.backend.inputPrompts.size(), 13u);
    EXPECT_EQ(t.s.backend.inputPrompts[0], "Enter new step size for parameter #1");
    for (int i = 1; i <= 12; ++i) EXPECT_EQ(t.app.eng.par.StepSize(i), 0.3);
    EXPECT_EQ(algo.grdVS.TopRow, 3);
}

TEST(WholeColumns, FusePromptsStoreCapitalCodesOnly) {
    Editing t(4);
    t.OpenFromMenu();
    t.s.backend.AnswerInput(kFuses, "b");
    t.s.backend.AnswerInput(kFuses, "abc");
    t.s.backend.AnswerInput(kFuses, " a");
    t.s.backend.AnswerInput(kFuses, "~");
    t.s.backend.AnswerInput(kFuses, "ab");
    t.s.backend.AnswerInput(kFuses, "~~");
    t.s.backend.AnswerInput(kFuses, "b");
    t.s.backend.ClickCell("frmAlgo.grdVS", 0, 3, true);
    auto& code = t.app.eng.par.FuseCode;
    EXPECT_EQ(code(1), "B");
    EXPECT_EQ(code(2), "AB");
    EXPECT_EQ(code(3), "~~");
    EXPECT_EQ(t.Fore(3, 3), QBColor(0));
    EXPECT_EQ(code(4), "B");
    EXPECT_EQ(t.Cell(4, 3), "B");
    EXPECT_EQ(t.Fore(4, 3), QBColor(12));
}

TEST(WholeColumns, UnfuseAllMarksEveryCodeButKeepsTheSimplex) {
    Editing t(3);
    t.app.eng.par.FuseCode(1) = "A";
    t.app.eng.par.FuseCode(2) = "A";
    t.OpenFromMenu();
    t.app.eng.SimplexValid = 1;
    t.s.backend.Click("frmAlgo.mnuUnFuse");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(t.app.eng.par.FuseCode(i), "~~");
        EXPECT_EQ(t.Fore(i, 3), QBColor(12));
        EXPECT_EQ(t.app.form<frmAlgo>().grdVS.CellBackColor(i, 3), -1);
    }
    EXPECT_EQ(t.app.eng.SimplexValid, 1);
}

TEST(WholeColumns, ProportionPromptCancelKeepsTheEditorOpen) {
    Editing t;
    t.OpenFromMenu();
    t.s.backend.AnswerInput(kProp, "x");
    t.s.backend.AnswerInput(kProp, "0");
    t.s.backend.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.1);
    t.s.backend.AnswerInput(kProp, "0.05");
    t.s.backend.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.05);
    t.s.backend.CancelInput(kProp);
    t.s.backend.Click("frmAlgo.mnuFraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.05);
    EXPECT_TRUE(t.app.IsLoaded<frmAlgo>());
}

TEST(EditAll, DialogDisablesTheEditorUntilItCloses) {
    Editing t;
    t.OpenFromMenu();
    t.app.eng.SimplexValid = 1;
    t.s.backend.ClickCell("frmAlgo.grdVS", 0, 1, true);
    EXPECT_TRUE(t.app.IsLoaded<frmEditVS>());
    EXPECT_FALSE(t.app.form<frmAlgo>().Enabled);
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    t.s.backend.AnswerInput(kProp, "0.5");
    t.s.backend.Click("frmEditVS.Change_Fraction");
    EXPECT_EQ(t.app.shell.StepProp, 0.5);
    EXPECT_FALSE(t.app.IsLoaded<frmEditVS>());
    EXPECT_TRUE(t.app.form<frmAlgo>().Enabled);
}

TEST(EditAll, ChangeAllGivesEveryParameterAPositiveStep) {
    Editing t;
    t.OpenFromMenu();
    const char* title = "Edit all parameter values";
    t.s.backend.Click("frmAlgo.mnuValue");
    t.s.backend.AnswerInput(kProp, "0");        // becomes 0.1
    t.s.backend.AnswerInput(title, "1");        // the value shown: unchanged
    t.s.backend.AnswerInput(title, "0");        // value 0 already
    t.s.backend.AnswerInput(title, "oops");     // asked again
    t.s.backend.AnswerInput(title, "3");
    t.s.backend.AnswerInput(title, "-2");
    t.s.backend.Click("frmEditVS.cmdProp");
    const ParameterSet& p = t.app.eng.par;
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));
    EXPECT_DOUBLE_EQ(p.StepSize(1), 0.1);
    EXPECT_DOUBLE_EQ(p.StepSize(2), 0.1);   // a fixed parameter becomes free
    EXPECT_EQ(t.Fore(2, 2), QBColor(12));
    EXPECT_EQ(p.ParValue(3), 3);
    EXPECT_EQ(t.Fore(3, 1), QBColor(12));
    EXPECT_DOUBLE_EQ(p.StepSize(3), 0.3);
    EXPECT_DOUBLE_EQ(p.StepSize(4), 0.2);
    EXPECT_TRUE(t.app.form<frmAlgo>().Enabled);
}

TEST(EditAll, ChangeFreeSkipsFixedParametersAndKeepsTheSign) {
    Editing t;
    t.OpenFromMenu();
    const char* title = "Edit free parameter values";
    t.s.backend.Click("frmAlgo.mnuValue");
    t.s.backend.CancelInput(kProp);             // keeps 0.1
    t.s.backend.AnswerInput(title, "2");
    t.s.backend.AnswerInput(title, "1.5");
    t.s.backend.AnswerInput(title, "-3");
    t.s.backend.Click("frmEditVS.cmdFree");
    const ParameterSet& p = t.app.eng.par;
    EXPECT_EQ(t.s.backend.inputPrompts.size(), 4u);
    EXPECT_EQ(t.s.backend.inputPrompts[1], "Enter the new value of parameter #1");
    EXPECT_DOUBLE_EQ(p.StepSize(1), 0.2);
    EXPECT_EQ(p.StepSize(2), 0);
    EXPECT_DOUBLE_EQ(p.StepSize(4), -0.3);
}

TEST(EditAll, CancelPartWayKeepsEarlierEditsOnly) {
    Editing t(8);
    frmAlgo& algo = t.OpenFromMenu();
    const char* title = "Edit a parameter value";
    t.s.backend.Click("frmAlgo.mnuValue");
    for (int i = 1; i <= 4; ++i) t.s.backend.AnswerInput(title, std::to_string(10 + i));
    t.s.backend.CancelInput(title);
    t.s.backend.Click("frmEditVS.cmdNoProp");
    const ParameterSet& p = t.app.eng.par;
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(p.ParValue(i), 10 + i);
    EXPECT_EQ(p.ParValue(5), 1);
    EXPECT_EQ(t.Fore(5, 1), QBColor(1));
    EXPECT_EQ(algo.grdVS.CellBackColor(5, 1), -1);
    EXPECT_EQ(p.ParValue(8), -2);
    EXPECT_EQ(p.StepSize(1), 0.1);   // steps untouched
    EXPECT_FALSE(t.app.IsLoaded<frmEditVS>());
    EXPECT_TRUE(algo.Enabled);
}

TEST(EditAll, UnfuseKeepsTheDialogOpen) {
    Editing t(2);
    t.app.eng.par.FuseCode(2) = "C";
    t.OpenFromMenu();
    t.s.backend.Click("frmAlgo.mnuValue");
    t.s.backend.Click("frmEditVS.cmdUnFuse");
    EXPECT_EQ(t.app.eng.par.FuseCode(2), "~~");
    EXPECT_EQ(t.Fore(1, 3), QBColor(12));
    EXPECT_TRUE(t.app.IsLoaded<frmEditVS>());
}
