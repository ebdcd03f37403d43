// Prior profiles: the points, the distribution's statistics, the dialogue
// and the table.
#include "PriorsTestSupport.h"

#include "priors/frmPriorDists.h"

using namespace priortest;

namespace {

struct Profile {
    double Mean = 0, Diff = 0, SD = 0;
};

Profile Profiled(Program& t, int par, int K) {
    Profile p;
    tivelor::ComputePriorProfile(t.app, par, K, p.Mean, p.Diff, p.SD);
    return p;
}

}  // namespace

TEST(PriorProfile, WorkedStatisticsOfThreeKinds) {
    Program t(3);
    t.app.eng.RecipLnLConst = 2;
    t.pr.PriorType(1) = "N", t.pr.PriorMean(1) = 10, t.pr.PriorSD(1) = 2;
    t.pr.PriorType(2) = "G", t.pr.PriorMean(2) = 1, t.pr.PriorSD(2) = 0.5;
    t.pr.PriorType(3) = "E", t.pr.PriorMean(3) = 4, t.pr.PriorSD(3) = 4;
    tivelor::EvalState& ev = t.app.eval;

    Profile n = Profiled(t, 1, 101);
    EXPECT_DOUBLE_EQ(ev.ProfX(1), 0);
    EXPECT_NEAR(ev.ProfX(101), 20, 1E-12);
    EXPECT_DOUBLE_EQ(ev.EVEstimate, 10);
    EXPECT_NEAR(n.Mean, 10.0000000, 5E-8);
    EXPECT_NEAR(n.SD, 1.9999851, 5E-8);
    EXPECT_NEAR(ev.ProfPDF(51), 0.1994713, 5E-8);
    EXPECT_NEAR(ev.ProfNegLnL(1), 12.5, 1E-12);   // 5 SDs from the mode: 25 / 2

    Profile g = Profiled(t, 2, 101);
    EXPECT_DOUBLE_EQ(ev.ProfX(1), 1E-6);
    EXPECT_NEAR(ev.ProfX(101), 3.500001, 1E-12);
    EXPECT_NEAR(ev.ProfX(2) - ev.ProfX(1), 0.035, 1E-12);
    EXPECT_NEAR(g.Mean, 0.998670, 5E-7);
    EXPECT_NEAR(g.SD, 0.496321, 5E-7);

    Profile e = Profiled(t, 3, 101);
    EXPECT_DOUBLE_EQ(ev.ProfX(1), 0);
    EXPECT_NEAR(ev.ProfX(101), 40, 1E-12);
    EXPECT_NEAR(e.Mean, 3.998175, 5E-7);
    EXPECT_NEAR(e.SD, 3.990922, 5E-7);
    EXPECT_NEAR(ev.ProfPDF(1), 0.250011, 5E-7);
    EXPECT_DOUBLE_EQ(e.Diff, ev.EVEstimate - e.Mean);
    EXPECT_EQ(t.b.log.back(), "beep");
}

TEST(PriorProfile, CliffDomainsAndTheEarliestOfEqualModes) {
    Program t(2);
    t.pr.PriorType(1) = "S", t.pr.PriorMean(1) = 0, t.pr.PriorSD(1) = 0;
    t.pr.PriorType(2) = "T", t.pr.PriorMean(2) = 1, t.pr.PriorSD(2) = 0.5;
    t.pr.PriorMean2(2) = std::string("3"), t.pr.PriorSD2(2) = 0.5;
    tivelor::EvalState& ev = t.app.eval;
    Profiled(t, 1, 101);
    EXPECT_NEAR(ev.ProfX(1), -5, 1E-12);
    EXPECT_NEAR(ev.ProfX(101), 5, 1E-12);
    EXPECT_DOUBLE_EQ(ev.EVEstimate, 0);   // every point from 0 on has the smallest density
    Profiled(t, 2, 101);
    EXPECT_NEAR(ev.ProfX(1), -0.5, 1E-12);
    EXPECT_NEAR(ev.ProfX(101), 4.5, 1E-12);
    EXPECT_EQ(t.app.form<tivelor::frmMain>().stbMain5.Panel(1),
              "Calculating profile point 101 of 101, Value of parameter # 2 which is being profiled is: 4.5000E+00");
}

TEST(PriorProfile, TheDialogueAsksAgainAndCorrectsThePoints) {
    Program t(3);
    t.pr.PriorType(3) = "N", t.pr.PriorMean(3) = 0, t.pr.PriorSD(3) = 1;
    t.Editor();
    const std::string title = "Evaluation of prior distributions";
    t.b.AnswerMsgBox(title, vbCancel);
    t.b.Click("frmSetPriors.mnuProfile");
    EXPECT_EQ(t.app.sw.PriorProfileOn, "off");

    t.b.ClickCell("frmSetPriors.grdSetPriors", 3, 2);   // parameter 2: a uniform prior
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerInput(title, "2");
    t.b.AnswerMsgBox(title, vbOK);   // nothing to plot; back to the first note
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerInput(title, "4");      // out of range: asked again
    t.b.AnswerInput(title, "2.5");    // halves to even: 2, uniform again
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerMsgBox(title, vbOK);
    t.b.AnswerInput(title, "3");
    t.b.AnswerInput(title, "1002");   // asked again
    t.b.AnswerInput(title, "2");      // becomes 3
    platform::headless::Step done;    // leaves the distribution plots
    done.kind = platform::headless::Step::Click;
    done.target = "frmDistPlot.cmdDone";
    t.b.Push(done);
    t.b.Click("frmSetPriors.mnuProfile");
    EXPECT_EQ(t.b.PendingSteps(), 0u);
    EXPECT_EQ(t.app.sw.PriorProfileOn, "off");
    EXPECT_EQ(t.app.eval.NProfPts, 3);
    EXPECT_EQ(t.app.eval.ProfPar, 3);
    EXPECT_EQ(t.b.inputPrompts.at(2), "Choose the parameter number to be profiled.\r\n(0 < parameter # <= 3)");

    const std::string table = t.app.form<tivelor::frmPriorDists>().rtbPriorDists.Text();
    const std::string head = "Bayesian prior distribution data\r\n\r\n"
                             "  Point       Value         -ln[L]           PDF        Cumulative     Attenuated     Normal PDF\r\n";
    EXPECT_EQ(table.substr(0, head.size()), head);   // the point lines: the priors session
    EXPECT_NE(table.find("\r\n    3     5.0000E+000   "), std::string::npos);
}

TEST(PriorProfile, TableSummaryAndSave) {
    Program t(1);
    t.app.eval.NProfPts = 0;
    tivelor::frmSetPriors& e = t.Editor();
    double mean = 0, mode = 1.5, diff = 1.5, sd = 2;
    e.Save_PriorDists(mean, mode, diff, sd);
    tivelor::frmPriorDists& w = t.app.form<tivelor::frmPriorDists>();
    EXPECT_NE(w.rtbPriorDists.Text().find("\r\nPercent Diff:         Undefined\r\nEstimated SE:    2.0000E+000   \r\n"),
              std::string::npos)
        << w.rtbPriorDists.Text();
    mean = -3;
    e.Save_PriorDists(mean, mode, diff, sd);
    EXPECT_NE(w.rtbPriorDists.Text().find("\r\nPercent Diff:   -5.0000E+001   \r\n"), std::string::npos);
    const std::string path = Temp("profile.pdp");
    t.b.ChooseFile(path);
    t.b.Click("frmPriorDists.cmdSavePriorDists");
    EXPECT_EQ(t.b.dialogs.back().defaultName, "03140926.pdp");
    EXPECT_EQ(t.b.dialogs.back().title, "Save Bayesian prior values in...");
    EXPECT_EQ(Read(path).substr(0, 37), "Originally saved with the file name: ");
}
