// The algorithm editor (loading, the return to each opener, cell edits,
// options, the log) and the quit sequence.
#include "ShellTestSupport.h"

#include <filesystem>

#include "engine/ProgressText.h"
#include "platform/files.h"
#include "shell/AlgoEditor.h"
#include "tests/support/FileSizeLimit.h"

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

TEST(AlgoEditor, LoadsFromTheGlobalsAndReturnsToEachOpener) {
    Editing t;
    t.app.eng.opt.ConvTol = -1E-04;
    t.app.shell.StepProp = 0;
    for (int k = 1; k <= 9; ++k) t.app.shell.AlgoColOn(k) = 1;   // the main menu offers everything
    frmAlgo& algo = t.Open();
    EXPECT_EQ(algo.Caption, "Algorithm data file name is:  test.alg");
    EXPECT_EQ(t.app.shell.StepProp, 0.1);
    EXPECT_EQ(t.Cell(1, 1) + "|" + t.Cell(2, 1) + "|" + t.Cell(2, 2) + "|" + t.Cell(3, 3) + "|" + t.Cell(4, 4),
              "1.0000E+00|0|0|~~|Parameter 4");
    EXPECT_EQ(std::vector<std::int32_t>({t.Fore(1, 1), t.Fore(2, 1), t.Fore(3, 3)}),
              std::vector<std::int32_t>({QBColor(1), QBColor(0), QBColor(0)}));
    EXPECT_EQ(algo.lblAbsRel.Caption, "Relative tolerance for convergence (TC):");
    EXPECT_EQ(algo.txtAbsRel.Text() + "|" + algo.txtReduction.Text(), "1.000E-04|0.1");
    EXPECT_EQ(t.b.focus, "frmAlgo.cmdFinish");
    t.app.sw.FormClosed = platform::False;
    t.Finish();
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
    EXPECT_EQ(t.app.sw.AlgoFromMenu, "off");
    EXPECT_EQ(t.app.sw.FormClosed, platform::True);

    // The ranking window offers only the grid and gets its focus back.
    frmRank& rank = t.app.form<frmRank>();
    t.app.form<frmMenu>().Hide();
    t.app.sw.RankOn = "on";
    for (int k = 4; k <= 9; ++k) t.app.shell.AlgoColOn(k) = 1;
    ShowAlgorithmEditor(t.app);
    EXPECT_EQ(t.app.form<frmAlgo>().txtMaxFunctions.Text, "");
    EXPECT_FALSE(t.app.form<frmAlgo>().txtMaxFunctions.Enabled || t.app.form<frmAlgo>().cmdOpenLog.Enabled);
    t.Finish();
    EXPECT_TRUE(rank.Visible());
    EXPECT_EQ(t.b.focus, "frmRank.cmdAICc");
    EXPECT_FALSE(t.app.form<frmMenu>().Visible());

    // A covariance set-up waits for FormClosed.
    t.app.sw.RankOn = "off";
    t.app.sw.AlgoFromCov = "on";
    t.app.sw.FormClosed = platform::False;
    ShowAlgorithmEditor(t.app);
    EXPECT_FALSE(t.app.form<frmAlgo>().cmdOpenLog.Enabled);
    t.Finish();
    EXPECT_EQ(t.app.sw.FormClosed, platform::True);
    EXPECT_EQ(t.app.sw.AlgoFromCov, "off");
}

TEST(AlgoEditor, CellEditsDeriveTheStepAndKeepOnlyCodesThatReadBackAsTheSameGroup) {
    Editing t;
    t.Open();
    for (auto [row, text, step] : {std::tuple{2, "2.5", 0.25}, {4, "-4", 0.4}, {3, "0", 0.1}}) {
        t.EditCell(row, 1, text);
        EXPECT_DOUBLE_EQ(t.par.StepSize(row), step) << text;
    }
    EXPECT_EQ(t.Cell(2, 2) + "|" + t.Cell(3, 1), "2.5000E-01|0");
    EXPECT_EQ(t.Fore(2, 1) + t.Fore(2, 2), 2 * QBColor(12));
    // The same value keeps its colour; the step is still recomputed.
    t.app.shell.StepProp = 0.2;
    t.EditCell(1, 1, "1");
    EXPECT_EQ(t.Fore(1, 1), QBColor(1));
    EXPECT_DOUBLE_EQ(t.par.StepSize(1), 0.2);
    t.EditCell(1, 1, "");   // empty or not numeric: nothing changes
    t.EditCell(1, 2, "abc");
    EXPECT_DOUBLE_EQ(t.par.ParValue(1) + t.par.StepSize(1), 1.2);

    for (auto [row, text] : {std::pair{1, "a"}, {2, "  b "}, {3, "ab"}}) t.EditCell(row, 3, text);
    EXPECT_EQ(t.par.FuseCode(1) + t.par.FuseCode(2) + t.par.FuseCode(3), "ABAB");
    EXPECT_EQ(t.Fore(1, 3), QBColor(12));
    for (const char* bad : {"1A", "~A", "A1", "ABC", ""}) {
        t.EditCell(3, 3, bad);
        EXPECT_EQ(t.par.FuseCode(3), "AB") << bad;
    }
    t.EditCell(3, 3, "~");
    EXPECT_EQ(t.Cell(3, 3), "~~");
}

TEST(AlgoEditor, OptionsTheToleranceFloorAndTheLog) {
    Editing t;
    frmAlgo& algo = t.Open();
    const struct {
        platform::TextBox* box;
        const char *text, *shown, *refusal;
    } entries[] = {
        {&algo.txtMaxFunctions, "12.6", "12.6", nullptr},   // MaxCalls 13
        {&algo.txtMaxFunctions, "-5", "13", "Maximum number of functions must be positive"},
        {&algo.txtMaxFunctions, "abc", "13", nullptr},
        {&algo.txtMaxFunctions, "3E9", "13", "The number is too large: the largest allowed is 2147483647"},
        {&algo.txtTerminalFreq, "32767.5", "10", "The number is too large: the largest allowed is 32767"},
        {&algo.txtTerminalFreq, "2.5", "2.5", nullptr},     // TerminalFreq 2
    };
    for (const auto& e : entries) {
        const std::size_t before = t.b.msgBoxes.size();
        if (e.refusal) t.b.AnswerMsgBox("", vbOK);
        t.b.Type("frmAlgo." + e.box->name, e.text);
        e.box->OnLostFocus();
        EXPECT_EQ(e.box->Text(), e.shown) << e.text;
        EXPECT_EQ(t.b.msgBoxes.size(), before + (e.refusal ? 1 : 0)) << e.text;
        if (e.refusal) { EXPECT_EQ(t.b.msgBoxes.back().text, e.refusal); }
    }
    EXPECT_EQ(t.app.eng.opt.MaxCalls * 100 + t.app.eng.opt.TerminalFreq, 1302);

    const char* title = "Change the tolerance for convergence";
    const struct {
        int yesNo;
        std::vector<const char*> answers;   // nullptr: Cancel
        double tol;
    } tolerances[] = {{vbYes, {"0.001"}, -0.001}, {vbNo, {"1E-09"}, -1E-06}, {vbYes, {"-0.001"}, 0.001},
                      {vbYes, {nullptr}, 0.001},  {vbYes, {"0"}, 0},         {vbNo, {"abc", "2E-05"}, 2E-05}};
    for (const auto& c : tolerances) {
        t.b.AnswerMsgBox(title, c.yesNo);
        for (const char* a : c.answers) a ? t.b.AnswerInput(title, a) : t.b.CancelInput(title);
        t.b.Click("frmAlgo.txtAbsRel");
        EXPECT_DOUBLE_EQ(t.app.eng.opt.ConvTol, c.tol);
        EXPECT_EQ(algo.lblAbsRel.Caption().substr(0, 8), c.tol < 0 ? "Relative" : "Absolute");
    }
    EXPECT_EQ(t.b.inputPrompts[0], "Current tolerance is 1.0E-06  (Minimum allowed is 1E-06)");
    EXPECT_EQ(algo.txtAbsRel.Text, "2.000E-05");
    for (const char* no : {".", "1,5", "12abc", "1E", "1E400"}) EXPECT_FALSE(platform::IsNumeric(no)) << no;

    // The log: a save dialog that asks before overwriting; a failed open logs nothing.
    t.b.ChooseFile(Temp("no_such_folder/x.tvl"));
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.b.msgBoxes.back().style, 48);
    EXPECT_EQ(t.b.dialogs.back().flags & platform::cdlOFNOverwritePrompt, platform::cdlOFNOverwritePrompt);
    EXPECT_EQ(t.app.shell.LogFileOpen + t.app.eng.opt.FileFreq, 0);
    EXPECT_FALSE(t.s.ui.files.IsOpen(203));
    const std::string path = Temp("editor_log.tvl");
    t.b.ChooseFile(path);
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdOpenLog");
    EXPECT_EQ(t.b.msgBoxes.back().text, "The log file " + path + " is now open for output");
    EXPECT_TRUE(t.s.ui.files.IsOpen(203));
    t.b.Click("frmAlgo.cmdCloseLog");
    EXPECT_EQ(t.b.msgBoxes.back().text, "The old log file " + path + " is now closed for input");
    EXPECT_EQ(t.app.eng.opt.FileFreq, 0);
    EXPECT_EQ(algo.txtFileFreq.Text, "0");
    EXPECT_FALSE(t.s.ui.files.IsOpen(203));
}

TEST(Quit, AsksAboutPriorsOnlyWhenOneIsSet) {
    for (const char* prior : {"U", "N"}) {
        Editing t;
        t.app.priors.PriorType(3) = prior;
        t.b.AnswerMsgBox("Exit Tivelor", vbYes);
        t.b.AnswerMsgBox("What about algorithm data?", vbNo);
        t.b.AnswerMsgBox("What about Bayesian priors?", vbYes);
        const std::string pri = Temp(std::string("quit_") + prior + ".pri");
        t.b.ChooseFile(pri);
        t.b.Click("frmMenu.cmdQuit");
        EXPECT_TRUE(t.b.Ended());
        std::string transcript;
        for (const auto& m : t.b.msgBoxes) transcript += std::to_string(m.style) + " " + m.title + "\n";
        EXPECT_EQ(transcript, std::string("292 Exit Tivelor\n36 What about algorithm data?\n") +
                                  (prior[0] == 'U' ? "" : "36 What about Bayesian priors?\n"));
        std::string text;
        EXPECT_EQ(platform::ReadWholeFile(pri, text), prior[0] == 'N');   // the main menu's save wrote it
        EXPECT_EQ(text.substr(0, 3), prior[0] == 'N' ? "4\r\n" : "");
    }
}

TEST(Quit, AFailedSaveKeepsTheProgramAndAnOpenLogIsClosedWithItsLastLinesOnDisk) {
    Editing t;
    t.Open();
    const std::string log = Temp("quit_log.tvl");
    t.b.ChooseFile(log);
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdOpenLog");
    ASSERT_TRUE(t.s.ui.files.Print(203, "last line"));
    t.b.AnswerMsgBox("Exit Tivelor", vbYes);
    t.b.AnswerMsgBox("What about algorithm data?", vbYes);
    t.b.ChooseFile(Temp("missing_folder/out.alg"));
    t.b.AnswerMsgBox("", vbOK);   // the save's own report
    t.b.AnswerMsgBox("Exit Tivelor", vbOK);
    t.b.Click("frmAlgo.mnuExit");
    EXPECT_FALSE(t.b.Ended());
    EXPECT_EQ(t.b.msgBoxes.back().text, "The algorithm data could not be saved, so Tivelor has not quit.");
    EXPECT_TRUE(t.app.IsLoaded<frmAlgo>());
    t.b.AnswerMsgBox("Exit Tivelor", vbYes);
    t.b.AnswerMsgBox("What about algorithm data?", vbNo);
    t.b.Click("frmAlgo.mnuExit");
    EXPECT_TRUE(t.b.Ended());
    std::string text;
    ASSERT_TRUE(platform::ReadWholeFile(log, text));
    EXPECT_EQ(text, "last line\r\n");
}

TEST(AlgoEditor, ALogThatCannotBeWrittenIsClosedAndToldOnceNeverReportedClosed) {
    const std::string log = Temp("full_disk.tvl");
    const std::string failed = "The log file " + log +
                               " could not be written.\r\n\r\nIt has been closed; the minimization log ends "
                               "before this point.";
    Editing t;
    t.Open();
    auto openFull = [&] {
        t.b.ChooseFile(log);
        t.b.AnswerMsgBox("Log file management", vbOK);
        t.b.Click("frmAlgo.cmdOpenLog");
        ASSERT_EQ(t.app.eng.opt.FileFreq, 10);
    };
    const testsupport::FileSizeLimit full(0);
    // A line of a run: told at the first line, nothing after it.
    openFull();
    t.b.AnswerMsgBox("Log file management", vbOK);
    const std::size_t before = t.b.msgBoxes.size();
    LogLine(t.app, "first");
    LogLine(t.app, "second");
    EXPECT_EQ(t.b.msgBoxes.size(), before + 1);
    EXPECT_EQ(std::make_tuple(t.b.msgBoxes.back().text, t.b.msgBoxes.back().style, t.app.shell.LogFileOpen,
                              t.app.eng.opt.FileFreq, t.s.ui.files.IsOpen(203)),
              std::make_tuple(failed, 48, 0, 0, false));
    // The editor, opened again, shows no log. Output that fails only when
    // the log is closed: not "now closed".
    t.Finish();
    frmAlgo& algo = t.Open();
    EXPECT_EQ(algo.txtFileName.Text() + "|" + algo.txtFileFreq.Text(), "|0");
    openFull();
    ASSERT_TRUE(t.s.ui.files.Print(203, "part", false));
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdCloseLog");
    EXPECT_EQ(t.b.msgBoxes.back().text, failed);
    EXPECT_EQ(std::make_tuple(t.app.shell.LogFileOpen, t.app.eng.opt.FileFreq, algo.cmdOpenLog.Enabled(),
                              algo.cmdCloseLog.Enabled()),
              std::make_tuple(0, 0, true, false));
}
