// The results summary from the main menu: re-expression, report sections and
// the follow-up questions, on a model initialized from a small data file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "engine/Parameters.h"
#include "model/Model.h"
#include "model/frmConvert.h"
#include "model/frmInitialize.h"
#include "platform/files.h"
#include "platform/headless/headless.h"
#include "shell/App.h"
#include "shell/TextWindows.h"
#include "shell/frmMain.h"
#include "shell/frmMenu.h"

using namespace tivelor;
using platform::headless::Step;

namespace {

const char* kGof = "More randomizations improve the goodness-of-fit (GOF) test";
const char* kUncertainty = "Uncertainty statistics for species richness";
const char* kData = "Save original, but possibly reordered, data";

std::string DataText(const std::vector<std::string>& names, const std::vector<std::vector<long>>& counts) {
    auto field = [](std::string v) { return std::string(6 - v.size(), ' ') + v + ","; };
    std::string text = "Quad  ,";
    for (const std::string& n : names) text += field(n);
    text += "\r\n";
    for (std::size_t j = 0; j < counts[0].size(); ++j) {
        text += field(std::to_string(j + 1));
        for (const auto& sp : counts) text += field(std::to_string(sp[j]));
        text += "\r\n";
    }
    return text;
}

// Five sorted species in six quadrats of a habitat of 100, nothing to advise.
const std::string kSmall = DataText({"Abies", "Betula", "Carex", "Draba", ""},
                                    {{9, 5, 7, 3, 8, 6}, {4, 0, 6, 2, 1, 5}, {0, 3, 1, 0, 2, 1},
                                     {2, 0, 0, 0, 0, 1}, {0, 0, 2, 0, 0, 0}});

struct Analysis {
    platform::headless::Session s;
    App app{s.ui};

    // Initialized (direct links) with default algorithm data, then every
    // Theta at theta and UA at ua, all free.
    Analysis(double theta, double ua, const std::string& data = kSmall, int nSpp = 5, int nQuad = 6) {
        app.Start();
        s.backend.Click("frmCredits.cmdOK");
        const std::string path = (std::filesystem::path(::testing::TempDir()) / "report.dat").string();
        platform::WriteWholeFileSafely(path, data);
        s.backend.Click("frmMenu.cmdInitialize");
        frmInitialize& dlg = app.form<frmInitialize>();
        dlg.txtDataFile.Text = path;
        dlg.cboQuadsinHab.Text = "100";
        dlg.cboQuadsSampled.Text = std::to_string(nQuad);
        dlg.cboNSpecies.Text = std::to_string(nSpp);
        s.backend.Click("frmInitialize.cmdDone");
        s.backend.AnswerMsgBox("Load algorithm data", platform::vbNo);
        s.backend.AnswerMsgBox("Default Algorithm Values", platform::vbOK);
        s.backend.Click("frmMenu.cmdLoadAlg");
        s.backend.msgBoxes.clear();
        ParameterSet& par = app.eng.par;
        for (int i = 1; i <= nSpp; ++i) {
            par.ParValue(i) = theta;
            par.ParValue(nSpp + i) = ua;
        }
        for (int k = 1; k <= par.NumPars; ++k) par.StepSize(k) = 0.1;
    }
    int NSpp() const { return app.model.NSpp; }

    void Do(Step::Kind kind, const std::string& target, int value = 0) {
        Step st;
        st.kind = kind;
        st.target = target;
        st.value = value;
        s.backend.Push(st);
    }
    // The answers of one summary; convert is the frmConvert button, "close"
    // for its close box, "" when it is not shown.
    void Queue(const std::string& convert = "cmdCancel", int data = platform::vbNo,
               const std::vector<std::string>& nrand = {"0"}) {
        if (convert == "close") Do(Step::Close, "frmConvert");
        else if (!convert.empty()) Do(Step::Click, "frmConvert." + convert);
        for (const std::string& answer : nrand)
            if (answer == "cancel") s.backend.CancelInput(kGof);
            else s.backend.AnswerInput(kGof, answer);
        s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
        s.backend.AnswerMsgBox("View plots?", platform::vbCancel);
        s.backend.AnswerMsgBox(kUncertainty, platform::vbCancel);
        s.backend.AnswerMsgBox(kData, data);
        if (data == platform::vbYes) s.backend.AnswerMsgBox("Summary", platform::vbOK);
    }
    // Closes an earlier summary (which brings the main menu back) and presses Results.
    void Run() {
        if (app.IsLoaded<frmSummary>()) s.backend.Close("frmSummary");
        s.backend.Click("frmMenu.cmdUserSummary");
    }
    std::string Report() { return app.form<frmSummary>().rtbOut.Text(); }
    // The first line of the report that starts with prefix.
    std::string Line(const std::string& prefix) {
        const std::string text = "\r\n" + Report();
        const std::size_t p = text.find("\r\n" + prefix);
        return p == std::string::npos ? "" : text.substr(p + 2, text.find("\r\n", p + 2) - p - 2);
    }
    double Evaluate() {
        ParameterSet& par = app.eng.par;
        double F = 0;
        long NF = 1;
        MODEL(app, F, par.ParValue, par.StepSize, par.ParName, par.FuseCode, par.NumPars, NF,
              app.eng.NObs, app.eng.AnaGrad, app.eng.AnaHess, app.eng.SampleSize);
        return F;
    }
};

std::string Pad(const std::string& label, std::size_t width) { return label + std::string(width - label.size(), ' '); }

}  // namespace

TEST(ReportFlow, SectionsAndFollowUpsInOrder) {
    Analysis a(0.2, 5);
    a.Queue("cmdCancel", platform::vbYes);
    a.Run();
    const double F = a.app.model.BestF, n = 68;   // 68 individuals counted
    EXPECT_EQ(a.Line("The Akaike"), Pad("The Akaike Information Criterion (AICc, Threlm & Pellick 1998) is:", 69) +
                                        RSetPad(platform::Format(F + 20 * n / (n - 11), "#########0.0000"), 16));
    EXPECT_EQ(a.Line("The number of free"), Pad("The number of free parameters is:", 65) + RSetPad("10", 15));
    EXPECT_EQ(a.Line("The percentage"), Pad("The percentage of the total habitat sampled was:", 71) + "    6.0000 %");
    // Q1 = Q2 = 1, S = 5: estimate 5.5, variance 1.75.
    EXPECT_EQ(a.Line("The Chao_2"), Pad("The Chao_2 (Brelling 1987)", 55) +
                                        "SR estimate:     5.50;  SE:      1.32;  L95%CI:      5.01;  U95%CI:     25.35");
    EXPECT_EQ(a.Line("The number of uniques"), "The number of uniques    (Ebbrant & Lusmore 1994) is:    1");
    const std::string cor = a.Line("The correlation");
    EXPECT_EQ(cor.substr(cor.size() - 14), "is:  Undefined");
    EXPECT_EQ(a.Line("Theta, then Logit[Theta], then link code for Sp#  5"),
              "Theta, then Logit[Theta], then link code for Sp#  5        is:     0.200000,   -1.386294 ~~");
    EXPECT_EQ(a.Line("Sequential quadrat #        2").substr(29), " contained an additional        1 species for a sequential total of        5");
    EXPECT_EQ(a.Line("Sequential quadrat #        3"), "");   // added nothing
    EXPECT_EQ(a.Line("Important note"), "");                   // no priors file

    std::vector<std::string> titles;
    for (const auto& m : a.s.backend.msgBoxes) titles.push_back(m.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Not available yet", "View plots?", kUncertainty, kData, "Summary"}));
    EXPECT_EQ(a.s.backend.msgBoxes.back().text, "Summary complete");
    // The data listing; a name field of blanks lists as SPP and the species number.
    EXPECT_EQ(a.Line(" Quad#"), " Quad#, Abies,Betula, Carex, Draba,SPP005");
    EXPECT_EQ(a.Line("     3,"), "     3,     7,     6,     1,     0,     2");
    EXPECT_EQ(a.app.form<frmMain>().stbMain5.Panel(1), "");
    EXPECT_TRUE(a.app.form<frmMain>().mnuApplication.Enabled);
    EXPECT_FALSE(a.app.IsLoaded<frmMenu>());
    a.s.backend.Close("frmSummary");
    EXPECT_TRUE(a.app.IsLoaded<frmMenu>());
}

TEST(ReportFlow, AICcWithoutDegreesOfFreedomIsUndefined) {
    Analysis a(0.2, 5);
    a.app.eng.SampleSize = 11;   // n - k - 1 = 0
    a.Queue();
    a.Run();
    EXPECT_EQ(a.Line("The Akaike").substr(69), "       Undefined");
    // With every step 0, k = 0 and AICc is the objective.
    for (int k = 1; k <= 10; ++k) a.app.eng.par.StepSize(k) = 0;
    a.Queue();
    a.Run();
    EXPECT_EQ(a.Line("The Akaike").substr(69), RSetPad(platform::Format(a.app.model.BestF, "#########0.0000"), 16));
}

TEST(ReportFlow, AdvisoriesAndValuesAtTheFloors) {
    Analysis a(0.3, 7);
    ParameterSet& par = a.app.eng.par;
    par.ParValue(1) = 0;            // Theta at its floor, free
    par.ParValue(3) = 0.99999999;   // the upper clamp
    par.ParValue(5) = 0;            // Theta 0, fixed
    par.StepSize(5) = 0;
    par.ParValue(a.NSpp() + 2) = 0; // UA clamped to its floor
    a.Queue();
    a.Run();
    EXPECT_NE(a.Line("Theta, then Logit[Theta], then link code for Sp#  1").find(" ~~ (Fix Theta at 0)"), std::string::npos);
    EXPECT_NE(a.Line("Theta, then Logit[Theta], then link code for Sp#  3").find(" ~~ (Fix Theta at 1)"), std::string::npos);
    EXPECT_EQ(a.Line("Theta, then Logit[Theta], then link code for Sp#  5").substr(62),
              "     0.000000,  -18.420000 ~~ (Theta is fixed)");
    const std::string ua = a.Line("UA, then Ln[UA], then total abundance, then link code for Sp#  2");
    EXPECT_NE(ua.find(",     -Infinity,"), std::string::npos);
    EXPECT_NE(ua.find(" ~~ (Fix UA at 0)"), std::string::npos);
    const std::string text = a.Report();
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf "), std::string::npos);
}

TEST(Reexpression, DoItConvertsBothKindsKeepsFAndOffersTheWayBack) {
    Analysis a(0.3, 7);
    const double before = a.Evaluate();
    a.Queue("cmdDo");
    a.Run();
    ModelState& md = a.app.model;
    ParameterSet& par = a.app.eng.par;
    EXPECT_EQ(md.LogitThetaLink, platform::True);
    EXPECT_EQ(md.LnUALink, platform::True);
    EXPECT_NEAR(par.ParValue(1), std::log(0.3 / 0.7), 1e-12);
    EXPECT_NEAR(par.ParValue(6), std::log(7.0), 1e-12);
    EXPECT_EQ(par.ParName(1), "Logit[Theta] for species #   1 in the defined habitat");
    EXPECT_EQ(par.ParName(7), "Ln[# of unsampled individuals of species #   2 in the defined habitat]");
    EXPECT_NEAR(a.Evaluate(), before, 1e-9 * before);
    EXPECT_EQ(a.Line("This analysis estimated the Thetas"),
              "This analysis estimated the Thetas indirectly using the Logit[Theta] link");

    Step check;
    check.kind = Step::Call;
    check.call = [&] {
        frmConvert& dlg = a.app.form<frmConvert>();
        EXPECT_FALSE(dlg.chkThetatoLogit.Enabled);
        EXPECT_EQ(dlg.chkLogittoTheta.Value, 1);
        EXPECT_EQ(dlg.chkLnUAtoUA.Value, 1);
    };
    a.s.backend.Push(check);
    a.Queue("cmdDo");
    a.Run();
    EXPECT_EQ(md.LogitThetaLink, platform::False);
    EXPECT_NEAR(par.ParValue(1), 0.3, 1e-12);
    EXPECT_NEAR(par.ParValue(6), 7, 1e-9);
    EXPECT_EQ(par.ParName(6), "# of unsampled individuals of species #   1 in the defined habitat");
    EXPECT_NEAR(a.Evaluate(), before, 1e-9 * before);
}

TEST(Reexpression, TickedKindOnlySkipAndCloseBoxDontAskAgain) {
    Analysis a(0.0, 7);
    a.Do(Step::Set, "frmConvert.chkUAtoLnUA", 0);
    a.Queue("cmdDo");
    a.Run();
    EXPECT_EQ(a.app.model.LogitThetaLink, platform::True);
    EXPECT_EQ(a.app.model.LnUALink, platform::False);
    EXPECT_DOUBLE_EQ(a.app.eng.par.ParValue(1), -18.42);   // Theta 0
    EXPECT_DOUBLE_EQ(a.app.eng.par.ParValue(a.NSpp() + 1), 7);
    // Skip, and the close box after an earlier Do it, change nothing.
    a.Evaluate();   // the model's clamps, as the report's own evaluation applies them
    const platform::Vec<double> values = a.app.eng.par.ParValue;
    for (const char* how : {"close", "cmdCancel"}) {
        a.Queue(how);
        a.Run();
        EXPECT_EQ(a.app.model.LogitThetaLink, platform::True) << how;
        EXPECT_EQ(a.app.eng.par.ParValue, values) << how;
    }
    a.Do(Step::Set, "frmConvert.chkAskAgain", 1);
    a.Queue("cmdCancel");
    a.Run();
    EXPECT_EQ(a.app.model.AskConvert, platform::False);
    a.Queue("");   // no dialog now
    a.Run();
    EXPECT_EQ(a.s.backend.PendingSteps(), 0u);
}

TEST(FollowUps, RandomizationCountIsAskedUntilInRange) {
    Analysis a(0.2, 5);
    a.Queue("cmdCancel", platform::vbNo, {"-1", "32001", "99999999999", "10.6"});
    a.Run();
    EXPECT_EQ(a.s.backend.inputPrompts.size(), 4u);
    EXPECT_EQ(a.app.model.Report.NRand, 11);
    a.Queue("cmdCancel", platform::vbNo, {"cancel"});   // Cancel counts as 0
    a.Run();
    EXPECT_EQ(a.app.model.Report.NRand, 0);
}

TEST(FollowUps, YesToWorkOfLaterVersionsSaysSo) {
    Analysis a(0.2, 5);
    a.Do(Step::Click, "frmConvert.cmdCancel");
    a.s.backend.AnswerInput(kGof, "5");
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    for (int q = 2; q <= 6; ++q) a.s.backend.AnswerMsgBox("View plots?", platform::vbNo);
    for (int k = 0; k < 2; ++k) {
        a.s.backend.AnswerMsgBox(kUncertainty, platform::vbYes);
        a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    }
    a.s.backend.AnswerMsgBox(kData, platform::vbNo);
    a.Run();
    const auto& boxes = a.s.backend.msgBoxes;
    ASSERT_EQ(boxes.size(), 13u);
    EXPECT_EQ(boxes[0].text, "The Pearson-deviates goodness-of-fit test is not available in this version of Tivelor yet.");
    EXPECT_EQ(boxes[0].style, 64);
    EXPECT_EQ(boxes[1].text, "Do you want to see the distribution plot of Thetas?");
    EXPECT_EQ(boxes[1].style, 35);
    EXPECT_EQ(boxes[7].text, "Do you want to see the sampled and estimated species abundance by species?");
    EXPECT_NE(boxes[8].text.find("species richness?\r\n\r\n(YOU MUST HAVE FIRST SAVED AN ASSOCIATED COVARIANCE "
                                 "ANALYSIS)\r\n\r\nThe SAMPLE-BASED UNCERTAINTY option"),
              std::string::npos);
    EXPECT_EQ(boxes[10].text.substr(0, 24), "Produce DISTRIBUTION-BAS");
    EXPECT_EQ(a.Report().find("SAMPLE-BASED"), std::string::npos);   // nothing pretends it ran
}

TEST(FollowUps, QuittingPlotsEndsThePlotQuestions) {
    Analysis a(0.2, 5);
    int shown = 0;
    a.app.model.Report.Services.PlotThetaEstimates = [&] {
        ++shown;
        a.app.sw.KeepPlotting = platform::False;
    };
    a.Do(Step::Click, "frmConvert.cmdCancel");
    a.s.backend.AnswerInput(kGof, "0");
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    a.s.backend.AnswerMsgBox(kUncertainty, platform::vbCancel);
    a.s.backend.AnswerMsgBox(kData, platform::vbNo);
    a.Run();
    EXPECT_EQ(shown, 1);
}

TEST(FollowUps, SingleSpeciesEndsAfterTheSampleBasedQuestion) {
    Analysis a(0.2, 5, DataText({"Solo"}, {{3, 0, 5, 2}}), 1, 4);
    a.Do(Step::Click, "frmConvert.cmdCancel");
    a.s.backend.AnswerInput(kGof, "0");
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("View plots?", platform::vbCancel);
    a.s.backend.AnswerMsgBox(kUncertainty, platform::vbNo);
    a.Run();
    EXPECT_EQ(a.s.backend.msgBoxes.back().title, kUncertainty);
    EXPECT_EQ(a.Line("The estimate for the variance of the estimated distribution of Theta").substr(76), "          0.0000");
    EXPECT_EQ(a.Line("The estimate for the SD       of the inferred species abundance").substr(74), "            0.0000");
    const std::string se = a.Line("You can judge");
    EXPECT_EQ(se.substr(se.size() - 15), "SE:   Undefined");
    EXPECT_EQ(a.app.model.Report.NCurvePts, 2);
}
