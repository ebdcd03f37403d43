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

TEST(AlgoEditor, LoadsFromTheGlobalsAndReturnsToTheMainMenu) {
    Editing t;
    t.app.eng.opt.ConvTol = -1E-04;
    t.app.shell.StepProp = 0;
    frmAlgo& algo = t.Open();
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
    EXPECT_EQ(algo.Caption, "Algorithm data file name is:  test.alg");
    EXPECT_EQ(t.app.shell.StepProp, 0.1);
    EXPECT_EQ(algo.grdVS.Rows, 5);
    EXPECT_EQ(t.Cell(1, 1) + "|" + t.Cell(2, 1) + "|" + t.Cell(2, 2) + "|" + t.Cell(3, 3) + "|" + t.Cell(4, 4),
              "1.0000E+00|0|0|~~|Parameter 4");
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));
    EXPECT_EQ(t.Fore(2, 1), QBColor(0));
    EXPECT_EQ(t.Fore(3, 3), QBColor(0));
    EXPECT_EQ(algo.lblAbsRel.Caption, "Relative tolerance for convergence (TC):");
    EXPECT_EQ(algo.txtAbsRel.Text, "1.000E-04");
    EXPECT_EQ(algo.txtMaxFunctions.Text, "9999");
    EXPECT_EQ(algo.txtFileFreq.Text, "0");
    EXPECT_FALSE(algo.txtFileFreq.Enabled);
    EXPECT_FALSE(algo.cmdCloseLog.Enabled);
    EXPECT_EQ(t.b.focus, "frmAlgo.cmdFinish");
    t.app.sw.FormClosed = platform::False;
    t.Finish();
    EXPECT_TRUE(t.app.form<frmMenu>().cmdSimplex.Enabled);
    EXPECT_EQ(t.app.sw.AlgoFromMenu, "off");
    EXPECT_EQ(t.app.sw.FormClosed, platform::True);
}

TEST(AlgoEditor, RankingOpenerGetsOnlyTheGridAndItsFocusBack) {
    Editing t;
    frmRank& rank = t.app.form<frmRank>();
    t.app.sw.RankOn = "on";
    for (int k = 4; k <= 9; ++k) t.app.shell.AlgoColOn(k) = 1;
    ShowAlgorithmEditor(t.app);
    frmAlgo& algo = t.app.form<frmAlgo>();
    EXPECT_EQ(t.Cell(1, 1), "1.0000E+00");
    EXPECT_EQ(algo.txtMaxFunctions.Text, "");
    EXPECT_FALSE(algo.txtMaxFunctions.Enabled);
    EXPECT_FALSE(algo.cmdOpenLog.Enabled);
    t.Finish();
    EXPECT_TRUE(rank.Visible());
    EXPECT_EQ(t.b.focus, "frmRank.cmdAICc");
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
}

TEST(AlgoEditor, CovarianceOpenerWaitsUntilTheEditorCloses) {
    Editing t;
    t.app.sw.AlgoFromCov = "on";
    t.app.sw.FormClosed = platform::False;
    ShowAlgorithmEditor(t.app);
    EXPECT_FALSE(t.app.form<frmAlgo>().cmdOpenLog.Enabled);
    t.b.AnswerMsgBox("Just so you know", vbOK);
    platform::headless::Step finish;
    finish.target = "frmAlgo.cmdFinish";
    t.b.AtDoEvents(25, finish);
    int polls = 0;
    for (; !t.app.sw.FormClosed && polls < 1000; ++polls) t.s.ui.DoEvents();
    EXPECT_EQ(polls, 25);
    EXPECT_EQ(t.app.sw.AlgoFromCov, "off");
}

TEST(AlgoEditor, ValueCellDerivesTheStepFromTheProportion) {
    Editing t;
    t.Open();
    t.app.eng.SimplexValid = 1;
    t.app.sw.CovDone = "on";
    t.app.sw.OptimisticSEs = platform::True;
    t.EditCell(2, 1, "2.5");
    EXPECT_EQ(t.par.ParValue(2), 2.5);
    EXPECT_DOUBLE_EQ(t.par.StepSize(2), 0.25);
    EXPECT_EQ(t.Cell(2, 2), "2.5000E-01");
    EXPECT_EQ(t.Fore(2, 1), QBColor(12));
    EXPECT_EQ(t.Fore(2, 2), QBColor(12));
    EXPECT_EQ(t.app.eng.SimplexValid, 0);
    EXPECT_EQ(t.app.sw.CovDone, "off");
    EXPECT_EQ(t.app.sw.OptimisticSEs, platform::False);
    t.EditCell(4, 1, "-4");
    EXPECT_DOUBLE_EQ(t.par.StepSize(4), 0.4);
    t.EditCell(3, 1, "0");
    EXPECT_EQ(t.Cell(3, 1), "0");
    EXPECT_DOUBLE_EQ(t.par.StepSize(3), 0.1);
    // The same value keeps its colour; the step is still recomputed.
    t.app.shell.StepProp = 0.2;
    t.EditCell(1, 1, "1");
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));
    EXPECT_DOUBLE_EQ(t.par.StepSize(1), 0.2);
    // Empty or non-numeric entries change nothing.
    t.EditCell(1, 1, "");
    t.EditCell(1, 2, "abc");
    EXPECT_EQ(t.par.ParValue(1), 1);
    EXPECT_EQ(t.Cell(1, 2), "2.0000E-01");
}

TEST(AlgoEditor, FuseCellsKeepOnlyCodesThatReadBackAsTheSameGroup) {
    Editing t;
    t.Open();
    t.EditCell(1, 3, "a");
    t.EditCell(2, 3, "  b ");
    t.EditCell(3, 3, "ab");
    EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2) + t.par.FuseCode(3), "ABAB");
    EXPECT_EQ(t.Fore(1, 3), QBColor(12));
    for (const char* bad : {"1A", "~A", "A1", "ABC", ""}) {
        t.EditCell(3, 3, bad);
        EXPECT_EQ(t.par.FuseCode(3), "AB") << bad;
    }
    t.EditCell(3, 3, "~");
    EXPECT_EQ(t.Cell(3, 3), "~~");
}

TEST(AlgoEditor, PendingCellEditIsKeptWhenTheWindowCloses) {
    Editing t;
    t.Open();
    t.b.ClickCell("frmAlgo.grdVS", 2, 2, true);
    t.b.Type("frmAlgo.txtValue", "0.5");
    t.Finish();
    EXPECT_EQ(t.par.StepSize(2), 0.5);
}

TEST(AlgoEditor, WholeNumberOptionsAreRoundedAndRangeChecked) {
    Editing t;
    frmAlgo& algo = t.Open();
    auto enter = [&](platform::TextBox& box, const char* text) {
        t.b.Type("frmAlgo." + box.name, text);
        box.OnLostFocus();
    };
    enter(algo.txtMaxFunctions, "12.6");
    EXPECT_EQ(t.app.eng.opt.MaxCalls, 13);
    EXPECT_EQ(algo.txtMaxFunctions.Text, "12.6");
    t.b.AnswerMsgBox("Change the maximum # of function calls", vbOK);
    enter(algo.txtMaxFunctions, "-5");
    EXPECT_EQ(t.LastMsg().text, "Maximum number of functions must be positive");
    EXPECT_EQ(algo.txtMaxFunctions.Text, "13");
    enter(algo.txtMaxFunctions, "abc");   // silently put back
    EXPECT_EQ(algo.txtMaxFunctions.Text, "13");
    // Beyond the field's range: refused and asked for again.
    t.b.AnswerMsgBox("Change the maximum # of function calls", vbOK);
    enter(algo.txtMaxFunctions, "3E9");
    EXPECT_EQ(t.app.eng.opt.MaxCalls, 13);
    EXPECT_EQ(t.b.focus, "frmAlgo.txtMaxFunctions");
    t.b.AnswerMsgBox("Change the terminal display frequency", vbOK);
    enter(algo.txtTerminalFreq, "32767.5");
    EXPECT_EQ(algo.txtTerminalFreq.Text, "10");
    enter(algo.txtTerminalFreq, "2.5");
    EXPECT_EQ(t.app.eng.opt.TerminalFreq, 2);
    EXPECT_EQ(t.b.msgBoxes.size(), 3u);
}

TEST(AlgoEditor, ToleranceDialogKeepsTheFloorAndTheChosenType) {
    Editing t;
    frmAlgo& algo = t.Open();
    double& tol = t.app.eng.opt.ConvTol;
    const char* title = "Change the tolerance for convergence";
    auto ask = [&](int yesNo, const char* answer) {
        t.b.AnswerMsgBox(title, yesNo);
        if (answer) t.b.AnswerInput(title, answer);
        else t.b.CancelInput(title);
        t.b.Click("frmAlgo.txtAbsRel");
    };
    ask(vbYes, "0.001");
    EXPECT_DOUBLE_EQ(tol, -0.001);
    EXPECT_EQ(algo.lblAbsRel.Caption, "Relative tolerance for convergence (TC):");
    EXPECT_EQ(t.b.inputPrompts.back(), "Current tolerance is 1.0E-06  (Minimum allowed is 1E-06)");
    ask(vbNo, "1E-09");
    EXPECT_DOUBLE_EQ(tol, -1E-06);
    ask(vbYes, "-0.001");
    EXPECT_DOUBLE_EQ(tol, 0.001);
    ask(vbYes, nullptr);
    EXPECT_DOUBLE_EQ(tol, 0.001);
    ask(vbYes, "0");
    EXPECT_EQ(tol, 0);
    EXPECT_EQ(algo.lblAbsRel.Caption, "Absolute tolerance for convergence (TC):");
    // A mistyped tolerance is asked for again rather than read as 0.
    t.b.AnswerMsgBox(title, vbNo);
    t.b.AnswerInput(title, "abc");
    t.b.AnswerInput(title, "2E-05");
    t.b.Click("frmAlgo.txtAbsRel");
    EXPECT_EQ(algo.txtAbsRel.Text, "2.000E-05");
}

TEST(AlgoEditor, LogOpenAsksBeforeOverwritingAndCloseStopsLogging) {
    Editing t;
    t.Open();
    const std::string path = Temp("editor_log.tvl");
    t.b.CancelFile();
    t.b.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.app.shell.LogFileOpen, 0);
    EXPECT_TRUE(t.b.dialogs.back().save);
    EXPECT_EQ(t.b.dialogs.back().flags & platform::cdlOFNOverwritePrompt, platform::cdlOFNOverwritePrompt);
    t.b.ChooseFile(path);
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.LastMsg().text, "The log file " + path + " is now open for output");
    EXPECT_EQ(t.app.eng.opt.FileFreq, 10);
    EXPECT_TRUE(t.s.ui.files.IsOpen(203));
    // The log outlives the window.
    t.Finish();
    frmAlgo& again = t.Open();
    EXPECT_EQ(again.txtFileName.Text, path);
    EXPECT_EQ(again.txtFileFreq.Text, "10");
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdCloseLog");
    EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
    EXPECT_EQ(again.txtFileFreq.Text, "0");
    EXPECT_FALSE(t.s.ui.files.IsOpen(203));
}

TEST(AlgoEditor, LogThatCannotBeOpenedLeavesLoggingOff) {
    Editing t;
    frmAlgo& algo = t.Open();
    t.b.ChooseFile(Temp("no_such_folder/x.tvl"));
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.LastMsg().style, 48);
    EXPECT_EQ(t.app.shell.LogFileOpen, 0);
    EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
    EXPECT_TRUE(algo.cmdOpenLog.Enabled);
    EXPECT_FALSE(t.s.ui.files.IsOpen(203));
}

TEST(AlgoEditor, TextChecksAcceptNumbersAndCapitalCodesOnly) {
    for (const char* yes : {"1", " -2.5 ", "+.5", "1E-07", "3d2"}) EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", ".", "abc", "1,5", "12abc", "1E", "1E400"}) EXPECT_FALSE(IsNumeric(no)) << no;
    for (const char* yes : {"A", "ZZ", "~~"}) EXPECT_TRUE(IsValidFuseCode(yes)) << yes;
    for (const char* no : {"", "a", "~", " A", "1A", "ABC"}) EXPECT_FALSE(IsValidFuseCode(no)) << no;
}
