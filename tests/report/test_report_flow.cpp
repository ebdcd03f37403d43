// The results summary from the main menu on a model initialized from a small
// data file: fields that have no value, advisories, re-expression, follow-ups.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/files.h"
#include "shell/TextWindows.h"
#include "tests/support/StartedProgram.h"

using namespace tivelor;
using platform::headless::Step;
using platform::vbCancel, platform::vbNo, platform::vbOK, platform::vbYes;

namespace {

const char* kGof = "More randomizations improve the goodness-of-fit (GOF) test";
const char* kUncert = "Uncertainty statistics for species richness";
const char* kData = "Save original, but possibly reordered, data";

// Five sorted species (68 individuals, the fifth unnamed) in six quadrats.
const std::string kSmall =
    "Quad  , Abies,Betula, Carex, Draba,      ,\r\n     1,     9,     4,     0,     2,     0,\r\n"
    "     2,     5,     0,     3,     0,     0,\r\n     3,     7,     6,     1,     0,     2,\r\n"
    "     4,     3,     2,     0,     0,     0,\r\n     5,     8,     1,     2,     0,     0,\r\n"
    "     6,     6,     5,     1,     1,     0,\r\n";

struct Analysis : tivelor::testing::StartedProgram {
    ParameterSet& par = app.eng.par;

    // A habitat of 100 quadrats, direct links, default algorithm data, every
    // Theta at theta and UA at ua, all free.
    Analysis(double theta, double ua, const std::string& data = kSmall, int nSpp = 5, int nQuad = 6) {
        const std::string path = tivelor::testing::TempPath("report.dat");
        platform::WriteWholeFileSafely(path, data);
        b.Click("frmMenu.cmdInitialize");
        frmInitialize& dlg = app.form<frmInitialize>();
        dlg.txtDataFile.Text = path;
        dlg.cboQuadsinHab.Text = "100";
        dlg.cboQuadsSampled.Text = std::to_string(nQuad);
        dlg.cboNSpecies.Text = std::to_string(nSpp);
        b.Click("frmInitialize.cmdDone");
        b.AnswerMsgBox("Load algorithm data", vbNo);
        b.AnswerMsgBox("Default Algorithm Values", vbOK);
        b.Click("frmMenu.cmdLoadAlg");
        b.msgBoxes.clear();
        for (int i = 1; i <= nSpp; ++i) par.ParValue(i) = theta, par.ParValue(nSpp + i) = ua;
        for (int k = 1; k <= par.NumPars; ++k) par.StepSize(k) = 0.1;
    }
    void Do(Step::Kind kind, const std::string& target, int value = 0) {
        Step st;
        st.kind = kind, st.target = target, st.value = value;
        b.Push(st);
    }
    // The answers of one summary; convert is the frmConvert button, "close"
    // for its close box, "" when it is not shown.
    void Queue(const std::string& convert = "cmdCancel", int data = vbNo,
               const std::vector<std::string>& nrand = {"0"}) {
        if (convert == "close") Do(Step::Close, "frmConvert");
        else if (!convert.empty()) Do(Step::Click, "frmConvert." + convert);
        for (const std::string& answer : nrand)
            if (answer == "cancel") b.CancelInput(kGof);
            else b.AnswerInput(kGof, answer);
        if (!nrand.empty() && platform::Val(nrand.back()) >= 0.5) Do(Step::Click, "frmRange.cmdOK");
        b.AnswerMsgBox("View plots?", vbCancel);
        b.AnswerMsgBox(kUncert, vbCancel);
        b.AnswerMsgBox(kData, data);
        if (data == vbYes) b.AnswerMsgBox("Summary", vbOK);
    }
    // Closes an earlier summary, which brings the main menu back, and presses Results.
    void Run() {
        if (app.IsLoaded<frmSummary>()) b.Close("frmSummary");
        b.Click("frmMenu.cmdUserSummary");
    }
    std::string Report() { return app.form<frmSummary>().rtbOut.Text(); }
    std::string Line(const std::string& prefix) { return tivelor::testing::LineStartingWith(Report(), prefix); }
};

std::string Tail(const std::string& line, std::size_t from) { return line.size() > from ? line.substr(from) : line; }

}  // namespace

TEST(ReportFlow, AICcAdvisoriesAtTheFloorsAndTheRandomizationPrompt) {
    Analysis a(0.3, 7);
    a.par.ParValue(1) = 0;            // Theta at its floor, free
    a.par.ParValue(3) = 0.99999999;   // the upper clamp
    a.par.ParValue(5) = 0;            // Theta 0, fixed
    a.par.StepSize(5) = 0;
    a.par.ParValue(7) = 0;            // UA of species 2 clamped to its floor
    a.Queue("cmdCancel", vbYes, {"-1", "32001", "99999999999", "10.6"});
    a.Run();
    EXPECT_EQ(a.b.inputPrompts.size(), 4u);
    EXPECT_EQ(a.app.model.Report.NRand, 11);
    const double F = a.app.model.BestF, n = 68, k = 9;
    EXPECT_EQ(Tail(a.Line("The Akaike"), 69), RSetPad(platform::Format(F + 2 * k * n / (n - k - 1), "#########0.0000"), 16));
    const std::string sp = "Theta, then Logit[Theta], then link code for Sp#  ";
    EXPECT_NE(a.Line(sp + "1").find(" ~~ (Fix Theta at 0)"), std::string::npos);
    EXPECT_NE(a.Line(sp + "3").find(" ~~ (Fix Theta at 1)"), std::string::npos);
    EXPECT_EQ(Tail(a.Line(sp + "5"), 62), "     0.000000,  -18.420000 ~~ (Theta is fixed)");
    const std::string ua = a.Line("UA, then Ln[UA], then total abundance, then link code for Sp#  2");
    EXPECT_NE(ua.find(",     -Infinity,"), std::string::npos);
    EXPECT_NE(ua.find(" ~~ (Fix UA at 0)"), std::string::npos);
    EXPECT_EQ(a.Report().find("nan"), std::string::npos);
    EXPECT_EQ(a.Line(" Quad#"), " Quad#, Abies,Betula, Carex, Draba,      ");   // a name of blanks stays blank
    EXPECT_TRUE(a.app.form<frmMain>().mnuApplication.Enabled);
    // n - k - 1 = 0 leaves AICc without a value; with every step 0 it is F.
    a.app.eng.SampleSize = 10;
    a.Queue();
    a.Run();
    EXPECT_EQ(Tail(a.Line("The Akaike"), 69), "       Undefined");
    for (int p = 1; p <= 10; ++p) a.par.StepSize(p) = 0;
    a.Queue();
    a.Run();
    EXPECT_EQ(Tail(a.Line("The Akaike"), 69), RSetPad(platform::Format(a.app.model.BestF, "#########0.0000"), 16));
}

TEST(Reexpression, ConvertsAsTickedKeepsFSkipsOnCancelAndOffersTheWayBack) {
    Analysis a(0.3, 7);
    ModelState& md = a.app.model;
    a.Queue("cmdDo");
    a.Run();
    const double F = md.BestF;   // evaluated before the conversion
    EXPECT_EQ(md.LogitThetaLink + md.LnUALink, 2 * platform::True);
    EXPECT_NEAR(a.par.ParValue(1), std::log(0.3 / 0.7), 1e-12);
    EXPECT_NEAR(a.par.ParValue(6), std::log(7.0), 1e-12);
    EXPECT_EQ(a.par.ParName(1), "Logit[Theta] for species #   1 in the defined habitat");
    EXPECT_EQ(a.par.ParName(7), "Ln[# of unsampled individuals of species #   2 in the defined habitat]");
    EXPECT_EQ(a.Line("This analysis estimated the Thetas"),
              "This analysis estimated the Thetas indirectly using the Logit[Theta] link");
    // Skip and the close box change nothing; F is the same in the new scale.
    const platform::Vec<double> values = a.par.ParValue;
    for (const char* how : {"close", "cmdCancel"}) {
        a.Queue(how);
        a.Run();
        EXPECT_EQ(a.par.ParValue, values) << how;
        EXPECT_NEAR(md.BestF, F, 1e-9 * F) << how;
    }
    // The way back is offered ticked; unticking the UAs converts only the Thetas.
    a.Do(Step::Set, "frmConvert.chkLnUAtoUA", 0);
    a.Queue("cmdDo");
    a.Run();
    EXPECT_EQ(md.LogitThetaLink, platform::False);
    EXPECT_EQ(md.LnUALink, platform::True);
    EXPECT_NEAR(a.par.ParValue(1), 0.3, 1e-12);
    EXPECT_EQ(a.par.ParName(6), "Ln[# of unsampled individuals of species #   1 in the defined habitat]");
    // Checked "don't ask again": no dialog at the next report.
    a.Do(Step::Set, "frmConvert.chkAskAgain", 1);
    a.Queue("cmdCancel");
    a.Run();
    EXPECT_NEAR(md.BestF, F, 1e-9 * F);
    a.Queue("");
    a.Run();
    EXPECT_EQ(a.b.PendingSteps(), 0u);
}

TEST(FollowUps, YesRunsTheUncertaintyRoutinesAfterTheirNotesAndQuitPlotsEndsThePlots) {
    Analysis a(0.2, 5);
    int runs = 0;
    ReportFollowUpServices& sv = a.app.model.Report.Services;
    sv.SampleBasedUncertainty = sv.DistributionBasedUncertainty = [&](auto&, auto&, auto&) { ++runs; };
    sv.PlotThetaEstimates = [&] { ++runs, a.app.sw.KeepPlotting = platform::False; };
    a.Do(Step::Click, "frmConvert.cmdCancel");
    a.b.AnswerInput(kGof, "0");
    a.b.AnswerMsgBox("View plots?", vbYes);
    for (int k = 0; k < 2; ++k) a.b.AnswerMsgBox(kUncert, vbYes);
    a.b.AnswerMsgBox(kData, vbNo);
    a.Run();
    EXPECT_EQ(runs, 3);
    EXPECT_NE(a.b.msgBoxes[1].text.find("species richness?\r\n\r\n(YOU MUST HAVE FIRST SAVED AN ASSOCIATED "
                                        "COVARIANCE ANALYSIS)\r\n\r\nThe SAMPLE-BASED UNCERTAINTY option"),
              std::string::npos);
    for (const char* note : {"\r\nThe SAMPLE-BASED UNCERTAINTY option", "\r\nThe DISTRIBUTION-BASED UNCERTAINTY option"})
        EXPECT_NE(a.Report().find(note), std::string::npos) << note;
}

TEST(FollowUps, SingleSpeciesHasUndefinedCorrelationAndEndsAfterTheSampleBasedQuestion) {
    Analysis a(0.2, 5, "Quad  ,  Solo,\r\n     1,     3,\r\n     2,     0,\r\n     3,     5,\r\n     4,     2,\r\n", 1, 4);
    a.Do(Step::Click, "frmConvert.cmdCancel");
    a.b.CancelInput(kGof);   // counts as 0
    a.b.AnswerMsgBox("View plots?", vbCancel);
    a.b.AnswerMsgBox(kUncert, vbNo);
    a.Run();
    EXPECT_EQ(a.app.model.Report.NRand, 0);
    EXPECT_EQ(a.b.msgBoxes.back().title, kUncert);
    EXPECT_EQ(Tail(a.Line("The correlation"), 84) + Tail(a.Line("You can judge"), 84), " Undefined Undefined");
    EXPECT_EQ(a.app.model.Report.NCurvePts, 2);
}

TEST(ReportFlow, PriorsNoteNamesTheFileOnlyWhilePriorsAreOn) {
    Analysis a(0.3, 7);
    a.app.shell.PriFileName = "/data/bog.pri";
    a.app.sw.PriorsOn = "on";
    a.Queue();
    a.Run();
    EXPECT_EQ(a.Line("Important note"), "Important note: This analysis used Bayesian prior information");
    EXPECT_EQ(a.Line("Bayesian priors file: "), "Bayesian priors file: /data/bog.pri");
    a.app.sw.PriorsOn = "off";
    a.Queue();
    a.Run();
    EXPECT_EQ(a.Line("Important note") + a.Line("Bayesian priors file"), "");
}
