// The quit sequence from its doors, and the main-menu task buttons.
#include "ShellTestSupport.h"

#include "platform/files.h"
#include "shell/Quit.h"

using namespace tivelor;
using namespace shelltest;

namespace {
std::string Transcript(const platform::headless::HeadlessBackend& b) {
    std::string out;
    for (const auto& m : b.msgBoxes) out += std::to_string(m.style) + " " + m.title + "\n";
    return out;
}
}  // namespace

TEST(Quit, AsksAboutPriorsOnlyWhenOneIsSet) {
    for (const char* prior : {"U", "N"}) {
        Editing t;
        t.app.priors.PriorType(3) = prior;
        t.b.AnswerMsgBox("Exit Tivelor", vbYes);
        t.b.AnswerMsgBox("What about algorithm data?", vbNo);
        if (prior[0] != 'U') {
            t.b.AnswerMsgBox("What about Bayesian priors?", vbYes);
            t.b.AnswerMsgBox("What about Bayesian priors?", vbOK);   // nothing to write
        }
        t.b.Click("frmMenu.cmdQuit");
        EXPECT_TRUE(t.b.Ended());
        EXPECT_EQ(Transcript(t.b), prior[0] == 'U' ? "292 Exit Tivelor\n36 What about algorithm data?\n"
                                                   : "292 Exit Tivelor\n36 What about algorithm data?\n"
                                                     "36 What about Bayesian priors?\n64 What about Bayesian priors?\n");
    }
}

TEST(Quit, PriorEditorSaverIsUsedAndItsFailureKeepsTheProgram) {
    Editing t;
    t.app.priors.PriorType(1) = "T";
    int saves = 0;
    t.b.AnswerMsgBox("Exit Tivelor", vbYes);
    t.b.AnswerMsgBox("What about algorithm data?", vbNo);
    t.b.AnswerMsgBox("What about Bayesian priors?", vbYes);
    t.b.AnswerMsgBox("Exit Tivelor", vbOK);
    EXPECT_FALSE(RunQuitSequence(t.app, QuitFrom::PriorEditor, [&] { return ++saves, false; }));
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(t.b.Ended());
}

TEST(Quit, FailedAlgorithmSaveSaysSoAndDoesNotEnd) {
    Editing t;
    t.Open();
    t.b.AnswerMsgBox("Exit Tivelor", vbYes);
    t.b.AnswerMsgBox("What about algorithm data?", vbYes);
    t.b.ChooseFile(Temp("missing_folder/out.alg"));
    t.b.AnswerMsgBox("", vbOK);   // the save's own report
    t.b.AnswerMsgBox("Exit Tivelor", vbOK);
    t.b.Click("frmAlgo.mnuExit");
    EXPECT_FALSE(t.b.Ended());
    EXPECT_EQ(t.LastMsg().text, "The algorithm data could not be saved, so Tivelor has not quit.");
    EXPECT_TRUE(t.app.IsLoaded<frmAlgo>());
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
}

TEST(Quit, FromTheEditorSavesTheAlgorithmAndClosesTheLog) {
    Editing t;
    t.Open();
    const std::string log = Temp("quit_log.tvl"), alg = Temp("quit.alg");
    t.b.ChooseFile(log);
    t.b.AnswerMsgBox("Log file management", vbOK);
    t.b.Click("frmAlgo.cmdOpenLog");
    ASSERT_TRUE(t.s.ui.files.Print(203, "last line"));
    t.b.AnswerMsgBox("Exit Tivelor", vbYes);
    t.b.AnswerMsgBox("What about algorithm data?", vbYes);
    t.b.ChooseFile(alg);
    t.b.Click("frmAlgo.mnuExit");
    EXPECT_TRUE(t.b.Ended());
    std::string text;
    ASSERT_TRUE(platform::ReadWholeFile(log, text));
    EXPECT_EQ(text, "last line\r\n");
    EXPECT_TRUE(platform::ReadWholeFile(alg, text));
}

TEST(MainMenuTasks, LaterTasksSayTheyAreNotInThisVersion) {
    Editing t;
    for (const char* task : {"cmdCovariance", "cmdParEstimate", "cmdBayesian", "cmdRank"}) {
        t.b.AnswerMsgBox("", vbOK);
        t.b.Click(std::string("frmMenu.") + task);
        EXPECT_EQ(t.LastMsg().style, 64);
        EXPECT_EQ(t.LastMsg().text.rfind("This version of Tivelor does not", 0), 0u);
        EXPECT_TRUE(t.app.form<frmMenu>().Visible());
    }
}

TEST(MainMenuTasks, EditOffersTheWholeEditor) {
    Editing t;
    for (int k = 1; k <= 9; ++k) t.app.shell.AlgoColOn(k) = 1;
    frmAlgo& algo = t.Open();
    EXPECT_EQ(t.app.sw.AlgoFromMenu, "on");
    EXPECT_TRUE(algo.txtReduction.Enabled);
    EXPECT_EQ(algo.txtReduction.Text, "0.1");
    EXPECT_TRUE(t.app.form<frmMain>().mnuApplication.Enabled);
}
