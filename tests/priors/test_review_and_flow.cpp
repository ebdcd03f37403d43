// The review of prior likelihoods, the load-priors window and the editor's
// close and exit.
#include "PriorsTestSupport.h"

#include "engine/Priors.h"
#include "priors/frmLoadPriors.h"
#include "priors/frmReviewPriors.h"
#include "ranking/frmRank.h"
#include "shell/TextWindows.h"

using namespace priortest;

namespace {
const std::string kModelLine = "           The entire model has a prior -ln[L] of ";

std::string ReviewLines(Program& t) {
    const std::string& text = t.app.form<tivelor::frmReviewPriors>().rtbReviewPriors.Text();
    std::size_t at = text.find("*.pdp files.\r\n\r\n");
    return at == std::string::npos ? text : text.substr(at + 16);
}
}  // namespace

TEST(ReviewPriors, LinesOfTheTermsAndTheirTotal) {
    Program t(4);
    t.app.eng.RecipLnLConst = 2;
    t.pr.PriorType(3) = "N", t.pr.PriorMean(3) = 1, t.pr.PriorSD(3) = 0.5;
    t.app.eng.par.ParValue(3) = 2;
    platform::Vec<double> P = t.app.eng.par.ParValue;
    tivelor::PriorPenalty(t.app, P);
    tivelor::ShowPriorReview(t.app);
    EXPECT_EQ(ReviewLines(t),
              "Parameter   3 at  2.000E+00 has a prior -ln[L] of     4.00 and a prior likelihood of 0.018316\r\n\r\n" +
                  kModelLine + "    4.00 and a prior likelihood of 0.018316\r\n");
    EXPECT_EQ(t.app.form<tivelor::frmReviewPriors>().rtbReviewPriors.Text(), t.app.msg.ReportText);
    EXPECT_EQ(t.app.msg.ReportText.substr(0, 40), "Note: Here is a chance to review the lik");

    // Too wide for the fields: printed whole.
    t.pr.PriorType(1) = "S", t.pr.PriorMean(1) = 0, t.pr.PriorSD(1) = 0;
    t.app.eng.par.ParValue(1) = -1.234E-100;
    t.pr.PriorTerm(1) = 5E+19;   // 1E+20 after the constant
    tivelor::ShowPriorReview(t.app);
    EXPECT_NE(ReviewLines(t).find("Parameter   1 at -1.234E-100 has a prior -ln[L] of 100000000000000000000.00 and a "
                                  "prior likelihood of 0.000000\r\n"),
              std::string::npos)
        << ReviewLines(t);

    // Every prior uniform: only the model line.
    t.pr.Reset(4);
    tivelor::ShowPriorReview(t.app);
    EXPECT_EQ(ReviewLines(t), "\r\n" + kModelLine + "    0.00 and a prior likelihood of 1.000000\r\n");
}

// The save itself is the text windows' own; here its name, its filter, and
// the text cleared on close.
TEST(ReviewPriors, SaveProposesItsOwnNameAndCloseClearsTheText) {
    Program t(2);
    tivelor::ShowPriorReview(t.app);
    tivelor::frmReviewPriors& w = t.app.form<tivelor::frmReviewPriors>();
    const std::string report = w.rtbReviewPriors.Text(), a = Temp("a.rvp");
    t.b.ChooseFile(a);
    t.b.Click("frmReviewPriors.cmdSaveReview");
    EXPECT_EQ(t.b.dialogs.back().defaultName, "03140926.rvp");
    EXPECT_EQ(t.b.dialogs.back().filter, "All files (*.*)|*.*|Review priors files (*.rvp)|*.rvp");
    EXPECT_EQ(Read(a), "Originally saved with the file name: " + a + "\r\n\r\n" + report);
    t.b.Close("frmReviewPriors");
    EXPECT_EQ(w.rtbReviewPriors.Text(), "");
}

TEST(LoadPriors, SetOrResetAsksOnlyWhileEveryPriorIsUniform) {
    Program t(3);
    t.app.shell.PriFileName = "old.pri";
    t.b.Click("frmMenu.cmdBayesian");
    EXPECT_FALSE(t.app.IsLoaded<tivelor::frmMenu>());
    EXPECT_EQ(t.app.sw.PriorsOn, "on");
    t.b.AnswerMsgBox("Setting Bayesian Priors", vbNo);
    t.b.AnswerMsgBox("Default prior probabilities", vbOK);
    t.b.Click("frmLoadPriors.cmdSet");
    EXPECT_EQ(t.app.sw.PriorsOn, "off");
    EXPECT_EQ(t.app.sw.PriorsFromMenu, "off");
    EXPECT_EQ(t.app.shell.PriFileName, "old.pri");
    EXPECT_EQ(t.app.form<tivelor::frmMain>().stbMain1.Panel(2), "Bayesian priors file: ");
    EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Visible());
    EXPECT_TRUE(t.app.form<tivelor::frmMain>().mnuApplication.Enabled());
    EXPECT_TRUE(t.app.IsLoaded<tivelor::frmLoadPriors>());   // hidden, not unloaded

    // With a prior set, straight to the editor.
    t.pr.PriorType(2) = "E", t.pr.PriorMean(2) = 1, t.pr.PriorSD(2) = 1;
    t.b.Click("frmMenu.cmdBayesian");
    t.b.Click("frmLoadPriors.cmdSet");
    EXPECT_TRUE(t.app.form<tivelor::frmSetPriors>().Visible());
}

TEST(LoadPriors, UniformAndCancel) {
    Program t(2);
    t.pr.PriorType(1) = "N", t.pr.PriorMean(1) = 0, t.pr.PriorSD(1) = 1;
    t.app.shell.PriFileName = "/data/kept.pri";
    t.b.Click("frmMenu.cmdBayesian");
    t.b.AnswerMsgBox("Default prior probabilities", vbOK);
    t.b.Click("frmLoadPriors.cmdUniform");
    EXPECT_EQ(t.Entry(1), "U 1E-100 1E-100 Unused Unused");
    EXPECT_EQ(t.app.sw.PriorsOn, "off");
    EXPECT_EQ(t.app.shell.PriFileName, "/data/kept.pri");
    EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Visible());

    t.pr.PriorType(2) = "D", t.pr.PriorMean(2) = 0, t.pr.PriorSD(2) = 0;
    t.b.Click("frmMenu.cmdBayesian");   // still loaded: no load steps
    t.b.Click("frmLoadPriors.cmdCancel");
    EXPECT_FALSE(t.app.IsLoaded<tivelor::frmLoadPriors>());
    EXPECT_EQ(t.app.sw.PriorsOn, "on");   // the close follows the table
    EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Visible());
}

TEST(EditorClose, AsksToSaveAndForTheConstantOnlyWithAPriorSet) {
    Program t(2);
    t.Editor();
    t.b.AnswerMsgBox("Just so you know", vbOK);
    t.b.Click("frmSetPriors.mnuFinish");
    EXPECT_EQ(t.app.sw.PriorsOn, "off");
    EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Visible());
    EXPECT_EQ(t.app.form<tivelor::frmMain>().stbMain5.Panel(1), "");

    t.Editor();
    t.Enter(2, "mnuN", {"1", "1"});
    const std::string path = Temp("close.pri");
    t.b.AnswerMsgBox("Just so you know", vbOK);
    t.b.AnswerMsgBox("Save Bayesian priors", vbYes);
    t.b.ChooseFile(path);
    t.b.AnswerInput("Enter constant", "0.5");
    t.b.Click("frmSetPriors.mnuFinish");
    EXPECT_EQ(t.app.eng.RecipLnLConst, 2);
    EXPECT_EQ(t.app.sw.PriorsOn, "on");
    EXPECT_EQ(Read(path).substr(0, 21), "2\r\n  1   U 1.000E-100");
    EXPECT_FALSE(t.app.IsLoaded<tivelor::frmSetPriors>());
    EXPECT_TRUE(t.app.form<tivelor::frmMenu>().Visible());
    EXPECT_EQ(t.b.PendingSteps(), 0u);
}

TEST(EditorExit, QuitsSavingThePriorsThroughTheEditor) {
    Program t(2);
    t.Editor();
    t.Enter(1, "MnuS", {"0", "0"});
    const std::string path = Temp("exit.pri");
    t.b.AnswerMsgBox("Exit Tivelor", vbYes);
    t.b.AnswerMsgBox("What about algorithm data?", vbNo);
    t.b.AnswerMsgBox("What about Bayesian priors?", vbYes);
    t.b.ChooseFile(path);
    t.b.Click("frmSetPriors.mnuExit");
    EXPECT_TRUE(t.b.Ended());
    EXPECT_NE(Read(path).find("  1   S 0.000E+000 0.000E+000     Unused     Unused   Left-side cliff\r\n"),
              std::string::npos);
}

TEST(EditorMenu, HelpFillsTheHelpWindow) {
    Program t(2);
    t.Editor();
    t.b.Click("frmSetPriors.mnuHelpSetting");
    const std::string& help = t.app.form<tivelor::frmHelp>().rtbHelp.Text();
    EXPECT_EQ(help.substr(0, 72), "For each parameter you have the option to choose the mean and SD of a:\r\n");
    EXPECT_EQ(help.substr(help.size() - 29), "are assigned an asterisk (*).");
    EXPECT_FALSE(t.app.form<tivelor::frmSetPriors>().mnuMainMenu.Enabled());
}

TEST(LoadPriors, FromTheRankingWindowTheyReturnToItsAICcButton) {
    Program t(2);
    t.b.AnswerInput("Enter constant", "0.5");
    t.b.Click("frmMenu.cmdRank");
    t.b.Click("frmRank.cmdBayesian");
    EXPECT_FALSE(t.app.form<tivelor::frmRank>().Visible());
    EXPECT_EQ(t.app.sw.PriorsFromRank, "on");
    t.b.AnswerMsgBox("Default prior probabilities", vbOK);
    t.b.Click("frmLoadPriors.cmdUniform");
    EXPECT_TRUE(t.app.form<tivelor::frmRank>().Visible());
    EXPECT_EQ(t.b.focus, "frmRank.cmdAICc");
    EXPECT_EQ(t.app.sw.PriorsFromRank, "off");
    EXPECT_FALSE(t.app.form<tivelor::frmMain>().mnuApplication.Enabled());   // the ranking window keeps it off

    // A file opened from there leaves the ranking window beside the editor,
    // and the editor's Finished comes back to its AICc button.
    tivelor::PriorTable normal = t.pr;
    normal.PriorType(2) = "N", normal.PriorMean(2) = 1, normal.PriorSD(2) = 0.5;
    const std::string path = Temp("rank.pri");
    ASSERT_TRUE(platform::WriteWholeFileSafely(path, tivelor::PriorsFileText(normal, 2)));
    t.b.Click("frmRank.cmdBayesian");
    t.b.ChooseFile(path);
    t.b.AnswerMsgBox("Bayes information", vbOK);
    t.b.Click("frmLoadPriors.cmdOpen");
    EXPECT_TRUE(t.app.form<tivelor::frmRank>().Visible());
    EXPECT_TRUE(t.app.form<tivelor::frmSetPriors>().Visible());
    t.b.CancelFile();
    t.b.Click("frmRank.cmdLoadAlg");   // the focus leaves cmdAICc
    t.b.AnswerMsgBox("Just so you know", vbOK);
    t.b.AnswerMsgBox("Save Bayesian priors", vbNo);
    t.b.AnswerInput("Enter constant", "0.5");
    t.b.Click("frmSetPriors.mnuFinish");
    EXPECT_EQ(t.b.focus, "frmRank.cmdAICc");
    EXPECT_EQ(t.app.sw.PriorsFromRank, "off");

    // The priors column names the file only while the priors are on.
    tivelor::frmRank& rank = t.app.form<tivelor::frmRank>();
    t.b.Click("frmRank.cmdAICc");
    EXPECT_EQ(rank.grdRank.TextMatrix(2, 8), "rank.pri");
    t.b.Click("frmRank.cmdBayesian");
    t.b.AnswerMsgBox("Default prior probabilities", vbOK);
    t.b.Click("frmLoadPriors.cmdUniform");
    t.b.Click("frmRank.cmdAICc");
    EXPECT_EQ(rank.grdRank.TextMatrix(3, 8), "No Priors loaded");
    EXPECT_EQ(t.app.shell.PriFileName, path);   // kept for a later save
}
