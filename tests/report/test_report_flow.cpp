// The results summary from the main menu: re-expression, report sections and
// the follow-up questions.
#include <gtest/gtest.h>

#include <cmath>

#include "ReportTestSupport.h"
#include "engine/Parameters.h"
#include "model/Model.h"
#include "model/Reexpress.h"
#include "model/frmConvert.h"
#include "shell/frmMain.h"

using namespace tivelor;
using reporttest::Analysis;
using platform::headless::Step;

namespace {

double Evaluate(Analysis& a) {
    ParameterSet& par = a.app.eng.par;
    EngineState& eng = a.app.eng;
    double F = 0;
    long NF = 1;
    MODEL(a.app, F, par.ParValue, par.StepSize, par.ParName, par.FuseCode, par.NumPars, NF,
          eng.NObs, eng.AnaGrad, eng.AnaHess, eng.SampleSize);
    return F;
}

// No "nan" or "inf" printed anywhere ("inferred" and "-Infinity" are text).
bool OnlyFiniteNumbers(const std::string& text) {
    if (text.find("nan") != std::string::npos) return false;
    for (std::size_t p = text.find("inf"); p != std::string::npos; p = text.find("inf", p + 1))
        if (text.compare(p, 8, "inferred") != 0) return false;
    return true;
}

void Push(Analysis& a, Step::Kind kind, const std::string& target, int value = 0) {
    Step st;
    st.kind = kind;
    st.target = target;
    st.value = value;
    a.s.backend.Push(st);
}

}  // namespace

TEST(ReportFlow, SectionsAndFollowUpsInOrder) {
    Analysis a;
    a.SetValues(0.2, 5);
    a.QueueSummary();
    a.RunSummary();

    EXPECT_EQ(a.Line("Results of a Orsadine"),
              "Results of a Orsadine Estimation Model [Vandrel/Oskety (2001) Ecol. Monogr. 000:000-000]");
    EXPECT_EQ(a.Line("The number of free parameters"),
              "The number of free parameters is:                                             10");
    const double F = a.app.model.BestF, n = static_cast<double>(a.app.eng.SampleSize);
    EXPECT_EQ(n, 68);
    EXPECT_EQ(a.Line("The Akaike"),
              "The Akaike Information Criterion (AICc, Threlm & Pellick 1998) is:   " +
                  RSetPad(platform::Format(F + 2 * 10 * n / (n - 11), "#########0.0000"), 16));
    EXPECT_EQ(a.Line("The percentage"),
              "The percentage of the total habitat sampled was:                           6.0000 %");
    // Q1 = Q2 = 1, S = 5: estimate 5.5, variance 1.75.
    EXPECT_EQ(a.Line("The Chao_2"),
              "The Chao_2 (Brelling 1987)                             SR estimate:     5.50;  SE:  "
              "    1.32;  L95%CI:      5.01;  U95%CI:     25.35");
    EXPECT_EQ(a.Line("The number of uniques"),
              "The number of uniques    (Ebbrant & Lusmore 1994) is:    1");
    EXPECT_EQ(a.Line("The correlation"),
              "The correlation between the estimates of Logit[Theta] and Ln[species abundance] is: "
              " Undefined");
    EXPECT_EQ(a.Line("Theta, then Logit[Theta], then link code for Sp#  5"),
              "Theta, then Logit[Theta], then link code for Sp#  5        is:     0.200000,   "
              "-1.386294 ~~");
    EXPECT_EQ(a.Line("Sequential quadrat #        2"),
              "Sequential quadrat #        2 contained an additional        1 species for a "
              "sequential total of        5");
    EXPECT_EQ(a.Line("Sequential quadrat #        3"), "");
    EXPECT_EQ(a.Line("Important note"), "");   // no priors file
    EXPECT_EQ(a.Report().find("Quad#"), std::string::npos);

    EXPECT_EQ(a.Titles(), (std::vector<std::string>{
                              "Not available yet", "View plots?",
                              "Uncertainty statistics for species richness",
                              "Save original, but possibly reordered, data"}));
    EXPECT_TRUE(a.app.form<frmSummary>().Visible());
    EXPECT_EQ(a.app.form<frmMain>().stbMain5.Panel(1), "");
    EXPECT_TRUE(a.app.form<frmMain>().mnuApplication.Enabled);
    EXPECT_FALSE(a.app.IsLoaded<frmMenu>());
    a.s.backend.Close("frmSummary");
    EXPECT_TRUE(a.app.IsLoaded<frmMenu>());
}

TEST(ReportFlow, AICcWithoutDegreesOfFreedomIsUndefined) {
    Analysis a;
    a.SetValues(0.2, 5);
    a.app.eng.SampleSize = 11;   // n - k - 1 = 0
    a.QueueSummary();
    a.RunSummary();
    EXPECT_EQ(a.Line("The Akaike"),
              "The Akaike Information Criterion (AICc, Threlm & Pellick 1998) is:          Undefined");

    // With every step 0, k = 0 and AICc is the objective.
    a.SetValues(0.2, 5, 0);
    a.QueueSummary();
    a.RunSummary();
    EXPECT_EQ(a.Line("The Akaike").substr(69),
              RSetPad(platform::Format(a.app.model.BestF, "#########0.0000"), 16));
}

TEST(Reexpression, DoItConvertsBothKindsAndKeepsF) {
    Analysis a;
    a.SetValues(0.3, 7);
    const double before = Evaluate(a);
    a.QueueSummary("cmdDo");
    a.RunSummary();

    ModelState& md = a.app.model;
    ParameterSet& par = a.app.eng.par;
    EXPECT_EQ(md.LogitThetaLink, platform::True);
    EXPECT_EQ(md.LnUALink, platform::True);
    EXPECT_NEAR(par.ParValue(1), std::log(0.3 / 0.7), 1e-12);
    EXPECT_NEAR(par.ParValue(md.NSpp + 1), std::log(7.0), 1e-12);
    EXPECT_EQ(par.ParName(1), "Logit[Theta] for species #   1 in the defined habitat");
    EXPECT_EQ(par.ParName(md.NSpp + 2),
              "Ln[# of unsampled individuals of species #   2 in the defined habitat]");
    EXPECT_NEAR(Evaluate(a), before, 1e-9 * std::fabs(before));
    EXPECT_EQ(a.Line("This analysis estimated the Thetas"),
              "This analysis estimated the Thetas indirectly using the Logit[Theta] link");
    EXPECT_NE(a.Line("This analysis estimated the unsampled").find("indirectly"), std::string::npos);

    // The next report offers the way back, and Do it converts back.
    a.s.backend.Push([&] {
        Step st;
        st.kind = Step::Call;
        st.call = [&] {
            frmConvert& dlg = a.app.form<frmConvert>();
            EXPECT_FALSE(dlg.chkThetatoLogit.Enabled);
            EXPECT_TRUE(dlg.chkLogittoTheta.Enabled);
            EXPECT_EQ(dlg.chkLogittoTheta.Value, 1);
            EXPECT_EQ(dlg.chkLnUAtoUA.Value, 1);
        };
        return st;
    }());
    a.QueueSummary("cmdDo");
    a.RunSummary();
    EXPECT_EQ(md.LogitThetaLink, platform::False);
    EXPECT_EQ(md.LnUALink, platform::False);
    EXPECT_NEAR(par.ParValue(1), 0.3, 1e-12);
    EXPECT_NEAR(par.ParValue(md.NSpp + 1), 7, 1e-9);
    EXPECT_EQ(par.ParName(md.NSpp + 1),
              "# of unsampled individuals of species #   1 in the defined habitat");
    EXPECT_NEAR(Evaluate(a), before, 1e-9 * std::fabs(before));
}

TEST(Reexpression, OnlyTheTickedKindIsConverted) {
    Analysis a;
    a.SetValues(0.3, 7);
    Push(a, Step::Set, "frmConvert.chkUAtoLnUA", 0);
    a.QueueSummary("cmdDo");
    a.RunSummary();
    EXPECT_EQ(a.app.model.LogitThetaLink, platform::True);
    EXPECT_EQ(a.app.model.LnUALink, platform::False);
    EXPECT_DOUBLE_EQ(a.app.eng.par.ParValue(a.NSpp() + 1), 7);
}

TEST(Reexpression, SkipAndTheCloseBoxChangeNothing) {
    Analysis a;
    a.SetValues(0.3, 7);
    // A first Do it leaves the conversion flags set.
    a.QueueSummary("cmdDo");
    a.RunSummary();
    const platform::Vec<double> values = a.app.eng.par.ParValue;
    for (const char* how : {"close", "cmdCancel"}) {
        SCOPED_TRACE(how);
        a.QueueSummary(how);
        a.RunSummary();
        EXPECT_EQ(a.app.model.LogitThetaLink, platform::True);
        EXPECT_EQ(a.app.model.LnUALink, platform::True);
        EXPECT_EQ(a.app.eng.par.ParValue, values);
        EXPECT_EQ(a.app.model.Report.ConvLogitToTheta, platform::False);
    }
}

TEST(Reexpression, DontAskAgainUntilTheDataAreReadAgain) {
    Analysis a;
    a.SetValues(0.3, 7);
    Push(a, Step::Set, "frmConvert.chkAskAgain", 1);
    a.QueueSummary("cmdCancel");
    a.RunSummary();
    EXPECT_EQ(a.app.model.AskConvert, platform::False);
    a.QueueSummary("");   // no dialog
    a.RunSummary();
    EXPECT_EQ(a.s.backend.PendingSteps(), 0u);
}

TEST(Reexpression, ThetaOfZeroBecomesLogitMinus1842) {
    Analysis a;
    a.SetValues(0.3, 7);
    a.app.eng.par.ParValue(5) = 0;
    a.app.eng.par.StepSize(5) = 0;
    a.QueueSummary("cmdCancel");
    a.RunSummary();
    EXPECT_EQ(a.Line("Theta, then Logit[Theta], then link code for Sp#  5"),
              "Theta, then Logit[Theta], then link code for Sp#  5        is:     0.000000, "
              " -18.420000 ~~ (Theta is fixed)");
    EXPECT_NE(a.Line("The estimate for the mean     of the estimated distribution of Logit"),
              "");
    EXPECT_EQ(a.Report().find("nan"), std::string::npos);
    EXPECT_TRUE(OnlyFiniteNumbers(a.Report()));

    a.QueueSummary("cmdDo");
    a.RunSummary();
    EXPECT_DOUBLE_EQ(a.app.eng.par.ParValue(5), -18.42);
    const std::string line = a.Line("Theta, then Logit[Theta], then link code for Sp#  5");
    EXPECT_EQ(line.substr(line.size() - 26), "~~ (Logit[Theta] is fixed)");
}

TEST(ReportFlow, AdvisoriesAtTheFloors) {
    Analysis a;
    a.SetValues(0.3, 7);
    a.app.eng.par.ParValue(1) = 0;                 // Theta at its floor, free
    a.app.eng.par.ParValue(a.NSpp() + 2) = 0;      // UA clamped to its floor
    a.app.eng.par.ParValue(3) = 0.99999999;        // the upper clamp
    a.QueueSummary();
    a.RunSummary();
    EXPECT_NE(a.Line("Theta, then Logit[Theta], then link code for Sp#  1").find(" ~~ (Fix Theta at 0)"),
              std::string::npos);
    EXPECT_NE(a.Line("Theta, then Logit[Theta], then link code for Sp#  3").find(" ~~ (Fix Theta at 1)"),
              std::string::npos);
    const std::string ua = a.Line("UA, then Ln[UA], then total abundance, then link code for Sp#  2");
    EXPECT_NE(ua.find(",     -Infinity,"), std::string::npos);
    EXPECT_NE(ua.find(" ~~ (Fix UA at 0)"), std::string::npos);
}

TEST(FollowUps, RandomizationCountIsAskedUntilInRange) {
    Analysis a;
    a.SetValues(0.2, 5);
    const std::string gof = "More randomizations improve the goodness-of-fit (GOF) test";
    Push(a, Step::Click, "frmConvert.cmdCancel");
    a.s.backend.AnswerInput(gof, "-1");
    a.s.backend.AnswerInput(gof, "32001");
    a.s.backend.AnswerInput(gof, "99999999999");
    a.QueueSummary("", "10.6");
    a.RunSummary();
    EXPECT_EQ(a.s.backend.inputPrompts.size(), 4u);
    EXPECT_EQ(a.app.model.Report.NRand, 11);
}

TEST(FollowUps, CancelledRandomizationPromptRunsNone) {
    Analysis a;
    a.SetValues(0.2, 5);
    Push(a, Step::Click, "frmConvert.cmdCancel");
    a.s.backend.CancelInput("More randomizations improve the goodness-of-fit (GOF) test");
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("View plots?", platform::vbCancel);
    a.s.backend.AnswerMsgBox("Uncertainty statistics for species richness", platform::vbCancel);
    a.s.backend.AnswerMsgBox("Save original, but possibly reordered, data", platform::vbNo);
    a.RunSummary();
    EXPECT_EQ(a.app.model.Report.NRandInput, 0);
    EXPECT_EQ(a.app.model.Report.NRand, 0);
}

TEST(FollowUps, PlotAndUncertaintyYesSayTheWorkIsNotAvailable) {
    Analysis a;
    a.SetValues(0.2, 5);
    Push(a, Step::Click, "frmConvert.cmdCancel");
    a.s.backend.AnswerInput("More randomizations improve the goodness-of-fit (GOF) test", "5");
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    for (int q = 2; q <= 6; ++q) a.s.backend.AnswerMsgBox("View plots?", platform::vbNo);
    a.s.backend.AnswerMsgBox("Uncertainty statistics for species richness", platform::vbYes);
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("Uncertainty statistics for species richness", platform::vbYes);
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("Save original, but possibly reordered, data", platform::vbNo);
    a.RunSummary();
    const auto& boxes = a.s.backend.msgBoxes;
    EXPECT_EQ(boxes[0].text,
              "The Pearson-deviates goodness-of-fit test is not available in this version of Tivelor yet.");
    EXPECT_EQ(boxes[1].text, "Do you want to see the distribution plot of Thetas?");
    EXPECT_EQ(boxes[1].style, 35);
    EXPECT_EQ(boxes[2].text, "This plot is not available in this version of Tivelor yet.");
    EXPECT_EQ(boxes[7].text,
              "Do you want to see the sampled and estimated species abundance by species?");
    EXPECT_EQ(boxes[8].text.substr(0, 88),
              "Produce SAMPLE-BASED UNCERTAINTY statistics for the estimated value of species richness?");
    EXPECT_NE(boxes[8].text.find("\r\n\r\n(YOU MUST HAVE FIRST SAVED AN ASSOCIATED COVARIANCE "
                                 "ANALYSIS)\r\n\r\nThe SAMPLE-BASED"),
              std::string::npos);
    EXPECT_EQ(boxes[10].text.substr(0, 22), "Produce DISTRIBUTION-B");
    // Nothing pretends the randomizations ran.
    EXPECT_EQ(a.Report().find("SAMPLE-BASED"), std::string::npos);
    EXPECT_EQ(a.app.sw.KeepPlotting, platform::True);
}

TEST(FollowUps, PlotWindowQuittingEndsThePlotQuestions) {
    Analysis a;
    a.SetValues(0.2, 5);
    int shown = 0;
    a.app.model.Report.Services.PlotThetaEstimates = [&] {
        ++shown;
        a.app.sw.KeepPlotting = platform::False;   // "Quit plots"
    };
    Push(a, Step::Click, "frmConvert.cmdCancel");
    a.s.backend.AnswerInput("More randomizations improve the goodness-of-fit (GOF) test", "0");
    a.s.backend.AnswerMsgBox("Not available yet", platform::vbOK);
    a.s.backend.AnswerMsgBox("View plots?", platform::vbYes);
    a.s.backend.AnswerMsgBox("Uncertainty statistics for species richness", platform::vbCancel);
    a.s.backend.AnswerMsgBox("Save original, but possibly reordered, data", platform::vbNo);
    a.RunSummary();
    EXPECT_EQ(shown, 1);
}

TEST(FollowUps, DataListing) {
    Analysis a;
    a.SetValues(0.2, 5);
    a.QueueSummary("cmdCancel", "0", platform::vbCancel, platform::vbCancel, platform::vbYes);
    a.RunSummary();
    EXPECT_EQ(a.Line(" Quad#"), " Quad#, Abies,Betula, Carex, Draba,SPP005");
    EXPECT_EQ(a.Line("     3"), "     3,     7,     6,     1,     0,     2");
    EXPECT_EQ(a.s.backend.msgBoxes.back().text, "Summary complete");
    EXPECT_EQ(a.s.backend.msgBoxes.back().style, 64);
    const std::string text = a.Report();
    EXPECT_EQ(text.substr(text.size() - 43), "     6,     6,     5,     1,     1,     0\r\n");
}

TEST(FollowUps, SingleSpeciesEndsAfterTheSampleBasedQuestion) {
    Analysis a(reporttest::DataText({"Solo"}, {{3, 0, 5, 2}}), 1, 4, false, false, "solo.dat");
    a.SetValues(0.2, 5);
    a.QueueSummary("cmdCancel", "0", platform::vbCancel, platform::vbNo);
    a.RunSummary();
    EXPECT_EQ(a.Titles().back(), "Uncertainty statistics for species richness");
    EXPECT_EQ(a.Line("The estimate for the variance of the estimated distribution of Theta"),
              "The estimate for the variance of the estimated distribution of Theta is:              0.0000");
    EXPECT_EQ(a.Line("The estimate for the SD       of the inferred species abundance").substr(74),
              "            0.0000");
    EXPECT_NE(a.Line("You can judge").find("  Undefined"), std::string::npos);
    // One species seen in three of four quadrats; the curve levels at step 2.
    EXPECT_EQ(a.app.model.Report.NCurvePts, 2);
}

TEST(ReportFlow, SaveProposesTheResultsFileName) {
    Analysis a;
    a.SetValues(0.2, 5);
    a.QueueSummary();
    a.RunSummary();
    const std::string path = reporttest::TempPath("saved.tvo");
    a.s.backend.ChooseFile(path);
    a.s.backend.Click("frmSummary.cmdSaveSummary");
    EXPECT_EQ(a.s.backend.dialogs.back().defaultName, " Orsadine_results.tvo");
    std::string saved;
    ASSERT_TRUE(platform::ReadWholeFile(path, saved));
    EXPECT_EQ(saved.substr(0, 37), "Originally saved with the file name: ");
    EXPECT_NE(saved.find("The Bootstrap (Vandrel & Dorvay 1984)"), std::string::npos);
}
