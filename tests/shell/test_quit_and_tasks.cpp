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

TEST(Quit, AsksTwoQuestionsWhenEveryPriorIsUniform) {
    Editing t;
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbYes);
    t.s.backend.AnswerMsgBox("What about algorithm data?", platform::vbNo);
    t.s.backend.Click("frmMenu.cmdQuit");
    EXPECT_TRUE(t.s.backend.Ended());
    EXPECT_EQ(Transcript(t.s.backend), "292 Exit Tivelor\n36 What about algorithm data?\n");
    EXPECT_EQ(t.s.backend.msgBoxes[0].text, "Do you want to quit Tivelor?");
}

TEST(Quit, AsksAboutPriorsWhenOneIsSetAndSaysTheyCannotBeSaved) {
    Editing t;
    t.app.priors.PriorType(3) = "N";
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbYes);
    t.s.backend.AnswerMsgBox("What about algorithm data?", platform::vbNo);
    t.s.backend.AnswerMsgBox("What about Bayesian priors?", platform::vbYes);
    t.s.backend.AnswerMsgBox("What about Bayesian priors?", platform::vbOK);
    t.s.backend.Click("frmMenu.cmdQuit");
    EXPECT_TRUE(t.s.backend.Ended());
    EXPECT_EQ(Transcript(t.s.backend),
              "292 Exit Tivelor\n36 What about algorithm data?\n36 What about Bayesian priors?\n"
              "64 What about Bayesian priors?\n");
}

TEST(Quit, PriorEditorSaverIsUsedAndItsFailureKeepsTheProgram) {
    Editing t;
    t.app.priors.PriorType(1) = "T";
    int saves = 0;
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbYes);
    t.s.backend.AnswerMsgBox("What about algorithm data?", platform::vbNo);
    t.s.backend.AnswerMsgBox("What about Bayesian priors?", platform::vbYes);
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbOK);
    EXPECT_FALSE(RunQuitSequence(t.app, QuitFrom::PriorEditor, [&] { return ++saves, false; }));
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(t.s.backend.Ended());
}

TEST(Quit, NoLeavesEverythingAndTheMainWindowOpen) {
    Editing t;
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbNo);
    t.s.backend.Close("frmMain");
    EXPECT_FALSE(t.s.backend.Ended());
    EXPECT_TRUE(t.app.IsLoaded<frmMain>());
    EXPECT_TRUE(t.app.form<frmMenu>().Visible());
}

TEST(Quit, FailedAlgorithmSaveSaysSoAndDoesNotEnd) {
    Editing t;
    t.OpenFromMenu();
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbYes);
    t.s.backend.AnswerMsgBox("What about algorithm data?", platform::vbYes);
    t.s.backend.ChooseFile(Temp("missing_folder/out.alg"));
    t.s.backend.AnswerMsgBox("", platform::vbOK);   // the save's own report
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbOK);
    t.s.backend.Click("frmAlgo.mnuExit");
    EXPECT_FALSE(t.s.backend.Ended());
    EXPECT_EQ(t.s.backend.msgBoxes.back().text,
              "The algorithm data could not be saved, so Tivelor has not quit.");
    EXPECT_TRUE(t.app.IsLoaded<frmAlgo>());
    EXPECT_FALSE(t.app.IsLoaded<frmMenu>());
}

TEST(Quit, FromTheEditorSavesTheAlgorithmAndClosesTheLog) {
    Editing t;
    t.OpenFromMenu();
    const std::string log = Temp("quit_log.tvl"), alg = Temp("quit.alg");
    t.s.backend.ChooseFile(log);
    t.s.backend.AnswerMsgBox("Log file management", platform::vbOK);
    t.s.backend.Click("frmAlgo.cmdOpenLog");
    ASSERT_TRUE(t.s.ui.files.Print(203, "last line"));
    t.s.backend.AnswerMsgBox("Exit Tivelor", platform::vbYes);
    t.s.backend.AnswerMsgBox("What about algorithm data?", platform::vbYes);
    t.s.backend.ChooseFile(alg);
    t.s.backend.Click("frmAlgo.mnuExit");
    EXPECT_TRUE(t.s.backend.Ended());
    std::string text;
    ASSERT_TRUE(platform::ReadWholeFile(log, text));
    EXPECT_EQ(text, "last line\r\n");
    EXPECT_TRUE(platform::ReadWholeFile(alg, text));
}

TEST(MainMenuTasks, LaterTasksSayTheyAreNotInThisVersion) {
    Editing t;
    struct Task {
        const char* button;
        const char* title;
    };
    for (Task task : {Task{"cmdCovariance", "Single model covariances"},
                      Task{"cmdParEstimate", "Evaluate parameter estimates"},
                      Task{"cmdBayesian", "Set Bayesian priors"},
                      Task{"cmdRank", "Multi-model statistics"}}) {
        t.s.backend.AnswerMsgBox(task.title, platform::vbOK);
        t.s.backend.Click(std::string("frmMenu.") + task.button);
        EXPECT_EQ(t.s.backend.msgBoxes.back().style, 64);
        EXPECT_NE(t.s.backend.msgBoxes.back().text.find("This version of Tivelor does not"),
                  std::string::npos);
        EXPECT_TRUE(t.app.form<frmMenu>().Visible());
        EXPECT_TRUE(t.app.form<frmMain>().mnuApplication.Enabled);
    }
}

TEST(MainMenuTasks, EditOffersTheWholeEditorAndClosesTheRunWindows) {
    Editing t;
    for (int k = 1; k <= 9; ++k) t.app.shell.AlgoColOn(k) = 1;
    frmAlgo& algo = t.OpenFromMenu();
    EXPECT_EQ(t.app.sw.AlgoFromMenu, "on");
    for (int k = 1; k <= 9; ++k) EXPECT_EQ(t.app.shell.AlgoColOn(k), 0);
    EXPECT_TRUE(algo.txtReduction.Enabled);
    EXPECT_EQ(algo.txtReduction.Text, "0.1");
    EXPECT_TRUE(t.app.form<frmMain>().mnuApplication.Enabled);
}
