// The algorithm editor: loading, cell editing, options, the log and the
// return to whichever window opened it.
#include "ShellTestSupport.h"

#include "platform/files.h"
#include "shell/AlgoEditor.h"

using namespace tivelor;
using namespace shelltest;

namespace {

// Stands in for the ranking window, which the editor returns to.
class frmRank : public platform::Form {
public:
    static constexpr const char* kName = "frmRank";
    explicit frmRank(App& app) : Form(app.ui, kName, "Rank", platform::FormKind::MdiChild, 5000, 3000) {}
    platform::CommandButton cmdAICc{*this, "cmdAICc", "Calculate model AICc", 100, 100, 2000, 400};
};

}  // namespace

TEST(AlgoEditor, LoadFillsGridAndOptionsFromTheGlobals) {
    Editing t;
    t.app.eng.opt.ConvTol = -1E-04;
    t.app.shell.StepProp = 0;
    frmAlgo& algo = t.OpenFromMenu();
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
    EXPECT_EQ(algo.Caption, "Algorithm data file name is:  test.alg");
    EXPECT_EQ(t.app.shell.StepProp, 0.1);
    EXPECT_EQ(algo.grdVS.Rows, 5);
    EXPECT_EQ(t.Cell(0, 4), "Parameter description [null value; valid values]");
    EXPECT_EQ(t.Cell(1, 1), "1.0000E+00");
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));
    EXPECT_EQ(t.Cell(2, 1), "0");
    EXPECT_EQ(t.Fore(2, 1), QBColor(0));
    EXPECT_EQ(t.Cell(2, 2), "0");
    EXPECT_EQ(t.Cell(3, 3), "~~");
    EXPECT_EQ(t.Fore(3, 3), QBColor(0));
    EXPECT_EQ(t.Cell(4, 4), "Parameter 4");
    EXPECT_EQ(algo.lblAbsRel.Caption, "Relative tolerance for convergence (TC):");
    EXPECT_EQ(algo.txtAbsRel.Text, "1.000E-04");
    EXPECT_EQ(algo.txtMaxFunctions.Text, "9999");
    EXPECT_TRUE(algo.txtMaxFunctions.Enabled);
    EXPECT_EQ(algo.txtFileFreq.Text, "0");
    EXPECT_FALSE(algo.txtFileFreq.Enabled);
    EXPECT_TRUE(algo.cmdOpenLog.Enabled);
    EXPECT_FALSE(algo.cmdCloseLog.Enabled);
    EXPECT_EQ(t.s.backend.focus, "frmAlgo.cmdFinish");
}

TEST(AlgoEditor, NoParametersShowsOnlyTheHeadingAndIgnoresDoubleClicks) {
    Editing t(0);
    frmAlgo& algo = t.OpenFromMenu();
    EXPECT_EQ(algo.grdVS.Rows, 1);
    t.s.backend.ClickCell("frmAlgo.grdVS", 0, 4, true);
    EXPECT_FALSE(algo.txtValue.Visible);
}

TEST(AlgoEditor, ReturnsToTheMainMenuAndTellsWaitingCallers) {
    Editing t;
    t.OpenFromMenu();
    t.app.sw.FormClosed = platform::False;
    t.Finish();
    EXPECT_EQ(t.LastMsgTitle(), "Just so you know");
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
    EXPECT_TRUE(t.app.form<frmMenu>().cmdSimplex.Enabled);
    EXPECT_EQ(t.app.sw.AlgoFromMenu, "off");
    EXPECT_EQ(t.app.sw.FormClosed, platform::True);
    EXPECT_FALSE(t.app.IsLoaded<frmAlgo>());
}

TEST(AlgoEditor, RankingOpenerGetsOnlyTheGridAndItsFocusBack) {
    Editing t;
    frmRank& rank = t.app.form<frmRank>();
    rank.Show();
    t.app.sw.RankOn = "on";
    for (int k = 4; k <= 9; ++k) t.app.shell.AlgoColOn(k) = 1;
    rank.Hide();
    ShowAlgorithmEditor(t.app);
    frmAlgo& algo = t.app.form<frmAlgo>();
    EXPECT_EQ(t.Cell(1, 1), "1.0000E+00");
    EXPECT_EQ(algo.txtMaxFunctions.Text, "");
    EXPECT_FALSE(algo.txtMaxFunctions.Enabled);
    EXPECT_FALSE(algo.fraLog.Enabled);
    EXPECT_FALSE(algo.cmdOpenLog.Enabled);
    t.Finish();
    EXPECT_TRUE(rank.Visible());
    EXPECT_EQ(t.s.backend.focus, "frmRank.cmdAICc");
    EXPECT_EQ(t.app.sw.RankOn, "on");
}

TEST(AlgoEditor, CovarianceOpenerWaitsUntilTheEditorCloses) {
    Editing t;
    t.app.sw.AlgoFromCov = "on";
    t.app.sw.FormClosed = platform::False;
    ShowAlgorithmEditor(t.app);
    EXPECT_FALSE(t.app.form<frmAlgo>().cmdOpenLog.Enabled);
    t.s.backend.AnswerMsgBox("Just so you know", platform::vbOK);
    platform::headless::Step finish;
    finish.kind = platform::headless::Step::Click;
    finish.target = "frmAlgo.cmdFinish";
    t.s.backend.AtDoEvents(25, finish);
    int polls = 0;
    while (!t.app.sw.FormClosed && polls < 1000) {
        t.s.ui.DoEvents();
        ++polls;
    }
    EXPECT_EQ(polls, 25);
    EXPECT_EQ(t.app.sw.AlgoFromCov, "off");
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
}

TEST(AlgoEditor, ValueCellDerivesTheStepFromTheProportion) {
    Editing t;
    t.OpenFromMenu();
    t.app.eng.SimplexValid = 1;
    t.app.sw.CovDone = "on";
    t.app.sw.OptimisticSEs = platform::True;
    t.EditCell(2, 1, "2.5");
    EXPECT_EQ(t.app.eng.par.ParValue(2), 2.5);
    EXPECT_DOUBLE_EQ(t.app.eng.par.StepSize(2), 0.25);
    EXPECT_EQ(t.Cell(2, 2), "2.5000E-01");
    EXPECT_EQ(t.Fore(2, 1), QBColor(12));
    EXPECT_EQ(t.Fore(2, 2), QBColor(12));
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    EXPECT_EQ(t.app.sw.CovDone, "off");
    EXPECT_EQ(t.app.sw.OptimisticSEs, platform::False);

    t.EditCell(4, 1, "-4");
    EXPECT_DOUBLE_EQ(t.app.eng.par.StepSize(4), 0.4);
    t.EditCell(3, 1, "0");
    EXPECT_EQ(t.Cell(3, 1), "0");
    EXPECT_DOUBLE_EQ(t.app.eng.par.StepSize(3), 0.1);

    // The same value again keeps its colour; the step is still recomputed.
    t.app.shell.StepProp = 0.2;
    t.EditCell(1, 1, "1");
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));
    EXPECT_DOUBLE_EQ(t.app.eng.par.StepSize(1), 0.2);
    EXPECT_EQ(t.Fore(1, 2), QBColor(12));

    // Empty or non-numeric entries change nothing.
    t.EditCell(1, 1, "");
    t.EditCell(1, 2, "abc");
    EXPECT_EQ(t.app.eng.par.ParValue(1), 1);
    EXPECT_DOUBLE_EQ(t.app.eng.par.StepSize(1), 0.2);
    EXPECT_EQ(t.Cell(1, 2), "2.0000E-01");
}

TEST(AlgoEditor, FuseCellsKeepOnlyCodesThatReadBackAsTheSameGroup) {
    Editing t;
    t.OpenFromMenu();
    auto& code = t.app.eng.par.FuseCode;
    t.EditCell(1, 3, "a");
    EXPECT_EQ(code(1), "A");
    EXPECT_EQ(t.Fore(1, 3), QBColor(12));
    t.EditCell(2, 3, "  b ");
    EXPECT_EQ(code(2), "B");
    t.EditCell(3, 3, "ab");
    EXPECT_EQ(code(3), "AB");
    for (const char* bad : {"1A", "~A", "A1", "ABC", ""}) {
        t.EditCell(3, 3, bad);
        EXPECT_EQ(code(3), "AB") << bad;
    }
    t.EditCell(3, 3, "~");
    EXPECT_EQ(code(3), "~~");
    EXPECT_EQ(t.Cell(3, 3), "~~");
}

TEST(AlgoEditor, PendingCellEditIsKeptWhenTheWindowCloses) {
    Editing t;
    t.OpenFromMenu();
    t.s.backend.ClickCell("frmAlgo.grdVS", 2, 2, true);
    t.s.backend.Type("frmAlgo.txtValue", "0.5");
    t.Finish();
    EXPECT_EQ(t.app.eng.par.StepSize(2), 0.5);
}

TEST(AlgoEditor, WholeNumberOptionsAreRoundedAndRangeChecked) {
    Editing t;
    frmAlgo& algo = t.OpenFromMenu();
    t.s.backend.Type("frmAlgo.txtMaxFunctions", "12.6");
    algo.txtMaxFunctions_LostFocus();
    EXPECT_EQ(t.app.eng.opt.MaxCalls, 13);
    EXPECT_EQ(algo.txtMaxFunctions.Text, "12.6");

    t.s.backend.AnswerMsgBox("Change the maximum # of function calls", platform::vbOK);
    t.s.backend.Type("frmAlgo.txtMaxFunctions", "-5");
    algo.txtMaxFunctions_LostFocus();
    EXPECT_EQ(t.s.backend.msgBoxes.back().text, "Maximum number of functions must be positive");
    EXPECT_EQ(algo.txtMaxFunctions.Text, "13");

    std::size_t shown = t.s.backend.msgBoxes.size();
    t.s.backend.Type("frmAlgo.txtMaxFunctions", "abc");
    algo.txtMaxFunctions_LostFocus();
    EXPECT_EQ(t.s.backend.msgBoxes.size(), shown);
    EXPECT_EQ(algo.txtMaxFunctions.Text, "13");

    // Beyond the field's range: refused and asked for again.
    t.s.backend.AnswerMsgBox("Change the maximum # of function calls", platform::vbOK);
    t.s.backend.Type("frmAlgo.txtMaxFunctions", "3E9");
    algo.txtMaxFunctions_LostFocus();
    EXPECT_EQ(t.app.eng.opt.MaxCalls, 13);
    EXPECT_EQ(t.s.backend.focus, "frmAlgo.txtMaxFunctions");
    t.s.backend.AnswerMsgBox("Change the terminal display frequency", platform::vbOK);
    t.s.backend.Type("frmAlgo.txtTerminalFreq", "32767.5");
    algo.txtTerminalFreq_LostFocus();
    EXPECT_EQ(t.app.eng.opt.TerminalFreq, 10);
    EXPECT_EQ(algo.txtTerminalFreq.Text, "10");
    t.s.backend.Type("frmAlgo.txtTerminalFreq", "2.5");
    algo.txtTerminalFreq_LostFocus();
    EXPECT_EQ(t.app.eng.opt.TerminalFreq, 2);

    t.s.backend.Type("frmAlgo.txtReduction", "0");
    algo.txtReduction_LostFocus();
    EXPECT_EQ(t.app.eng.opt.StepReduction, 0);
}

TEST(AlgoEditor, ToleranceDialogKeepsTheFloorAndTheChosenType) {
    Editing t;
    frmAlgo& algo = t.OpenFromMenu();
    double& tol = t.app.eng.opt.ConvTol;
    const char* title = "Change the tolerance for convergence";
    auto ask = [&](int yesNo, const char* answer) {
        t.s.backend.AnswerMsgBox(title, yesNo);
        if (answer) t.s.backend.AnswerInput(title, answer);
        else t.s.backend.CancelInput(title);
        t.s.backend.Click("frmAlgo.txtAbsRel");
    };
    ask(platform::vbYes, "0.001");
    EXPECT_DOUBLE_EQ(tol, -0.001);
    EXPECT_EQ(algo.lblAbsRel.Caption, "Relative tolerance for convergence (TC):");
    EXPECT_EQ(t.s.backend.inputPrompts.back(), "Current tolerance is 1.0E-06  (Minimum allowed is 1E-06)");
    ask(platform::vbNo, "1E-09");
    EXPECT_DOUBLE_EQ(tol, -1E-06);
    ask(platform::vbYes, "-0.001");
    EXPECT_DOUBLE_EQ(tol, 0.001);
    ask(platform::vbNo, "5E-07");
    EXPECT_DOUBLE_EQ(tol, 1E-06);
    ask(platform::vbYes, nullptr);
    EXPECT_DOUBLE_EQ(tol, 1E-06);
    ask(platform::vbYes, "0");
    EXPECT_EQ(tol, 0);
    EXPECT_EQ(algo.lblAbsRel.Caption, "Absolute tolerance for convergence (TC):");
    // A mistyped tolerance is asked for again rather than read as 0.
    t.s.backend.AnswerMsgBox(title, platform::vbNo);
    t.s.backend.AnswerInput(title, "abc");
    t.s.backend.AnswerInput(title, "2E-05");
    t.s.backend.Click("frmAlgo.txtAbsRel");
    EXPECT_DOUBLE_EQ(tol, 2E-05);
    EXPECT_EQ(algo.txtAbsRel.Text, "2.000E-05");
}

TEST(AlgoEditor, LogOpenAsksBeforeOverwritingAndCloseStopsLogging) {
    Editing t;
    frmAlgo& algo = t.OpenFromMenu();
    const std::string path = Temp("editor_log.tvl");
    ASSERT_TRUE(platform::WriteWholeFileSafely(path, "old run\r\n"));

    t.s.backend.CancelFile();
    t.s.backend.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.app.shell.LogFileOpen, 0);
    EXPECT_TRUE(t.s.backend.dialogs.back().save);
    EXPECT_EQ(t.s.backend.dialogs.back().flags & platform::cdlOFNOverwritePrompt,
              platform::cdlOFNOverwritePrompt);
    EXPECT_EQ(t.s.backend.dialogs.back().defaultName, "minimize.tvl");

    t.s.backend.ChooseFile(path);
    t.s.backend.AnswerMsgBox("Log file management", platform::vbOK);
    t.s.backend.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.s.backend.msgBoxes.back().text, "The log file " + path + " is now open for output");
    EXPECT_EQ(t.app.eng.opt.FileFreq, 10);
    EXPECT_EQ(algo.txtFileFreq.Text, "10");
    EXPECT_TRUE(algo.txtFileFreq.Enabled);
    EXPECT_FALSE(algo.cmdOpenLog.Enabled);
    EXPECT_TRUE(t.s.ui.files.IsOpen(203));

    // The log outlives the window.
    t.Finish();
    frmAlgo& again = t.OpenFromMenu();
    EXPECT_EQ(again.txtFileName.Text, path);
    EXPECT_TRUE(again.cmdCloseLog.Enabled);

    t.s.backend.AnswerMsgBox("Log file management", platform::vbOK);
    t.s.backend.Click("frmAlgo.cmdCloseLog");
    EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
    EXPECT_EQ(again.txtFileFreq.Text, "0");
    EXPECT_FALSE(t.s.ui.files.IsOpen(203));
    EXPECT_EQ(t.app.eng.opt.LogFileName, path);
}

TEST(AlgoEditor, LogThatCannotBeOpenedLeavesLoggingOff) {
    Editing t;
    frmAlgo& algo = t.OpenFromMenu();
    t.s.backend.ChooseFile(Temp("no_such_folder/x.tvl"));
    t.s.backend.AnswerMsgBox("Log file management", platform::vbOK);
    t.s.backend.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.s.backend.msgBoxes.back().style, 48);
    EXPECT_EQ(t.app.shell.LogFileOpen, 0);
    EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
    EXPECT_TRUE(algo.cmdOpenLog.Enabled);
    EXPECT_FALSE(algo.cmdCloseLog.Enabled);
    EXPECT_FALSE(t.s.ui.files.IsOpen(203));
}

TEST(AlgoEditor, TextChecksAcceptNumbersAndCapitalCodesOnly) {
    for (const char* yes : {"1", " -2.5 ", "+.5", "1E-07", "3d2", "7."}) EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", ".", "abc", "1,5", "12abc", "1E", "1E400", "- 1"}) EXPECT_FALSE(IsNumeric(no)) << no;
    for (const char* yes : {"A", "ZZ", "~~"}) EXPECT_TRUE(IsValidFuseCode(yes)) << yes;
    for (const char* no : {"", "a", "~", " A", "1A", "ABC", "~A"}) EXPECT_FALSE(IsValidFuseCode(no)) << no;
}
